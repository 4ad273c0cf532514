// The card-holder forms worked through their controls against a stand-in for the main window: what OK
// puts into the records, what validation refuses, what opening reads back from the side's items, and
// that indexes read from a design never select past the end of a list.
#include "common/Globals.h"
#include "model/TSLTextStorage.h"
#include "profiles/Profile_Form.h"
#include "profiles/Profile_Form_Host.h"
#include "profiles/User_Profile_Class.h"
#include "support/TestSupport.h"
#include "ui_Profile_Form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class FakeHost final : public Profile_Form_Host {
public:
    TSLGraphicList front, back;
    User_Profile_Class records[3];
    QStringList series { QStringLiteral("Guests"), QStringLiteral("Phones"), QStringLiteral("Titles") };
    QStringList columns;
    int rows = 0;
    QString excelPath;
    bool excelUse = false;
    int previews = 0;

    TSLGraphicList profileSideItems(bool onBack) const override { return onBack ? back : front; }
    User_Profile_Class& profileRecord(int which) override { return records[which]; }
    QStringList seriesNames() const override { return series; }
    QString firstValueOfSeries(const QString& name) const override { return QStringLiteral("first of ") + name; }
    QStringList spreadsheetColumnTitles() const override { return columns; }
    int spreadsheetRowCount() const override { return rows; }
    QString firstValueOfColumn(int column) const override { return QStringLiteral("cell %1").arg(column); }
    QString excelSourcePath() const override { return excelPath; }
    void setExcelSourcePath(const QString& path) override { excelPath = path; }
    void setExcelBindingUse(bool use) override { excelUse = use; }
    QImage renderProfileItems(const TSLGraphicList&) const override { return QImage(30, 20, QImage::Format_RGB32); }
    QImage previewProfile() override
    {
        ++previews;
        return QImage(30, 20, QImage::Format_RGB32);
    }
};

class ProfileFormTest : public testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    FakeHost host;

    void SetUp() override
    {
        Card_Front_Or_Back = 0;
        Profile_Form::setHost(&host);
        for (User_Profile_Class& record : host.records)
            record.Reset_All_Values();
    }
    void TearDown() override { Profile_Form::setHost(nullptr); }

    int open(Profile_Form& form, bool load, const QString& side, const std::function<int(Profile_Form&)>& user)
    {
        form.load_side = side;
        ui.modalRuns.push_back([user](QDialog& dialog) {
            auto& window = static_cast<Profile_Form&>(dialog);
            window.show();
            return user(window);
        });
        return form.Open_Wnd(load);
    }
    static int press(QPushButton* button, const Profile_Form& form)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return form.isVisible() ? -1 : form.result();
    }
    static TSLGraphicPtr profileText(const char* id, const QString& text, int source = 0, int position = 0)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
        item->control_ID = QLatin1String(id);
        item->Text_Value = text;
        item->_Text_contents = std::make_shared<TSLTextStorage>(TSLTextStorage { text, QFont(), Qt::black });
        item->data_source_type = source;
        item->batch_list_index = source == 1 ? position : 0;
        item->excel_col_indx = source == 2 ? position : 0;
        return item;
    }
};

TEST_F(ProfileFormTest, ABlankFormAcceptedFillsElevenEmptyTypedFields)
{
    host.records[0].Name = QStringLiteral("old");
    const int code = open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"),
        [](Profile_Form& form) { return press(form.form().ok_btn, form); });
    EXPECT_EQ(code, 1);
    const User_Profile_Class& record = host.records[0];
    EXPECT_TRUE(record.Fill_User_Profile_Enable);
    auto fields = const_cast<User_Profile_Class&>(record).fields();
    for (int i = 0; i < User_Profile_Class::fieldCount; ++i) {
        EXPECT_TRUE(fields[i].value.isEmpty()) << i;
        EXPECT_EQ(fields[i].sourceCode(), 0) << i;
    }
}

TEST_F(ProfileFormTest, AMissingSourceChoiceIsNamedAndTheRecordIsLeftAlone)
{
    const struct {
        std::vector<int> seriesRows;
        const char* message;
    } cases[] = { { { 3 }, "Please select the source for 'Company Slogan'" },
        { { 1, 3 }, "Please select the source for 'Position / Title'" },
        { { 10 }, "Please select the source for 'Photo'" } };
    for (const auto& c : cases) {
        host.records[1].Reset_All_Values();
        host.records[1].Name = QStringLiteral("kept");
        int stillOpen = 0;
        ui.messages.clear();
        open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("B"), [&](Profile_Form& form) {
            form.rows[0].value->setText(QStringLiteral("Mia"));
            for (int row : c.seriesRows)
                form.rows[row].ds_combo->setCurrentIndex(1);
            stillOpen = press(form.form().ok_btn, form);
            return press(form.form().cancel_btn, form);
        });
        EXPECT_EQ(stillOpen, -1);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.trimmed(), QLatin1String(c.message));
        EXPECT_EQ(host.records[1].Name, QStringLiteral("kept"));
    }
}

