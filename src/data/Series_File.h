#pragma once

#include "platform/CheckedSave.h"

#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include <memory>
#include <optional>

// A batch series: a named list of text values kept as one UTF-8 text file of the series folder
// (Data_Folder_Path/<name>.txt), one value per line, each followed by "\n". Every window that lists,
// reads, writes or deletes a series goes through here, so that names are checked once and files are
// only ever replaced whole.
class Series_File {
public:
    static const QString batch_file_EXT; // "txt"

    // The user's text as a series name: reserved characters stripped from both ends, then trimmed.
    static QString cleanName(const QString& typed);
    // A name may become a path only when it is not empty, holds no "/" or "\" and is not "." or "..".
    static bool isValidName(const QString& name);
    // Why a name cannot be a series name, in words for the user; empty when it can.
    static QString nameRefusal(const QString& name);
    // The series file of a name; empty for a name that is not valid, so no path is ever built from it.
    static QString path(const QString& name);
    static bool exists(const QString& name);

    // The names of the series in the folder, sorted; only visible "*.txt" files whose name is valid.
    static QStringList names();

    // Series files are read as streams of lines, UTF-8 or, when a file is not UTF-8, Latin-1 (every byte
    // a character: such a file is read as written, never shown empty for a save to write over). A file
    // larger than this is refused.
    static constexpr qint64 kMaxBytes = qint64(64) << 20;
    // The most values a series file may hold, whatever their length: each one costs a string of its own
    // (about 56 bytes beside its characters), so this bounds the memory a file of tiny lines takes.
    static constexpr qsizetype kMaxValues = 8000000;

    // The editing and viewing reader: the batch reader's records, each trimmed, so that the windows show as
    // many values as a run makes cards (a blank line between values is a blank value). None, with a
    // sentence for the user in error, when the name is not valid or the file is missing, not a regular file,
    // too large or unreadable.
    static std::optional<QStringList> readForEditing(const QString& name, QString* error = nullptr);
    // The batch reader: the whole text trimmed once, then split into lines; lines are kept as they are, so
    // an empty line is an empty record. None as above.
    // Every reader ends a line at LF, CR LF or a lone CR.
    static std::optional<QStringList> readBatch(const QString& name, QString* error = nullptr);
    // The first line as stored, untrimmed, without its line end; empty when there is no such file.
    static QString firstValue(const QString& name);

    // A line break inside a value, written as a line feed, would make it two records and move every later
    // one: it is stored as U+2028 LINE SEPARATOR, which the text layout draws as a new line.
    static constexpr QChar kLineSeparator = QChar(0x2028);
    // The value as one line of the file: each "\r\n", "\n" or lone "\r" in it becomes kLineSeparator, as
    // the readers end a line at each.
    static QString oneLine(const QString& value);

    // How a writer treats the values it is given.
    // Trimmed: each value trimmed, blank ones at either end dropped (no run would see them), blank ones
    // between kept as blank lines, so that every later value keeps its record.
    enum class Values { AsGiven, TrimmedSkippingEmpty, Trimmed };

    // Writes a whole series. The old file (if any) is replaced only once the new one is complete.
    static bool write(const QString& name, const QStringList& values, Values how, QString* error = nullptr);
    // Writes `values` under newName and then, only when that succeeded, removes the file of oldName (when it
    // differs and exists): a failed rename loses nothing.
    static bool writeRenamed(const QString& oldName, const QString& newName, const QStringList& values, Values how,
        QString* error = nullptr);
    // Removes the series file; false when the name is not valid or the file could not be removed.
    static bool remove(const QString& name);

    // Streams values into a series as they are made, never holding them all. Nothing changes on disk until
    // commit(); a writer destroyed without commit() leaves the old file as it was.
    class Writer {
    public:
        enum class Mode { Replace, Append };
        Writer() = default;
        ~Writer();
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;

        // Append copies the present values first (a missing file starts empty).
        bool open(const QString& name, Mode mode = Mode::Replace);
        bool add(const QString& value); // the UTF-8 bytes of oneLine(value) and "\n"
        bool commit();
        void cancel();
        bool isOpen() const { return file_ != nullptr; }
        qint64 count() const { return count_; }
        QString errorString() const { return error_; }

    private:
        bool fail(const QString& reason);
        std::unique_ptr<platform::CheckedSave> file_;
        QByteArray buffer_;
        QStringEncoder utf8_ { QStringEncoder::Utf8, QStringEncoder::Flag::Stateless };
        qint64 count_ = 0;
        QString error_;
    };

private:
    // The file's text split at its line ends; a last line end closes the last piece and makes none.
    static std::optional<QStringList> readPieces(const QString& name, QString* error);
};
