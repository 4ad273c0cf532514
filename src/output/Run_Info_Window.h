#pragma once

class QDialog;

// Runs one of the information windows (help, review, promotion) modally, orders it out afterwards and
// returns its code: 1 for OK, 0 for Cancel or when it could not run (the reason is logged).
int Run_Info_Window(QDialog& window);
