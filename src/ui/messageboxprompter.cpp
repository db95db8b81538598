// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messageboxprompter.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>

QString MessageBoxPrompter::titleOr(const QString &title) const
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

void MessageBoxPrompter::inform(const QString &text, const QString &title)
{
    QMessageBox::information(m_parent, titleOr(title), text);
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
    const int pressed = QMessageBox::question(m_parent, titleOr({}), text, shown, toButton(defaultAnswer));
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
    bool accepted = false;
    const QString text =
        QInputDialog::getText(m_parent, titleOr(title), prompt, QLineEdit::Normal, initialText, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}
