// The series import wizard driven as a person drives it.
#include "data/Import_Wizard.h"

#include "SpreadsheetTestSupport.h"
#include "SpreadsheetWindowTestSupport.h"
#include "data/BatchWizard.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/Series_Value_Model.h"
#include "ui_Import_Excel_DataSheet.h"
#include "ui_Import_Wizard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using sheetwindowtest::SpreadsheetWindowTest;

namespace {

class ImportWizardTest : public SpreadsheetWindowTest {
protected:
    void SetUp() override { wizard = Import_Wizard::defaultInstance(); }

    int run(int required, int insert, const std::function<void(Ui::Import_Wizard&)>& act)
    {
        wizard->file_name_required = required;
        wizard->file_name_Insert = insert;
        ui.modalRuns.push_front([this, act](QDialog& dialog) {
            dialog.show();
            act(wizard->form());
            return dialog.isVisible() ? -1 : dialog.result();
        });
        return wizard->Open_Wnd();
    }

    static QString textFile(const QString& name, const QByteArray& bytes) { return sheettest::writeFile(name, bytes); }

    Import_Wizard* wizard = nullptr;
};

} // namespace

TEST_F(ImportWizardTest, TheNameIsTypedOverTheSuggestionAndTheChosenFileImportsOnOk)
{
    ui.fileAnswers.push_back(textFile(QStringLiteral("guests.csv"), "Ada,Bo\r\nCy\r\n"));
    const int result = run(1, 0, [this](Ui::Import_Wizard& form) {
        EXPECT_TRUE(form.Excel_RD->isChecked());
        EXPECT_FALSE(form.Text_btn->isEnabled());
        EXPECT_TRUE(form.Text_file_name->text().isEmpty());
        click(form.Text_RD);
        EXPECT_TRUE(form.Text_btn->isEnabled());
        EXPECT_EQ(form.Text_file_name->selectedText(), QStringLiteral("Untitled")) << "chosen, ready for typing";
        QTest::keyClicks(form.Text_file_name, QStringLiteral("Party"));
        EXPECT_EQ(form.Text_file_name->text(), QStringLiteral("Party"));
        // Clicking back into the field selects the name again rather than appending to it.
        // (A click gives the focus first and then places the cursor, as the window system delivers it.)
        form.Text_path->setFocus(Qt::MouseFocusReason);
        form.Text_file_name->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(form.Text_file_name, Qt::LeftButton);
        QCoreApplication::processEvents();
        QTest::keyClicks(form.Text_file_name, QStringLiteral("/Guests"));
        EXPECT_EQ(form.Text_file_name->text(), QStringLiteral("/Guests"));
        click(form.Text_btn);
        EXPECT_TRUE(wizard->isVisible()) << "choosing the file imports nothing yet";
        EXPECT_TRUE(folder.files().isEmpty());
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_TRUE(ui.fileRequests[0].filter.contains(QStringLiteral("*.rtf")));
    EXPECT_EQ(folder.bytes(QStringLiteral("Guests")), QByteArray("Ada\nBo\nCy\n"));
}

TEST_F(ImportWizardTest, TypedLinesKeepTheirInnerBlanks)
{
    const int result = run(1, 0, [](Ui::Import_Wizard& form) {
        click(form.Mnul_RD);
        form.Manual_file_name->setText(QStringLiteral("Typed"));
        QTest::keyClicks(form.ManualEdit, QStringLiteral(" a "));
        QTest::keyClick(form.ManualEdit, Qt::Key_Return);
        QTest::keyClick(form.ManualEdit, Qt::Key_Return);
        QTest::keyClicks(form.ManualEdit, QStringLiteral(" b "));
        QTest::keyClick(form.ManualEdit, Qt::Key_Return);
        QTest::keyClicks(form.ManualEdit, QStringLiteral(" c "));
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(folder.bytes(QStringLiteral("Typed")), QByteArray("a \n b \n c\n"));
}

TEST_F(ImportWizardTest, EmptyTypedTextAndBadPathsKeepTheWizardOpen)
{
    const int result = run(1, 0, [this](Ui::Import_Wizard& form) {
        click(form.Mnul_RD);
        QTest::keyClicks(form.ManualEdit, QStringLiteral("   "));
        click(form.OK_btn);
        EXPECT_TRUE(wizard->isVisible());
        click(form.Text_RD);
        form.Text_path->setText(QStringLiteral("/no/such/file.txt"));
        click(form.OK_btn);
        EXPECT_TRUE(wizard->isVisible());
        click(form.Cancel_btn);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts(), (std::vector<QString> { "Please enter some data.", "Please select valid file path." }));
    EXPECT_TRUE(folder.files().isEmpty());
}

TEST_F(ImportWizardTest, PictureFolderGivesThePathsOfItsPictures)
{
    const QString pictures = testsupport::makeTempFolder(QStringLiteral("pics"));
    for (const char* name : { "b.png", "A.JPG", "notes.txt" }) {
        QFile file(pictures + QLatin1Char('/') + QLatin1String(name));
        file.open(QIODevice::WriteOnly);
    }
    ui.fileAnswers.push_back(pictures);
    run(1, 0, [](Ui::Import_Wizard& form) {
        click(form.Image_RD);
        form.Image_file_name->setText(QStringLiteral("Photos"));
        click(form.Image_btn);
        click(form.OK_btn);
    });
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, platform::FileRequest::Kind::Folder);
    EXPECT_EQ(folder.bytes(QStringLiteral("Photos")),
        (pictures + QStringLiteral("/A.JPG\n") + pictures + QStringLiteral("/b.png\n")).toUtf8());
}

TEST_F(ImportWizardTest, SeriesInUseOrAnsweredNoIsNotTouched)
{
    folder.put(QStringLiteral("Bound"), "bound\n");
    folder.put(QStringLiteral("Kept"), "kept\n");
    host.inUse = { QStringLiteral("Bound") };
    ui.messageAnswers = { 1, 0 }; // the in-use message, then No to replacing
    const QString path = textFile(QStringLiteral("new.txt"), "new\n");
    const int result = run(1, 0, [&](Ui::Import_Wizard& form) {
        click(form.Text_RD);
        form.Text_path->setText(path);
        form.Text_file_name->setText(QStringLiteral("Bound"));
        click(form.OK_btn);
        form.Text_file_name->setText(QStringLiteral("Kept"));
        click(form.OK_btn);
        EXPECT_TRUE(wizard->isVisible());
        click(form.Cancel_btn);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts(),
        (std::vector<QString> { "Batch Processing Series can't be update because it is currently in use.",
            "Batch Processing Series already exists. Do you want to replace it?" }));
    EXPECT_EQ(folder.bytes(QStringLiteral("Bound")), QByteArray("bound\n"));
    EXPECT_EQ(folder.bytes(QStringLiteral("Kept")), QByteArray("kept\n"));
}

TEST_F(ImportWizardTest, ValueListModeFillsTheManagerAndWritesNoFile)
{
    BatchWizard* manager = BatchWizard::defaultInstance();
    manager->ListData_value().clear();
    const QString path
        = textFile(QStringLiteral("values.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Helvetica;}}\\f0 one\\par two\\par}");
    run(0, 0, [&](Ui::Import_Wizard& form) {
        click(form.Text_RD);
        EXPECT_TRUE(form.Text_file_name->isHidden());
        form.Text_path->setText(path);
        click(form.OK_btn);
    });
    EXPECT_EQ(manager->ListData_value().rows(), (QStringList { "one", "two" }));
    EXPECT_TRUE(folder.files().isEmpty());
    // Typed lines: a blank line between two values is the blank record a run makes of it.
    run(0, 0, [](Ui::Import_Wizard& form) {
        click(form.Mnul_RD);
        form.ManualEdit->setPlainText(QStringLiteral(" a \n\nb\n"));
        click(form.OK_btn);
    });
    EXPECT_EQ(manager->ListData_value().rows(), (QStringList { "one", "two", "a", "", "b" }));
}

TEST_F(ImportWizardTest, WorkbookGoesToTheSpreadsheetImportAndTheWizardCloses)
{
    ui.fileAnswers.push_back(workbook({ { "Name" }, { "Ada" } }));
    // The picker that the wizard opens: tick the column and import.
    ui.modalRuns.push_back([](QDialog& dialog) {
        dialog.show();
        Ui::Import_Excel_DataSheet& form = Import_Excel_DataSheet::defaultInstance()->form();
        clickCell(form.ColList, 0, 0);
        click(form.OK_btn);
        return dialog.result();
    });
    const int result = run(1, 1, [](Ui::Import_Wizard& form) {
        click(form.Excel_btn);
        click(form.OK_btn);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Import_Excel_DataSheet::defaultInstance()->file_name_Insert, 1);
    EXPECT_EQ(folder.bytes(QStringLiteral("Name")), QByteArray("Ada\n"));
}

TEST_F(ImportWizardTest, SeriesManagerOpensTheWizardAndExportsWorkbooks)
{
    Import_Wizard::registerWithSeriesManager();
    ASSERT_TRUE(BatchWizard::importWizard);
    ASSERT_TRUE(BatchWizard::workbookWriter);
    const QString path = testsupport::makeTempFolder(QStringLiteral("export")) + QStringLiteral("/values.xlsx");
    EXPECT_TRUE(BatchWizard::workbookWriter(path, { "Batch Value", "12", "abc" }));
    SpreadsheetWriter::ReadWorkbook(path, true);
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(path, false),
        (SpreadsheetWriter::Rows { { "Batch Value" }, { "12" }, { "abc" } }));
    EXPECT_FALSE(BatchWizard::workbookWriter(
        testsupport::makeTempFolder(QStringLiteral("x")) + QStringLiteral("/no/dir/v.xlsx"), { "Batch Value" }))
        << "a workbook that cannot be written is reported";

    ui.modalRuns.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("Import_Wizard"));
        return 0;
    });
    EXPECT_EQ(BatchWizard::importWizard(1, 1), 0);
    EXPECT_EQ(Import_Wizard::defaultInstance()->file_name_required, 1);
    BatchWizard::importWizard = nullptr;
    BatchWizard::workbookWriter = nullptr;
}
