// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/windowgeometry.h"

#include "settings/settings.h"
#include "ui/screenfit.h"
#include "ui/twips.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace WindowGeometry {

FirstStartRects firstStartRects(const QRect &available, const QSize &editsSize)
{
    const QSize size = editsSize.boundedTo(available.size());
    // The main window gives up width, down to half the screen, so that the
    // edits window stands beside it rather than over it; the pair is centred.
    QSize mainSize = available.size() * 3 / 4;
    mainSize.setWidth(std::min(mainSize.width(), std::max(available.width() / 2, available.width() - size.width())));
    QRect main(QPoint(0, 0), mainSize);
    main.moveCenter(available.center());
    if (main.width() + size.width() <= available.width())
        main.moveLeft(available.left() + (available.width() - main.width() - size.width()) / 2);
    QRect edits(QPoint(main.right() + 1, main.top()), size);
    if (edits.right() > available.right())
        edits.moveRight(available.right());
    // Only a window as wide as the main one could land on its corner.
    if (edits.topLeft() == main.topLeft())
        edits.moveTop(std::min(main.top() + main.height() / 8, available.bottom() + 1 - size.height()));
    return {main, edits};
}

QRect fittedRect(const QWidget &window, float xTwips, float yTwips, float widthTwips, float heightTwips)
{
    const Twips twips = Twips::forWidget(&window);
    const QRect wanted(twips.toPixels(xTwips), twips.toPixels(yTwips), twips.toPixels(widthTwips),
                       twips.toPixels(heightTwips));
    return ScreenFit::fitWindow(wanted, ScreenFit::availableFor(wanted, &window));
}

void applyColumnWidths(QTableView &list, const std::array<float, 5> &storedTwips, const QWidget &window,
                       bool markedNumbers)
{
    const Twips twips = Twips::forWidget(&window);
    const std::array<float, 5> defaults = Settings().List1ColTwips;
    const QFontMetrics metrics = list.fontMetrics();
    const int padding = 4 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const auto advance = [&](const QString &text) { return metrics.horizontalAdvance(text) + padding; };
    // Numbers up to seven digits; the kind marks are up to three shapes
    // after them. Reading speeds reach three digits on very short subtitles.
    const int minimumPixels[] = {advance(markedNumbers ? QStringLiteral("0000000 WWW") : QStringLiteral("0000000")),
                                 advance(QStringLiteral("00:00:00,000")), advance(QStringLiteral("00:00:00,000")), 0,
                                 advance(QStringLiteral("999.9"))};
    const QRect screen = ScreenFit::availableFor(window.geometry(), &window);
    const int maximumPixels = screen.isEmpty() ? 4096 : screen.width();
    for (std::size_t column = 0; column < storedTwips.size(); ++column) {
        const float stored = storedTwips[column];
        const int wanted = twips.toPixels(stored > 0 ? stored : defaults[column]);
        list.horizontalHeader()->resizeSection(int(column),
                                               std::max(std::min(wanted, maximumPixels), minimumPixels[column]));
    }
}

void storeColumnWidths(const QTableView &list, std::array<float, 5> &storedTwips)
{
    const Twips twips = Twips::forWidget(&list);
    for (std::size_t column = 0; column < storedTwips.size(); ++column)
        storedTwips[column] = twips.fromPixels(list.horizontalHeader()->sectionSize(int(column)));
}

} // namespace WindowGeometry
