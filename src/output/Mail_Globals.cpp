#include "output/Mail_Globals.h"

#include "common/Common_Functions.h"
#include "output/Preferences.h"

#include <QCoreApplication>

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

bool isValidEmail(const QString& text)
{
    const QString trimmed = Trim_Str(text);
    return trimmed.size() >= 6 && trimmed.count(QLatin1Char('@')) == 1 && trimmed.contains(QLatin1Char('.'));
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
