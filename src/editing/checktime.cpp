// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/checktime.h"

namespace {

constexpr int TimeTextLength = 12;

bool isSeparatorAt(const QString &text, int index)
{
    if (index < 0 || index >= text.size())
        return false;
    const QChar c = text.at(index);
    return c == u':' || c == u',';
}

// After writing at index p the caret stands at p + 1; a separator there is
// jumped, so typing runs on into the next group.
void skipRightFrom(TimeBoxState &box, int p)
{
    if (isSeparatorAt(box.text, p + 1)) {
        box.caret = p + 2;
        box.selectionLength = 0;
    }
}

void overwriteRightOfCaret(TimeBoxState &box, QChar c)
{
    const int p = box.caret;
    box.text[p] = c;
    box.caret = p + 1;
    box.selectionLength = 0;
    skipRightFrom(box, p);
}

void typeDigit(TimeBoxState &box, QChar digit)
{
    const int p = box.caret;
    if (box.selectionLength > 1) {
        skipRightFrom(box, p);
        return;
    }
    if (p >= TimeTextLength || isSeparatorAt(box.text, p))
        return;
    overwriteRightOfCaret(box, digit);
}

void deleteKey(TimeBoxState &box)
{
    const int p = box.caret;
    if (box.selectionLength > 1) {
        skipRightFrom(box, p);
        return;
    }
    if (box.selectionLength == 0 && p == 0) {
        box.text[0] = u'0';
        box.caret = 1;
        return;
    }
    if (box.selectionLength == 0 && p == 1) {
        box.text[1] = u'0';
        box.caret = 3;
        return;
    }
    if (p >= TimeTextLength || isSeparatorAt(box.text, p))
        return;
    overwriteRightOfCaret(box, u'0');
}

void backspaceKey(TimeBoxState &box)
{
    if (box.selectionLength >= 1) {
        deleteKey(box);
        return;
    }
    const int p = box.caret;
    if (p <= 0 || p > TimeTextLength || isSeparatorAt(box.text, p - 1))
        return;
    box.text[p - 1] = u'0';
    box.caret = p - 1;
    if (p > 1 && isSeparatorAt(box.text, p - 2))
        box.caret = p - 2;
}

} // namespace

int CheckTime(TimeBoxState &box, int keyCode)
{
    if (box.text.size() != TimeTextLength)
        return 0;
    box.caret = qBound(0, box.caret, TimeTextLength);
    box.selectionLength = qBound(0, box.selectionLength, TimeTextLength - box.caret);

    switch (keyCode) {
    case TimeKey::Enter:
    case TimeKey::Esc:
    case TimeKey::Home:
    case TimeKey::End:
    case TimeKey::Left:
    case TimeKey::Right:
        return keyCode;
    case TimeKey::Delete:
        deleteKey(box);
        return 0;
    case TimeKey::Backspace:
        backspaceKey(box);
        return 0;
    default:
        if (keyCode >= TimeKey::Digit0 && keyCode <= TimeKey::Digit0 + 9)
            typeDigit(box, QChar(keyCode));
        return 0;
    }
}
