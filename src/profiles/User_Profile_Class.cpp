#include "profiles/User_Profile_Class.h"

const std::array<User_Profile_Class::FieldInfo, User_Profile_Class::fieldCount>& User_Profile_Class::fieldTable()
{
    static const std::array<FieldInfo, fieldCount> table = { {
        { "Name", "Fup_Name", "Fup_lbl_Name", "Name :" },
        { "Title", "Fup_Title", "Fup_lbl_Title", "Position / Title :" },
        { "Company_name", "Fup_Company", "Fup_lbl_Company", "Company Name :" },
        { "slogan", "Fup_CompanySlogan", "Fup_lbl_CompanySlogan", "Company Slogan :" },
        { "address", "Fup_Address", "Fup_lbl_Address", "Address :" },
        { "phone", "Fup_PhoneNO", "Fup_lbl_PhoneNO", "Phone No. :" },
        { "fax", "Fup_FaxNo", "Fup_lbl_FaxNo", "Fax No. :" },
        { "email", "Fup_EmailID", "Fup_lbl_EmailID", "Email Id :" },
        { "website", "Fup_Website", "Fup_lbl_Website", "Website :" },
        { "unique", "Fup_UniqueNo", "Fup_lbl_UniqueNo", "Unique No. :" },
        { "image", "Fup_Photo", "Fup_lbl_Photo", "Photo :" },
    } };
    return table;
}

std::array<User_Profile_Class::Field, User_Profile_Class::fieldCount> User_Profile_Class::fields()
{
    return { {
        Field {
            Name, Name_id, Name_label_id, Name_label, Name_ds, Name_ds_name, Name_ds_indx, Name_xl, Name_xl_col_indx },
        Field { Title, Title_id, Title_label_id, Title_label, Title_ds, Title_ds_name, Title_ds_indx, Title_xl,
            Title_xl_col_indx },
        Field { Company_name, Company_name_id, Company_name_label_id, Company_name_label, Company_name_ds,
            Company_name_ds_name, Company_name_ds_indx, Company_name_xl, Company_name_xl_col_indx },
        Field { slogan, slogan_id, slogan_label_id, slogan_label, slogan_ds, slogan_ds_name, slogan_ds_indx, slogan_xl,
            slogan_xl_col_indx },
        Field { address, address_id, address_label_id, address_label, address_ds, address_ds_name, address_ds_indx,
            address_xl, address_xl_col_indx },
        Field { phone, phone_id, phone_label_id, phone_label, phone_ds, phone_ds_name, phone_ds_indx, phone_xl,
            phone_xl_col_indx },
        Field { fax, fax_id, fax_label_id, fax_label, fax_ds, fax_ds_name, fax_ds_indx, fax_xl, fax_xl_col_indx },
        Field { email, email_id, email_label_id, email_label, email_ds, email_ds_name, email_ds_indx, email_xl,
            email_xl_col_indx },
        Field { website, website_id, website_label_id, website_label, website_ds, website_ds_name, website_ds_indx,
            website_xl, website_xl_col_indx },
        Field { unique, unique_id, unique_label_id, unique_label, unique_ds, unique_ds_name, unique_ds_indx, unique_xl,
            unique_xl_col_indx },
        Field { image, image_id, image_label_id, image_label, image_ds, image_ds_name, image_ds_indx, image_xl,
            image_xl_col_indx },
    } };
}

void User_Profile_Class::Field::setSource(int code, const QString& seriesName, int seriesIndex, int column)
{
    ds = code == 1;
    ds_name = ds ? seriesName : QString();
    ds_indx = ds ? seriesIndex : 0;
    xl = code == 2;
    xl_col_indx = xl ? column : 0;
}

void User_Profile_Class::Reset_All_Values()
{
    const std::array<FieldInfo, fieldCount>& table = fieldTable();
    std::array<Field, fieldCount> all = fields();
    for (int i = 0; i < fieldCount; ++i) {
        Field& field = all[i];
        field.value = QStringLiteral("");
        field.id = QString::fromLatin1(table[i].controlID);
        field.label_id = QString::fromLatin1(table[i].labelID);
        field.setSource(0);
        field.ds_name = QStringLiteral("");
    }
    Fill_User_Profile_Enable = false;
    Excel_Binding = false;
}
