// Card sizes: the plastic-card and label-stock tables, points and millimetres, the size fields, the
// document and canvas sizes, and the size list of the card page.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/TSLDocument.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QTableWidget>

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

struct InchSize {
    float a;
    float b;
};

// Sides in inches, in the order of the name tables. A is the long side of every plastic card; for the
// label stocks it is the first stated side.
constexpr std::array<InchSize, 7> pvcSizes { { { 3.37f, 2.13f }, { 3.31f, 2.06f }, { 3.62f, 2.38f }, { 3.88f, 2.62f },
    { 3.5f, 1.75f }, { 3.25f, 2.34f }, { 2.88f, 2.12f } } };
constexpr std::array<InchSize, 8> labelSizes { { { 2.36f, 1.58f }, { 2.95f, 1.58f }, { 2.95f, 1.58f }, { 3.54f, 2.13f },
    { 3.54f, 2.36f }, { 2.36f, 3.54f }, { 3.94f, 4.09f }, { 5.91f, 4.96f } } };

const QString sizeKey = QStringLiteral("Extension");

} // namespace

QSizeF TSLWindowController::Get_My_card_Size(const QString& category, const QString& preset, qint32 list_index)
{
    float a = 30, b = 30;
    const bool pvc = category == QLatin1String("PVC Card");
    const std::size_t count = pvc ? pvcSizes.size() : labelSizes.size();
    if (list_index >= 0 && std::size_t(list_index) < count) {
        const InchSize size = pvc ? pvcSizes[std::size_t(list_index)] : labelSizes[std::size_t(list_index)];
        a = size.a;
        b = size.b;
    }
    if (list_index != -1) {
        a = float(double(a) * 25.4);
        b = float(double(b) * 25.4);
    }
    return preset == QLatin1String("V") ? QSizeF(b, a) : QSizeF(a, b);
}

float TSLWindowController::Points_to_MM_Convert(float points)
{
    return ::Points_to_MM_Convert(points);
}

float TSLWindowController::MM_to_Points_Convert(float millimetres)
{
    return ::MM_to_Points_Convert(millimetres);
}

void TSLWindowController::Set_Card_Size_In_Control(const QSizeF& millimetres)
{
    width_Stepper->setValue(double(float(millimetres.width())));
    height_Stepper->setValue(double(float(millimetres.height())));
    // Orientation follows the sides shown (a square card keeps the one chosen).
    if (millimetres.width() != millimetres.height()) {
        const QSignalBlocker quiet(Preset_ComboBox);
        Preset_ComboBox->setCurrentIndex(millimetres.height() > millimetres.width() ? 1 : 0);
    }
}

void TSLWindowController::Set_Document_Size(const QSizeF& points)
{
    // The document answers the size back and keeps nothing: the canvases hold the size that counts.
    TSLDocument::canvasSize(false, points);
}

void TSLWindowController::SetDocumentCanvasSize(const QSizeF& points)
{
    const auto sides = sideViews();
    // Through zero first, so that the views lay out again even when the size did not change.
    for (const auto& side : sides) {
        side.canvas->setCanvasSize(QSizeF(0, 0));
        side.view->setDocumentSize(QSizeF(0, 0));
    }
    Refresh_Canvas();
    for (const auto& side : sides) {
        side.canvas->setCanvasSize(points);
        side.view->setDocumentSize(side.canvas->canvasSize());
    }
    Refresh_Canvas();
}

void TSLWindowController::Create_List(const QString& text)
{
    const QString name = Trim_Str(text);
    if (name.isEmpty())
        return;
    ListData.append({ { sizeKey, name } });
}

void TSLWindowController::Mark_List_New_Selection(qint32 row)
{
    ColList->clearSelection();
    if (row >= 0 && row < ColList->rowCount())
        ColList->selectRow(row);
}

QString TSLWindowController::Get_Item_Text(qint32 row) const
{
    if (row < 0 || row >= ListData.size()) {
        Show_NSLog_Message(QStringLiteral("no card size in row %1").arg(row));
        return QString();
    }
    return ListData[row].value(sizeKey);
}

