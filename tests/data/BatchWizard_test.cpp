// The series manager driven as a person drives it: buttons clicked, rows selected, names typed.
#include "data/BatchWizard.h"
#include "data/Series_File.h"

#include "common/Globals.h"
#include "data/Load_Num_Info.h"
#include "data/SeriesTestSupport.h"
#include "data/Series_Value_Model.h"
#include "data/Series_File.h"
#include "data/Update_Ex_Num.h"
#include "support/TestSupport.h"

#include "ui_BatchWizard.h"
#include "ui_Update_Ex_Num.h"

#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <unistd.h>

#include <QFileInfo>

#include <gtest/gtest.h>

using seriestest::FakeHost;
using seriestest::ReadOnlyFolder;
using seriestest::SeriesFolder;
using seriestest::u;
using testsupport::ScriptedResponder;

namespace {

std::vector<QString> texts(const ScriptedResponder& ui)
{
    return seriestest::messageTexts(ui);
}

class BatchWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wizard = BatchWizard::defaultInstance();
        BatchWizard::importWizard = nullptr;
        // Open the window as the main window does; the scripted run shows it and lets the test act.
        ui.modalRuns.push_back([](QDialog& dialog) {
            dialog.show();
            return 0;
        });
        wizard->Open_Wnd();
        wizard->show();
        ui.messages.clear();
    }
    void TearDown() override { wizard->hide(); }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void selectRows(QTableView* table, std::initializer_list<int> rows)
    {
        table->clearSelection();
        for (int row : rows)
            table->selectionModel()->setCurrentIndex(
                table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList listed() const { return wizard->ListData().rows(); }

    SeriesFolder folder;
    FakeHost host;
    ScriptedResponder ui;
    BatchWizard* wizard = nullptr;
};

} // namespace

TEST_F(BatchWizardTest, NewSeriesTypedInAndSavedListsIt)
{
    click(wizard->form().AddNew_btn);
    EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().second_screen);
    EXPECT_EQ(wizard->form().batch_list_name->text(), u("Untitled"));
    wizard->form().batch_list_name->clear();
    QTest::keyClicks(wizard->form().batch_list_name, u("?Guests "));
    for (const char* v : { " Zoë 🎉 ", "tab\there", "", "comma, \"quoted\"", "two\r\nlines" })
        wizard->Create_Value_List(u(v));
    EXPECT_EQ(wizard->form().batch_value_count->text(), u("Total Rows : 4"));
    click(wizard->form().Save_btn);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(folder.bytes(u("Guests")), u("Zoë 🎉\ntab\there\ncomma, \"quoted\"\ntwo\u2028lines\n").toUtf8())
        << "a value with a line break is one record";
    EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().first_screen);
    EXPECT_EQ(listed(), QStringList({ u("Guests") }));
    EXPECT_EQ(wizard->form().batch_list_count->text(), u("Total List : 1"));
}

TEST_F(BatchWizardTest, SavingRulesForNamesAndOtherSeries)
{
    folder.put(u("Old"), "a\nb\n");
    folder.put(u("Other"), "x\n");
    const struct {
        const char* typed;
        std::deque<int> answers;
        const char* message;
        QStringList filesAfter;
    } cases[] = {
        { "Old", {}, nullptr, { u("Old.txt"), u("Other.txt") } }, // own name: no question
        { "Other", { 0 }, "Batch Processing Series already exists. Do you want to replace it?",
            { u("Old.txt"), u("Other.txt") } },
        { "a/b", {}, "A series name cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": \"a/b\" cannot be used.",
            { u("Old.txt"), u("Other.txt") } },
        { "..", {}, "A series name cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": \"..\" cannot be used.",
            { u("Old.txt"), u("Other.txt") } },
        { "  ", {}, "Please enter a name for the series.", { u("Old.txt"), u("Other.txt") } },
        { "Renamed", {}, nullptr, { u("Other.txt"), u("Renamed.txt") } },
    };
    for (const auto& c : cases) {
        wizard->Fill_List();
        const int row = int(listed().indexOf(listed().contains(u("Old")) ? u("Old") : u("Renamed")));
        selectRows(wizard->List(), { row });
        click(wizard->form().Update_btn);
        ASSERT_EQ(wizard->form().screens->currentWidget(), wizard->form().second_screen) << c.typed;
        wizard->Create_Value_List(u("c"));
        wizard->form().batch_list_name->setText(u(c.typed));
        ui.messages.clear();
        ui.messageAnswers = c.answers;
        wizard->Save_Btn_Clicked();
        if (c.message) {
            EXPECT_EQ(texts(ui), std::vector<QString>({ u(c.message) })) << c.typed;
            click(wizard->form().Back_btn);
        } else {
            EXPECT_TRUE(ui.messages.empty()) << c.typed;
        }
        EXPECT_EQ(folder.files(), c.filesAfter) << c.typed;
    }
    EXPECT_EQ(folder.bytes(u("Other")), QByteArray("x\n"));
    EXPECT_EQ(folder.bytes(u("Renamed")), QByteArray("a\nb\nc\nc\n"));
}

