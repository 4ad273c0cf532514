#include "data/Zip_Package.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <minizip/zip.h>

#include <algorithm>
#include <cstring>

// The archive is built in memory and stored through a temporary file renamed over the target, so a failed
// build never leaves a half-written archive where a whole one was.
struct Zip_Package::Writer {
    QByteArray bytes;
    qint64 position = 0;
    zipFile handle = nullptr;

    static voidpf openFile(voidpf opaque, const void*, int) { return opaque; }
    static uLong readFile(voidpf, voidpf, void*, uLong) { return 0; }
    static uLong writeFile(voidpf opaque, voidpf, const void* buffer, uLong size)
    {
        auto* self = static_cast<Writer*>(opaque);
        const qint64 end = self->position + qint64(size);
        if (end > self->bytes.size())
            self->bytes.resize(end);
        std::memcpy(self->bytes.data() + self->position, buffer, size);
        self->position = end;
        return size;
    }
    static ZPOS64_T tellFile(voidpf opaque, voidpf) { return ZPOS64_T(static_cast<Writer*>(opaque)->position); }
    static long seekFile(voidpf opaque, voidpf, ZPOS64_T offset, int origin)
    {
        auto* self = static_cast<Writer*>(opaque);
        qint64 base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR)
            base = self->position;
        else if (origin == ZLIB_FILEFUNC_SEEK_END)
            base = self->bytes.size();
        const qint64 to = base + qint64(offset);
        if (to < 0 || to > self->bytes.size())
            return -1;
        self->position = to;
        return 0;
    }
    static int closeFile(voidpf, voidpf) { return 0; }
    static int errorFile(voidpf, voidpf) { return 0; }

    bool open()
    {
        zlib_filefunc64_def functions {};
        functions.zopen64_file = &Writer::openFile;
        functions.zread_file = &Writer::readFile;
        functions.zwrite_file = &Writer::writeFile;
        functions.ztell64_file = &Writer::tellFile;
        functions.zseek64_file = &Writer::seekFile;
        functions.zclose_file = &Writer::closeFile;
        functions.zerror_file = &Writer::errorFile;
        functions.opaque = this;
        handle = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &functions);
        return handle != nullptr;
    }

    bool addEntry(const QString& name, const zip_fileinfo& info, QIODevice* source, const QByteArray* data)
    {
        const QByteArray entryName = name.toUtf8();
        if (zipOpenNewFileInZip(handle, entryName.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                Z_DEFAULT_COMPRESSION)
            != ZIP_OK)
            return false;
        bool ok = true;
        if (data) {
            ok = zipWriteInFileInZip(handle, data->constData(), unsigned(data->size())) == ZIP_OK;
        } else if (source) {
            QByteArray block(16384, Qt::Uninitialized);
            for (;;) {
                const qint64 got = source->read(block.data(), block.size());
                if (got < 0) {
                    ok = false;
                    break;
                }
                if (got == 0)
                    break;
                if (zipWriteInFileInZip(handle, block.constData(), unsigned(got)) != ZIP_OK) {
                    ok = false;
                    break;
                }
            }
        }
        return zipCloseFileInZip(handle) == ZIP_OK && ok;
    }
};

namespace {

// An entry's date in the archive: local time, as zip programs read it; the format counts from 1980.
zip_fileinfo entryInfo(const QDateTime& when)
{
    const QDateTime date = std::max(when.toLocalTime(), Zip_Package::_dateFor1980());
    zip_fileinfo info {};
    info.tmz_date.tm_sec = uInt(date.time().second());
    info.tmz_date.tm_min = uInt(date.time().minute());
    info.tmz_date.tm_hour = uInt(date.time().hour());
    info.tmz_date.tm_mday = uInt(date.date().day());
    info.tmz_date.tm_mon = uInt(date.date().month() - 1);
    info.tmz_date.tm_year = uInt(date.date().year());
    return info;
}

} // namespace

Zip_Package::Zip_Package(const QString& path)
    : path_(path)
{
}

Zip_Package::~Zip_Package()
{
    if (zip_ && zip_->handle)
        zipClose(zip_->handle, nullptr);
}

bool Zip_Package::open()
{
    Q_ASSERT_X(!zip_, "Zip_Package::open", "Attempting open an archive which is already open");
    if (zip_)
        return false;
    auto writer = std::make_unique<Writer>();
    if (!writer->open())
        return false;
    zip_ = std::move(writer);
    return true;
}

bool Zip_Package::writeFile(const QString& relativePath, const QString& basePath)
{
    Q_ASSERT_X(zip_, "Zip_Package::writeFile", "Attempting to write to an archive which was never opened");
    if (!zip_)
        return false;
    const QString full = QDir(basePath).filePath(relativePath);
    const QFileInfo info(full);
    if (info.isSymLink())
        return true; // links are never followed into the archive
    if (info.isDir()) {
        const QStringList entries
            = QDir(full).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        if (entries.isEmpty())
            return zip_->addEntry(relativePath + QLatin1Char('/'), entryInfo(info.lastModified()), nullptr, nullptr);
        for (const QString& entry : entries) {
            if (!writeFile(relativePath + QLatin1Char('/') + entry, basePath))
                return false;
        }
        return true;
    }
    QFile file(full);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return zip_->addEntry(relativePath, entryInfo(info.lastModified()), &file, nullptr);
}

bool Zip_Package::writeData(const QByteArray& data, const QString& filename)
{
    if (!zip_ || data.isNull())
        return false;
    return zip_->addEntry(filename, entryInfo(QDateTime::currentDateTime()), nullptr, &data);
}

bool Zip_Package::close(QString* failure)
{
    Q_ASSERT_X(zip_, "Zip_Package::close", "Attempting to close an archive which was never opened");
    if (!zip_)
        return false;
    const bool closed = zipClose(zip_->handle, nullptr) == ZIP_OK;
    zip_->handle = nullptr;
    const QByteArray bytes = zip_->bytes;
    zip_.reset();
    if (!closed)
        return false;
    QString error;
    const bool stored = saveFileAtomically(
        path_, [&bytes](QIODevice& out) { return writeAll(out, bytes); }, &error);
    if (!stored) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path_, error));
        if (failure)
            *failure = error;
    }
    return stored;
}

bool Zip_Package::createZipFileAtPath(const QString& path, const QStringList& paths, QString* error)
{
    Zip_Package package(path);
    if (!package.open())
        return false;
    bool all = true;
    for (const QString& item : paths) {
        QString clean = item;
        while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
            clean.chop(1);
        const int slash = int(clean.lastIndexOf(QLatin1Char('/')));
        const QString base = slash >= 0 ? clean.left(slash + 1) : QString();
        const QString last = slash >= 0 ? clean.mid(slash + 1) : clean;
        if (!package.writeFile(last, base.isEmpty() ? QStringLiteral(".") : base))
            all = false;
    }
    return package.close(error) && all;
}

bool Zip_Package::createZipFileAtPath(const QString& path, const QString& onePath)
{
    return createZipFileAtPath(path, QStringList { onePath });
}
