// The e-mail settings file: any file reads without harm, and the settings read from it, saved, read back
// the same.
#include "FuzzSupport.h"

#include "common/Globals.h"
#include "output/Preferences.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir box;
    Resource_Path = box.path();
    if (!fuzzsupport::writeFile(Preferences::settingsFilePath(), fuzzsupport::bytesOf(data, size)))
        return 0;
    const auto first = Preferences::sharedInstance();
    auto settings = [](const Preferences& p) {
        return QList<std::optional<QString>> { p.send_email_Recipient(), p.send_email_SenderEmail(),
            p.send_email_Password(), p.send_email_SMTP_server(), p.send_email_PORT_num(), p.send_email_enable_ssl() };
    };
    const auto read = settings(*first);
    if (!first->flush())
        return 0;
    if (settings(*Preferences::sharedInstance()) != read)
        fuzzsupport::finding("settings saved read back differently");
    return 0;
}
