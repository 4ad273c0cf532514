#include "output/Preferences.h"

#include "MailTestSupport.h"
#include "output/Mail_Globals.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

constexpr QFileDevice::Permissions ownerReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QFileDevice::Permissions unixPermissions(const QString& path)
{
    // Qt repeats the owner's bits as the "user" bits; only the owner, group and other bits matter here.
    return QFileInfo(path).permissions()
        & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
            | QFileDevice::ExeOther);
}

platform::PlistDict readSettingsFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml")) << bytes.left(40).toStdString();
    const auto root = platform::PropertyList::fromXml(bytes);
    EXPECT_TRUE(root && root->isDict());
    return root && root->isDict() ? root->toDict() : platform::PlistDict();
}

void fillAll(Preferences& store)
{
    store.setsend_email_Recipient(QStringLiteral("friend@example.org"));
    store.setsend_email_SenderEmail(QStringLiteral("Me@Example.com"));
    store.setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
    store.setsend_email_PORT_num(QStringLiteral("five eight seven"));
    store.setsend_email_Password(QStringLiteral(" p@ss word "));
    store.setsend_email_enable_ssl(QStringLiteral("Y"));
}

} // namespace

TEST(Preferences, FirstRequestCreatesAnEmptyPrivateFileAndGivesTheDefaults)
{
    FreshDataFolder folder(QStringLiteral("prefs-first"));
    ASSERT_FALSE(QFileInfo::exists(folder.settingsFile()));
    const auto store = Preferences::sharedInstance();
    EXPECT_EQ(store->mPreferencesPath(), folder.settingsFile());
    ASSERT_TRUE(QFileInfo::exists(folder.settingsFile()));
    EXPECT_EQ(QFileInfo(folder.settingsFile()).size(), 0);
    EXPECT_EQ(unixPermissions(folder.settingsFile()), ownerReadWrite);
    for (const auto& value : { store->send_email_Recipient(), store->send_email_SenderEmail(),
             store->send_email_Password(), store->send_email_SMTP_server(), store->send_email_PORT_num() })
        EXPECT_EQ(value, QString());
    EXPECT_FALSE(store->send_email_enable_ssl().has_value());
    // The defaults are not written: a later request still finds the file empty.
    EXPECT_EQ(QFileInfo(folder.settingsFile()).size(), 0);
}

TEST(Preferences, FlushWritesTheSixStringsAsTypedAndASetterWithoutFlushIsLost)
{
    FreshDataFolder folder(QStringLiteral("prefs-flush"));
    {
        const auto store = Preferences::sharedInstance();
        fillAll(*store);
        ASSERT_TRUE(store->flush());
    }
    EXPECT_EQ(unixPermissions(folder.settingsFile()), ownerReadWrite);
    const platform::PlistDict dict = readSettingsFile(folder.settingsFile());
    const std::pair<const char*, const char*> expected[] = {
        { "SendEmailRecipient", "friend@example.org" },
        { "SendEmailSender", "Me@Example.com" },
        { "SendEmailPwd", " p@ss word " },
        { "SendEmailSMTP", "smtp.example.com" },
        { "SendEmailPORT", "five eight seven" },
        { "SendEnableSSL", "Y" },
    };
    EXPECT_EQ(dict.size(), std::size(expected));
    for (const auto& [key, value] : expected) {
        const platform::PlistValue* found = dict.find(QString::fromLatin1(key));
        ASSERT_TRUE(found && found->isString()) << key;
        EXPECT_EQ(found->toString(), QString::fromLatin1(value)) << key;
    }

    {
        const auto store = Preferences::sharedInstance();
        store->setsend_email_SMTP_server(QStringLiteral("other.example.com"));
    }
    EXPECT_EQ(Preferences::sharedInstance()->send_email_SMTP_server(), QStringLiteral("smtp.example.com"));
}

