#include "data/Series_Import_Sources.h"

#include "common/Common_Functions.h"
#include "data/Rtf_Text_Reader.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QString unreadableFile = QStringLiteral("Please select a valid file.");
constexpr qint64 largestImportedText = qint64(64) * 1024 * 1024;
const QString invalidText = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

// A UTF-16 file may hold a surrogate without its partner, which the decoder passes on: marked with the
// replacement character, it spoils one value instead of making the text unsplittable into lines.
QString withoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QStringList splitLines(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineEnd);
}

void addCleaned(QStringList& values, const QString& piece)
{
    const QString value = chk_and_insert_validation(piece);
    if (!value.isEmpty())
        values.append(value);
}

} // namespace

QString chk_and_insert_validation(const QString& piece)
{
    QString text = piece;
    text.remove(QLatin1Char('\\'));
    text.remove(QLatin1Char('{'));
    text.remove(QLatin1Char('}'));
    return Trim_Str(text);
}

QString decodeImportedText(const QByteArray& bytes, bool* ok)
{
    *ok = true;
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        const QString text = decoder.decode(bytes);
        *ok = !decoder.hasError();
        return withoutLoneSurrogates(text);
    }
    if (bytes.contains('\0')) {
        *ok = false;
        return {};
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? windows.decode(bytes) : QString::fromLatin1(bytes);
}

Import_Source_Values Text_File_Values(const QString& path)
{
    Import_Source_Values result;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        result.error = unreadableFile;
        return result;
    }
    // A FIFO, a device or a huge file is named, never read.
    QString refusal;
    const std::optional<QByteArray> read = platform::readRegularFile(path, largestImportedText, &refusal);
    if (!read) {
        result.error = refusal;
        return result;
    }
    const QByteArray& bytes = *read;
    const QString extension = QFileInfo(path).suffix().toUpper();
    QString text;
    if (extension == QLatin1String("RTF")) {
        const std::optional<QString> plain = rtfPlainText(bytes);
        text = plain.value_or(QString());
    } else {
        bool ok = false;
        text = decodeImportedText(bytes, &ok);
        if (!ok)
            text.clear();
    }
    if (text.isEmpty()) {
        result.error = invalidText;
        return result;
    }
    const bool csv = extension == QLatin1String("CSV");
    for (const QString& line : splitLines(text)) {
        if (!csv) {
            addCleaned(result.values, line);
            continue;
        }
        for (const QString& piece : line.split(QLatin1Char(',')))
            addCleaned(result.values, piece);
    }
    return result;
}

Import_Source_Values Typed_Line_Values(const QString& text, bool keepEmpty)
{
    Import_Source_Values result;
    const QString trimmed = Trim_Str(text);
    if (trimmed.isEmpty()) {
        result.error = QStringLiteral("Please enter some data.");
        return result;
    }
    for (const QString& line : trimmed.split(QLatin1Char('\n'))) {
        if (keepEmpty || !line.isEmpty())
            result.values.append(line);
    }
    return result;
}

QStringList Picture_Folder_Values(const QString& folder)
{
    static const QStringList pictures { QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("png"),
        QStringLiteral("tif"), QStringLiteral("tiff") };
    QStringList values;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (entry.isFile() && pictures.contains(entry.suffix().toLower()))
            values.append(dir.filePath(entry.fileName()));
    }
    return values;
}

bool Validate_Import_Path(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    if (!trimmed.isEmpty() && QFileInfo::exists(trimmed))
        return true;
    Show_MessageBox(QStringLiteral("Please select valid file path."));
    return false;
}
