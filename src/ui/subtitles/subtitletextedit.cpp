// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/subtitletextedit.h"

#include <QKeyEvent>

SubtitleTextEdit::SubtitleTextEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

bool SubtitleTextEdit::isWindowKey(int key, Qt::KeyboardModifiers modifiers)
{
    modifiers &= ~Qt::KeypadModifier;
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    return modifiers == Qt::ControlModifier || modifiers == Qt::AltModifier
           || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
}

bool SubtitleTextEdit::event(QEvent *event)
{
    // The text control claims Ctrl-Up and the like for moving the caret;
    // the window's shortcuts get them instead.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isWindowKey(key->key(), key->modifiers())) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void SubtitleTextEdit::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && modifiers == Qt::ControlModifier) {
        emit commitRequested();
        return;
    }
    if (enter && modifiers == Qt::ShiftModifier) {
        // One kind of line break only: a plain new line.
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        emit restoreRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SubtitleTextEdit::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    emit left();
}
