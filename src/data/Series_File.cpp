#include "data/Series_File.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "data/Read_Progress.h"
#include "platform/ParallelChunks.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

const QString Series_File::batch_file_EXT = QStringLiteral("txt");

namespace {

constexpr qsizetype kFlushAt = 64 * 1024;

// Whether every byte is a 7-bit character, which every encoding read takes as itself; eight bytes a step.
bool isAscii(QByteArrayView bytes)
{
    std::uint64_t any = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        any |= word;
    }
    for (; i < bytes.size(); ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

// The "\n" bytes of the text, eight bytes a step.
qsizetype lineFeeds(QByteArrayView bytes)
{
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    qsizetype count = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        const std::uint64_t x = word ^ 0x0a0a0a0a0a0a0a0aULL; // zero where the byte is "\n"
        const std::uint64_t marks = ~(((x & kLow7) + kLow7) | x | kLow7) >> 7; // 1 in each such byte
        count += qsizetype((marks * 0x0101010101010101ULL) >> 56); // the bytes added up in the top one
    }
    for (; i < bytes.size(); ++i)
        count += bytes[i] == '\n';
    return count;
}

// The characters [from, from + length) of the text as a string that shares the text's memory rather than
// taking a copy of its own: the text lives on while any such string does, and a string changed later takes
// a copy then, as any shared string does.
QString sharedSlice(const QString& text, qsizetype from, qsizetype length)
{
    QString::DataPointer slice = text.data_ptr(); // counts one more user of the text
    slice.ptr += from;
    slice.size = length;
    return QString(std::move(slice));
}

// Decodes a run of whole lines, whose every character is whole, into the slots from `out` on, one string a
// line; past the last slot written, or nothing when the run is not in the encoding. The run is decoded as one
// text and its lines share it: a million values take one block of memory a run rather than a million
// allocations of their own, which were most of a read's time. Each line end becomes a NUL, so that every
// value ends in one, as a string of its own does.
QString* decodeRun(QByteArrayView bytes, QStringConverter::Encoding encoding, QString* out)
{
    QString text;
    if (isAscii(bytes)) {
        text = QString::fromLatin1(bytes); // every encoding read takes these bytes as Latin-1 does
    } else {
        QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
        text = decoder.decode(bytes);
        if (decoder.hasError())
            return nullptr;
    }
    QChar* const chars = text.data();
    const qsizetype size = text.size();
    for (qsizetype start = 0;;) {
        qsizetype end = QStringView(chars + start, size - start).indexOf(u'\n');
        end = end < 0 ? size : start + end;
        if (end < size)
            chars[end] = QChar(u'\0');
        *out++ = sharedSlice(text, start, end - start);
        if (end == size)
            return out;
        start = end + 1;
    }
}

// The lines of the text the pieces make when joined by "\n" and trimmed as one: only the blank lines at
// either end and the blanks before the first and after the last value go, whatever lies between. The
// pieces between the ends are kept as they are, not copied.
QStringList trimmedAsOneText(QStringList pieces)
{
    qsizetype first = 0;
    while (first < pieces.size() && Trim_Str(pieces.at(first)).isEmpty())
        ++first;
    if (first == pieces.size())
        return {};
    qsizetype last = pieces.size() - 1;
    while (Trim_Str(pieces.at(last)).isEmpty())
        --last;
    if (first == last) // the blank lines around go with the blanks of the one value, which holds no "\n"
        return { Trim_Str(pieces.at(first)) };
    // The ends are trimmed by the one trimming function with a mark standing for the rest of the text.
    const QString mark = QStringLiteral("x");
    const QString head = Trim_Str(pieces.mid(0, first + 1).join(QLatin1Char('\n')) + mark).chopped(1);
    const QString tail = Trim_Str(mark + pieces.mid(last).join(QLatin1Char('\n'))).mid(1);
    pieces.remove(last + 1, pieces.size() - last - 1);
    pieces.remove(0, first);
    pieces.first() = head.split(QLatin1Char('\n')).last();
    pieces.last() = tail.split(QLatin1Char('\n')).first();
    return pieces;
}

// The whole file, read in blocks so that Cancel is seen; nothing, with the reason, when it cannot be.
std::optional<QByteArray> readAllOf(QFile& in, Read_Control& control, QString* reason)
{
    // Read straight into one buffer of the file's size, grown only if the file grows meanwhile.
    QByteArray bytes(qsizetype(std::min(in.size(), Series_File::kMaxBytes)), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(std::min(bytes.size() + kFlushAt, Series_File::kMaxBytes + 1));
        const qint64 got = in.read(bytes.data() + filled, std::min<qsizetype>(kFlushAt, bytes.size() - filled));
        if (got < 0) {
            *reason = QStringLiteral("cannot be read: %1").arg(in.errorString());
            return std::nullopt;
        }
        filled += qsizetype(got);
        control.done += got;
        if (filled > Series_File::kMaxBytes) { // grown since it was opened
            *reason = QStringLiteral("is larger than a series file may be.");
            return std::nullopt;
        }
        if (control.cancel.load()) {
            *reason = QStringLiteral("was not read: reading was cancelled.");
            return std::nullopt;
        }
        if (got == 0)
            break;
    }
    bytes.truncate(filled);
    return bytes;
}

// A share of the text's lines, made into values by one thread: bytes [begin, end) of the text (end at a line
// end or the text's end), whose lines are the values from firstLine on.
struct LineShare {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype firstLine = 0;
};

// The text cut at line ends into shares of about equal length, one for each thread the machine has for it
// when the text is large: making a million strings is most of a read's work, and threads make theirs side
// by side. The lines of every share are counted; lines is set to their sum.
std::vector<LineShare> shareLines(const QByteArray& bytes, qsizetype* lines)
{
    constexpr std::size_t kShareBytes = std::size_t(1) << 20;
    const qsizetype wanted = qsizetype(platform::chunkCount(std::size_t(bytes.size()), kShareBytes));
    std::vector<LineShare> shares;
    qsizetype begin = 0;
    *lines = 0;
    for (qsizetype share = 1; share <= wanted; ++share) {
        qsizetype end = share < wanted ? bytes.indexOf('\n', std::max(begin, bytes.size() * share / wanted)) : -1;
        if (end < 0)
            end = bytes.size();
        shares.push_back({ begin, end, *lines });
        *lines += lineFeeds(QByteArrayView(bytes).sliced(begin, end - begin)) + 1;
        if (end == bytes.size())
            break;
        begin = end + 1;
    }
    return shares;
}

// The lines of the bytes in the encoding, each share by a thread of its own, decoded a run of whole lines at
// a time (a line never splits a character) into the list's slots for them; nothing when the bytes are not in
// the encoding.
std::optional<QStringList> decodeLines(const QByteArray& bytes, const std::vector<LineShare>& shares, qsizetype lines,
    QStringConverter::Encoding encoding, Read_Control& control)
{
    QStringList pieces(lines);
    QString* const values = pieces.data();
    std::atomic<bool> failed { false };
    platform::runInChunks(shares.size(), 1, [&](std::size_t first, std::size_t last) {
        for (std::size_t share = first; share < last; ++share) {
            QString* out = values + shares[share].firstLine;
            qsizetype start = shares[share].begin;
            const qsizetype shareEnd = shares[share].end;
            for (;;) {
                qsizetype end = std::min(start + kFlushAt, shareEnd);
                if (end < shareEnd) {
                    end = bytes.indexOf('\n', end);
                    if (end < 0 || end > shareEnd)
                        end = shareEnd;
                }
                if (failed.load() || control.cancel.load())
                    return;
                out = decodeRun(QByteArrayView(bytes).sliced(start, end - start), encoding, out);
                if (!out) {
                    failed.store(true);
                    return;
                }
                control.done += end - start;
                if (end >= shareEnd)
                    break;
                start = end + 1;
            }
        }
    });
    if (failed.load() || control.cancel.load())
        return std::nullopt;
    return pieces;
}

// CR LF and a lone CR end a line as LF does (files from other systems), in place: the text only shrinks.
// A CR byte is never part of a longer UTF-8 sequence, so this holds for both encodings read.
void unifyLineEnds(QByteArray& bytes)
{
    if (!bytes.contains('\r'))
        return;
    char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype out = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r') {
            data[out++] = data[i];
            continue;
        }
        data[out++] = '\n';
        if (i + 1 < size && data[i + 1] == '\n')
            ++i;
    }
    bytes.truncate(out);
}

