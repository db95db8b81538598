// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Twips (1/1440 inch) are what the settings file stores; the screen works in
// pixels. One converter, from the screen's logical DPI, does every sum.
class Twips
{
public:
    explicit Twips(double logicalDpi);
    // The converter for the screen widget is on (the primary screen when it
    // has none yet).
    static Twips forWidget(const QWidget *widget);

    int toPixels(double twips) const;
    float fromPixels(int pixels) const;

private:
    double m_dpi;
};
