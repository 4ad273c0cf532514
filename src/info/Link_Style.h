#pragma once

class QPushButton;

// Makes a push button look and act like a web link: bold 11-point blue underlined title on the window's
// background colour, with the pointing-hand cursor over it.
void applyLinkStyle(QPushButton& button);
