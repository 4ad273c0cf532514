#pragma once

#include <QString>

class TSLWindowController;

// Process-wide state of the card editor window, grouped by owner. GUI thread only unless noted.

// --- The main window ---
// The one editor window; set when it is created and kept for the whole run.
extern TSLWindowController* Main_App_wnd;

// --- Card sides ---
// "2" for a two-sided card, "1" for a one-sided card; empty until the sides choice is first made.
extern QString CARD_SIDE_STR;
// Where the last automatically placed item went; the next one cascades from here. 10, 10 for a new card.
extern float last_ctrl_X;
extern float last_ctrl_Y;

// --- Card-holder profiles ---
// A profile window has been confirmed since the design was started.
extern bool Fill_User_Profile;

// --- Spreadsheet binding (stored in the design file) ---
extern bool Excel_Binding_Use; // the design takes data from a spreadsheet
extern QString Excel_Source_Path; // the spreadsheet the binding table was loaded from
