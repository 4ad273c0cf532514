#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

// Where a file is reached: by its name in a folder the program holds open, or by a path. Through an open
// folder nothing else is ever reached, even when the folder is renamed and another, or a link, is put at its
// path meanwhile; a name there is never a link followed.
struct FilePlace {
    FilePlace(const QString& path) // NOLINT: a path is a place
        : name(path)
    {
    }
    FilePlace(int openFolder, const QString& nameInFolder)
        : folder(openFolder)
        , name(nameInFolder)
    {
    }

    int folder = AT_FDCWD; // the open folder's handle, or AT_FDCWD for a path
    QString name; // in the folder; the whole path with AT_FDCWD

    bool inOpenFolder() const { return folder != AT_FDCWD; }
    QByteArray encodedName() const;
    // The file's own name, without its folder.
    QString fileName() const;
    // Its folder, to open or list: "." within an open folder.
    QByteArray encodedFolder() const;
    // The entry of that name beside it, in the same folder.
    FilePlace beside(const QString& other) const;
    // Its entry itself, a link never followed (lstat); false with errno when there is none.
    bool look(struct stat& info) const;
};

// What shows that a file is the very one a writer made: its device and number on it, its size and the time
// of its last change, to the nanosecond. A file written over or edited since, or another put in its place,
// no longer shows it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    static FileIdentity of(const struct stat& info);
    // The open file's; nothing with errno when it cannot be looked at.
    static std::optional<FileIdentity> ofHandle(int handle);
    bool operator==(const FileIdentity&) const = default;
};

// The start of a file the program may take for one of its own: a regular file of this user at the place (never a
// link followed, a pipe never waited on), its first `bytes` bytes (fewer when it is shorter) and its identity while
// read. Nothing for anything else.
struct OwnFileStart {
    QByteArray start;
    FileIdentity identity;
};
std::optional<OwnFileStart> ownFileStart(const FilePlace& place, qsizetype bytes);

// The names of the entries in an open folder (its handle), "." and ".." left out; none when it cannot be read.
QStringList namesIn(int openFolder);

// A folder opened once for a run of work in it. Its handle stays the folder it was when opened: every file
// of the run is reached through it (FilePlace), never through the folder's path again.
class OpenFolder {
public:
    // Opens the folder at path; a link at its last name is refused, never followed. Nothing, with the
    // system's reason, when it cannot be opened.
    static std::shared_ptr<const OpenFolder> open(const QString& path, QString* error = nullptr);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int handle() const { return handle_; }
    // The path it was opened at: for messages, never to reach it.
    const QString& path() const { return path_; }
    QString filePath(const QString& name) const;
    FilePlace place(const QString& name) const { return { handle_, name }; }

private:
    OpenFolder(int handle, const QString& path)
        : handle_(handle)
        , path_(path)
    {
    }
    int handle_ = -1;
    QString path_;
};

} // namespace platform
