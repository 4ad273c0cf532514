#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The card holder's particulars carried from the profile forms to the card: eleven fields, each with its
// text (the photo's file path for the last), the control ID of the card item that shows it, and where batch
// output takes its value from (fixed text, a named series or a column of the spreadsheet binding table).
// The forms and the editor read and write the fields directly. A new record is empty, IDs included, until
// Reset_All_Values. The record is never saved: the card items made from it are.
class User_Profile_Class {
public:
    // One field's attributes, by reference into the record, so that code walking all eleven in their fixed
    // order reads and writes the record itself.
    struct Field {
        QString& value;
        QString& id;
        QString& label_id;
        QString& label;
        bool& ds;
        QString& ds_name;
        qint32& ds_indx;
        bool& xl;
        qint32& xl_col_indx;

        // 0 fixed text, 1 series, 2 spreadsheet column.
        int sourceCode() const { return ds ? 1 : (xl ? 2 : 0); }
        // Binds the field to one source; the other source's flag, name and index are cleared, so at most
        // one flag is ever set. Any code but 1 and 2 means fixed text.
        void setSource(int code, const QString& seriesName = QString(), int seriesIndex = 0, int column = 0);
    };

    // What the program knows of each field, in the record's order.
    struct FieldInfo {
        const char* name; // the attribute's name, "Name" ... "image"
        const char* controlID; // "Fup_Name" ...
        const char* labelID; // "Fup_lbl_Name" ...
        const char* caption; // the forms' caption, "Name :" ...
    };
    static constexpr int fieldCount = 11;
    static const std::array<FieldInfo, fieldCount>& fieldTable();

    User_Profile_Class() = default;

    // Every value and series name empty, every flag and index 0, both record-wide flags 0, and the control
    // and label IDs those of the field table. The reserved caption texts are left as they are.
    void Reset_All_Values();

    std::array<Field, fieldCount> fields();

    bool Fill_User_Profile_Enable = false; // a profile form was accepted into this record
    bool Excel_Binding = false; // the spreadsheet binding table held rows when it was

    QString Name;
    QString Name_id;
    QString Name_label_id;
    QString Name_label;
    bool Name_ds = false;
    QString Name_ds_name;
    qint32 Name_ds_indx = 0;
    bool Name_xl = false;
    qint32 Name_xl_col_indx = 0;
    QString Title;
    QString Title_id;
    QString Title_label_id;
    QString Title_label;
    bool Title_ds = false;
    QString Title_ds_name;
    qint32 Title_ds_indx = 0;
    bool Title_xl = false;
    qint32 Title_xl_col_indx = 0;
    QString Company_name;
    QString Company_name_id;
    QString Company_name_label_id;
    QString Company_name_label;
    bool Company_name_ds = false;
    QString Company_name_ds_name;
    qint32 Company_name_ds_indx = 0;
    bool Company_name_xl = false;
    qint32 Company_name_xl_col_indx = 0;
    QString slogan;
    QString slogan_id;
    QString slogan_label_id;
    QString slogan_label;
    bool slogan_ds = false;
    QString slogan_ds_name;
    qint32 slogan_ds_indx = 0;
    bool slogan_xl = false;
    qint32 slogan_xl_col_indx = 0;
    QString address;
    QString address_id;
    QString address_label_id;
    QString address_label;
    bool address_ds = false;
    QString address_ds_name;
    qint32 address_ds_indx = 0;
    bool address_xl = false;
    qint32 address_xl_col_indx = 0;
    QString phone;
    QString phone_id;
    QString phone_label_id;
    QString phone_label;
    bool phone_ds = false;
    QString phone_ds_name;
    qint32 phone_ds_indx = 0;
    bool phone_xl = false;
    qint32 phone_xl_col_indx = 0;
    QString fax;
    QString fax_id;
    QString fax_label_id;
    QString fax_label;
    bool fax_ds = false;
    QString fax_ds_name;
    qint32 fax_ds_indx = 0;
    bool fax_xl = false;
    qint32 fax_xl_col_indx = 0;
    QString email;
    QString email_id;
    QString email_label_id;
    QString email_label;
    bool email_ds = false;
    QString email_ds_name;
    qint32 email_ds_indx = 0;
    bool email_xl = false;
    qint32 email_xl_col_indx = 0;
    QString website;
    QString website_id;
    QString website_label_id;
    QString website_label;
    bool website_ds = false;
    QString website_ds_name;
    qint32 website_ds_indx = 0;
    bool website_xl = false;
    qint32 website_xl_col_indx = 0;
    QString unique;
    QString unique_id;
    QString unique_label_id;
    QString unique_label;
    bool unique_ds = false;
    QString unique_ds_name;
    qint32 unique_ds_indx = 0;
    bool unique_xl = false;
    qint32 unique_xl_col_indx = 0;
    QString image;
    QString image_id;
    QString image_label_id;
    QString image_label;
    bool image_ds = false;
    QString image_ds_name;
    qint32 image_ds_indx = 0;
    bool image_xl = false;
    qint32 image_xl_col_indx = 0;
};
