#pragma once

#include <QString>

#include <atomic>

// The e-mail settings the send window and its runs use, copied from the settings store by
// Get_Email_Details. GUI thread only: a run gets its own copies before its worker starts.
extern QString sender_email;
extern QString sender_pwd;
extern QString sending_server;
extern QString sending_port;
extern QString send_enable_ssl; // "Y" for SSL; anything else (or empty) TLS

// Copies sender, password, server, port and SSL flag from a fresh settings store into the globals
// above (the test-mail recipient is not copied). A setting missing from the file becomes empty text.
void Get_Email_Details();

// The address rule shared by the e-mail windows: trimmed, at least 6 characters, exactly one "@" and
// at least one ".".
bool isValidEmail(const QString& text);

// The program's name as the mails show it ("&" written "and").
QString mailAppName();

// Progress of an e-mail run, written by its worker and read by the progress window's timer.
extern std::atomic<int> list_count; // steps of the run
extern std::atomic<int> curr_barcode_count; // the step under way, from 1; 0 before the first
extern std::atomic<qint32> Pause_Delay_Time; // milliseconds the pause label shows; -1 when not pausing

// The pause label's text for a length in milliseconds, e.g. "Pausing the process for 1 Hour 2 Minutes 5 Seconds.".
QString Calculate_Pause_Time(qint32 ms);