// The file's text split at its line ends: UTF-8 or, when it is not, Latin-1. The values are counted before
// any is made: a file of more than Series_File::kMaxValues lines is refused, never turned into gigabytes of
// strings.
std::optional<QStringList> readLines(QFile& in, Read_Control& control, QString* reason)
{
    control.total = in.size() * 2; // read, then decoded
    std::optional<QByteArray> bytes = readAllOf(in, control, reason);
    if (!bytes)
        return std::nullopt;
    unifyLineEnds(*bytes);
    // The line end after the last value closes it and starts no value of its own.
    if (bytes->endsWith('\n'))
        bytes->chop(1);
    qsizetype lines = 0;
    const std::vector<LineShare> shares = shareLines(*bytes, &lines);
    if (lines > Series_File::kMaxValues) {
        *reason = QStringLiteral("is refused: it holds %1 lines, and a series can hold at most %2 values. Split it "
                                 "into smaller series.")
                      .arg(lines)
                      .arg(Series_File::kMaxValues);
        return std::nullopt;
    }
    control.done = bytes->size();
    for (const QStringConverter::Encoding encoding : { QStringConverter::Utf8, QStringConverter::Latin1 }) {
        if (std::optional<QStringList> pieces = decodeLines(*bytes, shares, lines, encoding, control))
            return pieces;
        if (control.cancel.load())
            break;
    }
    *reason = QStringLiteral("was not read: reading was cancelled.");
    return std::nullopt; // Latin-1 takes every byte: only Cancel ends here
}

} // namespace

