#pragma once

#include "platform/PropertyList.h"

#include <QString>

#include <memory>
#include <optional>

// Keys of the e-mail settings in the settings file; every value is a string.
extern const QString send_email_RecipientKey; // "SendEmailRecipient": the test mail's recipient
extern const QString send_email_SenderEmailKey; // "SendEmailSender"
extern const QString send_email_PasswordKey; // "SendEmailPwd", kept as typed
extern const QString send_email_SMTP_serverKey; // "SendEmailSMTP"
extern const QString send_email_PORT_numKey; // "SendEmailPORT", the port as typed
extern const QString send_email_Enable_SSLkey; // "SendEnableSSL": "Y" for SSL, anything else TLS
extern const QString send_email_ResolutionKey; // "SendEmailResolution": the card pictures' dots per inch
extern const QString open_exported_fileKey; // "OpenExportedFile": "N" when the person chose not to open exports
extern const QString export_ResolutionKey; // "ExportResolution": dots per inch of the last card export
extern const QString print_show_framesKey; // "PrintShowFrames": "N" when the person hid the print preview's frames

// The program's only settings store: the e-mail settings, one XML property-list dictionary of strings in
// the data folder. Each object is read fresh from the file; setters change memory only until flush().
// The file holds a password, so it is readable by its owner alone and always replaced whole.
class Preferences {
public:
    static std::unique_ptr<Preferences> sharedInstance(); // a new object from the file as it is now
    Preferences();

    // The settings file: Resource_Path followed by "/com.varnel.card.plist".
    static QString settingsFilePath();

    std::optional<QString> send_email_Recipient() const { return value(send_email_RecipientKey); }
    std::optional<QString> send_email_SenderEmail() const { return value(send_email_SenderEmailKey); }
    std::optional<QString> send_email_Password() const { return value(send_email_PasswordKey); }
    std::optional<QString> send_email_SMTP_server() const { return value(send_email_SMTP_serverKey); }
    std::optional<QString> send_email_PORT_num() const { return value(send_email_PORT_numKey); }
    std::optional<QString> send_email_enable_ssl() const { return value(send_email_Enable_SSLkey); }
    std::optional<QString> send_email_resolution() const { return value(send_email_ResolutionKey); }
    std::optional<QString> open_exported_file() const { return value(open_exported_fileKey); }
    std::optional<QString> export_resolution() const { return value(export_ResolutionKey); }
    std::optional<QString> print_show_frames() const { return value(print_show_framesKey); }

    void setsend_email_Recipient(const QString& v) { mDict.insert(send_email_RecipientKey, v); }
    void setsend_email_SenderEmail(const QString& v) { mDict.insert(send_email_SenderEmailKey, v); }
    void setsend_email_Password(const QString& v) { mDict.insert(send_email_PasswordKey, v); }
    void setsend_email_SMTP_server(const QString& v) { mDict.insert(send_email_SMTP_serverKey, v); }
    void setsend_email_PORT_num(const QString& v) { mDict.insert(send_email_PORT_numKey, v); }
    void setsend_email_enable_ssl(const QString& v) { mDict.insert(send_email_Enable_SSLkey, v); }
    void setsend_email_resolution(const QString& v) { mDict.insert(send_email_ResolutionKey, v); }
    void setopen_exported_file(const QString& v) { mDict.insert(open_exported_fileKey, v); }
    void setexport_resolution(const QString& v) { mDict.insert(export_ResolutionKey, v); }
    void setprint_show_frames(const QString& v) { mDict.insert(print_show_framesKey, v); }

    // A person's yes/no choice kept under `key` as "Y" or "N"; one never made reads as yes.
    static bool choiceOn(const QString& key);
    // Writes the choice when it differs from the file's; a failed write is logged, naming `what`.
    static void keepChoice(const QString& key, bool on, const QString& what);

    void setDefaults(); // empty strings for the five text settings; the SSL choice stays absent
    // The whole dictionary to the file; false (logged, with the system's reason) when it cannot be written.
    bool flush(QString* error = nullptr) const;

    const QString& mPreferencesPath() const { return mPreferencesPath_; }

private:
    std::optional<QString> value(const QString& key) const;
    std::optional<platform::PlistDict> readFile() const;
    void createEmptyFile() const;

    QString mPreferencesPath_;
    platform::PlistDict mDict;
};
