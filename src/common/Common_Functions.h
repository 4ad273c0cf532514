#pragma once

#include <QString>

class QWidget;

// Message boxes, logging, string tests and helpers shared by every window.

// Message boxes may be asked for from any thread: the box is shown by the GUI thread and the caller waits.
void Show_MessageBox(const QString& text);
int Show_YES_NO_MessageBox(const QString& text); // 1 for Yes, 0 for No
// Save / Don't Save / Cancel: a platform::SaveAnswer.
int Show_Save_Question(const QString& text);

// GUI-thread halves of the two boxes.
void Main_Thread_Messgae(const QString& message);
int Main_Thread_Messgae_Yes_No(const QString& message);

// The program's one logging path; empty texts are not logged.
void Show_NSLog_Message(const QString& text);

// String helpers. Indexes count UTF-16 units; a helper that shortens text never splits a surrogate pair.
QString Trim_Str(const QString& s);
QString Remove_Reserve_Char_In_File_Name(const QString& s);
QString Left_Str_substringToIndex(const QString& s, int n);
QString Right_Str_substringFromIndex(const QString& s, int n);
QString Read_Str_FromIndex(const QString& s, int i);
QString Read_Str_Upto_Index(const QString& s, int i);
QString Replace_char_in_string(const QString& s, const QString& a, const QString& b);
int Find_Str(const QString& s, const QString& t);
int Find_Str_Case_Insensitive(const QString& s, const QString& t);

// Cuts text to at most n UTF-16 units without splitting a surrogate pair (may give n - 1 units).
QString truncatedAtCharacterBoundary(const QString& s, int n);

// A name or value from a file, a workbook or a server as a notice names it: at most kNoticeNameLength
// characters, longer ones cut at a character boundary and ended with an ellipsis, so that the notice stays
// readable and quick to show whatever the file holds.
constexpr int kNoticeNameLength = 80;
QString Name_In_Notice(const QString& name);
// A path or file name as a notice shows it: at most kNoticeNameLength characters, the middle left out, so that
// the folder's start and the file's name both stay readable; a path from a design file may be of any length.
QString Path_In_Notice(const QString& path);

// Shows every label of the window as the characters it is given, never as markup: for windows whose words
// name files, sheets or values (a progress window's label).
void Show_Labels_As_Plain_Text(QWidget& window);

// Enables or disables a control; a group box passes the state on to its controls, boxes within boxes included.
void SetObjEnabled(QWidget* control, bool flag);

// Lengths: the model keeps points, the user sees millimetres.
constexpr double kPointsPerMillimetre = 2.834645669291; // 72 / 25.4, to the digits stored sizes were made with
float Points_to_MM_Convert(float points);
float MM_to_Points_Convert(float millimetres);
