#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include <optional>

#include "platform/OpenFolder.h"

class QFile;

namespace platform {

// Every reader of a path the user or a folder listing gives goes through these checks, so that a FIFO, a
// device, a folder or a huge file can neither freeze nor exhaust the program: it is refused with a message
// naming it. Links are followed; what they end at is checked. Paths into the program's own resources
// (":/...") are taken as they are.

// The bound for pictures: more than any photograph a card could show, far less than memory.
inline constexpr qint64 maximumPictureFileBytes = qint64(256) * 1024 * 1024;

// True when the path names a regular file of at most maxBytes; looks at the directory entry only, never
// opens the file. Otherwise false with a message naming the path.
bool isRegularFileWithin(const QString& path, qint64 maxBytes, QString* error = nullptr);

// Opens the path for reading under the same checks, made again on the opened file so that nothing swapped
// in between slips through; the open never waits on a FIFO or device. The file keeps the path as its name.
bool openRegularFile(QFile& file, const QString& path, qint64 maxBytes, QString* error = nullptr);

// The whole file under the same checks; nothing when refused or unreadable.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* error = nullptr);

// The same for a name in an open folder (or a path), where a link is refused, never followed.
std::optional<QByteArray> readRegularFileAt(const FilePlace& place, qint64 maxBytes, QString* error = nullptr);

// The picture in the file, turned as the file says, under the same checks with maximumPictureFileBytes and
// the decode's memory bound (platform/PictureDecode.h); a null picture when refused or not a picture that can
// be read.
QImage readPictureFile(const QString& path, QString* error = nullptr);

} // namespace platform
