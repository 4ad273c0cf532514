// One card per record: which sources the design uses, the snapshot the batch path works from, the batch
// export with its progress sheet, and the first record put back on the canvas.
#include "editor/TSLWindowController.h"

#include "barcode/Barcode_Gen.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "data/Series_File.h"
#include "editor/Editor_Globals.h"
#include "editor/Editor_Print_Host.h"
#include "output/Batch_Export_Run.h"
#include "output/Batch_Snapshot.h"
#include "output/Record_Fill.h"
#include "output/Send_Modeless.h"

#include <QFileInfo>

namespace {

bool isTwoSided()
{
    return CARD_SIDE_STR == QLatin1String("2");
}

} // namespace

void TSLWindowController::Check_Series_Or_Excel_Use_or_not()
{
    Reread_Changed_Workbook(); // a run never works from data older than the workbook
    batchSource_ = Record_Source();
    const TSLGraphicList& front = Get_Front_Controls_Array();
    const TSLGraphicList& back = Get_Back_Controls_Array();
    auto uses = [&](int code) {
        return Record_Fill::sideUses(front, code) || (isTwoSided() && Record_Fill::sideUses(back, code));
    };
    // Every bound series is read once here, by its name: the run never reads a file per record.
    auto loadSeriesOf = [this](const TSLGraphicList& items) {
        for (const TSLGraphicPtr& item : items) {
            if (!item || !Record_Fill::takesData(*item) || item->data_source_type != 1
                || batchSource_.series.contains(item->batch_list_name))
                continue;
            QString reason;
            if (const std::optional<QStringList> values = Series_File::readBatch(item->batch_list_name, &reason))
                batchSource_.series.insert(item->batch_list_name, *values);
            else if (QFileInfo::exists(Series_File::path(item->batch_list_name))) // one that is there says why
                Show_MessageBox(QStringLiteral("The series \"%1\" cannot be used, so its items stay empty: %2")
                                    .arg(item->batch_list_name, reason));
            else
                Show_NSLog_Message(
                    QStringLiteral("Series \"%1\" cannot be read: its items stay empty").arg(item->batch_list_name));
        }
    };
    Use_Data_Sheet_Values = uses(1);
    if (Use_Data_Sheet_Values) {
        loadSeriesOf(front);
        if (isTwoSided())
            loadSeriesOf(back);
    }
    Use_Excel_Binding_Values = uses(2) && bindingTable.rowCount() > 0;
    batchSource_.rows = bindingTable.ListData();
    batchSource_.titles = bindingTable.shownTitles();
    batchSource_.recordsNote = bindingTable.recordsNote();
    batchSource_.sheetRows = bindingTable.sheetRows();
    Get_total_Card_count();
    if (Use_Data_Sheet_Values && batchSource_.seriesRows() == 0) {
        Use_Data_Sheet_Values = false;
        Get_total_Card_count();
    }
}

void TSLWindowController::Get_total_Card_count()
{
    batchSource_.useSeries = Use_Data_Sheet_Values;
    batchSource_.useSpreadsheet = Use_Excel_Binding_Values;
    Total_Batch_Excel_Card = batchSource_.recordCount();
}

std::shared_ptr<const Batch_Snapshot> TSLWindowController::Take_Batch_Snapshot() const
{
    auto sideOf = [this](int frontOrBack) {
        Batch_Snapshot::Side side;
        side.items = frontOrBack ? Get_Back_Controls_Array() : Get_Front_Controls_Array();
        side.rendering.property = frontOrBack ? Back_card_Prop : Front_card_Prop;
        side.rendering.frontOrBack = frontOrBack;
        side.rendering.cardShape = Card_Shape;
        side.rendering.canvasBounds = frontCanvasBounds();
        return side;
    };
    return Batch_Snapshot::take(sideOf(0), sideOf(1), isTwoSided(), batchSource_, Barcode_Settings());
}

QImage TSLWindowController::Set_data_table_value_to_card(int record, const QString& card_side, bool print_box)
{
    const std::shared_ptr<const Batch_Snapshot> snapshot = Take_Batch_Snapshot();
    const TSLGraphicList items = snapshot->filledItems(record, card_side);
    return TSLRenderingView::image_From_Card_Graphics(items, print_box, snapshot->side(card_side).rendering);
}

void TSLWindowController::Select_first_row_value_for_design(bool /*print_box*/)
{
    // The canvas shows the first record: its values go into the front's own items, here on the GUI thread.
    Barcode_Gen settings = Barcode_Settings();
    Record_Fill_Log log;
    Record_Fill::Assign_Batch_Values_To_Control(Get_Front_Controls_Array(), 0, batchSource_, settings, &log);
    Card_Value_In_Process = false;
    Refresh_Canvas();
}

void TSLWindowController::Show_First_Spreadsheet_Record()
{
    Record_Source first;
    first.useSpreadsheet = true;
    first.rows = bindingTable.ListData();
    first.titles = bindingTable.shownTitles();
    Barcode_Gen settings = Barcode_Settings();
    for (const TSLGraphicList& items : { Get_Front_Controls_Array(), Get_Back_Controls_Array() }) {
        for (const TSLGraphicPtr& item : items) {
            if (!Record_Fill::takesData(*item))
                continue;
            if (const std::optional<QString> value = Record_Fill::valueFor(*item, 0, first, nullptr))
                Record_Fill::assignValue(*item, *value, settings);
        }
    }
    Refresh_Canvas();
    // A window open on the design (print, export) runs on the data the canvas now shows, with the sources it
    // was opened with.
    batchSource_.rows = first.rows;
    batchSource_.titles = first.titles;
    batchSource_.recordsNote = bindingTable.recordsNote();
    batchSource_.sheetRows = bindingTable.sheetRows();
    Get_total_Card_count();
    emit batchRecordsChanged();
}

Batch_Export_Result TSLWindowController::Export_Batch_File(const QString& folder)
{
    if (!send_modls_wnd)
        send_modls_wnd = new Send_Modeless(this);
    Editor_Print_Host host(*this);
    Batch_Export_Run run(host, *send_modls_wnd);
    const Batch_Export_Result result = run.run(folder);
    if (!run.noticeMessage().isEmpty()) {
        Export_File_Path = run.noticePath();
        Export_File_Message = run.noticeMessage();
    }
    return result;
}
