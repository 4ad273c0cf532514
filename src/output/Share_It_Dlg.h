#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Share_It_Dlg;
}

// Invites the user to share the maker's web site on social networks. The network buttons leave the
// window open; OK closes it.
class Share_It_Dlg : public QDialog {
    Q_OBJECT
public:
    static Share_It_Dlg* defaultInstance();
    ~Share_It_Dlg() override;

    Ui::Share_It_Dlg& form() { return *ui_; }

public slots:
    void OK_Pressed();
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Go_Share_It_Pressed() { }

private:
    explicit Share_It_Dlg(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Share_It_Dlg> ui_;
};