TEST_F(ProfileFormTest, SeriesAndColumnChoicesFillTheValueAndTheBinding)
{
    host.columns
        = { QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third"), QStringLiteral("Fourth") };
    host.rows = 5;
    host.excelPath = QStringLiteral("/data/guests.xlsx");
    QString shownSlogan, shownPhone;
    const int code = open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"), [&](Profile_Form& form) {
        form.rows[3].ds_combo->setCurrentIndex(1);
        form.rows[3].ser_col_cb->setCurrentIndex(2);
        shownSlogan = form.rows[3].value->text();
        form.rows[5].ds_combo->setCurrentIndex(2);
        form.rows[5].ser_col_cb->setCurrentIndex(3);
        shownPhone = form.rows[5].value->text();
        return press(form.form().ok_btn, form);
    });
    ASSERT_EQ(code, 1);
    EXPECT_EQ(shownSlogan, QStringLiteral("first of Titles"));
    EXPECT_EQ(shownPhone, QStringLiteral("cell 3"));
    const User_Profile_Class& r = host.records[0];
    EXPECT_EQ(r.slogan, QStringLiteral("first of Titles"));
    EXPECT_TRUE(r.slogan_ds);
    EXPECT_EQ(r.slogan_ds_name, QStringLiteral("Titles"));
    EXPECT_EQ(r.slogan_ds_indx, 2);
    EXPECT_FALSE(r.slogan_xl);
    EXPECT_TRUE(r.phone_xl);
    EXPECT_EQ(r.phone_xl_col_indx, 3);
    EXPECT_FALSE(r.phone_ds);
    EXPECT_TRUE(r.Excel_Binding);
    EXPECT_TRUE(host.excelUse);
    EXPECT_EQ(host.excelPath, QStringLiteral("/data/guests.xlsx"));
}

TEST_F(ProfileFormTest, TheSpreadsheetEntryIsOfferedOnlyWithASpreadsheetThatHasRows)
{
    for (int rows : { 3, 0 }) {
        host.rows = rows;
        host.columns = { QStringLiteral("A") };
        std::vector<int> counts;
        open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"), [&](Profile_Form& form) {
            for (const Profile_Form::Row& row : form.rows)
                counts.push_back(row.ds_combo->count());
            return press(form.form().cancel_btn, form);
        });
        ASSERT_EQ(counts.size(), 11u);
        for (int count : counts)
            EXPECT_EQ(count, rows > 0 ? 3 : 2) << rows;
    }
}

TEST_F(ProfileFormTest, OpeningReadsTheVisibleProfileItemsOfTheSide)
{
    TSLGraphicPtr hidden = profileText("Fup_Name", QStringLiteral("Hidden Name"));
    hidden->ctrl_is_visible = false;
    TSLGraphicPtr title = profileText("Fup_Title", QStringLiteral("Captain"), 1, 2);
    host.front = { hidden, title, profileText("Other", QStringLiteral("not a profile item")) };
    QString name, titleValue, chosen;
    int source = -1;
    open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"), [&](Profile_Form& form) {
        name = form.rows[0].value->text();
        titleValue = form.rows[1].value->text();
        source = form.rows[1].ds_combo->currentIndex();
        chosen = form.rows[1].ser_col_cb->currentText();
        return press(form.form().cancel_btn, form);
    });
    EXPECT_TRUE(name.isEmpty()) << "a hidden item is not read";
    EXPECT_EQ(titleValue, QStringLiteral("Captain")) << "the item's own text, not the series' first value";
    EXPECT_EQ(source, 1);
    EXPECT_EQ(chosen, QStringLiteral("Titles"));
    EXPECT_EQ(
        Show_User_Profile::defaultInstance()->windowTitle(), QStringLiteral("Front Side User Profile Information"));
}

TEST_F(ProfileFormTest, PositionsAndSourcesFromADesignNeverSelectPastTheLists)
{
    host.rows = 0;
    host.front = { profileText("Fup_Name", QStringLiteral("Ann"), 1, 7),
        profileText("Fup_Title", QStringLiteral("Boss"), 2, 4),
        profileText("Fup_Company", QStringLiteral("Acme"), 9, 0) };
    std::vector<int> sources, positions;
    int stillOpen = 0;
    open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"), [&](Profile_Form& form) {
        for (int row = 0; row < 3; ++row) {
            sources.push_back(form.rows[row].ds_combo->currentIndex());
            positions.push_back(form.rows[row].ser_col_cb->currentIndex());
        }
        stillOpen = press(form.form().ok_btn, form);
        return press(form.form().cancel_btn, form);
    });
    EXPECT_EQ(sources, (std::vector<int> { 1, 0, 0 })) << "a source the list does not offer reads as typed text";
    EXPECT_EQ(positions, (std::vector<int> { -1, -1, -1 }));
    EXPECT_EQ(stillOpen, -1) << "the series row still needs its choice";
}

