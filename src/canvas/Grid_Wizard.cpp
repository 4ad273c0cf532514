#include "canvas/Grid_Wizard.h"

#include "common/Long_SMS_Dlg.h"
#include "platform/UiSeam.h"
#include "ui_Grid_Wizard.h"

#include <QColorDialog>

Grid_Wizard* Grid_Wizard::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Grid_Wizard* instance = new Grid_Wizard();
    return instance;
}

Grid_Wizard::Grid_Wizard(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Grid_Wizard>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    connect(ui_->OK_Btn, &QPushButton::clicked, this, &Grid_Wizard::OK_Btn_Clicked);
    connect(ui_->Cancel_Btn, &QPushButton::clicked, this, &Grid_Wizard::Cancel_Btn_Clicked);
    connect(ui_->Grid_clr, &QPushButton::clicked, this, &Grid_Wizard::chooseColor);
    // The spacing the slider stands at, in points, as it moves.
    auto showSpacing = [this](int points) { ui_->Grid_Space_value->setText(QStringLiteral("%1 pt").arg(points)); };
    connect(ui_->Grid_Space_slidr, &QSlider::valueChanged, this, showSpacing);
    showSpacing(ui_->Grid_Space_slidr->value());
    setColorWellColor(QColor::fromRgbF(2.0f / 3, 2.0f / 3, 2.0f / 3));
}

Grid_Wizard::~Grid_Wizard() = default;

void Grid_Wizard::Open_Wnd()
{
    platform::ui().runModal(*this);
    hide();
}

void Grid_Wizard::OK_Btn_Clicked()
{
    done(1);
}

void Grid_Wizard::Cancel_Btn_Clicked()
{
    done(0);
}

void Grid_Wizard::setColorWellColor(const QColor& color)
{
    colorWellColor_ = color;
    ui_->Grid_clr->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(color.name(QColor::HexArgb)));
}

void Grid_Wizard::chooseColor()
{
    QColorDialog picker(colorWellColor_, this);
    picker.setObjectName(QStringLiteral("Grid_clr_picker"));
    if (platform::ui().runModal(picker) != 1)
        return;
    const QColor chosen = picker.currentColor();
    if (!chosen.isValid() || chosen == colorWellColor_)
        return;
    setColorWellColor(chosen);
    emit colorWellChanged(chosen);
}
