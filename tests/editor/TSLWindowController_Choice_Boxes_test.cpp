// Binding an item to a series or spreadsheet column through the data-source page shows the source's first
// value in the item, and the small services answer as the series windows rely on.
#include "editor/SeriesEditorFixture.h"

#include "model/TSLTextStorage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

using editortest::messageTexts;

using ChoiceBoxesTest = editortest::SeriesEditorTest;

TEST_F(ChoiceBoxesTest, BindingATextToASeriesShowsItsFirstLine)
{
    writeSeries(QStringLiteral("Guests"), "Anna\nBen\nCleo\n");
    writeSeries(QStringLiteral("Tables"), "Table 7\nTable 9\n");
    const TSLGraphicPtr item = selectedText(QStringLiteral("typed"));
    item->batch_list_name = QStringLiteral("Tables");

    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Series")));
    EXPECT_EQ(item->data_source_type, 1);
    EXPECT_EQ(window->Batch_Series->count(), 2);
    EXPECT_EQ(window->Batch_Series->currentText(), QStringLiteral("Tables")); // the item's own series
    EXPECT_TRUE(window->Text_value_Edit->isReadOnly());

    window->Batch_Series->setCurrentIndex(window->Batch_Series->findText(QStringLiteral("Guests")));
    EXPECT_EQ(item->batch_list_name, QStringLiteral("Guests"));
    EXPECT_EQ(item->batch_list_index, window->Batch_Series->findText(QStringLiteral("Guests")));
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Anna"));
    EXPECT_EQ(window->Text_value_Edit->toPlainText(), QStringLiteral("Anna"));

    // Back to manual: the text stays and can be typed again.
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Manual")));
    EXPECT_EQ(item->data_source_type, 0);
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Anna"));
    EXPECT_FALSE(window->Text_value_Edit->isReadOnly());
    EXPECT_TRUE(messageTexts(ui).isEmpty());
}

TEST_F(ChoiceBoxesTest, SeriesWithoutAnySeriesFileAsksToCreateOne)
{
    const TSLGraphicPtr item = selectedText(QStringLiteral("typed"));
    window->Data_source_type->setCurrentIndex(window->Data_source_type->findText(QStringLiteral("Series")));
    EXPECT_EQ(messageTexts(ui), QStringList { QStringLiteral("Please create batch processing series first.") });
    EXPECT_EQ(item->data_source_type, 0);
    EXPECT_EQ(window->Batch_Series->count(), 0);
}

TEST_F(ChoiceBoxesTest, SeriesInUseOnlyWhileItsFileExistsAndTheBackCountsOnlyForTwoSides)
{
    const TSLGraphicPtr back = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    back->data_source_type = 1;
    back->batch_list_name = QStringLiteral("List");
    addItem(back, TSLDocumentGraphicsKey_back);
    EXPECT_FALSE(window->Check_Batch_File_In_Use_Validation(QStringLiteral("List")));
    writeSeries(QStringLiteral("List"), "1\n");
    CARD_SIDE_STR = QStringLiteral("2");
    EXPECT_TRUE(window->Check_Batch_File_In_Use_Validation(QStringLiteral("List")));
    CARD_SIDE_STR = QStringLiteral("1");
    EXPECT_FALSE(window->Check_Batch_File_In_Use_Validation(QStringLiteral("List")));
    EXPECT_EQ(TSLWindowController::Get_First_Value_Of_Dataset(QStringLiteral("Missing")), QString());

    EXPECT_EQ(TSLWindowController::Check_And_Validate_File_Path(QStringLiteral("   ")), 1);
    EXPECT_EQ(TSLWindowController::Check_And_Validate_File_Path(Data_Folder_Path), 0);
    EXPECT_EQ(messageTexts(ui), QStringList { QStringLiteral("Please select valid file path.") });

    // The spreadsheet's temporary folder is this run's own, never a fixed shared name.
    const QString temp = TSLWindowController::Excel_File_Temp_Folder();
    EXPECT_NE(temp, QDir::temp().filePath(QStringLiteral("ziptmp")));
    ASSERT_TRUE(QDir().mkpath(temp));
    TSLWindowController::Delete_Excel_File_Temp_Folder();
    EXPECT_FALSE(QDir(temp).exists());
}