TEST(Preferences, DamagedOrForeignFilesReadAsDefaultsAndAreReplacedByAnEmptyOne)
{
    const QByteArray damaged[] = {
        QByteArray("not a property list at all"),
        platform::PropertyList::toXml(platform::PlistValue(platform::PlistArray { platform::PlistValue("a") })),
        QByteArray("<?xml version=\"1.0\"?><plist><dict><key>SendEmailSMTP</key>"),
    };
    for (const QByteArray& bytes : damaged) {
        FreshDataFolder folder(QStringLiteral("prefs-damaged"));
        QFile file(folder.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto store = Preferences::sharedInstance();
        EXPECT_EQ(store->send_email_SMTP_server(), QString());
        EXPECT_EQ(QFileInfo(folder.settingsFile()).size(), 0);
    }
}

TEST(Preferences, KeysMissingOrNotTextReadAsNoValue)
{
    FreshDataFolder folder(QStringLiteral("prefs-partial"));
    platform::PlistDict dict;
    dict.insert(QStringLiteral("SendEmailSMTP"), QStringLiteral("mail.example.net"));
    dict.insert(QStringLiteral("SendEmailPORT"), platform::PlistValue(587));
    QFile file(folder.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(platform::PropertyList::toXml(platform::PlistValue(dict)));
    file.close();

    const auto store = Preferences::sharedInstance();
    EXPECT_EQ(store->send_email_SMTP_server(), QStringLiteral("mail.example.net"));
    EXPECT_FALSE(store->send_email_PORT_num().has_value());
    EXPECT_FALSE(store->send_email_SenderEmail().has_value());
    // Saving keeps what was there and adds what was set.
    store->setsend_email_Password(QStringLiteral("pw"));
    ASSERT_TRUE(store->flush());
    const platform::PlistDict back = readSettingsFile(folder.settingsFile());
    EXPECT_EQ(back.size(), 3u);
    EXPECT_EQ(back.find(QStringLiteral("SendEmailSMTP"))->toString(), QStringLiteral("mail.example.net"));
}

TEST(Preferences, AMissingDataFolderIsMadeForItsOwnerAlone)
{
    FreshDataFolder folder(QStringLiteral("prefs-folder"));
    Resource_Path += QStringLiteral("/new/inner");
    const auto store = Preferences::sharedInstance();
    fillAll(*store);
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(unixPermissions(Resource_Path), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(Preferences::sharedInstance()->send_email_PORT_num(), QStringLiteral("five eight seven"));
}

TEST(Preferences, GetEmailDetailsCopiesFiveSettingsButNotTheRecipient)
{
    FreshDataFolder folder(QStringLiteral("prefs-globals"));
    {
        const auto store = Preferences::sharedInstance();
        fillAll(*store);
        store->flush();
    }
    Get_Email_Details();
    EXPECT_EQ(sender_email, QStringLiteral("Me@Example.com"));
    EXPECT_EQ(sender_pwd, QStringLiteral(" p@ss word "));
    EXPECT_EQ(sending_server, QStringLiteral("smtp.example.com"));
    EXPECT_EQ(sending_port, QStringLiteral("five eight seven"));
    EXPECT_EQ(send_enable_ssl, QStringLiteral("Y"));

    QFile::remove(folder.settingsFile());
    Get_Email_Details();
    for (const QString* global : { &sender_email, &sender_pwd, &sending_server, &sending_port, &send_enable_ssl })
        EXPECT_TRUE(global->isEmpty());
}

TEST(Preferences, AddressRule)
{
    // A sender is one bare address; a recipient may carry a display name, and nothing may follow it.
    const struct {
        const char* text;
        bool bare; // a valid sender
        const char* name = nullptr; // a valid recipient: its display name and address
        const char* address = nullptr;
    } cases[] = {
        { "me@example.com", true, "", "me@example.com" },
        { "  a@b.cd \n", true, "", "a@b.cd" },
        { "@ab.cd", false }, // no local part
        { "a@b.c", true, "", "a@b.c" },
        { "me.example.com", false },
        { "me@ex@ample.com", false },
        { "me@examplecom", false },
        { "", false },
        { "g1@b.com> notify=success", false },
        { "<g1@b.com> NOTIFY=SUCCESS", false },
        { "g1@b.com notify=success", false },
        { "g1@b.com,g2@b.com", false },
        { "a..b@b.com", false },
        { "a@-b.com", false },
        { "a b@b.com", false },
        { "Ann Lee <ann@b.com>", false, "Ann Lee", "ann@b.com" },
        { "\"Lee, Ann\" <ann@b.com>", false, "Lee, Ann", "ann@b.com" },
        { "Anne-Marie \"Nan\" O'Brien <ann@b.com>", false, "Anne-Marie Nan O'Brien", "ann@b.com" },
        { "\"Ann \\\"Nan\\\" <Lee>\" <ann@b.com>", false, "Ann \"Nan\" <Lee>", "ann@b.com" },
        { "Ann \"Nan <ann@b.com>", false },
        { "Ann Nan\" <ann@b.com>", false },
        { "=?utf-8?q?evil=40x=2Ecom?= <g1@b.com>", false, "=?utf-8?q?evil=40x=2Ecom?=", "g1@b.com" },
        { "Ann <ann@b.com> <x@y.com>", false },
        { "Ann <ann@b.com> x", false },
        { "Ann <ann@b.com\r\nBcc: x@y.com>", false },
        { "jörg@bücher.de", true, "", "jörg@bücher.de" },
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(isValidEmail(text), c.bare) << c.text;
        const std::optional<Mail_Address> parsed = parseMailAddress(text);
        ASSERT_EQ(parsed.has_value(), c.address != nullptr) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->displayName, QString::fromUtf8(c.name)) << c.text;
            EXPECT_EQ(parsed->addrSpec, QString::fromUtf8(c.address)) << c.text;
        }
    }
}

TEST(Preferences, AFileOthersCouldReadIsNarrowedToItsOwnerWhenSaved)
{
    FreshDataFolder folder(QStringLiteral("prefs-narrow"));
    QFile file(folder.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFile::setPermissions(folder.settingsFile(),
        ownerReadWrite | QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther);
    const auto store = Preferences::sharedInstance();
    fillAll(*store);
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(unixPermissions(folder.settingsFile()), ownerReadWrite);
}