TEST_F(ProfileFormTest, TheNoSideFormFillsFrontAndBackAlike)
{
    const int code = open(*User_profile::defaultInstance(), false, QString(), [](Profile_Form& form) {
        form.rows[0].value->setText(QStringLiteral("Ana"));
        form.rows[7].value->setText(QStringLiteral("ana@example.org"));
        return press(form.form().ok_btn, form);
    });
    ASSERT_EQ(code, 1);
    EXPECT_EQ(User_profile::defaultInstance()->windowTitle(), QStringLiteral("User Profile Information"));
    EXPECT_EQ(host.records[0].Name, QStringLiteral("Ana"));
    EXPECT_EQ(host.records[1].Name, QStringLiteral("Ana"));
    EXPECT_EQ(host.records[0].email, host.records[1].email);
}

TEST_F(ProfileFormTest, PreviewFillsOnlyThePreviewRecordAndAPhotoPathIsKeptEvenWhenItDoesNotLoad)
{
    open(*Show_User_Profile::defaultInstance(), true, QStringLiteral("F"), [](Profile_Form& form) {
        form.rows[0].value->setText(QStringLiteral("Preview Name"));
        form.Set_User_Image(QStringLiteral("  /no/such/photo.png  "));
        QTest::mouseClick(form.form().preview_btn, Qt::LeftButton);
        return press(form.form().cancel_btn, form);
    });
    EXPECT_EQ(host.previews, 1);
    EXPECT_EQ(host.records[2].Name, QStringLiteral("Preview Name"));
    EXPECT_EQ(host.records[2].image, QStringLiteral("/no/such/photo.png"));
    EXPECT_TRUE(host.records[0].Name.isEmpty());
}

} // namespace

namespace {

// Both forms come from one layout; each shows only its own controls, and every row is wired to its own
// named controls with the caption the field table gives it.
TEST_F(ProfileFormTest, EachFormShowsItsOwnControlsOnTheRowsOfTheFieldTable)
{
    const auto& table = User_Profile_Class::fieldTable();
    for (bool oneSide : { true, false }) {
        Profile_Form& form = oneSide ? static_cast<Profile_Form&>(*Show_User_Profile::defaultInstance())
                                     : static_cast<Profile_Form&>(*User_profile::defaultInstance());
        QStringList captions;
        std::vector<bool> shown;
        open(form, false, QString(), [&](Profile_Form& window) {
            for (const Profile_Form::Row& row : window.rows) {
                if (row.label)
                    captions << row.label->text();
                for (QWidget* control : { static_cast<QWidget*>(row.label_chk), static_cast<QWidget*>(row.value_chk),
                         static_cast<QWidget*>(row.side_combo) })
                    shown.push_back(control && control->isVisible());
            }
            shown.push_back(window.form().Template_picture->isVisible());
            shown.push_back(window.form().select_side_label->isVisible());
            return press(window.form().cancel_btn, window);
        });
        ASSERT_EQ(captions.size(), Profile_Form::kPhoto) << oneSide;
        for (int r = 0; r < Profile_Form::kPhoto; ++r)
            EXPECT_EQ(captions[r], QLatin1String(table[r].caption)) << r;
        ASSERT_EQ(shown.size(), std::size_t(3 * Profile_Form::kRows + 2));
        for (int r = 0; r < Profile_Form::kRows; ++r) {
            const bool textRow = r != Profile_Form::kPhoto;
            EXPECT_EQ(shown[3 * r], oneSide && textRow) << "caption box, row " << r;
            EXPECT_EQ(shown[3 * r + 1], oneSide && textRow) << "value box, row " << r;
            EXPECT_EQ(shown[3 * r + 2], !oneSide) << "side list, row " << r;
        }
        EXPECT_EQ(shown[3 * Profile_Form::kRows], !oneSide) << "template picture";
        EXPECT_EQ(shown[3 * Profile_Form::kRows + 1], !oneSide) << "side heading";
        for (const Profile_Form::Row& row : form.rows) {
            EXPECT_NE(row.ds_combo, nullptr);
            EXPECT_NE(row.ser_col_cb, nullptr);
            EXPECT_NE(row.view_btn, nullptr);
        }
    }
}

} // namespace
