// The one handler the main window's choice boxes report to, and small path and listing services.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "data/Series_Import_Sources.h"
#include "data/SpreadsheetWriter.h"
#include "common/Globals.h"
#include "data/Series_File.h"
#include "editor/Editor_Globals.h"
#include "editor/Inspector_Codes.h"
#include "model/TSLImage.h"
#include "model/TSLTextStorage.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QFileInfo>
#include <QToolButton>
#include <QUrl>

void TSLWindowController::comboBoxSelectionDidChange(QComboBox* box)
{
    if (box == Data_source_type) {
        Data_Source_Changed();
    } else if (box == Batch_Series) {
        Batch_Series_Changed();
    } else if (box == Sides_ComboBox) {
        const bool twoSided = Sides_ComboBox->currentIndex() == 0;
        CARD_SIDE_STR = twoSided ? QStringLiteral("2") : QStringLiteral("1");
        Back_Side_btn->setEnabled(twoSided);
        Update_Card_Graphics(CardField::Sides);
    } else if (box == Preset_ComboBox) {
        Preset_Changed();
    } else if (box == Category_ComboBox) {
        Category_Changed();
    } else if (box == Line_border_style) {
        Update_Line_Graphics(QStringLiteral("_stroke_border_type"));
    } else if (box == Line_ori_style) {
        Line_Direction_Changed();
    } else if (box == Line_cap_style) {
        Update_Line_Graphics(QStringLiteral("_line_cap_style"));
    } else if (box == Text_border_style) {
        Update_Text_Graphics(QStringLiteral("_stroke_border_type"));
    } else if (box == Text_align_combo) {
        Update_Text_Graphics(QStringLiteral("text_alignmnet"));
    } else if (box == Text_case_combo) {
        Update_Text_Graphics(QStringLiteral("text_transfrom_case"));
    } else if (box == shape_border_style) {
        Update_Shape_Graphics(QStringLiteral("_stroke_border_type"));
    } else if (box == shape_hatch_style) {
        Update_Shape_Graphics(QStringLiteral("_fill_hatch_type"));
    }
}

QStringList TSLWindowController::Get_Files_Array_At_Path(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir())
        return {};
    QStringList names;
    const QFileInfoList entries
        = QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        names << (dot > 0 ? name.left(dot) : name);
    }
    return names;
}

QString TSLWindowController::Convert_Path_From_URL(const QUrl& url)
{
    return url.toLocalFile();
}

void TSLWindowController::Add_Excel_Col_Name_In_Combo(QComboBox* box)
{
    if (box && box->count() == 2)
        box->addItem(QStringLiteral("Excel"));
}

void TSLWindowController::Remove_Excel_Col_Name_In_Combo(QComboBox* box)
{
    if (!box || box->count() != 3)
        return;
    const int excel = box->findText(QStringLiteral("Excel"));
    if (excel >= 0)
        box->removeItem(excel);
}

namespace {

bool takesData(const TSLGraphic& item)
{
    const QString name = item.className();
    return name == QLatin1String("TSLText") || name == QLatin1String("TSLImage") || name == QLatin1String("TSLBarcode");
}

} // namespace

void TSLWindowController::Data_Source_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const QString value = Data_source_type->currentText();
    TSLGraphicView* canvas = currentGraphicView();
    const TSLGraphicPtr item = canvas ? canvas->Selected_Graphic() : nullptr;
    const bool manual = value == QLatin1String("Manual");
    view_series_btn->setEnabled(!manual);
    Batch_Series->setEnabled(!manual);
    // The text box is the text page's; the greeting-text button beside it stays off until its picker exists.
    Text_value_Edit->setReadOnly(!manual);
    SetObjEnabled(manual_brws_box, manual);
    if (manual) {
        if (item)
            item->setValueForKey(QStringLiteral("data_source_type"), 0);
        return;
    }

    // Filling the list must not bind anything: the list reports its own changes to the dispatcher.
    const bool wasMuted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    Batch_Series->clear();
    Batch_Series->setEditText(QString());
    if (value == QLatin1String("Series")) {
        const QStringList series = Get_datasheet_File_Name_Array();
        Batch_Series->addItems(series);
        Batch_Series->setCurrentIndex(-1);
        if (series.isEmpty()) {
            // Nothing to bind to: the item keeps its source, and the page shows it again.
            if (item && item->data_source_type >= 0 && item->data_source_type < Data_source_type->count())
                Data_source_type->setCurrentIndex(item->data_source_type);
            Not_Draw_Only_Prop_Change = wasMuted;
            Show_MessageBox(QStringLiteral("Please create batch processing series first."));
            const bool stillManual = !item || item->data_source_type == 0;
            Text_value_Edit->setReadOnly(!stillManual);
            view_series_btn->setEnabled(!stillManual);
            Batch_Series->setEnabled(!stillManual);
            SetObjEnabled(manual_brws_box, stillManual);
            return;
        }
        if (item && !item->batch_list_name.isEmpty())
            Batch_Series->setCurrentIndex(Batch_Series->findText(item->batch_list_name));
        Not_Draw_Only_Prop_Change = wasMuted;
        if (item)
            item->setValueForKey(QStringLiteral("data_source_type"), 1);
    } else {
        Fill_Excel_Col_Name_In_Combo(Batch_Series);
        if (item)
            Batch_Series->setCurrentIndex(item->excel_col_indx);
        Not_Draw_Only_Prop_Change = wasMuted;
        if (item)
            item->setValueForKey(QStringLiteral("data_source_type"), 2);
    }
}

