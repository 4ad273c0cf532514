#include "data/Workbook_Archive.h"

#include "common/Common_Functions.h"
#include "data/Xml_Stream_Scanner.h"
#include "platform/ReadBudget.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <minizip/unzip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kBlock = 64 * 1024;

// The zip library reads through our already checked file instead of opening the path again.
voidpf openChecked(voidpf opaque, const void*, int)
{
    return opaque;
}

} // namespace

struct Workbook_Archive::Zip {
    unzFile file = nullptr;
    std::vector<unz64_file_pos> places;
    std::vector<std::int64_t> sizes;
    ~Zip()
    {
        if (file)
            unzClose(file); // closes the FILE it was given
    }
};

Workbook_Archive::Workbook_Archive() = default;
Workbook_Archive::~Workbook_Archive() = default;

bool Workbook_Archive::open(const QString& path, platform::ReadBudget& budget, QString* error)
{
    zip_.reset();
    names_.clear();
    QFile checked;
    if (!platform::openRegularFile(checked, path, kMaxFileBytes, error))
        return false;
    fileSize_ = checked.size();
    // The zip library reads through its own stream on the checked file.
    const int fd = ::dup(checked.handle());
    FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (!stream) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    zlib_filefunc64_def functions {};
    fill_fopen64_filefunc(&functions);
    functions.zopen64_file = openChecked;
    functions.opaque = stream;
    auto zip = std::make_unique<Zip>();
    zip->file = unzOpen2_64("", &functions);
    const QString notWorkbook = QStringLiteral("The file \"%1\" is not a readable workbook (%2).");
    if (!zip->file) {
        // The zip library has closed the stream it was given.
        if (error)
            *error = notWorkbook.arg(
                Name_In_Notice(QFileInfo(path).fileName()), QStringLiteral("failed to open zip file"));
        return false;
    }
    QSet<QString> folded;
    for (int status = unzGoToFirstFile(zip->file); status == UNZ_OK; status = unzGoToNextFile(zip->file)) {
        unz_file_info64 info {};
        char name[1024];
        unz64_file_pos place {};
        if (unzGetCurrentFileInfo64(zip->file, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK
            || unzGetFilePos64(zip->file, &place) != UNZ_OK || names_.size() >= kMaxEntries
            || !budget.spend(1, sizeof(unz64_file_pos) + 64 + std::min<quint64>(info.size_filename, sizeof name))) {
            if (error)
                *error = notWorkbook.arg(Name_In_Notice(QFileInfo(path).fileName()),
                    names_.size() >= kMaxEntries || budget.exhausted()
                        ? QStringLiteral("more entries than a workbook of its size can hold")
                        : QStringLiteral("its directory is damaged"));
            return false;
        }
        const QString entry = QString::fromUtf8(name, int(std::min<uLong>(info.size_filename, sizeof name - 1)));
        // Parts are found ignoring case, so two entries whose names differ only in case are one part twice:
        // which of them is meant cannot be known, and a file that holds them is refused.
        const QString key = entry.toCaseFolded();
        if (folded.contains(key)) {
            if (error)
                *error = notWorkbook.arg(Name_In_Notice(QFileInfo(path).fileName()),
                    QStringLiteral("it holds two entries named \"%1\"").arg(Name_In_Notice(entry)));
            return false;
        }
        folded.insert(key);
        names_.append(entry);
        zip->places.push_back(place);
        zip->sizes.push_back(std::int64_t(info.uncompressed_size));
    }
    if (names_.isEmpty()) {
        if (error)
            *error = notWorkbook.arg(
                Name_In_Notice(QFileInfo(path).fileName()), QStringLiteral("failed to open first file in zip file"));
        return false;
    }
    zip_ = std::move(zip);
    return true;
}

qsizetype Workbook_Archive::indexOf(const QString& name) const
{
    for (qsizetype at = 0; at < names_.size(); ++at) {
        if (names_[at].compare(name, Qt::CaseInsensitive) == 0)
            return at;
    }
    return -1;
}

std::int64_t Workbook_Archive::declaredSize(const QString& name) const
{
    const qsizetype at = indexOf(name);
    return at < 0 || !zip_ ? -1 : zip_->sizes[std::size_t(at)];
}

Workbook_Archive::Outcome Workbook_Archive::read(
    const QString& name, Part_Sink& scanner, platform::ReadBudget& budget, Read_Control* control, QString* error)
{
    const qsizetype at = indexOf(name);
    if (at < 0 || !zip_)
        return Outcome::Missing;
    auto refuse = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("The part %1 %2.").arg(name.section(QLatin1Char('/'), -1), why);
        return Outcome::Refused;
    };
    // The declared size is taken from the budget before anything is inflated; no entry inflates past it.
    const std::int64_t declared = zip_->sizes[std::size_t(at)];
    if (!budget.spend(0, quint64(declared)))
        return refuse(QStringLiteral("declares %1 MB, more than a workbook of %2 KB can hold")
                          .arg(declared >> 20)
                          .arg(fileSize_ >> 10));
    unzFile file = zip_->file;
    if (unzGoToFilePos64(file, &zip_->places[std::size_t(at)]) != UNZ_OK || unzOpenCurrentFile(file) != UNZ_OK)
        return refuse(QStringLiteral("cannot be opened"));
    std::vector<char> block(kBlock);
    std::int64_t inflated = 0;
    Outcome outcome = Outcome::Read;
    for (;;) {
        if (control && control->cancel.load(std::memory_order_relaxed)) {
            outcome = Outcome::Cancelled;
            break;
        }
        const int got = unzReadCurrentFile(file, block.data(), kBlock);
        if (got < 0) {
            outcome = refuse(QStringLiteral("is damaged"));
            break;
        }
        if (got == 0)
            break;
        inflated += got;
        if (inflated > declared) {
            outcome = refuse(QStringLiteral("inflates to more than a workbook of %1 KB can hold").arg(fileSize_ >> 10));
            break;
        }
        if (control)
            control->done.fetch_add(got, std::memory_order_relaxed);
        if (!scanner.feed(block.data(), std::size_t(got))) {
            outcome = scanner.error().isEmpty() ? Outcome::Refused
                                                : refuse(QStringLiteral("is damaged: %1").arg(scanner.error()));
            break;
        }
    }
    // Closing checks the entry's CRC: a damaged entry fails here even when every read succeeded.
    const bool whole = unzCloseCurrentFile(file) == UNZ_OK;
    if (outcome != Outcome::Read)
        return outcome;
    if (!whole)
        return refuse(QStringLiteral("is damaged"));
    if (!scanner.finish())
        return scanner.error().isEmpty() ? Outcome::Refused
                                         : refuse(QStringLiteral("is damaged: %1").arg(scanner.error()));
    return Outcome::Read;
}
