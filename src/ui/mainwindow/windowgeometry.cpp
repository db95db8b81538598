// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/windowgeometry.h"

#include "settings/settings.h"
#include "ui/edits/editswindow.h"
#include "ui/screenfit.h"
#include "ui/subtitles/subtitlelistview.h"
#include "ui/subtitles/subtitlepanes.h"
#include "ui/twips.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QStyle>
#include <QTableView>

#include <algorithm>

WindowGeometry::FirstStartRects WindowGeometry::firstStartRects(const QRect &available, const QSize &editsSize)
{
    const QSize size = editsSize.boundedTo(available.size());
    if (available.width() < MaximisedBelow.width() || available.height() < MaximisedBelow.height()) {
        // Below the menu and the tool bar, over the number and time columns
        // the corrected list repeats.
        QRect main(QPoint(0, 0), available.size() * 3 / 4);
        main.moveCenter(available.center());
        const QRect edits(available.topLeft() + QPoint(available.width() / 64, available.height() / 8),
                          size.boundedTo(available.size() / 2));
        return {main, edits, true};
    }
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
    return {main, edits, false};
}

QRect WindowGeometry::fittedRect(const QWidget &window, float xTwips, float yTwips, float widthTwips, float heightTwips)
{
    const Twips twips = Twips::forWidget(&window);
    const QRect wanted(twips.toPixels(xTwips), twips.toPixels(yTwips), twips.toPixels(widthTwips),
                       twips.toPixels(heightTwips));
    return ScreenFit::fitWindow(wanted, ScreenFit::availableFor(wanted, &window));
}

