#pragma once

#include <QString>

// A workbook's path as a notice or a window shows it: at most kNoticeNameLength characters, the middle left
// out, so that the folder's start and the file's name both stay readable; a path from a design file may be
// of any length.
QString Workbook_Path_In_Notice(const QString& path);
