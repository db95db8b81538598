// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;
}

Twips::Twips(double logicalDpi) : m_dpi(logicalDpi > 0 ? logicalDpi : 96.0) {}

Twips Twips::forWidget(const QWidget *widget)
{
    const QScreen *screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return Twips(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int Twips::toPixels(double twips) const
{
    if (!std::isfinite(twips))
        return 0;
    const double pixels = std::round(twips * m_dpi / TwipsPerInch);
    return int(std::clamp(pixels, -1.0e6, 1.0e6));
}

float Twips::fromPixels(int pixels) const
{
    return float(std::round(pixels * TwipsPerInch / m_dpi));
}
