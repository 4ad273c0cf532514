#include "output/Preferences.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "platform/CheckedSave.h"
#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString send_email_RecipientKey = QStringLiteral("SendEmailRecipient");
const QString send_email_SenderEmailKey = QStringLiteral("SendEmailSender");
const QString send_email_PasswordKey = QStringLiteral("SendEmailPwd");
const QString send_email_SMTP_serverKey = QStringLiteral("SendEmailSMTP");
const QString send_email_PORT_numKey = QStringLiteral("SendEmailPORT");
const QString send_email_Enable_SSLkey = QStringLiteral("SendEnableSSL");
const QString send_email_ResolutionKey = QStringLiteral("SendEmailResolution");
const QString open_exported_fileKey = QStringLiteral("OpenExportedFile");
const QString export_ResolutionKey = QStringLiteral("ExportResolution");
const QString print_show_framesKey = QStringLiteral("PrintShowFrames");

namespace {

// Writes the bytes whole, readable by the owner only, replacing the old file only once complete.
bool writePrivately(const QString& path, const QByteArray& bytes, QString* error = nullptr)
{
    // The folder, when missing, is made for its owner alone; an existing one is left as the user has it.
    if (!platform::makePrivateFolder(QFileInfo(path).absolutePath())) {
        if (error)
            *error = QStringLiteral("the folder cannot be created");
        return false;
    }
    // The temporary file is born private, before the password goes into it.
    platform::CheckedSave file(path);
    const bool written = file.open(platform::ownerOnlyFile) && file.write(bytes) && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace

std::unique_ptr<Preferences> Preferences::sharedInstance()
{
    return std::make_unique<Preferences>();
}

QString Preferences::settingsFilePath()
{
    return Resource_Path + QStringLiteral("/com.varnel.card.plist");
}

Preferences::Preferences()
    : mPreferencesPath_(settingsFilePath())
{
    if (auto dict = readFile()) {
        mDict = std::move(*dict);
        return;
    }
    // What stands under the name and is no file of settings (a FIFO, a device, a folder) is left alone.
    const QFileInfo existing(mPreferencesPath_);
    if (!existing.exists() || existing.isFile())
        createEmptyFile();
    mDict = {};
    setDefaults();
}

std::optional<platform::PlistDict> Preferences::readFile() const
{
    // A settings file is a few hundred bytes; anything far larger is not ours.
    constexpr qint64 limit = 1 << 20;
    QString refusal;
    const auto bytes = platform::readRegularFile(mPreferencesPath_, limit, &refusal);
    if (!bytes) {
        if (QFileInfo::exists(mPreferencesPath_) || QFileInfo(mPreferencesPath_).isSymLink())
            Show_NSLog_Message(refusal);
        return std::nullopt;
    }
    if (bytes->isEmpty())
        return std::nullopt;
    const auto root = platform::PropertyList::fromBytes(*bytes);
    if (!root || !root->isDict())
        return std::nullopt;
    return root->toDict();
}

void Preferences::createEmptyFile() const
{
    if (!writePrivately(mPreferencesPath_, {}))
        Show_NSLog_Message(QStringLiteral("cannot create the settings file %1").arg(mPreferencesPath_));
}

bool Preferences::choiceOn(const QString& key)
{
    return sharedInstance()->value(key) != QStringLiteral("N");
}

void Preferences::keepChoice(const QString& key, bool on, const QString& what)
{
    const auto store = sharedInstance();
    if ((store->value(key) != QStringLiteral("N")) == on)
        return;
    store->mDict.insert(key, on ? QStringLiteral("Y") : QStringLiteral("N"));
    if (!store->flush())
        Show_NSLog_Message(QStringLiteral("the %1 could not be kept in %2").arg(what, store->mPreferencesPath()));
}

void Preferences::setDefaults()
{
    for (const QString* key : { &send_email_RecipientKey, &send_email_SenderEmailKey, &send_email_PasswordKey,
             &send_email_SMTP_serverKey, &send_email_PORT_numKey })
        mDict.insert(*key, QString());
}

std::optional<QString> Preferences::value(const QString& key) const
{
    const platform::PlistValue* found = mDict.find(key);
    if (!found || !found->isString())
        return std::nullopt;
    return found->toString();
}

bool Preferences::flush(QString* error) const
{
    QString reason;
    if (writePrivately(mPreferencesPath_, platform::PropertyList::toXml(platform::PlistValue(mDict)), &reason))
        return true;
    Show_NSLog_Message(QStringLiteral("cannot write the settings file %1: %2").arg(mPreferencesPath_, reason));
    if (error)
        *error = reason;
    return false;
}
