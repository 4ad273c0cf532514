// The card-holder form in a person's hands: the Card Holder button opens it on the side being edited,
// OK places the profile there, the next opening reads it back, and a preview followed by Cancel leaves
// the card exactly as it was. The form of no side, opened from Card Size and Shape, places its entries on
// the side being edited and changes nothing else of the design.
#include "editor/EditorScenarioFixture.h"

#include "profiles/Profile_Form.h"
#include "ui_Profile_Form.h"

#include "model/TSLText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using editorscenario::EditorScenario;

namespace {

QString textOf(const TSLGraphicPtr& item)
{
    return item->_Text_contents ? item->_Text_contents->string : item->Text_Value;
}

class CardHolderScenario : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
    }
    void openForm(const std::function<int(Profile_Form&)>& user)
    {
        ui.modalRuns.push_back([user](QDialog& dialog) {
            dialog.show();
            return user(static_cast<Profile_Form&>(dialog));
        });
        auto* button = widget<QPushButton>(QStringLiteral("User_Profile_btn"));
        ASSERT_TRUE(button->isEnabled());
        click(button);
    }
    static void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    static int press(QPushButton* button, const Profile_Form& form)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return form.isVisible() ? -1 : form.result();
    }
    std::vector<QByteArray> frontBytes() const
    {
        std::vector<QByteArray> bytes;
        for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
            bytes.push_back(editortest::itemBytes(*item));
        return bytes;
    }
};

TEST_F(CardHolderScenario, OkPlacesTheProfileAndTheNextOpeningReadsItBack)
{
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Robin Hale"));
        type(form.rows[2].value, QStringLiteral("Hale & Sons"));
        return press(form.form().ok_btn, form);
    });
    const TSLGraphicPtr name = itemWithID(QStringLiteral("Fup_Name"));
    ASSERT_TRUE(name);
    EXPECT_EQ(textOf(name), QStringLiteral("Robin Hale"));
    ASSERT_TRUE(itemWithID(QStringLiteral("Fup_Company")));
    EXPECT_FALSE(itemWithID(QStringLiteral("Fup_Title"))) << "an empty field places nothing";

    name->setBounds(QRectF(33, 44, 120, 20)); // the user moved it
    QString readBack;
    openForm([&readBack](Profile_Form& form) {
        readBack = form.rows[0].value->text();
        type(form.rows[0].value, QStringLiteral("Robin Hale-Smith"));
        form.rows[2].value->clear();
        return press(form.form().ok_btn, form);
    });
    EXPECT_EQ(readBack, QStringLiteral("Robin Hale"));
    EXPECT_EQ(itemWithID(QStringLiteral("Fup_Name")), name) << "the same item is refilled";
    EXPECT_EQ(textOf(name), QStringLiteral("Robin Hale-Smith"));
    EXPECT_EQ(name->bounds(), QRectF(33, 44, 120, 20));
    EXPECT_FALSE(itemWithID(QStringLiteral("Fup_Company"))->ctrl_is_visible) << "an emptied field hides its item";
}

TEST_F(CardHolderScenario, PreviewThenCancelLeavesTheCardExactlyAsItWas)
{
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Before"));
        type(form.rows[1].value, QStringLiteral("Chair"));
        return press(form.form().ok_btn, form);
    });
    const std::vector<QByteArray> before = frontBytes();
    ASSERT_EQ(before.size(), 2u);
    const bool undoBefore = window->document()->undoManager().canUndo();

    bool previewShown = false;
    openForm([&previewShown](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("After"));
        form.rows[1].value->clear(); // the preview hides the title
        type(form.rows[4].value, QStringLiteral("1 Lane")); // and adds an address
        QTest::mouseClick(form.form().preview_btn, Qt::LeftButton);
        previewShown = !form.form().Preivew_picture->pixmap().isNull();
        return press(form.form().cancel_btn, form);
    });
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(frontBytes(), before) << "every value of every item is as it was";
    EXPECT_EQ(window->document()->undoManager().canUndo(), undoBefore);
}

