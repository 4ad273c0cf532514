#pragma once

class QWidget;

// The choice boxes, number fields and sliders inside `root` take the mouse wheel only once they have the
// keyboard focus, as desktop programs do: until then the wheel scrolls what holds them, so scrolling a
// long panel never changes a value on the way. A click or Tab gives them the focus as before.
void wheelOnlyWhenFocused(QWidget& root);
