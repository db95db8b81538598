// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/timelineedit.h"

#include "editing/checktime.h"
#include "ui/subtitles/subtitletextedit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// The key code CheckTime knows for a key press; 0 for any other key.
int timeKeyOf(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return TimeKey::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TimeKey::Enter;
    case Qt::Key_Escape:
        return TimeKey::Esc;
    case Qt::Key_End:
        return TimeKey::End;
    case Qt::Key_Home:
        return TimeKey::Home;
    case Qt::Key_Left:
        return TimeKey::Left;
    case Qt::Key_Right:
        return TimeKey::Right;
    case Qt::Key_Delete:
        return TimeKey::Delete;
    default:
        break;
    }
    // Only the main keyboard's digits, as the text they type.
    if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9 && !(event.modifiers() & Qt::KeypadModifier)
        && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return TimeKey::Digit0 + (event.key() - Qt::Key_0);
    return 0;
}

} // namespace

TimeLineEdit::TimeLineEdit(QWidget *parent) : QLineEdit(parent)
{
    // Pasting or dropping text would break the fixed width the keys rely on.
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setMaxLength(12);
}

bool TimeLineEdit::event(QEvent *event)
{
    // Claim the editing keys before any window shortcut sees them, and
    // leave the window its row keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (SubtitleTextEdit::isWindowKey(keyEvent->key(), keyEvent->modifiers())) {
            event->ignore();
            return true;
        }
        if (timeKeyOf(*keyEvent) != 0 && keyEvent->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TimeLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit left();
}

void TimeLineEdit::keyPressEvent(QKeyEvent *event)
{
    const bool copying = event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll);
    if (copying) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const int key = timeKeyOf(*event);
    TimeBoxState box{text(), hasSelectedText() ? selectionStart() : cursorPosition(), int(selectedText().size())};
    const int passed = CheckTime(box, key == 0 ? -1 : key);
    event->accept();
    switch (passed) {
    case TimeKey::Enter:
        emit commitRequested();
        return;
    case TimeKey::Esc:
        emit restoreRequested();
        return;
    case TimeKey::Home:
    case TimeKey::End:
    case TimeKey::Left:
    case TimeKey::Right:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (box.text != text())
        setText(box.text);
    if (box.selectionLength > 0)
        setSelection(box.caret, box.selectionLength);
    else
        setCursorPosition(box.caret);
}