void TSLWindowController::showItemBinding(const TSLGraphic& item)
{
    const Inspector_Fill_Mute mute;
    const int source
        = item.data_source_type >= 0 && item.data_source_type < Data_source_type->count() ? item.data_source_type : 0;
    Data_source_type->setCurrentIndex(source);
    Batch_Series->clear();
    Batch_Series->setEditText(QString());
    if (source == 1) {
        Batch_Series->addItems(Get_datasheet_File_Name_Array());
        Batch_Series->setCurrentIndex(Batch_Series->findText(item.batch_list_name));
        // A series whose file has gone is still the item's binding: its name is shown.
        if (Batch_Series->currentIndex() < 0)
            Batch_Series->setEditText(item.batch_list_name);
    } else if (source == 2) {
        Fill_Excel_Col_Name_In_Combo(Batch_Series);
        Batch_Series->setCurrentIndex(item.excel_col_indx < Batch_Series->count() ? item.excel_col_indx : -1);
    }
    const bool manual = source == 0;
    Batch_Series->setEnabled(!manual);
    if (view_series_btn)
        view_series_btn->setEnabled(!manual);
    Text_value_Edit->setReadOnly(!manual);
    SetObjEnabled(manual_brws_box, manual);
}

void TSLWindowController::Batch_Series_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const QString type = Data_source_type->currentText();
    const QString name = Trim_Str(Batch_Series->currentText());
    const int index = Batch_Series->currentIndex();
    TSLGraphicView* canvas = currentGraphicView();
    const TSLGraphicPtr item = canvas ? canvas->Selected_Graphic() : nullptr;
    if (name.isEmpty() || !item)
        return;

    QString value;
    if (type == QLatin1String("Series")) {
        // Through the observed keys, so choosing a source is undoable.
        item->setValueForKey(QStringLiteral("data_source_type"), 1);
        item->setValueForKey(QStringLiteral("batch_list_name"), name);
        item->setValueForKey(QStringLiteral("batch_list_index"), index);
        value = Get_First_Value_Of_Dataset(name);
    } else if (type == QLatin1String("Excel")) {
        item->setValueForKey(QStringLiteral("data_source_type"), 2);
        item->setValueForKey(QStringLiteral("excel_col_indx"), index);
        value = Get_First_Value_Of_Excel_Binding(index);
    }

    if (item->className() == QLatin1String("TSLText")) {
        item->Text_Value = value;
        item->Text_contents().string = value;
        // The item holds the value already: showing it must not write the whole text page back.
        const QSignalBlocker quiet(Text_value_Edit);
        Text_value_Edit->setPlainText(value);
    } else if (auto picture = std::dynamic_pointer_cast<TSLImage>(item);
               picture && item->className() == QLatin1String("TSLImage")) {
        picture->setFilePath(value);
        Manual_image_path->setText(value);
    }
    Refresh_Canvas();
    canvas->update();
}

QStringList TSLWindowController::Get_datasheet_File_Name_Array()
{
    return Series_File::names();
}

bool TSLWindowController::Check_Batch_File_In_Use_Validation(const QString& name) const
{
    if (!Series_File::exists(name))
        return false;
    auto uses = [&name](const TSLGraphicList& items) {
        for (const TSLGraphicPtr& item : items) {
            if (takesData(*item) && item->data_source_type == 1 && item->batch_list_name == name)
                return true;
        }
        return false;
    };
    if (uses(Get_Front_Controls_Array()))
        return true;
    return CARD_SIDE_STR == QLatin1String("2") && uses(Get_Back_Controls_Array());
}

QString TSLWindowController::Get_First_Value_Of_Dataset(const QString& name)
{
    return Series_File::firstValue(name);
}

QString TSLWindowController::Get_First_Value_Of_Excel_Binding(int column) const
{
    if (bindingTable.rowCount() == 0)
        return QString();
    return bindingTable.ListData().first().value(Spreadsheet_Binding_Table::keyOfColumn(column));
}

void TSLWindowController::Fill_Excel_Col_Name_In_Combo(QComboBox* box)
{
    box->setCurrentIndex(-1);
    box->clear();
    // A title the sheet read last lacks stays listed, as its items stay bound to it, and says so.
    box->addItems(bindingTable.listedTitles());
}

namespace {

// The formats offered are the usual date-pattern letters, where "a" is the AM/PM marker in capitals;
// Qt writes "a" in small letters and wants "AP" for capitals. Quoted text passes through untouched.
QString qtDateTimeFormat(const QString& pattern)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('a')) {
            result += c;
            continue;
        }
        while (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char('a'))
            ++i;
        result += QLatin1String("AP");
    }
    return result;
}

} // namespace

QString TSLWindowController::Get_date_Value(const QString& format)
{
    return QLocale().toString(QDateTime::currentDateTime(), qtDateTimeFormat(format));
}

QString TSLWindowController::Get_time_Value(const QString& format)
{
    return Get_date_Value(format);
}

int TSLWindowController::Check_And_Validate_File_Path(const QString& path)
{
    return Validate_Import_Path(path) ? 0 : 1;
}

QString TSLWindowController::Excel_File_Temp_Folder()
{
    return SpreadsheetWriter::scratchFolder();
}

void TSLWindowController::Delete_Excel_File_Temp_Folder()
{
    SpreadsheetWriter::removeScratchFolder();
}