void WindowGeometry::applyColumnWidths(QTableView &list, const std::array<float, 5> &storedTwips, const QWidget &window,
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

void WindowGeometry::storeColumnWidths(const QTableView &list, std::array<float, 5> &storedTwips)
{
    const Twips twips = Twips::forWidget(&list);
    for (std::size_t column = 0; column < storedTwips.size(); ++column)
        storedTwips[column] = twips.fromPixels(list.horizontalHeader()->sectionSize(int(column)));
}


namespace {

constexpr float MarginTwips = 45;
constexpr float SplitterLimitTwips = 1000; // from either edge of the window

} // namespace

WindowGeometry::WindowGeometry(QMainWindow &window, EditsWindow &editsWindow, SubtitlePanes &panes)
    : m_window(window), m_editsWindow(editsWindow), m_panes(panes)
{
    QObject::connect(&m_panes, &QSplitter::splitterMoved, &m_panes, [this] { m_splitEvenly = false; });
}

void WindowGeometry::apply(const Settings &settings, bool hasStoredPlace)
{
    setSplitterLimits();
    applyEditsAndLists(settings);
    m_placed = hasStoredPlace;
    if (hasStoredPlace) {
        const QRect main = fittedRect(m_window, settings.MainXTwips, settings.MainYTwips, settings.MainWidthTwips,
                                      settings.MainHeightTwips);
        m_window.move(main.topLeft());
        m_window.resize(main.size());
        m_normalFramePosition = main.topLeft();
        if (settings.MainMaximized)
            m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
        return;
    }
    const QRect available = ScreenFit::availableFor(m_window.geometry(), &m_window);
    if (available.isEmpty())
        return;
    const FirstStartRects rects = firstStartRects(available, m_editsWindow.size());
    m_window.move(rects.main.topLeft());
    m_window.resize(rects.main.size());
    m_normalFramePosition = rects.main.topLeft();
    m_editsWindow.move(rects.edits.topLeft());
    m_editsWindow.resize(rects.edits.size());
    if (rects.maximised) {
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
        m_placed = true; // the edits window stands over it, not beside
    }
    m_pendingDiaxTwips.reset();
    m_splitEvenly = true;
}

void WindowGeometry::applyEditsAndLists(const Settings &settings)
{
    const QRect edits = fittedRect(m_window, settings.EditXTwips, settings.EditYTwips, settings.EditWidthTwips,
                                   settings.EditHeightTwips);
    m_editsWindow.move(edits.topLeft());
    m_editsWindow.resize(edits.size());
    m_pendingDiaxTwips = settings.DiaxTwips;
    applyDiax();
    applyColumnWidths(*m_panes.originalList(), settings.List1ColTwips, m_window, false);
    applyColumnWidths(*m_panes.correctedList(), settings.List2ColTwips, m_window, true);
}

void WindowGeometry::store(Settings &settings) const
{
    const Twips twips = Twips::forWidget(&m_window);
    // The normal size and place, as a window closed maximised reopens; the
    // place is the frame's, as move() takes it back.
    const bool normal = isNormal();
    const QRect main = normal ? m_window.geometry() : m_window.normalGeometry();
    // The frame of a maximised window is not the frame it has when normal.
    const QPoint mainPosition = normal ? m_window.pos() : m_normalFramePosition;
    settings.MainXTwips = twips.fromPixels(mainPosition.x());
    settings.MainYTwips = twips.fromPixels(mainPosition.y());
    settings.MainWidthTwips = twips.fromPixels(main.width());
    settings.MainHeightTwips = twips.fromPixels(main.height());
    settings.MainMaximized = m_window.windowState().testFlag(Qt::WindowMaximized);
    settings.EditXTwips = twips.fromPixels(m_editsWindow.pos().x());
    settings.EditYTwips = twips.fromPixels(m_editsWindow.pos().y());
    settings.EditWidthTwips = twips.fromPixels(m_editsWindow.width());
    settings.EditHeightTwips = twips.fromPixels(m_editsWindow.height());
    settings.DiaxTwips = diaxTwips();
    storeColumnWidths(*m_panes.originalList(), settings.List1ColTwips);
    storeColumnWidths(*m_panes.correctedList(), settings.List2ColTwips);
}

float WindowGeometry::diaxTwips() const
{
    if (m_pendingDiaxTwips)
        return *m_pendingDiaxTwips;
    const QPoint handle = m_panes.handle(1)->mapTo(m_window.centralWidget(), QPoint(0, 0));
    return Twips::forWidget(&m_window).fromPixels(handle.x());
}

void WindowGeometry::setSplitterLimits()
{
    // The splitter stays SplitterLimitTwips from either edge of the window.
    const Twips twips = Twips::forWidget(&m_window);
    const int margin = twips.toPixels(MarginTwips);
    const int limit = twips.toPixels(SplitterLimitTwips);
    m_panes.leftPane()->setMinimumWidth(std::max(1, limit - margin));
    m_panes.rightPane()->setMinimumWidth(std::max(1, limit - m_panes.handleWidth() - margin));
}

void WindowGeometry::applyDiax()
{
    if (m_splitEvenly && m_window.isVisible() && m_panes.width() > 0) {
        const int total = m_panes.width() - m_panes.handleWidth();
        m_panes.setSizes({total / 2, total - total / 2});
        return;
    }
    if (!m_pendingDiaxTwips || !m_window.isVisible() || m_panes.width() <= 0)
        return;
    const Twips twips = Twips::forWidget(&m_window);
    const int left = twips.toPixels(*m_pendingDiaxTwips) - m_panes.x();
    const int total = m_panes.width() - m_panes.handleWidth();
    m_panes.setSizes({std::max(1, left), std::max(1, total - left)});
    m_pendingDiaxTwips.reset();
}

void WindowGeometry::shown()
{
    applyDiax();
}

void WindowGeometry::resized()
{
    if (m_splitEvenly)
        applyDiax();
    moved();
}

void WindowGeometry::moved()
{
    if (m_window.isVisible() && isNormal())
        m_normalFramePosition = m_window.pos();
}

bool WindowGeometry::isNormal() const
{
    return !(m_window.isMaximized() || m_window.isMinimized() || m_window.isFullScreen());
}

void WindowGeometry::stateChanged()
{
    // The edits window goes and comes back with the main window.
    if (m_window.isMinimized()) {
        m_wasMinimized = true;
        if (m_editsWindow.isMeantToBeShown())
            m_editsWindow.hide();
    } else if (m_wasMinimized) {
        m_wasMinimized = false;
        if (m_editsWindow.isMeantToBeShown())
            m_editsWindow.show();
    }
}

void WindowGeometry::placeEditsWindowBeside()
{
    // The first layout could only guess the frames; the main window moves
    // left, or gives up width down to half the screen, to make room.
    if (m_placed || !m_window.isVisible())
        return;
    m_placed = true;
    const QRect available = ScreenFit::availableFor(m_window.frameGeometry(), &m_window);
    const int frameWidth = m_window.frameGeometry().width() - m_window.width();
    const int editsWidth = m_editsWindow.width() + frameWidth;
    int overflow = m_window.frameGeometry().right() + editsWidth - available.right();
    if (overflow > 0) {
        const int shift = std::min(overflow, m_window.frameGeometry().left() - available.left());
        m_window.move(m_window.x() - shift, m_window.y());
        overflow -= shift;
    }
    if (overflow > 0)
        m_window.resize(std::max(available.width() / 2, m_window.width() - overflow), m_window.height());
    if (m_window.frameGeometry().right() + editsWidth <= available.right())
        m_editsWindow.move(m_window.frameGeometry().right() + 1, m_editsWindow.y());
}