TEST_F(BatchWizardTest, ReplacingAnotherSeriesKeepsTheOneLoaded)
{
    folder.put(u("Mine"), "1\n");
    folder.put(u("Theirs"), "2\n");
    wizard->Fill_List();
    selectRows(wizard->List(), { int(listed().indexOf(u("Mine"))) });
    click(wizard->form().Update_btn);
    wizard->form().batch_list_name->setText(u("Theirs"));
    ui.messageAnswers = { 1 };
    EXPECT_TRUE(wizard->Save_Btn_Clicked());
    EXPECT_EQ(folder.bytes(u("Mine")), QByteArray("1\n"));
    EXPECT_EQ(folder.bytes(u("Theirs")), QByteArray("1\n"));
}

// Back and Close ask as the design does: Cancel stays, Don't Save keeps the file as it was, Save writes first.
TEST_F(BatchWizardTest, BackAndCloseAskBeforeUnsavedValuesAreDropped)
{
    for (const char* button : { "Back_btn", "Close_2_btn" })
        for (const int answer :
            { platform::SaveAnswerCancel, platform::SaveAnswerDontSave, platform::SaveAnswerSave }) {
            SCOPED_TRACE(std::string(button) + " " + std::to_string(answer));
            folder.put(u("Guests"), "a\nb\n");
            wizard->show();
            wizard->Fill_List();
            selectRows(wizard->List(), { int(listed().indexOf(u("Guests"))) });
            click(wizard->form().Update_btn);
            wizard->Create_Value_List(u("c"));
            selectRows(wizard->List_value(), { 0 });
            click(wizard->form().Delete_Rows_btn);
            ui.messages.clear();
            ui.messageAnswers = { answer };
            click(wizard->findChild<QPushButton*>(QLatin1String(button)));
            ASSERT_EQ(texts(ui), std::vector<QString>({ u("Do you want to save changes to the series \"Guests\"?") }));
            const bool stays = answer == platform::SaveAnswerCancel;
            EXPECT_EQ(
                wizard->isVisible() && wizard->form().screens->currentWidget() == wizard->form().second_screen, stays);
            EXPECT_EQ(folder.bytes(u("Guests")), answer == platform::SaveAnswerSave ? "b\nc\n" : "a\nb\n");
            click(wizard->form().Back_btn); // after Cancel, Don't Save (the default answer) leaves
        }
}

TEST_F(BatchWizardTest, SeriesInUseCannotBeSavedOrDeleted)
{
    folder.put(u("Bound"), "v\n");
    host.inUse = { u("Bound") };
    wizard->Fill_List();
    selectRows(wizard->List(), { 0 });
    click(wizard->form().Delete_List_btn);
    EXPECT_EQ(texts(ui),
        std::vector<QString>({ u("Batch Processing Series can't be delete because it is currently in use.") }));
    ui.messages.clear();
    click(wizard->form().Update_btn);
    wizard->Create_Value_List(u("w"));
    click(wizard->form().Save_btn);
    EXPECT_EQ(texts(ui),
        std::vector<QString>({ u("Batch Processing Series can't be update because it is currently in use.") }));
    EXPECT_EQ(folder.bytes(u("Bound")), QByteArray("v\n"));
}

