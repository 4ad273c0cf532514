#pragma once

#include <QRect>
#include <QSize>

class QBoxLayout;
class QLayout;
class QScrollArea;
class QWidget;

// Where a window of the wanted size goes on a screen's available area: no larger than the area (and
// no smaller than its minimum, where the area allows), its frame kept inside, moved as little as can be.
QRect fittedWindowGeometry(const QRect& wanted, const QSize& minimum, const QRect& available);

// Keeps the window within the available area of its screen each time it is shown; `wanted` is the size
// it opens at when the screen has room (an empty size keeps the size it has).
void keepWindowOnScreen(QWidget& window, const QSize& wanted = QSize());

// Moves `column` of `outer` into a scroll area that takes its place, so that a window can be shorter than
// the column and its other parts (the buttons) stay in view.
QScrollArea* scrollColumnWhenTall(QBoxLayout& outer, QLayout& column);
// The same for a panel widget of `outer`. Either scroll area is as wide as what it holds needs, with room
// for its scroll bar, so only the height scrolls.
QScrollArea* scrollPanelWhenTall(QBoxLayout& outer, QWidget& panel);
