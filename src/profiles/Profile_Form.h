#pragma once

#include "common/Form_Dialog.h"
#include "model/TSLGraphic.h"

#include <array>

class Profile_Form_Host;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class User_Profile_Class;
namespace Ui {
class Profile_Form;
}

// The card-holder form: for each of the eleven profile fields a value and where batch output takes it
// from (typed text, a series, a spreadsheet column), a photo, and a preview of the profile on the card.
// OK validates the choices and fills the editor's profile record of the side; the editor then places it.
// Two forms share this design: the one-side form, opened on the side being edited and filled from the
// profile items on it, and the no-side form, which fills the front and the back record alike. Both are
// laid out by one form; each hides the controls the other alone has.
class Profile_Form : public Form_Dialog<Ui::Profile_Form> {
    Q_OBJECT
public:
    static constexpr int kRows = 11;
    static constexpr int kPhoto = kRows - 1;

    // The controls of one row; a control the form does not have is null. The photo row has no caption and
    // value fields of its own.
    struct Row {
        QLineEdit* label = nullptr;
        QLineEdit* value = nullptr;
        QComboBox* ds_combo = nullptr; // 0 typed text, 1 series, 2 "Excel" (only with a spreadsheet)
        QComboBox* ser_col_cb = nullptr; // series names or column titles
        QPushButton* view_btn = nullptr;
        QComboBox* side_combo = nullptr; // no-side form only
        QCheckBox* label_chk = nullptr; // one-side form only
        QCheckBox* value_chk = nullptr; // one-side form only
    };

    static void setHost(Profile_Form_Host* host);
    static Profile_Form_Host* host();

    // Prepares the form (reading the side's profile items when `load` is set) and runs it modally:
    // 1 after OK, 0 after Cancel. The opener sets load_side first ("F", "B" or empty).
    int Open_Wnd(bool load);

    // Validation and filling, as OK and Preview use them.
    bool Check_Validation();
    bool Fill_Front_User_profile_value_in_Variable();
    bool Fill_Back_User_profile_value_in_Variable();
    bool Fill_TEMP_User_profile_value_in_Variable();
    void Reset_all_Ctrl();
    void Set_User_Image(const QString& path);

    QString load_side;
    QString checked_field_name;
    std::array<Row, kRows> rows;

public slots:
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void Reset_Btn_Clicked() { Reset_all_Ctrl(); }
    void Help_Btn_Clicked();
    void Browse_excel_Btn_Clicked();
    void View_Excel_Btn_Clicked();
    void Batch_Series_Btn_Clicked();
    void Browse_image_Btn_Clicked();
    void Clear_image_Btn_Clicked() { Set_User_Image(QString()); }
    void Preview_Btn_Clicked();

protected:
    Profile_Form(bool oneSide, const QString& objectName, QWidget* parent = nullptr);
    // Escape and the window's close button: typed entries are dropped only when the person says so.
    void reject() override;

private:
    void bindRows();
    void hideOtherFormsControls();
    void connectRow(int row);
    void sourceDidChange(int row);
    void secondListDidChange(int row);
    void View_Data_Series_By_Name(int row);
    void loadSide(bool back);
    void loadItem(const TSLGraphic& item, int row);
    bool fillRecord(User_Profile_Class& record, bool sideRecord);
    void Add_Excel_in_Data_Source_Combo();
    void Remove_Excel_in_Data_Source_Combo();
    void showPicture(QLabel* label, const QImage& image);
    void Create_and_Set_template_picture(const TSLGraphicList& items);

    // Every entry of the form as text, to tell whether anything was typed since it opened.
    QStringList entries() const;

    const bool oneSide_;
    QStringList entriesAtOpening_;
};

// The form opened from the editor for the side being edited.
class Show_User_Profile : public Profile_Form {
    Q_OBJECT
public:
    static Show_User_Profile* defaultInstance()
    {
        static Show_User_Profile* const instance = new Show_User_Profile();
        return instance;
    }

private:
    Show_User_Profile();
};

// The form that belongs to no side: accepting it fills the front and the back record alike.
class User_profile : public Profile_Form {
    Q_OBJECT
public:
    static User_profile* defaultInstance()
    {
        static User_profile* const instance = new User_profile();
        return instance;
    }

private:
    User_profile();
};
