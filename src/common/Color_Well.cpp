#include "common/Color_Well.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

Color_Well::Color_Well(QWidget* parent)
    : QPushButton(parent)
{
    setMinimumSize(44, 22);
    connect(this, &QPushButton::clicked, this, &Color_Well::openPanel);
}

void Color_Well::setColor(const QColor& color)
{
    if (color_ == color)
        return;
    color_ = color;
    update();
}

void Color_Well::chooseColor(const QColor& color)
{
    if (!color.isValid() || color == color_)
        return;
    color_ = color;
    update();
    emit colorChanged(color_);
}

void Color_Well::openPanel()
{
    // The panel stays open while the user tries colours; each pick is applied as it is made, and Cancel (or
    // Escape, or closing the panel) brings back the colour the well had when it opened.
    auto* panel = new QColorDialog(color_, this);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setOption(QColorDialog::ShowAlphaChannel);
    // Nothing else is edited while colours are tried, so Cancel takes back the tries and only them.
    panel->setWindowModality(Qt::ApplicationModal);
    connect(panel, &QColorDialog::currentColorChanged, this, &Color_Well::chooseColor);
    connect(panel, &QColorDialog::colorSelected, this, &Color_Well::chooseColor);
    connect(panel, &QDialog::accepted, this, [this] { emit panelClosed(true); });
    connect(panel, &QDialog::rejected, this, [this, before = color_] {
        chooseColor(before);
        emit panelClosed(false);
    });
    emit panelOpened();
    panel->show();
}

void Color_Well::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    painter.fillRect(swatch, QBrush(Qt::white));
    painter.fillRect(swatch, color_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