QString Series_File::cleanName(const QString& typed)
{
    return Remove_Reserve_Char_In_File_Name(typed);
}

bool Series_File::isValidName(const QString& name)
{
    return isSafeFileName(name);
}

QString Series_File::nameRefusal(const QString& name)
{
    if (isValidName(name))
        return QString();
    if (name.isEmpty())
        return QStringLiteral("Please enter list name.");
    return QStringLiteral("A series name cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": \"%1\" cannot be "
                          "used.")
        .arg(name);
}

QString Series_File::path(const QString& name)
{
    if (!isValidName(name) || Data_Folder_Path.isEmpty())
        return QString();
    return QDir(Data_Folder_Path).filePath(name + QLatin1Char('.') + batch_file_EXT);
}

bool Series_File::exists(const QString& name)
{
    const QString file = path(name);
    return !file.isEmpty() && QFileInfo(file).isFile();
}

QStringList Series_File::names()
{
    const QFileInfo folder(Data_Folder_Path);
    if (Data_Folder_Path.isEmpty() || !folder.isDir())
        return {};
    QStringList result;
    const QString suffix = QLatin1Char('.') + batch_file_EXT;
    const QFileInfoList entries
        = QDir(Data_Folder_Path)
              .entryInfoList({ QStringLiteral("*") + suffix }, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName().chopped(suffix.size());
        if (!isValidName(name) || Trim_Str(name).isEmpty())
            continue;
        // A link to a device or FIFO is no series: reading it would never end or never start.
        QString refusal;
        if (platform::isRegularFileWithin(entry.filePath(), std::numeric_limits<qint64>::max(), &refusal))
            result << name;
        else
            Show_NSLog_Message(refusal);
    }
    return result;
}

std::optional<QStringList> Series_File::readPieces(const QString& name, QString* error)
{
    const QString file = path(name);
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a valid series name.").arg(name);
        return std::nullopt;
    }
    QFile in;
    if (!platform::openRegularFile(in, file, kMaxBytes, error))
        return std::nullopt;
    Read_Control control;
    std::optional<QStringList> pieces;
    QString reason;
    runReadWithProgress(QStringLiteral("Reading the series %1").arg(name), in.size(), control,
        [&] { pieces = readLines(in, control, &reason); });
    if (!pieces && error)
        *error = QStringLiteral("\"%1\" %2").arg(file, reason);
    return pieces;
}

std::optional<QStringList> Series_File::readForEditing(const QString& name, QString* error)
{
    std::optional<QStringList> values = readBatch(name, error);
    if (values) {
        for (QString& value : *values)
            value = Trim_Str(value);
    }
    return values;
}

std::optional<QStringList> Series_File::readBatch(const QString& name, QString* error)
{
    std::optional<QStringList> pieces = readPieces(name, error);
    if (!pieces)
        return std::nullopt;
    return trimmedAsOneText(std::move(*pieces));
}

QString Series_File::firstValue(const QString& name)
{
    const QString file = path(name);
    if (file.isEmpty())
        return QString();
    QFile in;
    if (!platform::openRegularFile(in, file, kMaxBytes))
        return QString();
    // Only the first line is wanted; a series may be long, or one endless line.
    QByteArray line = in.readLine(kFlushAt);
    const qsizetype end = line.indexOf('\r');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith('\n'))
        line.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

