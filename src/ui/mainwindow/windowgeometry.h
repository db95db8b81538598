// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

#include <array>

class QTableView;
class QWidget;

// The geometry the settings file keeps, in twips, put on and taken off the
// screen: windows fitted to the screen they land on, column widths never
// so narrow that a number or a time is cut off nor wider than the screen.
namespace WindowGeometry {

// A window's stored place and size, in pixels, fitted to its screen.
// Where the main window and the edits window open when no place is stored.
struct FirstStartRects
{
    QRect main;
    QRect edits;
};
// The main window about three quarters of available, narrower (down to a
// half) where that lets the edits window stand beside it, the two centred
// together; where even that does not fit, the edits window goes over the
// main window's right edge, never on its corner.
FirstStartRects firstStartRects(const QRect &available, const QSize &editsSize);

QRect fittedRect(const QWidget &window, float xTwips, float yTwips, float widthTwips, float heightTwips);

// The five columns' widths; a stored width of zero or less (an old file's
// shrinking columns) gets the default. markedNumbers: the number cells
// carry a kind mark as well.
void applyColumnWidths(QTableView &list, const std::array<float, 5> &storedTwips, const QWidget &window,
                       bool markedNumbers);
void storeColumnWidths(const QTableView &list, std::array<float, 5> &storedTwips);

} // namespace WindowGeometry
