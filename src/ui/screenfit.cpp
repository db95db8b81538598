// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/screenfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
// How much of a window stays on screen at least, in pixels: enough to grab.
constexpr int VisibleStripPixels = 100;
} // namespace

namespace ScreenFit {

QRect fitWindow(const QRect &wanted, const QRect &available)
{
    if (available.isEmpty())
        return wanted;
    const int width = std::clamp(wanted.width(), 1, available.width());
    const int height = std::clamp(wanted.height(), 1, available.height());
    const int stripX = std::min(width, VisibleStripPixels);
    const int stripY = std::min(height, VisibleStripPixels);
    const int x = std::clamp(wanted.x(), available.left() - (width - stripX), available.right() + 1 - stripX);
    const int y = std::clamp(wanted.y(), available.top(), available.bottom() + 1 - stripY);
    return {x, y, width, height};
}

QRect availableFor(const QRect &wanted, const QWidget *widget)
{
    const QScreen *screen = QGuiApplication::screenAt(wanted.center());
    if (!screen && widget)
        screen = widget->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace ScreenFit
