#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// Why an extraction or a packing failed: the domain "ZipPackageErrorDomain", a code and a description.
struct Zip_Error {
    static QString domain() { return QStringLiteral("ZipPackageErrorDomain"); }
    int code = 0;
    QString description;
};

// Extracts whole zip archives into a folder and builds archives from files and folders (xlsx packages).
// Extraction keeps every file inside its destination: entries with absolute names, drive letters or ".."
// parts and symbolic-link entries are refused, an archive holding two entries of one name is refused
// before anything is written, no existing link is followed, and an archive that declares
// or inflates past the size limits stops with an error instead of filling the disk.
class Zip_Package {
public:
    // Limits that keep a hostile archive from exhausting disk or memory: the bytes that one entry, and all
    // entries together, may declare or inflate to (1 GiB unless set), and the number of entries.
    static constexpr std::int64_t kDefaultSizeLimit = std::int64_t(1) << 30;
    static constexpr int kMaxEntries = 65536;
    static std::int64_t sizeLimit();
    static void setSizeLimit(std::int64_t bytes); // 0 or less restores the default

    enum ErrorCode {
        OpenFailed = -1, // "failed to open zip file"
        FirstFileFailed = -2, // "failed to open first file in zip file"
        UnsafeEntry = -3, // an entry that would leave the destination, or a link
        TooLarge = -4, // declared or inflated sizes past the limits, or too many entries
        Damaged = -5, // an entry could not be opened, read or checked
        WriteFailed = -6, // a file of the destination could not be written
        DuplicateEntry = -7, // two entries of one name: which is meant cannot be known
    };

    explicit Zip_Package(const QString& path); // initWithPath
    ~Zip_Package();
    Zip_Package(const Zip_Package&) = delete;
    Zip_Package& operator=(const Zip_Package&) = delete;

    // Extracts every entry of the archive into destination. True when every entry was extracted.
    static bool unzipFileAtPath(const QString& path, const QString& destination, bool overwrite,
        const QString& password, Zip_Error* error = nullptr);
    static bool unzipFileAtPath(const QString& path, const QString& destination);

    // Builds a new archive at path from files and folders; each is stored under its own name, folders with
    // everything below them. The archive replaces an old one only when it was built whole.
    // error gets the system's reason when the archive could not be stored.
    static bool createZipFileAtPath(const QString& path, const QStringList& paths, QString* error = nullptr);
    static bool createZipFileAtPath(const QString& path, const QString& onePath);

    bool open();
    bool writeFile(const QString& relativePath, const QString& basePath);
    bool writeData(const QByteArray& data, const QString& filename);
    bool close(QString* error = nullptr); // writes the archive; false when it could not be stored

    static QDateTime _dateFor1980();

    // An entry name made safe for extraction: "\" read as "/", "." parts dropped; empty when the name is
    // absolute, starts with a drive letter, holds a ".." part or a NUL, or names nothing.
    static QString safeEntryName(const QString& name);

private:
    struct Writer;
    QString path_;
    std::unique_ptr<Writer> zip_;
};
