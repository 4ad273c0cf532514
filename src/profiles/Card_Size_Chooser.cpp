#include "profiles/Card_Size_Chooser.h"

#include "common/Common_Functions.h"
#include "profiles/Invitation_Wizard_Host.h"

#include "ui_Card_Size_Chooser.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QTableWidget>

#include <cmath>

Card_Size_Chooser::Card_Size_Chooser(QWidget* parent)
    : QWidget(parent)
    , ui_(std::make_unique<Ui::Card_Size_Chooser>())
{
    ui_->setupUi(this);
    // The list's one column is known by the identifier its rows are stored under.
    ui_->ColList->horizontalHeaderItem(0)->setData(Qt::UserRole, QStringLiteral("Extension"));
    connect(
        ui_->Category_ComboBox, &QComboBox::currentIndexChanged, this, &Card_Size_Chooser::comboBoxSelectionDidChange);
    connect(
        ui_->Preset_ComboBox, &QComboBox::currentIndexChanged, this, &Card_Size_Chooser::tableViewSelectionDidChange);
    connect(ui_->ColList, &QTableWidget::itemSelectionChanged, this, &Card_Size_Chooser::tableViewSelectionDidChange);
    connect(ui_->ColList, &QTableWidget::itemChanged, this, &Card_Size_Chooser::sizeNameEdited);
    // A click on the highlighted row changes no selection, yet it chooses that size all the same.
    connect(ui_->ColList, &QTableWidget::cellClicked, this, [this] {
        tableViewSelectionDidChange();
        emit rowChosen();
    });
}

Card_Size_Chooser::~Card_Size_Chooser() = default;

void Card_Size_Chooser::reset()
{
    {
        const QSignalBlocker quietPreset(ui_->Preset_ComboBox);
        ui_->Preset_ComboBox->setCurrentIndex(0);
        const QSignalBlocker quietCategory(ui_->Category_ComboBox);
        ui_->Category_ComboBox->setCurrentIndex(0);
    }
    comboBoxSelectionDidChange();
}

void Card_Size_Chooser::comboBoxSelectionDidChange()
{
    ListData.clear();
    if (host_) {
        const bool plastic = ui_->Category_ComboBox->currentIndex() == 0;
        for (const QString& name : plastic ? host_->plasticCardSizeNames() : host_->labelSizeNames())
            Create_List(name);
    }
    showNames();
    if (ui_->ColList->rowCount() > 0) {
        const QSignalBlocker quiet(ui_->ColList);
        ui_->ColList->selectRow(0);
    }
    tableViewSelectionDidChange();
}

void Card_Size_Chooser::Create_List(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (!trimmed.isEmpty())
        ListData.append(trimmed);
}

void Card_Size_Chooser::showNames()
{
    const QSignalBlocker quiet(ui_->ColList);
    ui_->ColList->setRowCount(0);
    ui_->ColList->setRowCount(int(ListData.size()));
    for (int row = 0; row < ListData.size(); ++row)
        ui_->ColList->setItem(row, 0, new QTableWidgetItem(ListData[row]));
}

void Card_Size_Chooser::tableViewSelectionDidChange()
{
    const QList<QTableWidgetItem*> selected = ui_->ColList->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    const QString preset = ui_->Preset_ComboBox->currentText() == QLatin1String("Horizontal") ? QStringLiteral("H")
                                                                                              : QStringLiteral("V");
    const QSizeF size = host_ ? host_->cardSizeOf(ui_->Category_ComboBox->currentText(), preset, row) : QSizeF(30, 30);
    ui_->width_Stepper->setValue(size.width());
    ui_->height_Stepper->setValue(size.height());
}

void Card_Size_Chooser::showSize(const QSizeF& millimetres)
{
    // Orientation follows the sides (a square card keeps the one chosen).
    if (millimetres.width() != millimetres.height()) {
        const QSignalBlocker quietPreset(ui_->Preset_ComboBox);
        ui_->Preset_ComboBox->setCurrentIndex(millimetres.height() > millimetres.width() ? 1 : 0);
    }
    const QString preset = ui_->Preset_ComboBox->currentText() == QLatin1String("Horizontal") ? QStringLiteral("H")
                                                                                              : QStringLiteral("V");
    const QSignalBlocker quiet(ui_->ColList);
    ui_->ColList->clearSelection();
    for (int row = 0; host_ && row < ui_->ColList->rowCount(); ++row) {
        const QSizeF size = host_->cardSizeOf(ui_->Category_ComboBox->currentText(), preset, row);
        if (std::abs(size.width() - millimetres.width()) < 0.05
            && std::abs(size.height() - millimetres.height()) < 0.05) {
            ui_->ColList->selectRow(row);
            break;
        }
    }
    ui_->width_Stepper->setValue(millimetres.width());
    ui_->height_Stepper->setValue(millimetres.height());
}

bool Card_Size_Chooser::tableView_setObjectValue(const QString& value, int row)
{
    if (row < 0 || row >= ListData.size()) {
        Show_NSLog_Message(window()->objectName()
            + QStringLiteral(": Invalid parameter not satisfying: pRowIndex >= 0 && pRowIndex < [ListData count]"));
        return false;
    }
    const QString name = Trim_Str(value);
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a name for the size."));
        return false;
    }
    const qsizetype taken = ListData.indexOf(name);
    if (taken >= 0 && taken != row) {
        Show_MessageBox(QStringLiteral("\"%1\" already names another size.").arg(name));
        return false;
    }
    ListData[row] = name;
    return true;
}

void Card_Size_Chooser::sizeNameEdited(QTableWidgetItem* item)
{
    const int row = item->row();
    const QString typed = item->text();
    if (row < 0 || row >= ListData.size())
        return;
    // The list shows what is stored: the old name is back before a refusal is explained, and the trimmed
    // new name replaces it once it is taken.
    showName(*item, ListData[row]);
    if (tableView_setObjectValue(typed, row))
        showName(*item, ListData[row]);
}

void Card_Size_Chooser::showName(QTableWidgetItem& item, const QString& name)
{
    const QSignalBlocker quiet(ui_->ColList);
    item.setText(name);
}
