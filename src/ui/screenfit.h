// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QWidget;

// Keeps stored window geometry usable: a window no larger than the screen
// it is on and never out of reach.
namespace ScreenFit {

// wanted made to fit available: width and height between 1 and the
// available ones, moved so at least a strip of it (and its top edge, where
// the title bar is) stays on screen.
QRect fitWindow(const QRect &wanted, const QRect &available);

// The available area of the screen that holds the centre of wanted, else of
// the screen of widget, else of the primary screen.
QRect availableFor(const QRect &wanted, const QWidget *widget);

} // namespace ScreenFit
