// The card-holder record: empty until reset, the reset values and IDs of all eleven fields, and the
// binding of a field to one source at a time.
#include "profiles/User_Profile_Class.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

TEST(UserProfileClass, ANewRecordIsEmptyUntilReset)
{
    User_Profile_Class record;
    for (const User_Profile_Class::Field& field : record.fields()) {
        EXPECT_TRUE(field.value.isNull());
        EXPECT_TRUE(field.id.isNull());
        EXPECT_TRUE(field.label_id.isNull());
        EXPECT_EQ(field.sourceCode(), 0);
    }
}

TEST(UserProfileClass, ResetGivesEveryFieldItsIDsAndEmptyValues)
{
    User_Profile_Class record;
    record.Fill_User_Profile_Enable = true;
    record.Excel_Binding = true;
    record.Name = QStringLiteral("Ada");
    record.Company_name_ds = true;
    record.Company_name_ds_name = QStringLiteral("Firms");
    record.Company_name_ds_indx = 4;
    record.image_xl = true;
    record.image_xl_col_indx = 9;
    record.website_id = QStringLiteral("moved");
    record.phone_label = QStringLiteral("Call:");
    record.Reset_All_Values();

    const QStringList ids = { QStringLiteral("Fup_Name"), QStringLiteral("Fup_Title"), QStringLiteral("Fup_Company"),
        QStringLiteral("Fup_CompanySlogan"), QStringLiteral("Fup_Address"), QStringLiteral("Fup_PhoneNO"),
        QStringLiteral("Fup_FaxNo"), QStringLiteral("Fup_EmailID"), QStringLiteral("Fup_Website"),
        QStringLiteral("Fup_UniqueNo"), QStringLiteral("Fup_Photo") };
    const auto fields = record.fields();
    ASSERT_EQ(fields.size(), std::size_t(ids.size()));
    for (int i = 0; i < ids.size(); ++i) {
        const User_Profile_Class::Field& field = fields[i];
        EXPECT_EQ(field.id, ids[i]);
        EXPECT_EQ(field.label_id, QString(ids[i]).replace(QStringLiteral("Fup_"), QStringLiteral("Fup_lbl_")));
        EXPECT_TRUE(field.value.isEmpty());
        EXPECT_FALSE(field.value.isNull()); // an empty string, not an unset one
        EXPECT_TRUE(field.ds_name.isEmpty());
        EXPECT_FALSE(field.ds);
        EXPECT_FALSE(field.xl);
        EXPECT_EQ(field.ds_indx, 0);
        EXPECT_EQ(field.xl_col_indx, 0);
    }
    EXPECT_EQ(record.website_id, QStringLiteral("Fup_Website"));
    EXPECT_FALSE(record.Fill_User_Profile_Enable);
    EXPECT_FALSE(record.Excel_Binding);
    // The reserved caption texts are not the reset's business.
    EXPECT_EQ(record.phone_label, QStringLiteral("Call:"));
    EXPECT_TRUE(record.Name_label.isNull());
}

TEST(UserProfileClass, FieldsWalkTheRecordItselfInItsOrder)
{
    User_Profile_Class record;
    record.Reset_All_Values();
    auto fields = record.fields();
    fields[3].value = QStringLiteral("Always on time");
    fields[10].value = QStringLiteral("/photos/me.png");
    EXPECT_EQ(record.slogan, QStringLiteral("Always on time"));
    EXPECT_EQ(record.image, QStringLiteral("/photos/me.png"));

    std::set<std::string> names;
    for (const User_Profile_Class::FieldInfo& info : User_Profile_Class::fieldTable())
        names.insert(info.name);
    EXPECT_EQ(names.size(), 11u);
    EXPECT_STREQ(User_Profile_Class::fieldTable()[1].caption, "Position / Title :");
    EXPECT_STREQ(User_Profile_Class::fieldTable()[10].caption, "Photo :");
}

TEST(UserProfileClass, AFieldIsBoundToOneSourceAtATime)
{
    User_Profile_Class record;
    record.Reset_All_Values();
    User_Profile_Class::Field slogan = record.fields()[3];
    slogan.setSource(1, QStringLiteral("Guests"), 2);
    EXPECT_TRUE(record.slogan_ds);
    EXPECT_EQ(record.slogan_ds_name, QStringLiteral("Guests"));
    EXPECT_EQ(record.slogan_ds_indx, 2);
    EXPECT_FALSE(record.slogan_xl);
    EXPECT_EQ(record.slogan_xl_col_indx, 0);
    EXPECT_EQ(slogan.sourceCode(), 1);

    slogan.setSource(2, QStringLiteral("ignored"), 5, 3);
    EXPECT_FALSE(record.slogan_ds);
    EXPECT_TRUE(record.slogan_ds_name.isEmpty());
    EXPECT_EQ(record.slogan_ds_indx, 0);
    EXPECT_TRUE(record.slogan_xl);
    EXPECT_EQ(record.slogan_xl_col_indx, 3);
    EXPECT_EQ(slogan.sourceCode(), 2);

    slogan.setSource(0);
    EXPECT_EQ(slogan.sourceCode(), 0);
    EXPECT_FALSE(record.slogan_xl);
    EXPECT_EQ(record.slogan_xl_col_indx, 0);
}

TEST(UserProfileClass, ResettingOneRecordLeavesAnotherAlone)
{
    User_Profile_Class front;
    User_Profile_Class temp;
    front.Reset_All_Values();
    temp.Reset_All_Values();
    front.Name = QStringLiteral("Front name");
    temp.Name = QStringLiteral("Preview name");
    temp.email_xl = true;
    front.Reset_All_Values();
    EXPECT_TRUE(front.Name.isEmpty());
    EXPECT_EQ(temp.Name, QStringLiteral("Preview name"));
    EXPECT_TRUE(temp.email_xl);
}
