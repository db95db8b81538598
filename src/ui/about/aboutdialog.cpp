// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/aboutdialog.h"

#include "ui/language/langcaptions.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About %1"));

    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    title->setText(QCoreApplication::applicationName());

    auto *version = new QLabel(this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setText(QStringLiteral("Version %1"));

    auto *description = new QLabel(this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setText(QStringLiteral(
        "Corrects SubRip subtitles whose lines are too long to read: re-breaks them into two lines, "
        "lengthens subtitles shown too briefly, splits those that cannot fit and corrects overlaps."));

    auto *credits = new QLabel(this);
    credits->setObjectName(QStringLiteral("lblCredits"));
    credits->setWordWrap(true);
    for (QLabel *label : {title, version, description, credits})
        label->setTextFormat(Qt::PlainText);
    credits->setText(u"© 2026 the Quillmend developers. Free software under the GNU General Public License, "
                     u"version 3 or later. Built with Qt, pugixml, SimpleIni and uchardet."_qs);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(description);
    layout->addWidget(credits);
    layout->addWidget(buttons);
    setMinimumWidth(380);
    fillInNames();
}

void AboutDialog::applyCaptions(const LangDoc &lang)
{
    ApplyLangCaptions(*this, lang);
    fillInNames();
}

void AboutDialog::fillInNames()
{
    // A translation without %1 is shown as it stands. The credits name the
    // makers in the language's own words; %1 there is for files made before.
    const auto filled = [](QString text, const QString &name) { return text.replace(u"%1"_qs, name); };
    setWindowTitle(filled(windowTitle(), QCoreApplication::applicationName()));
    for (const auto &[label, name] : {std::pair{u"lblVersion"_qs, QCoreApplication::applicationVersion()},
                                      std::pair{u"lblCredits"_qs, QCoreApplication::organizationName()}}) {
        if (auto *shown = findChild<QLabel *>(label))
            shown->setText(filled(shown->text(), name));
    }
}