TEST_F(BatchWizardTest, DeletingStopsAtASeriesInUseEvenWithAnOldApplyToAllAnswer)
{
    for (const char* name : { "a", "b", "c" })
        folder.put(u(name), "1\n");
    host.inUse = { u("b") };
    wizard->Fill_List();
    Msg_Apply_All_Chk = true; // left over from another window's question
    selectRows(wizard->List(), { 0, 1, 2 });
    ui.messageAnswers = { 1 };
    click(wizard->form().Delete_List_btn);
    EXPECT_EQ(texts(ui),
        std::vector<QString>({ u("Are you sure want to delete selected Batch Processing Series?"),
            u("Batch Processing Series can't be delete because it is currently in use.") }));
    EXPECT_EQ(folder.files(), QStringList({ u("b.txt"), u("c.txt") }));
    EXPECT_EQ(listed(), QStringList({ u("b"), u("c") }));
}

TEST_F(BatchWizardTest, DeletingTheLastTwoOfFiveSelectsAsBefore)
{
    for (int selectedLast : { 3, 4 }) {
        for (const char* name : { "1", "2", "3", "4", "5" })
            folder.put(u(name), "v\n");
        wizard->Fill_List();
        selectRows(wizard->List(), { 3 == selectedLast ? 4 : 3, selectedLast });
        ui.messageAnswers = { 1 };
        click(wizard->form().Delete_List_btn);
        EXPECT_EQ(listed(), QStringList({ u("1"), u("2"), u("3") }));
        const QModelIndexList selected = wizard->List()->selectionModel()->selectedRows();
        if (selectedLast == 3) {
            ASSERT_EQ(selected.size(), 1);
            EXPECT_EQ(selected[0].row(), 2);
        } else {
            EXPECT_TRUE(selected.isEmpty());
        }
        // The value list keeps the same rule.
        wizard->AddNew_Btn_Clicked();
        wizard->Create_Value_Lists({ u("a"), u("b"), u("c"), u("d"), u("e") });
        selectRows(wizard->List_value(), { 3 == selectedLast ? 4 : 3, selectedLast });
        click(wizard->form().Delete_Rows_btn);
        EXPECT_EQ(wizard->ListData_value().rows(), QStringList({ u("a"), u("b"), u("c") }));
        EXPECT_EQ(wizard->List_value()->selectionModel()->selectedRows().size(), selectedLast == 3 ? 1 : 0);
        EXPECT_EQ(wizard->form().batch_value_count->text(), u("Total Rows : 3"));
        click(wizard->form().Back_btn);
    }
}

TEST_F(BatchWizardTest, EmptyListsAndMissingSelectionsSayWhy)
{
    const struct {
        QAbstractButton* button;
        bool secondScreen;
        const char* message;
    } cases[] = {
        { wizard->form().Update_btn, false, "Available list is empty." },
        { wizard->form().Delete_List_btn, false, "Available list is empty." },
        { wizard->form().Save_btn, true, "List is empty." },
        { wizard->form().Export_Value_btn, true, "List is empty." },
        { wizard->form().Delete_Rows_btn, true, "List is empty." },
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        if (c.secondScreen)
            wizard->AddNew_Btn_Clicked();
        else
            wizard->Back_Btn_Clicked();
        click(c.button);
        EXPECT_EQ(texts(ui), std::vector<QString>({ u(c.message) }));
    }
    folder.put(u("s"), "1\n");
    wizard->Back_Btn_Clicked();
    wizard->Fill_List();
    wizard->List()->clearSelection();
    ui.messages.clear();
    click(wizard->form().Update_btn);
    EXPECT_EQ(texts(ui), std::vector<QString>({ u("Please select a record from the available list to continue.") }));
    wizard->AddNew_Btn_Clicked();
    wizard->Create_Value_List(u("x"));
    wizard->List_value()->clearSelection();
    ui.messages.clear();
    click(wizard->form().Delete_Rows_btn);
    EXPECT_EQ(texts(ui), std::vector<QString>({ u("Please select at least one record from the list to continue.") }));
}

