// The card holder's profile placed on a side as text and photo items tagged with fixed control IDs, so that
// the next fill finds and refills them instead of adding more.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/PictureSource.h"

#include <QComboBox>

#include <array>
#include <exception>

namespace {

// Where a new profile item goes, one frame per field in the record's order, for a landscape and for a
// portrait card of about credit-card size, in canvas points.
struct TemplateFrames {
    QRectF landscape;
    QRectF portrait;
};
const std::array<TemplateFrames, User_Profile_Class::fieldCount> templateFrames = { {
    { { 12, 12, 150, 20 }, { 12, 96, 130, 20 } }, // Fup_Name
    { { 12, 32, 150, 16 }, { 12, 116, 130, 16 } }, // Fup_Title
    { { 12, 52, 150, 18 }, { 12, 134, 130, 18 } }, // Fup_Company
    { { 12, 70, 150, 14 }, { 12, 152, 130, 14 } }, // Fup_CompanySlogan
    { { 12, 86, 150, 24 }, { 12, 168, 130, 24 } }, // Fup_Address
    { { 12, 112, 110, 14 }, { 12, 194, 130, 14 } }, // Fup_PhoneNO
    { { 12, 126, 110, 14 }, { 12, 208, 130, 14 } }, // Fup_FaxNo
    { { 126, 112, 110, 14 }, { 12, 222, 130, 14 } }, // Fup_EmailID
    { { 126, 126, 110, 14 }, { 12, 236, 130, 14 } }, // Fup_Website
    { { 170, 90, 66, 14 }, { 12, 78, 130, 14 } }, // Fup_UniqueNo
    { { 170, 12, 66, 76 }, { 45, 8, 64, 66 } }, // Fup_Photo
} };

} // namespace

QRectF TSLWindowController::Get_Control_Rect_From_Template(const QString& controlID) const
{
    const QSizeF card = Front_card_Prop.Card_Size();
    const bool landscape = card.width() >= card.height();
    const auto& table = User_Profile_Class::fieldTable();
    for (int i = 0; i < User_Profile_Class::fieldCount; ++i) {
        if (controlID == QLatin1String(table[i].controlID))
            return landscape ? templateFrames[i].landscape : templateFrames[i].portrait;
    }
    return QRectF();
}

namespace {

// The photo keeps its proportions: as large as fits the template's frame, centred in it. A file without a
// picture keeps the frame.
QRectF photoFrame(const QRectF& frame, const QString& path)
{
    const QSizeF picture = PictureSource::forFile(path).pixelSize();
    if (picture.isEmpty() || frame.isEmpty())
        return frame;
    const QSizeF fitted = picture.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(fitted.width(), fitted.height()) / 2.0, fitted);
}

// One run of the profile fill on one canvas. The preview canvas fills whatever record it is given;
// the front and back ones first offer the spreadsheet choice and act only once a profile was confirmed.
void fillProfile(TSLWindowController& window, User_Profile_Class& record, TSLGraphicView* canvas, bool gated)
{
    if (gated) {
        if (Excel_Binding_Use)
            window.Add_Excel_Col_Name_In_Combo(window.Data_source_type);
        else
            window.Remove_Excel_Col_Name_In_Combo(window.Data_source_type);
        if (!Fill_User_Profile)
            return;
    }
    try {
        canvas->Hide_all_Text_control_FUP_Control();
        window.setSelected_Control_Tool(2);
        const auto& table = User_Profile_Class::fieldTable();
        auto fields = record.fields();
        for (int i = 0; i < User_Profile_Class::fieldCount; ++i) {
            User_Profile_Class::Field& field = fields[i];
            if (field.value.isEmpty())
                continue;
            const QString controlID = field.id.isEmpty() ? QString::fromLatin1(table[i].controlID) : field.id;
            const bool place = !canvas->Selcect_Ctrl_With_ID(controlID);
            QRectF frame = place ? window.Get_Control_Rect_From_Template(controlID) : QRectF();
            QString graphicClass = QStringLiteral("TSLText");
            if (i == User_Profile_Class::fieldCount - 1) {
                window.setSelected_Control_Tool(8);
                Library_Selected_Image = field.value;
                graphicClass = QStringLiteral("TSLImage");
                frame = photoFrame(frame, field.value);
            }
            canvas->ReplaceGraphicText(graphicClass, place, frame, QStringLiteral("F"), field.value, controlID);
            const TSLGraphicPtr item = canvas->Selected_Graphic();
            if (!item)
                continue;
            if (field.ds) {
                item->Set_Data_source_type(1);
                item->Set_Batch_List_Name(field.ds_name);
                item->Set_Batch_List_Index(field.ds_indx);
                item->Set_Excel_binding(false);
            }
            if (field.xl) {
                item->Set_Data_source_type(2);
                item->Set_Excel_binding(true);
                item->Set_Excel_binding_Index(field.xl_col_indx);
            }
        }
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

} // namespace

void TSLWindowController::Fill_User_profile_info_front_side()
{
    fillProfile(*this, Front_user_profile, _graphicView, true);
}

void TSLWindowController::Fill_User_profile_info_back_side()
{
    fillProfile(*this, Back_user_profile, _graphicView_BACK, true);
}

void TSLWindowController::Fill_User_profile_info_TEMP_side()
{
    fillProfile(*this, TEMP_user_profile, _graphicView_TEMP, false);
}

void TSLWindowController::Fill_User_profile_Details()
{
    Fill_User_profile_info_front_side();
    Fill_User_profile_info_back_side();
}
