#include "output/Mail_Globals.h"

#include "common/Common_Functions.h"
#include "output/Preferences.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

QString sender_email;
QString sender_pwd;
QString sending_server;
QString sending_port;
QString send_enable_ssl;

void Get_Email_Details()
{
    const auto store = Preferences::sharedInstance();
    sender_email = store->send_email_SenderEmail().value_or(QString());
    sender_pwd = store->send_email_Password().value_or(QString());
    sending_server = store->send_email_SMTP_server().value_or(QString());
    sending_port = store->send_email_PORT_num().value_or(QString());
    send_enable_ssl = store->send_email_enable_ssl().value_or(QString());
}

namespace {

bool isNonAscii(QChar c)
{
    return c.unicode() >= 0x80 && c.category() != QChar::Other_Control && !c.isSpace();
}

// A dot-atom: atoms of letters, digits and the mail format's other atom characters, joined by single dots.
bool isDotAtom(const QString& text)
{
    static const QString others = QStringLiteral("!#$%&'*+-/=?^_`{|}~");
    if (text.isEmpty() || text.size() > 64 || text.startsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char('.'))
        || text.contains(QStringLiteral("..")))
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() < 0x80 && (c.isLetterOrNumber() || others.contains(c) || c == QLatin1Char('.')))
            || isNonAscii(c);
    });
}

bool isDomain(const QString& text)
{
    const QStringList labels = text.split(QLatin1Char('.'));
    if (labels.size() < 2 || text.size() > 253)
        return false;
    return std::all_of(labels.cbegin(), labels.cend(), [](const QString& label) {
        return !label.isEmpty() && label.size() <= 63 && !label.startsWith(QLatin1Char('-'))
            && !label.endsWith(QLatin1Char('-')) && std::all_of(label.cbegin(), label.cend(), [](QChar c) {
                   return (c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('-'))) || isNonAscii(c);
               });
    });
}

bool isAddrSpec(const QString& text)
{
    const qsizetype at = text.lastIndexOf(QLatin1Char('@'));
    return at > 0 && isDotAtom(text.left(at)) && isDomain(text.mid(at + 1));
}

// A display name as typed: words, each plain or quoted ("Nan", "Lee, Ann", with \" and \\ inside
// quotes), read as the text it stands for. None when a quote is left open or an angle bracket or quote
// stands outside quotes.
std::optional<QString> displayNameOf(const QString& typed)
{
    QString name;
    bool quoted = false;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted && c == QLatin1Char('\\') && i + 1 < typed.size())
            name += typed[++i];
        else if (!quoted && (c == QLatin1Char('<') || c == QLatin1Char('>')))
            return std::nullopt;
        else
            name += c;
    }
    if (quoted)
        return std::nullopt;
    return name.trimmed();
}

} // namespace

bool validPort(const QString& text)
{
    bool number = false;
    const QString trimmed = text.trimmed();
    const int port = trimmed.toInt(&number);
    const bool digits
        = std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; });
    return number && digits && port >= 1 && port <= 65535;
}

bool hasControlCharacter(const QString& text)
{
    // The line and paragraph separators break a line as surely as CR and LF do.
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const QChar::Category kind = c.category();
        return kind == QChar::Other_Control || kind == QChar::Separator_Line || kind == QChar::Separator_Paragraph;
    });
}

std::optional<Mail_Address> parseMailAddress(const QString& text)
{
    const QString trimmed = Trim_Str(text);
    if (hasControlCharacter(trimmed))
        return std::nullopt;
    Mail_Address address;
    if (!trimmed.endsWith(QLatin1Char('>'))) {
        address.addrSpec = trimmed;
    } else {
        const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
        if (open < 0)
            return std::nullopt;
        address.addrSpec = trimmed.mid(open + 1, trimmed.size() - open - 2);
        const std::optional<QString> name = displayNameOf(trimmed.left(open).trimmed());
        if (!name)
            return std::nullopt;
        address.displayName = *name;
    }
    if (!isAddrSpec(address.addrSpec))
        return std::nullopt;
    return address;
}

QString mailGuest(const QString& recipient)
{
    const std::optional<Mail_Address> address = parseMailAddress(recipient);
    return Trim_Str(address ? address->addrSpec : recipient).toLower();
}

bool isValidEmail(const QString& text)
{
    const std::optional<Mail_Address> address = parseMailAddress(text);
    return address && !Trim_Str(text).endsWith(QLatin1Char('>'));
}

QString mailAppName()
{
    QString name = QCoreApplication::applicationName();
    name.replace(QLatin1Char('&'), QStringLiteral("and"));
    return name.isEmpty() ? QStringLiteral("Tessaline Card") : name;
}

std::atomic<int> list_count { 0 };
std::atomic<int> curr_barcode_count { 0 };
std::atomic<qint32> Pause_Delay_Time { -1 };

QString Calculate_Pause_Time(qint32 ms)
{
    const qint32 s = ms / 1000;
    const qint32 hours = s / 3600;
    const qint32 minutes = (s % 3600) / 60;
    const qint32 seconds = (s % 3600) % 60;
    const auto part = [](qint32 value, const char* one, const char* many) {
        return QString::asprintf(value <= 1 ? one : many, value);
    };
    QString text = QStringLiteral("Pausing the process for ");
    if (hours >= 1)
        text += part(hours, "%d Hour ", "%d Hours ");
    if (hours >= 1 || minutes >= 1)
        text += part(minutes, "%d Minute ", "%d Minutes ");
    return text + part(seconds, "%d Second.", "%d Seconds.");
}
