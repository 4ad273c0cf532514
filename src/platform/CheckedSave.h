#pragma once

#include "platform/OpenFolder.h"
#include "platform/OwnLock.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace platform {

// The one way the program replaces a file: the bytes go into a temporary file of the program's own name
// beside it, locked while written (see RunLeftovers.h), which is flushed, checked and synced before it is
// renamed over the old file; the folder is synced after the rename, and temporaries of the same file left
// by killed writers go. A link at a path is written through: the file it names is replaced; a link at a name
// in an open folder is replaced itself, as nothing outside the folder is reached. A failed save leaves the
// old file whole and gives the system's reason ("No space left on device").
// Whether a save clears the temporaries killed writers left beside its file. A run writing many files
// into one folder clears the folder once, not at every file.
enum class BesideLeftovers { Clear, Leave };

class CheckedSave {
public:
    explicit CheckedSave(const FilePlace& path, BesideLeftovers leftovers = BesideLeftovers::Clear);
    ~CheckedSave(); // a save never committed changes nothing
    CheckedSave(const CheckedSave&) = delete;
    CheckedSave& operator=(const CheckedSave&) = delete;

    // Creates the temporary file, born with the given permissions (0600 for anything private), else with
    // those of the file it replaces, else as the umask allows a new file.
    bool open(std::optional<QFileDevice::Permissions> permissions = std::nullopt);
    // Writes all the bytes or fails with the reason (a short write is retried until the system says why).
    bool write(const QByteArray& bytes);
    // Flushes, checks and syncs the temporary file, renames it over the target and syncs the folder. With
    // `handle`, the file stays open for the caller too (a handle of its own, to close), for a file that grows
    // as a run goes.
    bool commit(int* handle = nullptr);
    void cancel();
    // Gives up after a write made outside write() failed, keeping the device's reason; always false.
    bool abandon();

    QIODevice& device() { return file_; }
    QString path() const { return place_.name; }
    // What shows that the file committed is the one written.
    const FileIdentity& written() const { return written_; }
    // The system's reason for the first failure; empty while all went well.
    QString errorString() const { return error_; }

private:
    bool fail(const QString& reason);
    bool failFromSystem(int code);

    FilePlace place_;
    FilePlace target_; // place_, a path's links followed
    QFile file_;
    OwnLock temporary_;
    BesideLeftovers leftovers_;
    QString error_;
    mode_t keptMode_ = 0; // the old file's permissions, given back before the rename
    bool committed_ = false;
    FileIdentity written_;
};

// Writes the whole file through a CheckedSave: `write` puts the contents into the device and returns false
// when it cannot; error gets the system's reason, or "the data could not be written" when there is none.
// `written`, when given, gets what shows the file is the one written.
bool saveFileAtomically(const FilePlace& path, const std::function<bool(QIODevice&)>& write, QString* error = nullptr,
    BesideLeftovers leftovers = BesideLeftovers::Clear, FileIdentity* written = nullptr);

// As saveFileAtomically, for a file only its owner may read (it holds a password, or what was sent to whom):
// the temporary file is born so, and so is the file.
bool saveFilePrivately(const FilePlace& path, const std::function<bool(QIODevice&)>& write, QString* error = nullptr,
    FileIdentity* written = nullptr);

// Gives the open file the permissions of mode when it has others; false with errno when it cannot.
bool keepMode(int handle, mode_t mode);

// Writes all of bytes into the device, going on after a short write so that a failure carries its reason.
bool writeAll(QIODevice& device, const QByteArray& bytes);

// Copies a regular file of at most maxBytes through a checked save at the target, which it replaces.
bool copyFileChecked(const QString& from, const QString& to, qint64 maxBytes, QString* error = nullptr);

// Flushes the folder's entries to disk, so that a rename just made in it survives a crash.
bool syncFolder(const QString& folder);
// The same for the folder a place is in.
bool syncFolderOf(const FilePlace& place);

} // namespace platform