int TSLWindowController::numberOfRowsInTableView(const QTableWidget* table) const
{
    return table == ColList ? int(ListData.size()) : 0;
}

std::optional<QString> TSLWindowController::tableView_objectValueForTableColumn(
    const QTableWidget* table, const QString& columnIdentifier, int row) const
{
    if (table != ColList || row < 0 || row >= ListData.size())
        return std::nullopt;
    const auto& values = ListData[row];
    const auto found = values.constFind(columnIdentifier);
    return found == values.constEnd() ? std::nullopt : std::optional<QString>(*found);
}

void TSLWindowController::tableView_setObjectValue(
    const QTableWidget* table, const QString& value, const QString& columnIdentifier, int row)
{
    if (table != ColList)
        return;
    try {
        if (row < 0 || row >= ListData.size())
            throw std::invalid_argument(
                "Invalid parameter not satisfying: pRowIndex >= 0 && pRowIndex < [ListData count]");
        ListData[row].insert(columnIdentifier, value);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void TSLWindowController::reloadSizeList()
{
    const QSignalBlocker quiet(ColList);
    const QString identifier = sizeKey;
    ColList->setRowCount(numberOfRowsInTableView(ColList));
    for (int row = 0; row < ColList->rowCount(); ++row) {
        auto* cell
            = new QTableWidgetItem(tableView_objectValueForTableColumn(ColList, identifier, row).value_or(QString()));
        ColList->setItem(row, 0, cell);
    }
}

void TSLWindowController::Category_Changed()
{
    ListData.clear();
    reloadSizeList();
    for (const QString& name : Category_ComboBox->currentIndex() != 0 ? paper_card_arry : pvc_card_arry)
        Create_List(name);
    reloadSizeList();
    markSizeListRowOfCard(-1); // the list shows the card's own size, or none
}

QString TSLWindowController::presetCode() const
{
    return Preset_ComboBox->currentIndex() > 0 ? QStringLiteral("V") : QStringLiteral("H");
}

void TSLWindowController::Card_Size_Row_Clicked(int row)
{
    if (Not_Draw_Only_Prop_Change || row < 0 || row >= ListData.size())
        return;
    // The row chosen is the card's new size, applied as the size fields apply a typed one.
    Set_Card_Size_In_Control(Get_My_card_Size(Category_ComboBox->currentText(), presetCode(), row));
    Apply_Size_Clicked();
}

void TSLWindowController::markSizeListRowOfCard(qint32 storedRow)
{
    // The row stored with the side is shown only while it still names the card's size; otherwise the row
    // of that size, or none for a size of the user's own.
    const QSizeF card = frontCanvasBounds().size();
    const auto matches = [this, &card](int row) {
        const QSizeF size = Get_My_card_Size(Category_ComboBox->currentText(), presetCode(), row);
        return std::abs(MM_to_Points_Convert(float(size.width())) - card.width()) < 1.5
            && std::abs(MM_to_Points_Convert(float(size.height())) - card.height()) < 1.5;
    };
    if (storedRow >= 0 && storedRow < ColList->rowCount() && matches(storedRow)) {
        Mark_List_New_Selection(storedRow);
        return;
    }
    for (int row = 0; row < ColList->rowCount(); ++row) {
        if (matches(row)) {
            Mark_List_New_Selection(row);
            return;
        }
    }
    Mark_List_New_Selection(-1);
}

void TSLWindowController::Preset_Changed()
{
    // The card turns at once, as one step; the fields and the list then show the turned card.
    const QSizeF millimetres = cardSizeInMillimetres();
    const bool upright = presetCode() == QLatin1String("V");
    if (!Not_Draw_Only_Prop_Change && millimetres.width() != millimetres.height()
        && (millimetres.height() > millimetres.width()) != upright) {
        Set_Card_Size_In_Control(millimetres.transposed());
        Apply_Size_Clicked();
    }
    if (Category_ComboBox->currentIndex() >= 0)
        Category_Changed();
}
