// Labels that show a workbook's path, a series' or font's name from a file, or a mail server's answer show
// its characters: markup in them is never drawn as a link.
#include "editor/EditorWindowTestSupport.h"

#include "barcode/Barcode_Dialog.h"
#include "common/PleaseWait_Modeless.h"
#include "data/Import_Excel.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/View_Data_Series.h"
#include "output/Email_Setting.h"
#include "output/Open_Export_Log.h"
#include "output/Send_Modeless.h"

#include <QLabel>

using PlainLabels = editortest::EditorWindowTest;

TEST_F(PlainLabels, LabelsOfNamesFromOutsideShowTheirCharacters)
{
    Send_Modeless sending;
    QWidget *mail = &Email_Setting::defaultInstance(), *exported = &Open_Export_Log::defaultInstance(),
            *barcode = Barcode_Dialog::defaultInstance();
    const std::pair<QWidget*, const char*> rows[] = { { Import_Excel::defaultInstance(), "file_path" },
        { Import_Excel_DataSheet::defaultInstance(), "file_path" },
        { View_Data_Series::defaultInstance(), "series_name" }, { exported, "_open_log_path" },
        { exported, "_open_log_message" }, { mail, "_send_mail_test_mail" }, { mail, "_send_mail_result_status" },
        { window.get(), "Text_font_value" }, { window.get(), "All_Text_font_value" }, { barcode, "value_font_value" },
        { barcode, "header_font_value" }, { barcode, "footer_font_value" },
        { PleaseWait_Modeless::defaultInstance(), "modeless_msg_lbl" }, { &sending, "waiting_label" } };
    for (const auto& [shownIn, name] : rows) {
        const auto* label = shownIn->findChild<QLabel*>(QLatin1String(name));
        EXPECT_TRUE(label && label->textFormat() == Qt::PlainText) << name;
    }
}
