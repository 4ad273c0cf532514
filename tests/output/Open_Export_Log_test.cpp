#include "output/Open_Export_Log.h"
#include "output/Preferences.h"

#include "support/TestSupport.h"

#include "ui_Open_Export_Files.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
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

// A click on the box's own square, where a person clicks; the box spans the notice's width.
void tick(Open_Export_Log& notice)
{
    QCheckBox* box = notice.form()._open_log_chk;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
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

TEST(OpenExportLog, CancelOrAClearedBoxOpensNothingAndTheBoxIsRememberedAsLeftWithOk)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("notice2"));
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Cancel); }).isEmpty());
    EXPECT_TRUE(runNotice(folder, [](Open_Export_Log& n) {
        tick(n);
        EXPECT_FALSE(n.form()._open_log_chk->isChecked());
        press(n, QDialogButtonBox::Ok);
    }).isEmpty());
    // The cleared box stays cleared at the next opening, Cancel or not, until it is ticked again with OK.
    const auto tickAndOk = [](Open_Export_Log& n) {
        tick(n);
        press(n, QDialogButtonBox::Ok);
    };
    EXPECT_TRUE(runNotice(
        folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Cancel); }, nullptr, false)
                    .isEmpty());
    EXPECT_EQ(runNotice(folder, tickAndOk, nullptr, false), QStringList({ folder }));
    EXPECT_EQ(runNotice(folder, [](Open_Export_Log& n) { press(n, QDialogButtonBox::Ok); }), QStringList({ folder }));
}

// A later export's notes (a missing column's name, a long path) are read whole, not cut to the first notice's size.
TEST(OpenExportLog, EachNoticeFitsItsText)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("notice3"));
    const QString notes = QStringLiteral("Card has been exported successfully.\n\nThe column \"Guest's table "
                                         "number at the evening reception\" was not found in the workbook: its "
                                         "items were left empty on 200 cards.\n\nEvery record's picture was found.");
    for (const QString& message : { QStringLiteral("Done."), notes, QStringLiteral("Done.") }) {
        runNotice(
            folder + QStringLiteral("/cards/of/a/rather/long/folder/name/for/the/guests"),
            [&message](Open_Export_Log& n) {
                n.show(); // as the modal run shows it
                const QLabel* label = n.form()._open_log_message;
                EXPECT_EQ(label->text(), message);
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << message.toStdString();
                EXPECT_GE(n.height(), n.minimumSizeHint().height());
                EXPECT_LE(n.height(), n.sizeHint().height() + 1) << "no empty band left by a longer text";
                press(n, QDialogButtonBox::Cancel);
            },
            nullptr, Preferences::choiceOn(open_exported_fileKey), message);
    }
}
