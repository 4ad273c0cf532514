#pragma once

#include <QString>

// Lays out the user guide with its pictures and writes it as a PDF document at the path; false when the
// file cannot be written.
bool writeHelpGuide(const QString& path);
