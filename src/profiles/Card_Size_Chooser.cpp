#include "profiles/Card_Size_Chooser.h"

#include "common/Common_Functions.h"
#include "profiles/Invitation_Wizard_Host.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

Card_Size_Chooser::Card_Size_Chooser(QWidget* parent)
    : QWidget(parent)
{
    Category_ComboBox = new QComboBox(this);
    Category_ComboBox->setObjectName(QStringLiteral("Category_ComboBox"));
    Category_ComboBox->addItems({ QStringLiteral("PVC Card"), QStringLiteral("Name Badge Label") });
    Preset_ComboBox = new QComboBox(this);
    Preset_ComboBox->setObjectName(QStringLiteral("Preset_ComboBox"));
    Preset_ComboBox->addItems({ QStringLiteral("Horizontal"), QStringLiteral("Vertical") });
    ColList = new QTableWidget(0, 1, this);
    ColList->setObjectName(QStringLiteral("ColList"));
    auto* header = new QTableWidgetItem(QStringLiteral("Size"));
    header->setData(Qt::UserRole, QStringLiteral("Extension"));
    ColList->setHorizontalHeaderItem(0, header);
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->setVisible(false);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColList->setMinimumHeight(150);
    width_Stepper = new QDoubleSpinBox(this);
    width_Stepper->setObjectName(QStringLiteral("width_Stepper"));
    height_Stepper = new QDoubleSpinBox(this);
    height_Stepper->setObjectName(QStringLiteral("height_Stepper"));
    for (QDoubleSpinBox* size : { width_Stepper, height_Stepper }) {
        size->setRange(1, 1000);
        size->setDecimals(2);
        size->setSuffix(QStringLiteral(" mm"));
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Category :"), Category_ComboBox);
    form->addRow(QStringLiteral("Orientation :"), Preset_ComboBox);
    form->addRow(ColList);
    form->addRow(QStringLiteral("Width :"), width_Stepper);
    form->addRow(QStringLiteral("Height :"), height_Stepper);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);

    connect(Category_ComboBox, &QComboBox::currentIndexChanged, this, &Card_Size_Chooser::comboBoxSelectionDidChange);
    connect(Preset_ComboBox, &QComboBox::currentIndexChanged, this, &Card_Size_Chooser::tableViewSelectionDidChange);
    connect(ColList, &QTableWidget::itemSelectionChanged, this, &Card_Size_Chooser::tableViewSelectionDidChange);
}

void Card_Size_Chooser::reset()
{
    {
        const QSignalBlocker quietPreset(Preset_ComboBox);
        Preset_ComboBox->setCurrentIndex(0);
        const QSignalBlocker quietCategory(Category_ComboBox);
        Category_ComboBox->setCurrentIndex(0);
    }
    comboBoxSelectionDidChange();
}

void Card_Size_Chooser::comboBoxSelectionDidChange()
{
    const QSignalBlocker quiet(ColList);
    ColList->setRowCount(0);
    if (host_) {
        const QStringList names
            = Category_ComboBox->currentIndex() == 0 ? host_->plasticCardSizeNames() : host_->labelSizeNames();
        for (const QString& name : names) {
            const QString trimmed = Trim_Str(name);
            if (trimmed.isEmpty())
                continue;
            const int row = ColList->rowCount();
            ColList->insertRow(row);
            ColList->setItem(row, 0, new QTableWidgetItem(trimmed));
        }
    }
    if (ColList->rowCount() > 0)
        ColList->selectRow(0);
    tableViewSelectionDidChange();
}

void Card_Size_Chooser::tableViewSelectionDidChange()
{
    const QList<QTableWidgetItem*> selected = ColList->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    const QString preset
        = Preset_ComboBox->currentText() == QLatin1String("Horizontal") ? QStringLiteral("H") : QStringLiteral("V");
    const QSizeF size = host_ ? host_->cardSizeOf(Category_ComboBox->currentText(), preset, row) : QSizeF(30, 30);
    width_Stepper->setValue(size.width());
    height_Stepper->setValue(size.height());
}
