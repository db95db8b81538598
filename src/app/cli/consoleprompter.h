// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/prompter.h"

class QTextStream;

// Answers for a run without a window: notices go to the error stream and
// every question takes its default button, except that the backup question
// may be told to answer Yes.
class ConsolePrompter : public Prompter
{
public:
    ConsolePrompter(QTextStream &err, bool answerYes);

    void inform(const QString &text, const QString &title = {}) override;
    Answer ask(const QString &text, Buttons buttons, Answer defaultAnswer) override;
    std::optional<QString> askText(const QString &prompt, const QString &title, const QString &initialText) override;

private:
    QTextStream &m_err;
    bool m_answerYes;
};
