// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/prompter.h"

#include <QPointer>
#include <QWidget>

// Asks and tells through message boxes over the main window.
class MessageBoxPrompter : public Prompter
{
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    void inform(const QString &text, const QString &title = {}) override;
    void warn(const QString &text, const QString &title = {}) override;
    Answer ask(const QString &text, Buttons buttons, Answer defaultAnswer) override;
    std::optional<QString> askText(const QString &prompt, const QString &title, const QString &initialText) override;

private:
    QString titleOr(const QString &title) const;

    QPointer<QWidget> m_parent;
};