TEST_F(BatchWizardTest, OpeningShowsValuesTrimmedAndAFileThatCannotBeWrittenIsRefused)
{
    const QString longValue(5000, QLatin1Char('x'));
    folder.put(u("Blanks"), "  one \n\n two\r\n   \n" + longValue.toUtf8());
    wizard->Fill_List();
    selectRows(wizard->List(), { 0 });
    click(wizard->form().Update_btn);
    // A blank line is a record of a run, and a blank row here.
    EXPECT_EQ(wizard->ListData_value().rows(), QStringList({ u("one"), u(""), u("two"), u(""), longValue }));
    EXPECT_EQ(wizard->form().batch_value_count->text(), u("Total Rows : 5 (2 blank)"));
    // A long value is shown cut, so that drawing it never holds the window; it stays whole.
    const Series_Value_Model& shown = wizard->ListData_value();
    EXPECT_EQ(shown.data(shown.index(4, 0), Qt::DisplayRole).toString(), longValue.left(1000) + QChar(0x2026));
    // Saved, every value keeps its record.
    EXPECT_TRUE(wizard->Save_Btn_Clicked());
    EXPECT_EQ(folder.bytes(u("Blanks")), "one\n\ntwo\n\n" + longValue.toUtf8() + "\n");
    selectRows(wizard->List(), { 0 });
    ::chmod(QFile::encodeName(folder.file(u("Blanks"))).constData(), 0444);
    {
        ReadOnlyFolder locked(Data_Folder_Path);
        click(wizard->form().Update_btn);
        EXPECT_EQ(texts(ui), std::vector<QString>({ u("Error in file accessing.") }));
        EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().first_screen);
    }
}

TEST_F(BatchWizardTest, ASeriesTooLargeToReadIsNeverOpenedAsAnEmptyList)
{
    folder.put(u("Huge"), "first\n");
    ASSERT_EQ(::truncate(QFile::encodeName(folder.file(u("Huge"))).constData(), Series_File::kMaxBytes + 1), 0);
    wizard->Fill_List();
    selectRows(wizard->List(), { 0 });
    click(wizard->form().Update_btn);
    ASSERT_EQ(texts(ui).size(), 1u);
    EXPECT_TRUE(texts(ui)[0].contains(u("larger than 64"))) << texts(ui)[0].toStdString();
    EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().first_screen);
    EXPECT_EQ(QFileInfo(folder.file(u("Huge"))).size(), Series_File::kMaxBytes + 1);
}

TEST_F(BatchWizardTest, ReadOnlyFolderLosesNothingWhenSaving)
{
    folder.put(u("Kept"), "old\n");
    wizard->Fill_List();
    selectRows(wizard->List(), { 0 });
    click(wizard->form().Update_btn);
    wizard->Create_Value_List(u("new"));
    wizard->form().batch_list_name->setText(u("Moved"));
    {
        ReadOnlyFolder locked(Data_Folder_Path);
        EXPECT_FALSE(wizard->Save_Btn_Clicked());
    }
    EXPECT_EQ(texts(ui),
        std::vector<QString>({ u("Error in file accessing.\n\n%1: Permission denied").arg(Series_File::path(u("Moved"))) }));
    EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().second_screen);
    EXPECT_EQ(folder.files(), QStringList({ u("Kept.txt") }));
    EXPECT_EQ(folder.bytes(u("Kept")), QByteArray("old\n"));
}

TEST_F(BatchWizardTest, DoubleClicksActOnTheSelectedRow)
{
    folder.put(u("one"), "v1\nv2\n");
    folder.put(u("two"), "w\n");
    wizard->Fill_List();
    wizard->List()->clearSelection();
    wizard->doubleClickInTable(wizard->List());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(wizard->form().screens->currentWidget(), wizard->form().first_screen);
    selectRows(wizard->List(), { 0, 1 });
    wizard->doubleClickInTable(wizard->List());
    EXPECT_EQ(texts(ui), std::vector<QString>({ u("Please select only one record to update.") }));
    selectRows(wizard->List(), { 0 });
    wizard->doubleClickInTable(wizard->List());
    EXPECT_EQ(wizard->ListData_value().rows(), QStringList({ u("v1"), u("v2") }));

    // The value editor: unchanged, blank and changed values.
    selectRows(wizard->List_value(), { 1 });
    ui.messages.clear();
    ui.modalRuns.push_back([](QDialog& d) {
        auto& editor = static_cast<Update_Ex_Num&>(d);
        editor.form().m_ex_num_str->setText(u("   "));
        editor.OKPressed(); // refused: stays open
        editor.form().m_ex_num_str->setText(u("  v2 changed "));
        editor.OKPressed();
        return editor.result();
    });
    wizard->doubleClickInTable(wizard->List_value());
    EXPECT_EQ(texts(ui), std::vector<QString>({ u("Please enter a valid value.") }));
    EXPECT_EQ(wizard->ListData_value().rows(), QStringList({ u("v1"), u("v2 changed") }));
    // The list only changes on Save.
    EXPECT_EQ(folder.bytes(u("one")), QByteArray("v1\nv2\n"));
}

