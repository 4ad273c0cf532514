#pragma once

#include "platform/OwnLock.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What this copy of the program knows of the design file it has open: the lock beside it that tells other
// copies the design is open here, and what the file held when this copy last read or wrote it, so that a
// save never writes over what another copy (or program) saved in the meantime without asking.
class Design_File_Claim {
public:
    ~Design_File_Claim() { release(); }

    // Takes the lock beside the design, ".<name>.tessaline.lock", giving up the one of an earlier design; a
    // lock left by a copy that ended is taken over. False when another running copy holds it.
    bool claim(const QString& path);
    // Remembers the file at path as holding `bytes`, just read or written by this copy.
    void remember(const QString& path, const QByteArray& bytes);
    // True when the file at path is no longer what this copy last read or wrote there: its size, time
    // and, when those differ, its content. A path this copy did not read or write, or one with no file,
    // has nothing to lose.
    bool changedOnDisk(const QString& path) const;
    // What the file at path holds as the person is asked about it; nothing when it cannot be read.
    struct Seen {
        qint64 size = -1;
        qint64 modified = 0;
        QByteArray hash;
    };
    std::optional<Seen> seenOnDisk(const QString& path) const;
    // The file at path as it was seen may be written over (the person chose Overwrite): only a change
    // made after that, even while the person was being asked, counts as one again.
    void acceptOnDisk(const QString& path, const Seen& seen);
    bool isOf(const QString& path) const { return !path_.isEmpty() && path == path_; }
    // Gives up the lock (removing its file) and forgets the file.
    void release();

    static QString lockPathOf(const QString& path);

private:
    platform::OwnLock lock_;
    QString path_;
    qint64 size_ = -1;
    qint64 modified_ = 0; // nanoseconds
    QByteArray hash_;
};
