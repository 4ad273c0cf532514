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
QStringList runNotice(const QString& path, const std::function<void(Open_Export_Log&)>& act,
    QString* boxTitle = nullptr, bool ticked = true,
    const QString& message = QStringLiteral("Card has been exported successfully."))
{
    testsupport::ScriptedResponder ui;
    QStringList opened;
    const auto kept = Open_Export_Log::opener;
    Open_Export_Log::opener = [&opened](const QString& p) { opened << p; };
    ui.modalRuns.push_back([&](QDialog& dialog) {
        auto& notice = static_cast<Open_Export_Log&>(dialog);
        notice.show(); // as the modal run shows it: the text is read whole, however long the last one was
        const auto* text = notice.form()._open_log_message;
        EXPECT_GE(text->height(), text->heightForWidth(text->width())) << message.toStdString();
        EXPECT_EQ(notice.form()._open_log_chk->isChecked(), ticked); // as the person last left it with OK
        if (boxTitle)
            *boxTitle = notice.form()._open_log_chk->text();
        act(notice);
        return notice.result();
    });
    Open_Export_Log::defaultInstance().Open_Export_File_Box(path, message);
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
        QString message = QStringLiteral("Done.");
    } cases[] = {
        { folder, "Open containing folder." },
        { file, "Open exported file.",
            QStringLiteral("Card has been exported successfully.\n\nThe column \"Guest's table number at the "
                           "evening reception\" was not found: its items were left empty on 200 cards.") },
        { folder + QStringLiteral("/gone.png"), "Open exported file." },
    };
    for (const auto& c : cases) {
        QString title;
        const QStringList opened = runNotice(
            c.path, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Ok); }, &title, true, c.message);
        EXPECT_EQ(title, QString::fromLatin1(c.title));
        EXPECT_EQ(opened, QStringList({ c.path }));
    }
}

TEST(OpenExportLog, CancelOrAClearedBoxOpensNothingAndTheBoxIsRememberedAsLeftWithOk)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("notice2"));
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Cancel); }).isEmpty());
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) {
        QTest::mouseClick(n.form()._open_log_chk, Qt::LeftButton, {}, QPoint(8, 8)); // on its square
        EXPECT_FALSE(n.form()._open_log_chk->isChecked());
        press(n, QDialogButtonBox::Ok);
    }).isEmpty());
    // The cleared box stays cleared at the next opening, Cancel or not, until it is ticked again with OK.
    const auto tickAndOk = [](Open_Export_Log& n) {
        QTest::mouseClick(n.form()._open_log_chk, Qt::LeftButton, {}, QPoint(8, 8)); // on its square
        press(n, QDialogButtonBox::Ok);
    };
    EXPECT_TRUE(runNotice(
        folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Cancel); }, nullptr, false)
                    .isEmpty());
    EXPECT_EQ(runNotice(folder, tickAndOk, nullptr, false), QStringList({ folder }));
    EXPECT_EQ(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Ok); }), QStringList({ folder }));
}
