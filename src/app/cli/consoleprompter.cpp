// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/consoleprompter.h"

#include <QTextStream>

ConsolePrompter::ConsolePrompter(QTextStream &err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

void ConsolePrompter::inform(const QString &text, const QString &title)
{
    m_err << (title.isEmpty() ? text : title + QStringLiteral(": ") + text) << Qt::endl;
}

Prompter::Answer ConsolePrompter::ask(const QString &, Buttons, Answer defaultAnswer)
{
    return m_answerYes ? Answer::Yes : defaultAnswer;
}

std::optional<QString> ConsolePrompter::askText(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}
