// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messageboxprompter.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

QString MessageBoxPrompter::titleOr(const QString &title) const
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

namespace {

// Texts come from language files and file names: never read as HTML, so a
// file called "<h1>x.srt" shows its name, and loads nothing.
int runPlainBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

void MessageBoxPrompter::inform(const QString &text, const QString &title)
{
    runPlainBox(m_parent, QMessageBox::Information, titleOr(title), text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::warn(const QString &text, const QString &title)
{
    runPlainBox(m_parent, QMessageBox::Warning, titleOr(title), text, QMessageBox::Ok, QMessageBox::Ok);
}

Prompter::Answer MessageBoxPrompter::ask(const QString &text, Buttons buttons, Answer defaultAnswer)
{
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        shown |= QMessageBox::Cancel;
    const auto toButton = [](Answer answer) {
        switch (answer) {
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
        case Answer::Cancel:
            break;
        }
        return QMessageBox::Cancel;
    };
    const int pressed =
        runPlainBox(m_parent, QMessageBox::Question, titleOr({}), text, shown, toButton(defaultAnswer));
    switch (pressed) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Closing a Yes/No box with Esc or its close button cannot mean Yes.
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<QString> MessageBoxPrompter::askText(const QString &prompt, const QString &title,
                                                   const QString &initialText)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(initialText);
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
