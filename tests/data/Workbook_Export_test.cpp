// The series manager's workbook export through the spreadsheet writer: the values arrive in the workbook,
// and a workbook that cannot be written is reported instead of a success notice.
#include "data/BatchWizard.h"

#include "SpreadsheetWindowTestSupport.h"
#include "data/Import_Wizard.h"
#include "data/Spreadsheet_Globals.h"
#include "ui_BatchWizard.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>

using sheetwindowtest::SpreadsheetWindowTest;

TEST_F(SpreadsheetWindowTest, SeriesManagerExportsAWorkbookOrSaysItCouldNot)
{
    Import_Wizard::registerWithSeriesManager();
    BatchWizard* manager = BatchWizard::defaultInstance();
    ui.modalRuns.push_back([](QDialog& dialog) {
        dialog.show();
        return 0;
    });
    manager->Open_Wnd();
    manager->show();
    manager->AddNew_Btn_Clicked();
    manager->Create_Value_Lists({ "12", "Zoë", "1,5" });
    manager->form().Save_Ext_ComboBox->setCurrentText(QStringLiteral("xlsx"));
    const QString out = testsupport::makeTempFolder(QStringLiteral("export"));
    ui.fileAnswers = { out + QStringLiteral("/values.xlsx") };
    ui.messages.clear();
    click(manager->form().Export_Value_btn);
    EXPECT_TRUE(texts().empty());
    ASSERT_EQ(host.notices.size(), 1u);
    Excel_Sheet_Number = 1; // whatever sheet a test before read
    SpreadsheetWriter::ReadWorkbook(out + QStringLiteral("/values.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(QString(), false),
        (SpreadsheetWriter::Rows { { "Batch Value" }, { "12" }, { QString::fromUtf8("Zoë") }, { "1,5" } }));

    QDir(out).mkdir(QStringLiteral("blocked.xlsx"));
    ui.fileAnswers = { out + QStringLiteral("/blocked.xlsx") };
    click(manager->form().Export_Value_btn);
    EXPECT_EQ(texts(),
        std::vector<QString> { QStringLiteral("Error in file accessing.\n\nThe workbook %1/blocked.xlsx cannot be written: "
                                              "Filename refers to a directory")
                                   .arg(out) });
    EXPECT_EQ(host.notices.size(), 1u);
    manager->hide();
    BatchWizard::importWizard = nullptr;
    BatchWizard::workbookWriter = nullptr;
}
