#pragma once

#include <QString>
#include <QtGlobal>

// Process-wide state of the start screen, the wizards and the greeting texts, grouped by owner.
// Everything here is read and written on the GUI thread.

// --- Invitation wizard ---
// Greeting category "1" to "12" last chosen in the wizard; initial "1". The wizard writes it; the wizard
// and the greeting-text picker read it to choose the catalogue lists they offer.
extern QString Event_Type;

// The start screen's choice: "W" the invitation wizard, "L" a saved design was opened, "T" a template
// (the start chooser's); initial "T", emptied by Exit. The main window reads it after the start screen.
extern QString Start_Card_Option;

// The invitation wizard's trimmed answers, published when the wizard finishes and kept until it finishes
// again; the main window builds the new card's front from them. Invite_BG_IMG is a picture path.
extern QString Invite_Title;
extern QString Invite_Message;
extern QString Invite_From;
extern QString Invite_To;
extern QString Invite_Venue;
extern QString Invite_Date;
extern QString Invite_Time;
extern QString Invite_BG_IMG;

// --- Greeting-text picker ---
// The picker's result: emptied when it opens and on Cancel, the chosen text after OK.
extern QString Template_Msg_Val;

// --- Template gallery and template names ---
// The chosen template's preview picture; after OK the design file beside it.
extern QString Selected_Template_Path;
// Source of the user-template grid's item identifiers; only grows during a run.
extern quint64 User_Defined_File;
// The last name accepted by the template-name window.
extern QString export_template_name;
