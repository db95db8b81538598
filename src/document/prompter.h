// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The questions and notices the program puts to its user. The window answers
// with message boxes, the command line with each question's default button,
// and tests with a script, so no core routine ever opens a window itself.
class Prompter
{
public:
    enum class Answer { Yes, No, Cancel };
    enum class Buttons { YesNo, YesNoCancel };

    virtual ~Prompter() = default;

    // A notice with an OK button only.
    virtual void inform(const QString &text, const QString &title = {}) = 0;
    // A refusal or an error; a prompter without its own look shows it as a notice.
    virtual void warn(const QString &text, const QString &title = {}) { inform(text, title); }
    // A question; defaultAnswer is the button Enter presses (and what an
    // unattended run takes).
    virtual Answer ask(const QString &text, Buttons buttons, Answer defaultAnswer) = 0;
    // A line of text; no value when the user cancels.
    virtual std::optional<QString> askText(const QString &prompt, const QString &title,
                                           const QString &initialText) = 0;
};
