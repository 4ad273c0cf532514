#pragma once

#include <QString>

#include <atomic>
#include <optional>

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

// One mail address as a person types it: "guest@example.com" or "Guest Name <guest@example.com>".
struct Mail_Address {
    QString displayName; // text, never read as mail syntax; empty when none was typed
    QString addrSpec; // the bare address: the only thing the server's envelope sees
};

// Reads one address, trimmed: a bare mailbox address (a dot-atom local part, a domain of at least two labels of
// letters, digits and inner hyphens; UTF-8 allowed in both), alone or in angle brackets after a display
// name, and nothing after it. A display name is words, plain or quoted as the mail format allows
// (Anne-Marie "Nan" O'Brien, "Lee, Ann"), read as the text they stand for; angle brackets only inside
// quotes, no control characters. None for anything else.
std::optional<Mail_Address> parseMailAddress(const QString& text);

// The guest a recipient names, as mails sent are known by: the bare address, trimmed and lower-cased (the text
// trimmed and lower-cased when it is not an address).
QString mailGuest(const QString& recipient);

// The address rule for a sender or a single recipient: one bare mailbox address as parseMailAddress reads it.
bool isValidEmail(const QString& text);

// A port as typed: a whole number from 1 to 65535, blanks around it allowed.
bool validPort(const QString& text);

// True when the text holds a line break or another control character, which no mail header may carry.
bool hasControlCharacter(const QString& text);

// The program's name as the mails show it ("&" written "and").
QString mailAppName();

// Progress of an e-mail run, written by its worker and read by the progress window's timer.
extern std::atomic<int> list_count; // steps of the run
extern std::atomic<int> curr_barcode_count; // the step under way, from 1; 0 before the first
extern std::atomic<qint32> Pause_Delay_Time; // milliseconds the pause label shows; -1 when not pausing

// The pause label's text for a length in milliseconds, e.g. "Pausing the process for 1 Hour 2 Minutes 5 Seconds.".
QString Calculate_Pause_Time(qint32 ms);
