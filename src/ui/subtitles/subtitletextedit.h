// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The corrected subtitle's text box: Ctrl-Enter asks for a commit, Esc for
// the text last committed, leaving the box for a commit of what was typed;
// Shift-Enter is a plain new line. The window's row keys (Ctrl, Alt or
// Ctrl-Shift with Up or Down) pass through to the window.
class SubtitleTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit SubtitleTextEdit(QWidget *parent = nullptr);

    // Whether key with modifiers belongs to the window, whichever box has
    // the focus; the time boxes ask the same.
    static bool isWindowKey(int key, Qt::KeyboardModifiers modifiers);

signals:
    void commitRequested();
    void restoreRequested();
    void left();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
