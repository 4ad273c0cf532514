#pragma once

#include "common/Globals.h"
#include "output/Preferences.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>
#include <QTest>

// Points the data folder at a fresh folder for one test, so the settings file starts absent.
class FreshDataFolder {
public:
    explicit FreshDataFolder(const QString& name)
        : saved_(Resource_Path)
    {
        Resource_Path = testsupport::makeTempFolder(name);
    }
    ~FreshDataFolder() { Resource_Path = saved_; }
    QString settingsFile() const { return Resource_Path + QStringLiteral("/com.varnel.card.plist"); }

private:
    QString saved_;
};

namespace mailtest {

// Types into a field as a person does: the old text removed first.
inline void type(QLineEdit* field, const QString& text)
{
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, text);
}

// A click where a hand clicks: a check box or radio button on its box (a wide one's middle is empty space).
inline void click(QWidget* target)
{
    const bool box = qobject_cast<QCheckBox*>(target) || qobject_cast<QRadioButton*>(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, box ? QPoint(8, target->height() / 2) : target->rect().center());
}

// The account as the settings window saves it: the send window reads it again each time it opens.
inline bool storeMailAccount(
    const QString& sender, const QString& password, const QString& server, const QString& port, const QString& ssl)
{
    const auto store = Preferences::sharedInstance();
    store->setsend_email_SenderEmail(sender);
    store->setsend_email_Password(password);
    store->setsend_email_SMTP_server(server);
    store->setsend_email_PORT_num(port);
    store->setsend_email_enable_ssl(ssl);
    return store->flush();
}

} // namespace mailtest
