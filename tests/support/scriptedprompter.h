// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// A Prompter for tests: records everything shown and answers questions from a script, falling back to each question's
// default button when the script runs out.
class ScriptedPrompter : public Prompter
{
public:
    QStringList informed;     // texts of notices, in order
    QStringList informTitles; // their titles
    QStringList warned;       // the notices that were warnings, also in informed
    QStringList asked;        // texts of questions, in order
    QList<Answer> answers;    // answers still to give, first first
    QList<std::optional<QString>> textAnswers;

    explicit ScriptedPrompter(QList<Answer> script = {}) : answers(std::move(script)) {}

    void inform(const QString &text, const QString &title) override
    {
        informed << text;
        informTitles << title;
    }

    void warn(const QString &text, const QString &title) override
    {
        warned << text;
        inform(text, title);
    }

    Answer ask(const QString &text, Buttons, Answer defaultAnswer) override
    {
        asked << text;
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }

    std::optional<QString> askText(const QString &prompt, const QString &, const QString &initialText) override
    {
        asked << prompt;
        return textAnswers.isEmpty() ? std::optional<QString>(initialText) : textAnswers.takeFirst();
    }
};
