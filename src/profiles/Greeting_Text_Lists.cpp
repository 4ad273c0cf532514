#include "profiles/Greeting_Text_Lists.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "platform/RegularFile.h"
#include "profiles/Greeting_Text_Catalogue.h"
#include "profiles/Profiles_Globals.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

namespace {

// The whole file as text, or nothing when it cannot be read or is not valid UTF-8. The decoder is
// stateless so that a sequence cut off at the end of the file counts as invalid too.
std::optional<QString> readUtf8File(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    constexpr qint64 largestTextList = qint64(16) * 1024 * 1024;
    QString refusal;
    const std::optional<QByteArray> read = platform::readRegularFile(path, largestTextList, &refusal);
    if (!read) {
        Show_NSLog_Message(refusal);
        return std::nullopt;
    }
    const QByteArray& bytes = *read;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        Show_NSLog_Message(QStringLiteral("%1 is not UTF-8 text").arg(path));
        return std::nullopt;
    }
    return text;
}

// One entry per line: the text is trimmed as a whole and then cut at each line feed, so an empty line
// inside stays as an empty entry and a carriage return stays at the end of its entry.
QStringList readTextList(const QString& fileName)
{
    const std::optional<QString> text = readUtf8File(Resource_Path + QLatin1Char('/') + fileName);
    if (!text)
        return {};
    return Trim_Str(*text).split(QLatin1Char('\n'));
}

} // namespace

void Greeting_Text_Lists::Load_Msg_And_Title_According_Event()
{
    Title_Array = Greeting_Text_Catalogue::titles(Event_Type);
    Message_Array = Greeting_Text_Catalogue::messages(Event_Type);
    title_index = 0;
    message_index = 0;
    title_count = qint32(Title_Array.size());
    message_count = qint32(Message_Array.size());
}

void Greeting_Text_Lists::Load_Msg_And_Title()
{
    Title_Array = readTextList(QStringLiteral("Title.txt"));
    title_count = qint32(Title_Array.size());
    Message_Array = readTextList(QStringLiteral("Message.txt"));
    message_count = qint32(Message_Array.size());
}

QString Greeting_Text_Lists::Get_Title() const
{
    return Title_Array.value(title_index);
}

QString Greeting_Text_Lists::Get_Message() const
{
    return Message_Array.value(message_index);
}
