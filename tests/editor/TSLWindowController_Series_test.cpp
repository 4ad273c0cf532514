// The ways from the main window into the series windows, as a person takes them: the Series button and its
// menu, the data-source page's view button, and the export notice the manager asks the main window for.
#include "editor/SeriesEditorFixture.h"

#include "data/BatchWizard.h"
#include "data/Generate_List.h"
#include "data/Series_Value_Model.h"
#include "data/View_Data_Series.h"
#include "output/Open_Export_Log.h"

#include "ui_BatchWizard.h"
#include "ui_Generate_List.h"
#include "ui_Open_Export_Files.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using editortest::messageTexts;

class SeriesCommandsTest : public editortest::SeriesEditorTest {
protected:
    QToolButton* seriesButton() const
    {
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        return bar ? qobject_cast<QToolButton*>(bar->widgetForAction(window->Series_btn)) : nullptr;
    }
};

TEST_F(SeriesCommandsTest, SeriesButtonOpensTheManagerWithTheSeriesListed)
{
    writeSeries(QStringLiteral("Guests"), "Anna\n");
    QToolButton* button = seriesButton();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(window->Series_btn->isEnabled());
    QStringList listed;
    ui.modalRuns.push_back([&listed](QDialog& dialog) {
        listed = static_cast<BatchWizard&>(dialog).ListData().rows();
        return 0;
    });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    EXPECT_EQ(ui.dialogsRun, std::vector<QString>({ QStringLiteral("BatchWizard") }));
    EXPECT_EQ(listed, QStringList({ QStringLiteral("Guests") }));
}

TEST_F(SeriesCommandsTest, GenerateFromTheSeriesMenuWritesANewSeries)
{
    ASSERT_NE(window->Series_btn->menu(), nullptr);
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& generator = static_cast<Generate_List&>(dialog);
        generator.form().seq_file_name->setText(QStringLiteral("Seats"));
        generator.form().from_txt->setText(QStringLiteral("1"));
        generator.form().to_txt->setText(QStringLiteral("3"));
        generator.form().buttonBox->button(QDialogButtonBox::Ok)->click();
        return generator.result();
    });
    window->Create_Series_btn->trigger();
    EXPECT_EQ(ui.dialogsRun, std::vector<QString>({ QStringLiteral("Generate_List") }));
    EXPECT_EQ(seriesBytes(QStringLiteral("Seats")), QByteArray("1\n2\n3\n"));
}

TEST_F(SeriesCommandsTest, BoundSeriesIsViewedAndCannotBeDeleted)
{
    writeSeries(QStringLiteral("Guests"), " Anna \nBen\n\n");
    const TSLGraphicPtr item = selectedText();
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Series")));
    window->Batch_Series->setCurrentIndex(window->Batch_Series->findText(QStringLiteral("Guests")));
    EXPECT_EQ(item->batch_list_name, QStringLiteral("Guests"));
    EXPECT_FALSE(window->view_series_btn->isHidden());
    EXPECT_TRUE(window->view_series_btn->isEnabled());

    QStringList shown;
    ui.modalRuns.push_back([&shown](QDialog& dialog) {
        shown = static_cast<View_Data_Series&>(dialog).ListData().rows();
        return 1;
    });
    QTest::mouseClick(window->view_series_btn, Qt::LeftButton);
    EXPECT_EQ(ui.dialogsRun, std::vector<QString>({ QStringLiteral("View_Data_Series") }));
    EXPECT_EQ(shown, QStringList({ QStringLiteral("Anna"), QStringLiteral("Ben") }));

    // The manager refuses to delete the series the text takes its values from.
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& manager = static_cast<BatchWizard&>(dialog);
        manager.List()->selectRow(0);
        manager.form().Delete_List_btn->click();
        return 0;
    });
    window->Batch_Series_Button();
    EXPECT_EQ(messageTexts(ui),
        QStringList({ QStringLiteral("Batch Processing Series can't be delete because it is currently in use.") }));
    EXPECT_EQ(seriesBytes(QStringLiteral("Guests")), QByteArray(" Anna \nBen\n\n"));
}

