// The series generator window driven through its fields and buttons.
#include "data/Generate_List.h"

#include "data/BatchWizard.h"
#include "data/SeriesTestSupport.h"
#include "data/Series_File.h"
#include "data/Series_Value_Model.h"
#include "support/TestSupport.h"

#include "ui_Generate_List.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <latch>

#include <gtest/gtest.h>

using seriestest::FakeHost;
using seriestest::ReadOnlyFolder;
using seriestest::SeriesFolder;
using seriestest::u;
using testsupport::ScriptedResponder;

namespace {

class GenerateListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = Generate_List::defaultInstance();
        open(1);
    }
    void TearDown() override
    {
        window->hide();
        Generate_List::inlineLimit = 200000;
        Generate_List::workerWriting = nullptr;
    }
    void open(int fileNameRequired)
    {
        window->file_name_required = fileNameRequired;
        window->file_name_Insert = 0;
        ui.modalRuns.push_back([](QDialog& d) {
            d.show();
            return 0;
        });
        window->Open_Wnd();
        window->show();
        ui.messages.clear();
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }
    // On the round mark: the button takes clicks on its mark and its text only.
    void clickMode(QRadioButton* mode) { QTest::mouseClick(mode, Qt::LeftButton, {}, QPoint(8, mode->height() / 2)); }
    void pressOK() { QTest::mouseClick(window->form().buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton); }
    std::vector<QString> texts() const { return seriestest::messageTexts(ui); }

    SeriesFolder folder;
    FakeHost host;
    ScriptedResponder ui;
    Generate_List* window = nullptr;
};

} // namespace

TEST_F(GenerateListTest, SequentialPaddedSeriesIsWrittenAsTyped)
{
    Ui::Generate_List& w = window->form();
    EXPECT_EQ(w.seq_file_name->text(), u("Untitled"));
    type(w.seq_file_name, u("Tickets"));
    type(w.prefix_txt, u("A-"));
    type(w.from_txt, u("1"));
    type(w.to_txt, u("10"));
    w.manage_digit_chk->click();
    pressOK();
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(window->result(), 1);
    EXPECT_EQ(folder.bytes(u("Tickets")), QByteArray("A-01\nA-02\nA-03\nA-04\nA-05\nA-06\nA-07\nA-08\nA-09\nA-10\n"));
}

TEST_F(GenerateListTest, ConstantKeepsBlanksInTheFileAndModesSwitchTheirControls)
{
    Ui::Generate_List& w = window->form();
    clickMode(w.radioButton_Constant);
    EXPECT_TRUE(w.value_txt->isEnabled());
    EXPECT_FALSE(w.from_txt->isEnabled());
    EXPECT_FALSE(w.seq_file_name->isEnabled());
    EXPECT_EQ(w.const_file_name->text(), u("Untitled"));
    type(w.value_txt, u(" x y "));
    type(w.count_txt, u("2"));
    pressOK();
    EXPECT_EQ(folder.bytes(u("Untitled")), QByteArray(" x y \n x y \n"));
}

TEST_F(GenerateListTest, TypingLimitsCountsAndLength)
{
    Ui::Generate_List& w = window->form();
    clickMode(w.radioButton_Random);
    const struct {
        QLineEdit* field;
        QSpinBox* stepper;
        const char* typed;
        const char* kept;
    } cases[] = {
        { w.rand_count_txt, w.rand_count_stepper, "123456", "10000" },
        { w.rand_count_txt, w.rand_count_stepper, "0", "1" },
        { w.rand_length_txt, w.rand_length_stepper, "45", "4" },
        { w.rand_length_txt, w.rand_length_stepper, "0", "1" },
    };
    for (const auto& c : cases) {
        type(c.field, u(c.typed));
        EXPECT_EQ(c.field->text(), u(c.kept)) << c.typed;
        EXPECT_EQ(c.stepper->value(), u(c.kept).toInt()) << c.typed;
    }
    clickMode(w.radioButton_Constant);
    type(w.count_txt, u("99999"));
    EXPECT_EQ(w.count_txt->text(), u("10000"));
    w.count_stepper->stepDown();
    EXPECT_EQ(w.count_txt->text(), u("9999"));
}

TEST_F(GenerateListTest, RandomSeriesHasTheChosenDigits)
{
    Ui::Generate_List& w = window->form();
    clickMode(w.radioButton_Random);
    type(w.rndm_file_name, u("Codes"));
    type(w.rand_prefix_txt, u("#"));
    type(w.rand_length_txt, u("1"));
    type(w.rand_count_txt, u("3"));
    pressOK();
    const QList<QByteArray> lines = folder.bytes(u("Codes")).split('\n');
    ASSERT_EQ(lines.size(), 4);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(lines[i].size(), 2) << lines[i].constData();
        EXPECT_EQ(lines[i][0], '#');
        EXPECT_TRUE(lines[i][1] >= '1' && lines[i][1] <= '9') << lines[i].constData();
    }
}

