#include "output/Open_Export_Log.h"

#include "support/TestSupport.h"

#include "ui_Open_Export_Files.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Runs the notice once, letting `act` press its buttons; returns the paths it asked to open.
QStringList runNotice(
    const QString& path, const std::function<void(Open_Export_Log&)>& act, QString* boxTitle = nullptr)
{
    testsupport::ScriptedResponder ui;
    QStringList opened;
    const auto kept = Open_Export_Log::opener;
    Open_Export_Log::opener = [&opened](const QString& p) { opened << p; };
    ui.modalRuns.push_back([&](QDialog& dialog) {
        auto& notice = static_cast<Open_Export_Log&>(dialog);
        EXPECT_TRUE(notice.form()._open_log_chk->isChecked()); // ticked whenever it is shown
        if (boxTitle)
            *boxTitle = notice.form()._open_log_chk->text();
        act(notice);
        return notice.result();
    });
    Open_Export_Log::defaultInstance().Open_Export_File_Box(
        path, QStringLiteral("Card has been exported successfully."));
    Open_Export_Log::opener = kept;
    return opened;
}

void press(Open_Export_Log& notice, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(notice.form().buttonBox->button(which), Qt::LeftButton);
}

} // namespace

TEST(OpenExportLog, FolderOrFileDecidesTheTitleAndOkOpensIt)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("notice"));
    const QString file = folder + QStringLiteral("/card.png");
    QFile(file).open(QIODevice::WriteOnly);
    const struct {
        QString path;
        const char* title;
    } cases[] = {
        { folder, "Open containing folder." },
        { file, "Open exported file." },
        { folder + QStringLiteral("/gone.png"), "Open exported file." },
    };
    for (const auto& c : cases) {
        QString title;
        const QStringList opened = runNotice(
            c.path, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Ok); }, &title);
        EXPECT_EQ(title, QString::fromLatin1(c.title));
        EXPECT_EQ(opened, QStringList({ c.path }));
    }
}

TEST(OpenExportLog, CancelOrAClearedBoxOpensNothingAndTheBoxIsTickedNextTime)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("notice2"));
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Cancel); }).isEmpty());
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) {
        QTest::mouseClick(n.form()._open_log_chk, Qt::LeftButton);
        EXPECT_FALSE(n.form()._open_log_chk->isChecked());
        press(n, QDialogButtonBox::Ok);
    }).isEmpty());
    // runNotice checks the box is ticked again as the notice opens.
    EXPECT_EQ(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Ok); }), QStringList({ folder }));
}