TEST_F(SeriesCommandsTest, ViewWithoutAChosenSeriesSaysSo)
{
    writeSeries(QStringLiteral("Guests"), "Anna\n");
    selectedText();
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Series")));
    window->Batch_Series->setCurrentIndex(-1);
    QTest::mouseClick(window->view_series_btn, Qt::LeftButton);
    EXPECT_EQ(messageTexts(ui), QStringList({ QStringLiteral("Please select the series.") }));
    EXPECT_TRUE(ui.dialogsRun.empty());
}

TEST_F(SeriesCommandsTest, ExportedValuesGetTheNoticeWhichOpensTheFile)
{
    const QString out = testsupport::makeTempFolder(QStringLiteral("series-export"));
    QStringList opened;
    const auto keptOpener = Open_Export_Log::opener;
    Open_Export_Log::opener = [&opened](const QString& path) { opened << path; };
    QString title, message;
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& manager = static_cast<BatchWizard&>(dialog);
        manager.AddNew_Btn_Clicked();
        manager.Create_Value_List(QStringLiteral("Anna"));
        manager.form().Save_Ext_ComboBox->setCurrentText(QStringLiteral("txt"));
        manager.form().Export_Value_btn->click();
        return 0;
    });
    ui.fileAnswers = { out + QStringLiteral("/names") };
    ui.modalRuns.push_back([&](QDialog& dialog) {
        auto& notice = static_cast<Open_Export_Log&>(dialog);
        title = notice.form()._open_log_chk->text();
        message = notice.form()._open_log_message->text();
        notice.form().buttonBox->button(QDialogButtonBox::Ok)->click();
        return notice.result();
    });
    window->Batch_Series_Button();
    Open_Export_Log::opener = keptOpener;
    EXPECT_EQ(
        ui.dialogsRun, std::vector<QString>({ QStringLiteral("BatchWizard"), QStringLiteral("Open_Export_Files") }));
    EXPECT_EQ(title, QStringLiteral("Open exported file."));
    EXPECT_EQ(message, QStringLiteral("Record has been exported successfully."));
    EXPECT_EQ(opened, QStringList({ out + QStringLiteral("/names.txt") }));
    EXPECT_EQ(window->Export_File_Path, out + QStringLiteral("/names.txt"));
}

TEST_F(SeriesCommandsTest, ANewSeriesCanBeChosenAsSoonAsTheGeneratorCloses)
{
    writeSeries(QStringLiteral("Guests"), "Anna\n");
    const TSLGraphicPtr item = selectedText();
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Series")));
    window->Batch_Series->setCurrentIndex(window->Batch_Series->findText(QStringLiteral("Guests")));
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& generator = static_cast<Generate_List&>(dialog);
        generator.form().seq_file_name->setText(QStringLiteral("Aisles"));
        generator.form().from_txt->setText(QStringLiteral("1"));
        generator.form().to_txt->setText(QStringLiteral("2"));
        generator.form().buttonBox->button(QDialogButtonBox::Ok)->click();
        return generator.result();
    });
    window->Create_Series_btn->trigger();
    EXPECT_EQ(window->Batch_Series->findText(QStringLiteral("Aisles")), 0);
    EXPECT_EQ(window->Batch_Series->currentText(), QStringLiteral("Guests"));
    EXPECT_EQ(item->batch_list_name, QStringLiteral("Guests"));
    EXPECT_EQ(item->Text_Value, QStringLiteral("Anna"));
    // Another copy of the program writes one series and removes another: the list follows at once.
    writeSeries(QStringLiteral("Tables"), "1\n");
    ASSERT_TRUE(QFile::remove(QDir(Data_Folder_Path).filePath(QStringLiteral("Aisles.txt"))));
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Batch_Series->findText(QStringLiteral("Aisles")) < 0; }));
    EXPECT_EQ(window->Batch_Series->findText(QStringLiteral("Tables")), 1);
    EXPECT_EQ(window->Batch_Series->currentText(), QStringLiteral("Guests"));
}
