#pragma once

#include "platform/CheckedSave.h"

#include <QString>

#include <functional>

class QIODevice;

// File and folder helpers of the data folder.

// A name built from user text may become a file name only when this holds: not empty, no "/" or "\",
// and not "." or "..". Callers check it after Remove_Reserve_Char_In_File_Name and before any file
// is deleted or written, so a typed name can never reach outside its folder.
bool isSafeFileName(const QString& name);
// Why a typed template name cannot name the template's files (empty, or holding a path); empty when it can.
QString templateNameRefusal(const QString& typed);

// Every file the program writes goes through the one checked save (see platform/CheckedSave.h).
using platform::saveFileAtomically;
using platform::writeAll;

// Removes the file or folder at path when it can be removed; errors are ignored. A path with a ".."
// component is refused.
void Delete_File(const QString& path);

// Asks the person for a picture file to open; empty when the panel was cancelled or the file chosen is not
// a picture (the person is told so, with the file's name).
QString Choose_Picture_File();
// Why the file cannot be used as a picture, naming it; empty when it is a regular file of a picture kind,
// which the picture check then judges whole.
QString pictureFileRefusal(const QString& path);

// Opens "Help.pdf" of the data folder with the desktop's viewer; says so when it is missing.
void Open_Help_File();
// Opens a file or folder with the desktop's program for it; with none installed, says so with the path.
void Open_File_With_Desktop(const QString& path);

// Creates the data folders that are missing, with the process's default permissions.
void Check_Path_And_Create_Files();

// Sets Resource_Path to the user's data folder, creates it and fills in the installed resources it lacks,
// and sets Data_Folder_Path. False when the folder cannot be created.
bool Prepare_Resource_Folder(QString* error = nullptr);
