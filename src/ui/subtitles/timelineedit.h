// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A time box: a fixed-width overwrite field for "00:01:02,345" where digits
// overwrite, Delete and Backspace write "0" and the caret jumps the
// separators. Enter asks for a commit and Esc for the stored value.
class TimeLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TimeLineEdit(QWidget *parent = nullptr);

signals:
    void commitRequested();
    void restoreRequested();
    // Focus went elsewhere in the window (a click, Tab), not to a box or menu
    // that comes and goes.
    void left();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
};
