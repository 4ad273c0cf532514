#pragma once

#include <QColor>
#include <QDialog>

#include <memory>

namespace Ui {
class Grid_Wizard;
}

// The small window in which the user shows or hides the grid and sets its colour and spacing. Its
// controls (Show_hide_grid_chk, Grid_Opt_box, Grid_clr, Grid_Space_slidr) are handled by the main
// window, which reaches them through form(); every change takes effect at once, so the button that
// closes the window does not matter.
class Grid_Wizard : public QDialog {
    Q_OBJECT
public:
    static Grid_Wizard* defaultInstance();
    ~Grid_Wizard() override;

    void Open_Wnd(); // runs the window modally, then hides it

    Ui::Grid_Wizard& form() { return *ui_; }

    // The colour well Grid_clr: a button showing a colour that lets the user pick another.
    QColor colorWellColor() const { return colorWellColor_; }
    void setColorWellColor(const QColor& color);

public slots:
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();

signals:
    void colorWellChanged(const QColor& color); // the user picked a colour in the well

private:
    explicit Grid_Wizard(QWidget* parent = nullptr);
    void chooseColor();

    std::unique_ptr<Ui::Grid_Wizard> ui_;
    QColor colorWellColor_;
};
