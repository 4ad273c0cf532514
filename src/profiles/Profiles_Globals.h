#pragma once

#include <QString>

// Process-wide state of the start screen, the wizards and the greeting texts, grouped by owner.
// Everything here is read and written on the GUI thread.

// --- Invitation wizard ---
// Greeting category "1" to "12" last chosen in the wizard; initial "1". The wizard writes it; the wizard
// and the greeting-text picker read it to choose the catalogue lists they offer.
extern QString Event_Type;
