#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/OpenFolder.h"

// Card pictures as files, for the single export, the batch export and e-mail alike: their names (front,
// back, combined, by record), the format the extension names, the resolution they record and the checked
// write.
class Card_Image_File {
public:
    // The files one card is written to for a side choice ("BOTH", "F" or "B") and the path chosen for it;
    // a name is empty when that picture is not written.
    struct Targets {
        QString front;
        QString back;
        QString combined; // both sides in one picture
    };
    static Targets targets(const QString& path, const QString& cardSide, bool combined);

    // Record i (from 0) of a batch: "<folder>/Card_<i+1>.<extension>", the extension used unchanged.
    static QString recordPath(const QString& folder, int record, const QString& extension);
    // "<dir>/<base>_Back.<ext>": the back side's file beside the front's.
    static QString backPath(const QString& path);
    // "png", "jpeg", "tiff" or "bmp", by the extension; PNG for any other.
    static QByteArray formatForPath(const QString& path);
    // The path a single card is written to in the format titled `formatTitle` ("PNG", "JPEG" ...): the
    // chosen path when its extension names that format, else the path with the format's own extension
    // added, so that a file's name never claims another format than its data.
    static QString pathForFormat(const QString& path, const QString& formatTitle);

    // Writes the picture in the format its extension names, recording `dpi` so that it keeps the card's
    // size in print, through the checked save: a failure keeps the old file and gives the system's reason.
    static bool write(const QImage& image, const QString& path, QString* error = nullptr, int dpi = 72);
    // The same for one file of many: PNG files are not waited for on the disk (the caller flushes the
    // folder once at the end). An empty text on success, the message for the user otherwise.
    static QString writeForBatch(const QImage& image, const QString& path, int dpi);
    // The same for a file in a folder the run holds open; `shownPath` names it in a failure, and `written`
    // gets what shows that the file is the one written.
    static QString writeForBatch(const QImage& image, const platform::FilePlace& place, const QString& shownPath,
        int dpi, platform::FileIdentity* written);
    // The message a failed write shows.
    static QString failureText(const QString& path, const QString& reason);

    // One picture of both sides: twice the front's height, the front above and the back below.
    static QImage combine(const QImage& front, const QImage& back);
    // The same picture drawn into `combined`, whose pixels are used again when its size fits; false, and
    // nothing drawn, when either side is no picture.
    static bool combineInto(QImage& combined, const QImage& front, const QImage& back);
};