TEST_F(GenerateListTest, RefusalsKeepTheWindowOpenAndTheFilesAsTheyWere)
{
    folder.put(u("Taken"), "old\n");
    host.inUse = { u("Bound") };
    folder.put(u("Bound"), "bound\n");
    Ui::Generate_List& w = window->form();
    const struct {
        const char* name;
        const char* from;
        const char* to;
        std::deque<int> answers;
        const char* message;
    } cases[] = {
        { "x", "5", "5", {}, "'From' value must be smaller than 'To' value." },
        { "x", "", "5", {}, "Please enter valid 'From' value." },
        { "x", "1", "", {}, "Please enter valid 'To' value." },
        { "x", "2147483646", "2147483648", {}, "'To' value must lie between -2147483648 and 2147483647." },
        { "Taken", "1", "8000001", {},
            "A series can hold at most 8000000 values, and these settings make 8000001. Please make fewer values, or "
            "split them into smaller series." },
        { "a/b", "1", "3", {},
            "A series name cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": \"a/b\" cannot be used." },
        { "..", "1", "3", {},
            "A series name cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": \"..\" cannot be used." },
        { " ?", "1", "3", {}, "Please enter list name." },
        { "Bound", "1", "3", {}, "Batch Processing Series can't be create because it is currently in use." },
        { "Taken", "1", "3", { 0 }, "Batch Processing Series already exists. Do you want to replace it?" },
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.messageAnswers = c.answers;
        type(w.seq_file_name, u(c.name));
        type(w.from_txt, u(c.from));
        type(w.to_txt, u(c.to));
        EXPECT_FALSE(window->OKPressed()) << c.name;
        EXPECT_EQ(texts(), std::vector<QString>({ u(c.message) })) << c.name;
        EXPECT_TRUE(window->isVisible()) << c.name;
    }
    EXPECT_EQ(folder.files(), QStringList({ u("Bound.txt"), u("Taken.txt") }));
    EXPECT_EQ(folder.bytes(u("Taken")), QByteArray("old\n"));
    // Yes replaces.
    ui.messageAnswers = { 1 };
    type(w.seq_file_name, u("Taken"));
    EXPECT_TRUE(window->OKPressed());
    EXPECT_EQ(folder.bytes(u("Taken")), QByteArray("1\n2\n3\n"));
}

TEST_F(GenerateListTest, ReadOnlyFolderLosesNothingAndSaysSo)
{
    folder.put(u("Kept"), "old\n");
    Ui::Generate_List& w = window->form();
    type(w.seq_file_name, u("Kept"));
    type(w.from_txt, u("1"));
    type(w.to_txt, u("3"));
    ui.messageAnswers = { 1 };
    {
        ReadOnlyFolder locked(Data_Folder_Path);
        EXPECT_FALSE(window->OKPressed());
    }
    EXPECT_EQ(texts(),
        std::vector<QString>({ u("Batch Processing Series already exists. Do you want to replace it?"),
            u("Error in file accessing.") }));
    EXPECT_EQ(folder.bytes(u("Kept")), QByteArray("old\n"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(GenerateListTest, LongRunsWriteOnAWorkerAndStopLeavesTheOldSeries)
{
    Generate_List::inlineLimit = 1000;
    Ui::Generate_List& w = window->form();
    type(w.seq_file_name, u("Long"));
    type(w.from_txt, u("1"));
    type(w.to_txt, u("50000"));
    EXPECT_TRUE(window->OKPressed());
    const QByteArray bytes = folder.bytes(u("Long"));
    EXPECT_EQ(bytes.count('\n'), 50000);
    EXPECT_TRUE(bytes.endsWith("\n49999\n50000\n"));

    // The most values a series holds: held after its first value, the run goes on only after Stop.
    open(1);
    type(w.seq_file_name, u("Long"));
    type(w.from_txt, u("1"));
    type(w.to_txt, u("8000000"));
    ui.messageAnswers = { 1 };
    bool progressShown = false;
    int ticks = 0;
    std::latch released(1);
    Generate_List::workerWriting = [&released] { released.wait(); };
    QTimer stopper; // Stop once the run shows its progress, or after twenty seconds without it
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        auto* progress = window->findChild<QWidget*>(u("generateProgress"));
        progressShown = progress && progress->isVisible();
        if (progressShown || ++ticks > 2000) {
            stopper.stop();
            window->stopGenerating();
            released.count_down();
        }
    });
    stopper.start(10);
    EXPECT_FALSE(window->OKPressed());
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(folder.bytes(u("Long")), bytes);
    EXPECT_EQ(folder.files(), QStringList({ u("Long.txt") }));
    ui.messageAnswers = { 1 }; // not stopped, it makes a series every reader takes whole
    EXPECT_TRUE(window->OKPressed());
    EXPECT_EQ(Series_File::readBatch(u("Long")).value_or(QStringList()).size(), 8000000);
}

TEST_F(GenerateListTest, IntoTheManagersListBlankValuesAreDropped)
{
    BatchWizard* manager = BatchWizard::defaultInstance();
    manager->AddNew_Btn_Clicked();
    open(0);
    Ui::Generate_List& w = window->form();
    EXPECT_FALSE(w.seq_file_name->isVisible());
    clickMode(w.radioButton_Constant);
    type(w.value_txt, u("   "));
    type(w.count_txt, u("3"));
    EXPECT_TRUE(window->OKPressed());
    EXPECT_EQ(manager->ListData_value().count(), 0);
    open(0);
    type(w.from_txt, u("8"));
    type(w.to_txt, u("10"));
    EXPECT_TRUE(window->OKPressed());
    EXPECT_EQ(manager->ListData_value().rows(), QStringList({ u("8"), u("9"), u("10") }));
    // Too many values for a list held in memory are refused before any is made.
    open(0);
    type(w.from_txt, u("1"));
    type(w.to_txt, u("5000000"));
    EXPECT_FALSE(window->OKPressed());
    EXPECT_EQ(texts(), std::vector<QString>({ u("Please generate at most 1000000 values into the list at once.") }));
    EXPECT_EQ(manager->ListData_value().count(), 3);
    EXPECT_EQ(folder.files(), QStringList());
}