TEST_F(CardHolderScenario, TheFormOfNoSidePlacesItsEntriesOnTheSideShownAndKeepsTheSpreadsheet)
{
    window->Select_back_side();
    window->bindingTable.Create_List_By_Array({ QStringLiteral("Guest") }, 1);
    Excel_Source_Path = QStringLiteral("/home/robin/guests.xlsx");
    ui.modalRuns.push_back([this](QDialog& wizard) {
        wizard.show();
        ui.modalRuns.push_back([](QDialog& dialog) {
            auto& form = static_cast<Profile_Form&>(dialog);
            dialog.show();
            EXPECT_EQ(form.windowTitle(), QStringLiteral("User Profile Information"));
            type(form.rows[0].value, QStringLiteral("Robin Hale"));
            return press(form.form().ok_btn, form);
        });
        editorscenario::clickChild(wizard, "profile_btn");
        editorscenario::clickChild(wizard, "cancel_btn");
        return wizard.result();
    });
    trigger(QStringLiteral("menu_Card_Wizard"));

    TSLGraphicPtr placed;
    for (const TSLGraphicPtr& item : window->Get_Back_Controls_Array())
        if (item->control_ID == QLatin1String("Fup_Name"))
            placed = item;
    ASSERT_TRUE(placed) << "the entries go on the back, which is shown";
    EXPECT_EQ(textOf(placed), QStringLiteral("Robin Hale"));
    EXPECT_TRUE(window->Get_Front_Controls_Array().empty());
    EXPECT_EQ(Excel_Source_Path, QStringLiteral("/home/robin/guests.xlsx"));
}

TEST_F(CardHolderScenario, PlacingAProfileWritesNothingToTheLog)
{
    testing::internal::CaptureStderr();
    openForm([](Profile_Form& form) {
        for (int row = 0; row < 10; ++row)
            type(form.rows[row].value, QStringLiteral("Value %1").arg(row));
        return press(form.form().ok_btn, form);
    });
    // Only the program's own lines count: the offscreen platform has notes of its own.
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(window->Get_Front_Controls_Array().size(), 10u);
    EXPECT_FALSE(log.contains(QStringLiteral("tessaline:")))
        << "a successful placement is no news: " << log.toStdString();
}

TEST_F(CardHolderScenario, PlacedFieldsShowTheirWholeValueOnTheCard)
{
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Alexandra Montgomery-Whitfield"));
        type(form.rows[7].value, QStringLiteral("guest1@example.test"));
        return press(form.form().ok_btn, form);
    });
    for (const char* id : { "Fup_Name", "Fup_EmailID" }) {
        auto* text = dynamic_cast<TSLText*>(itemWithID(QLatin1String(id)).get());
        ASSERT_TRUE(text) << id;
        EXPECT_LE(text->naturalSize().height(), text->bounds().height() + 0.5) << id << ": no line is cut off";
        EXPECT_TRUE(QRectF(QPointF(), canvas()->canvasSize()).contains(text->bounds())) << id;
    }
}

TEST_F(CardHolderScenario, ThePlacedPhotoKeepsItsProportions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("portrait.png"));
    {
        QImage square(300, 300, QImage::Format_RGB32);
        square.fill(QColor(90, 140, 60));
        ASSERT_TRUE(square.save(path));
    }
    ui.fileAnswers.push_back(path);
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Robin Hale"));
        QTest::mouseClick(form.form().browse_pic_btn, Qt::LeftButton);
        return press(form.form().ok_btn, form);
    });
    const TSLGraphicPtr photo = itemWithID(QStringLiteral("Fup_Photo"));
    ASSERT_TRUE(photo);
    const QRectF frame = window->Get_Control_Rect_From_Template(QStringLiteral("Fup_Photo"));
    EXPECT_NEAR(photo->width(), photo->height(), 0.5) << "a square photo is placed square";
    EXPECT_NEAR(std::max(photo->width(), photo->height()), std::min(frame.width(), frame.height()), 0.5);
    EXPECT_TRUE(frame.adjusted(-0.5, -0.5, 0.5, 0.5).contains(photo->bounds()));
}

// Each check box column is labelled, and each box does what it shows: ticked, its field takes typing.
TEST_F(CardHolderScenario, TheEditBoxesAreLabelledAndUnlockTheirFields)
{
    openForm([this](Profile_Form& form) {
        for (const char* header : { "label_edit_label", "value_edit_label" })
            EXPECT_TRUE(form.findChild<QLabel*>(QLatin1String(header))->isVisible()) << header;
        const Profile_Form::Row& row = form.rows[1];
        for (const auto& [box, field] :
            { std::pair { row.label_chk, row.label }, std::pair { row.value_chk, row.value } }) {
            EXPECT_EQ(box->isChecked(), !field->isReadOnly()) << "the box shows whether the field is open";
            for (bool open : { true, false }) {
                if (box->isChecked() != open)
                    tick(box);
                const QString before = field->text();
                field->setFocus();
                QTest::keyClicks(field, QStringLiteral("x"));
                EXPECT_EQ(field->text() != before, open) << field->objectName().toStdString();
            }
        }
        return press(form.form().cancel_btn, form);
    });
}

} // namespace
