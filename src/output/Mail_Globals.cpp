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