QString Series_File::oneLine(const QString& value)
{
    if (!value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString line = value;
    line.replace(QLatin1String("\r\n"), QString(kLineSeparator));
    line.replace(QLatin1Char('\n'), kLineSeparator);
    line.replace(QLatin1Char('\r'), kLineSeparator);
    return line;
}

bool Series_File::write(const QString& name, const QStringList& values, Values how, QString* error)
{
    Writer writer;
    bool ok = writer.open(name);
    qsizetype end = values.size();
    if (how == Values::Trimmed) {
        while (end > 0 && Trim_Str(values[end - 1]).isEmpty())
            --end;
    }
    bool started = how != Values::Trimmed;
    for (qsizetype i = 0; ok && i < end; ++i) {
        if (how == Values::AsGiven) {
            ok = writer.add(values[i]);
            continue;
        }
        const QString value = Trim_Str(values[i]);
        started = started || !value.isEmpty();
        ok = (value.isEmpty() && (how == Values::TrimmedSkippingEmpty || !started)) || writer.add(value);
    }
    ok = ok && writer.commit();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

bool Series_File::writeRenamed(
    const QString& oldName, const QString& newName, const QStringList& values, Values how, QString* error)
{
    if (!write(newName, values, how, error))
        return false;
    if (!oldName.isEmpty() && oldName != newName && exists(oldName) && !remove(oldName)) {
        // The new series is whole; the old one is merely left behind.
        Show_NSLog_Message(QStringLiteral("cannot remove the series %1 after renaming it").arg(oldName));
    }
    return true;
}

bool Series_File::remove(const QString& name)
{
    const QString file = path(name);
    if (file.isEmpty())
        return false;
    if (!QFileInfo::exists(file))
        return true;
    if (!QFile::remove(file)) {
        Show_NSLog_Message(QStringLiteral("cannot remove %1").arg(file));
        return false;
    }
    return true;
}

Series_File::Writer::~Writer()
{
    cancel();
}

bool Series_File::Writer::fail(const QString& reason)
{
    error_ = reason;
    cancel();
    return false;
}

bool Series_File::Writer::open(const QString& name, Mode mode)
{
    cancel();
    error_.clear();
    count_ = 0;
    const QString file = path(name);
    if (file.isEmpty())
        return fail(QStringLiteral("the series name is not valid"));
    file_ = std::make_unique<platform::CheckedSave>(file);
    if (!file_->open())
        return fail(file_->errorString());
    if (mode == Mode::Append && QFileInfo::exists(file)) {
        // The series appended to is read as every series is: a link to a device would never end.
        QFile old;
        QString refusal;
        if (!platform::openRegularFile(old, file, kMaxBytes, &refusal))
            return fail(refusal);
        char last = '\n';
        while (!old.atEnd()) {
            const QByteArray chunk = old.read(kFlushAt);
            if (chunk.isEmpty() && old.error() != QFileDevice::NoError)
                return fail(old.errorString());
            if (!chunk.isEmpty())
                last = chunk.back();
            if (!file_->write(chunk))
                return fail(file_->errorString());
        }
        // A last value without its line feed would run into the first appended one.
        if (last != '\n')
            buffer_.append('\n');
    }
    return true;
}

bool Series_File::Writer::add(const QString& value)
{
    if (!file_)
        return false;
    // Encoded straight into the buffer: no string of bytes is made for each value.
    const QString line = oneLine(value);
    const qsizetype used = buffer_.size();
    buffer_.resize(used + utf8_.requiredSpace(line.size()) + 1);
    char* end = utf8_.appendToBuffer(buffer_.data() + used, line);
    *end++ = '\n';
    buffer_.truncate(end - buffer_.constData());
    ++count_;
    if (buffer_.size() >= kFlushAt) {
        if (!file_->write(buffer_))
            return fail(file_->errorString());
        buffer_.clear();
    }
    return true;
}

bool Series_File::Writer::commit()
{
    if (!file_)
        return false;
    if (!buffer_.isEmpty() && !file_->write(buffer_))
        return fail(file_->errorString());
    buffer_.clear();
    if (!file_->commit()) {
        error_ = file_->errorString();
        file_.reset();
        return false;
    }
    file_.reset();
    return true;
}

void Series_File::Writer::cancel()
{
    file_.reset(); // an uncommitted save leaves the old file as it was
    buffer_.clear();
}
