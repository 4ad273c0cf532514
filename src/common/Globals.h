#pragma once

#include <QString>

#include <atomic>

// Process-wide state shared between the windows of the card editor, grouped by owner.
// Everything here is read and written on the GUI thread unless it is atomic.

// --- Data folders (set at start-up by the main window) ---
extern QString Resource_Path;    // the user's data folder, no trailing separator
extern QString Data_Folder_Path; // Resource_Path + "/DataSet": the series files

// --- Generic message window ---
extern bool Msg_Apply_All_Chk;  // apply-to-all box at the last OK of the message window
extern QString Cutom_Msg_Title; // title and text of the message window in help mode
extern QString Cutom_Msg_Val;

// --- Card editor ---
extern int Card_Front_Or_Back; // current side: 0 front, 1 back
extern int Card_Shape;         // card outline: 1 rounded rectangle, 2 oval, anything else rectangle
extern const QString Text_Ctrl_Font; // name of the default text font
extern bool Not_Draw_Only_Prop_Change; // set while the inspector puts stored values into its controls
extern QString Library_Selected_Image; // picture chosen for the next picture item
extern QString Project_File_Name;      // the current design file, empty for a design without a file

// --- Batch output (read by worker threads) ---
extern std::atomic<bool> Card_Value_In_Process; // a batch record is being filled and rendered
extern std::atomic<bool> Stop_SMS_Sending_Now;  // the progress window's Stop button
