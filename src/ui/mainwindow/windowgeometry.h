// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <optional>

class EditsWindow;
class QMainWindow;
class QTableView;
class QWidget;
class SubtitlePanes;
struct Settings;

// The main window's and the edits window's places and sizes, the splitter
// and the column widths: put on the screen from the settings (fitted to
// it, or laid out for a first start), taken back into them on closing, and
// kept in step while the window is shown, minimised and restored.
class WindowGeometry
{
public:
    WindowGeometry(QMainWindow &window, EditsWindow &editsWindow, SubtitlePanes &panes);

    // Places both windows and sizes the lists from settings; with no
    // stored place, lays them out for a first start.
    void apply(const Settings &settings, bool hasStoredPlace);
    // The edits window, splitter and columns only, as the Options dialog
    // leaves them.
    void applyEditsAndLists(const Settings &settings);
    // The geometry as it is now, the normal size of a maximised window,
    // and whether it is maximised.
    void store(Settings &settings) const;
    // The splitter's left edge in the client area, in twips.
    float diaxTwips() const;

    // Events of the main window the geometry follows.
    void shown();
    void resized();
    void moved();
    void stateChanged();
    // On a first start, once the window manager's frames are known, the
    // edits window goes beside the main window, which makes room.
    void placeEditsWindowBeside();

    // Where the main window and the edits window open when no place is
    // stored. On a screen of MaximisedBelow or less in either direction the
    // main window is maximised, since the lists, the video and the timeline
    // need all of it, and the edits window stands over the original list's
    // top left. Otherwise the main window is about three quarters of
    // available, narrower (down to a half) where that lets the edits window
    // stand beside it, the two centred together; where even that does not
    // fit, the edits window goes over the main window's right edge, never
    // on its corner.
    static constexpr QSize MaximisedBelow{1600, 900};
    struct FirstStartRects
    {
        QRect main; // the normal place of a maximised window
        QRect edits;
        bool maximised = false;
    };
    static FirstStartRects firstStartRects(const QRect &available, const QSize &editsSize);
    // A window's stored place and size, in pixels, fitted to its screen.
    static QRect fittedRect(const QWidget &window, float xTwips, float yTwips, float widthTwips, float heightTwips);
    // The five columns' widths; a stored width of zero or less (an old
    // file's shrinking columns) gets the default, and none is so narrow
    // that a number or a time is cut off, nor wider than the screen.
    // markedNumbers: the number cells carry a kind mark as well.
    static void applyColumnWidths(QTableView &list, const std::array<float, 5> &storedTwips, const QWidget &window,
                                  bool markedNumbers);
    static void storeColumnWidths(const QTableView &list, std::array<float, 5> &storedTwips);

private:
    bool isNormal() const;
    void setSplitterLimits();
    void applyDiax();

    QMainWindow &m_window;
    EditsWindow &m_editsWindow;
    SubtitlePanes &m_panes;
    // The splitter's place waits for the window's first layout.
    std::optional<float> m_pendingDiaxTwips;
    bool m_placed = true;      // false until a first start has placed the edits window
    // A first start gives the two lists equal widths, also as the window
    // grows to its maximised size, until the user moves the splitter.
    bool m_splitEvenly = false;
    bool m_wasMinimized = false;
    // Where the frame stands when the window is normal, as stored.
    QPoint m_normalFramePosition;
};
