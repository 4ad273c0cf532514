#pragma once

#include <QColor>
#include <QPushButton>

// A colour button that shows its colour and opens the colour panel when pressed; Cancel in the panel
// restores the colour it had.
// setColor() is silent; colorChanged(QColor) follows the user's choices only.
class Color_Well : public QPushButton {
    Q_OBJECT
public:
    explicit Color_Well(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // What a choice in the panel does; the panel calls it, and tests call it in place of the panel.
    void chooseColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);
    // The panel opened, and closed with OK (kept) or Cancel; the choices in between are one change.
    void panelOpened();
    void panelClosed(bool kept);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openPanel();

    QColor color_ = Qt::black;
};
