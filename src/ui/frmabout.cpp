// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmabout.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + QCoreApplication::applicationName());

    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    title->setText(QCoreApplication::applicationName());

    auto *version = new QLabel(this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setText(QStringLiteral("Version ") + QCoreApplication::applicationVersion());

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
    credits->setText(u"© 2026 " + QCoreApplication::organizationName()
                     + u". Free software under the GNU General Public License, version 3 or later. "
                       u"Built with Qt, pugixml, SimpleIni and uchardet.");

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
}