TEST_F(BatchWizardTest, ValueEditorChecksItsRowBeforeUse)
{
    Series_Value_Model list(u("Header"), u("Value"));
    list.append(QStringList({ u("a") }));
    Update_Ex_Num* editor = Update_Ex_Num::defaultInstance();
    editor->setList(&list);
    for (const char* row : { "7", "-1", "x" }) {
        editor->setValue(0, u("a"));
        editor->form().m_ex_num_index->setText(u(row));
        editor->form().m_ex_num_str->setText(u("b"));
        editor->OKPressed();
        EXPECT_EQ(editor->result(), 0) << row;
        EXPECT_EQ(list.rows(), QStringList({ u("a") })) << row;
    }
}

TEST_F(BatchWizardTest, LoadPromptDecidesWhatHappensToTheList)
{
    const struct {
        int answer;
        QStringList after;
        bool generatorRun;
        QDialogButtonBox::StandardButton generatorButton = QDialogButtonBox::Ok;
    } cases[] = {
        { Load_Num_Info::Remove, { u("G") }, true },
        { Load_Num_Info::Keep, { u("old"), u("G") }, true },
        { Load_Num_Info::Cancelled, { u("old") }, false },
        { Load_Num_Info::Remove, { u("old") }, true, QDialogButtonBox::Cancel }, // nothing came in their place
    };
    for (const auto& c : cases) {
        wizard->AddNew_Btn_Clicked();
        wizard->Create_Value_List(u("old"));
        ui.dialogsRun.clear();
        ui.modalRuns.push_back([&c](QDialog&) { return c.answer; });
        ui.modalRuns.push_back([&c](QDialog& d) {
            // The generator: a constant value once, into the list.
            auto* w = static_cast<QDialog*>(&d);
            w->findChild<QRadioButton*>(u("radioButton_Constant"))->click();
            w->findChild<QLineEdit*>(u("value_txt"))->setText(u("G"));
            w->findChild<QDialogButtonBox*>(u("buttonBox"))->button(c.generatorButton)->click();
            return w->result();
        });
        click(wizard->form().Series_Value_btn);
        EXPECT_EQ(wizard->ListData_value().rows(), c.after);
        EXPECT_EQ(ui.dialogsRun.size(), c.generatorRun ? 2u : 1u);
        ui.modalRuns.clear();
    }
}

TEST_F(BatchWizardTest, ExportWritesTheChosenFormatAndNoticesOnlyWhatWasWritten)
{
    const QString out = testsupport::makeTempFolder(u("export"));
    wizard->AddNew_Btn_Clicked();
    wizard->Create_Value_Lists({ u("Zoë"), u("🎉"), u("a,b") });
    wizard->form().Save_Ext_ComboBox->setCurrentText(u("txt"));
    ui.fileAnswers = { out + u("/values.xlsx") };
    click(wizard->form().Export_Value_btn);
    QFile written(out + u("/values.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), u("Zoë\n🎉\na,b\n").toUtf8());
    EXPECT_FALSE(QFile::exists(out + u("/values.xlsx")));
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].first, out + u("/values.txt"));
    EXPECT_EQ(host.notices[0].second, u("Record has been exported successfully."));

    // A file that cannot be written is reported, and no success notice follows.
    QDir(out).mkdir(u("blocked.txt"));
    ui.fileAnswers = { out + u("/blocked.txt") };
    click(wizard->form().Export_Value_btn);
    EXPECT_EQ(texts(ui),
        std::vector<QString>({ u("Error in file accessing.\n\n%1/blocked.txt: Filename refers to a directory").arg(out) }));
    EXPECT_EQ(host.notices.size(), 1u);
    // Cancelling the file panel writes nothing.
    ui.fileAnswers.clear();
    click(wizard->form().Export_Value_btn);
    EXPECT_EQ(host.notices.size(), 1u);
}
