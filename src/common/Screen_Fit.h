#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QBoxLayout;
class QLayout;
class QScrollArea;
class QWidget;

// Where a window of the wanted size goes on a screen's available area: no larger than the area (and
// no smaller than its minimum, where the area allows), its frame kept inside, moved as little as can be.
QRect fittedWindowGeometry(const QRect& wanted, const QSize& minimum, const QRect& available);

// The frame a window manager is likely to put around the window, reserved until the real one is known.
QMargins windowFrameAllowance(const QWidget& window);

// Where the window goes on a screen's `available` area with a `frame` around it: at its `wanted` size (an
// empty size keeps its own), centred over the `opener`'s frame when there is one, else where it is, and
// moved and shrunk as little as keeps the frame inside the area. The rectangle is the frame's top-left
// corner (where the window is moved to) with the window's own size.
QRect placedWindowGeometry(
    const QWidget& window, const QSize& wanted, const QWidget* opener, const QRect& available, const QMargins& frame);

// Keeps the window within the available area of its screen each time it is shown, centred over the window
// that opened it, and again once the window manager has framed it; `wanted` is the size it opens at when
// the screen has room (an empty size keeps the size it has).
void keepWindowOnScreen(QWidget& window, const QSize& wanted = QSize());

// Moves `column` of `outer` into a scroll area that takes its place, so that a window can be shorter than
// the column and its other parts (the buttons) stay in view.
QScrollArea* scrollColumnWhenTall(QBoxLayout& outer, QLayout& column, bool bothWays = false);
// The same for a panel widget of `outer`. Either scroll area is as wide as what it holds needs, with room
// for its scroll bar, so only the height scrolls, unless the column is to scroll `bothWays`.
QScrollArea* scrollPanelWhenTall(QBoxLayout& outer, QWidget& panel);
// Moves every row of `outer` above the `buttons` row into one scroll area that takes their place, so that
// the buttons stay in view however short the window is; `bothWays` lets it scroll across too.
QScrollArea* scrollAllAbove(QBoxLayout& outer, const QLayout& buttons, bool bothWays = false);
