#pragma once

#include <QColor>
#include <QImage>

#include <functional>

class QPalette;
class QWidget;

// The colours of the program's windows, set in one place and always in pairs: a background with a text
// colour that reads on it. Under a light palette the windows wear their light blue-grey tint; under a
// dark palette they keep the palette's own dark window colour, so the palette's light text stays readable.

// The contrast of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// True when the palette draws light text on dark windows.
bool isDarkPalette(const QPalette& palette);

// The background colour of the program's small windows under the application palette.
QColor smallWindowBackground();

// Runs `apply` now and again whenever the desktop's palette changes while `widget` lives.
void followApplicationPalette(QWidget& widget, std::function<void()> apply);

// Fills the window with the program's background (or the picture given) and sets its text colours to
// read on it, now and after every change of the desktop's palette.
void applyWindowLook(QWidget& window, const QImage& pattern = QImage());

// The colour of a link drawn on the program's window background.
QColor linkColour();
