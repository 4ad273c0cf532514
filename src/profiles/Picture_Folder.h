#pragma once

#include <QString>
#include <QStringList>

// Reading the picture folders of the data folder: the library's categories, its backgrounds and the
// templates' previews. Only the first level of a folder is read, in the order the file system lists it.
namespace Picture_Folder {

// The file names of the folder's pictures: entries whose extension, in lower case, is "png" or "jpg".
// A missing folder gives none.
QStringList pictureNames(const QString& folder);

// The names of the folder's sub-folders, as stored.
QStringList subFolderNames(const QString& folder);

// A folder name as the user sees it: each word with its first letter upper case and the rest lower case.
QString capitalised(const QString& name);

} // namespace Picture_Folder
