// The card-holder form in a person's hands: the Card Holder button opens it on the side being edited,
// OK places the profile there, the next opening reads it back, and a preview followed by Cancel leaves
// the card exactly as it was, and each OK is one undo step. The form of no side, opened from Card Size and
// Shape or the template gallery, places its entries only when that window is confirmed.
#include "editor/EditorScenarioFixture.h"

#include "data/SpreadsheetWriter.h"
#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Profile_Form.h"
#include "profiles/Template_Wizard.h"
#include "ui_Profile_Form.h"
#include "ui_Template_Wizard.h"

#include "model/TSLText.h"

#include <QFile>
#include <QFileInfo>
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
    QCoreApplication::processEvents();
    window->setWindowModified(false); // as after a save
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

    EXPECT_TRUE(window->isWindowModified()) << "the whole form is one named step, marked as a change";
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(textOf(name), QStringLiteral("Robin Hale"));
    EXPECT_TRUE(itemWithID(QStringLiteral("Fup_Company"))->ctrl_is_visible);
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

// The form of the size window and of the gallery opens on the card's profile and changes nothing before that
// window's OK, which places it as one step; a design left with "Don't Save" is never touched.
TEST_F(CardHolderScenario, TheFormOfAWizardWaitsForItsOkAndIsOneStep)
{
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Robin Hale"));
        return press(form.form().ok_btn, form);
    });
    for (const char* menu : { "menu_Card_Wizard", "menu_New_From_Template" })
        for (const char* outer : { "cancel_btn", "ok_btn" }) {
            SCOPED_TRACE(std::string(menu) + " " + outer);
            const std::vector<QByteArray> before = frontBytes();
            bool untouched = false;
            ui.messageAnswers = { platform::SaveAnswerDontSave };
            ui.modalRuns.push_back([&](QDialog& wizard) {
                ui.modalRuns.push_back([](QDialog& dialog) {
                    auto& form = static_cast<Profile_Form&>(dialog);
                    EXPECT_EQ(form.rows[0].value->text(), QStringLiteral("Robin Hale")) << "the card's profile";
                    type(form.rows[1].value, QStringLiteral("Chair"));
                    return press(form.form().ok_btn, form);
                });
                editorscenario::clickChild(wizard, "profile_btn");
                untouched = frontBytes() == before;
                if (auto* gallery = qobject_cast<Template_Wizard*>(&wizard))
                    gallery->form().grid->selectRow(0);
                editorscenario::clickChild(wizard, outer);
                return wizard.result();
            });
            trigger(QLatin1String(menu));
            ui.messageAnswers.clear();
            EXPECT_TRUE(untouched);
            if (QLatin1String(outer) == QLatin1String("cancel_btn")) {
                EXPECT_EQ(frontBytes(), before);
                continue;
            }
            ASSERT_TRUE(itemWithID(QStringLiteral("Fup_Title")));
            EXPECT_TRUE(itemWithID(QStringLiteral("Fup_Name"))->ctrl_is_visible) << "the card's profile stays";
            EXPECT_EQ(undoTitle(), QStringLiteral("Undo Card Holder"));
            trigger(QStringLiteral("menu_Undo"));
            EXPECT_FALSE(itemWithID(QStringLiteral("Fup_Title"))) << "one step takes it back";
        }
}

// Escape drops typed entries only when the person says so (1 Yes); with nothing typed it just closes.
TEST_F(CardHolderScenario, EscapeAsksBeforeTypedEntriesAreDropped)
{
    for (const auto& row : { std::pair { "", -1 }, { "Robin", 1 }, { "Robin", 0 } }) {
        const char* const typed = row.first;
        const int answer = row.second;
        ui.messages.clear();
        ui.messageAnswers = { answer };
        bool stays = false;
        openForm([&](Profile_Form& form) {
            type(form.rows[0].value, QLatin1String(typed));
            QTest::keyClick(&form, Qt::Key_Escape);
            stays = form.isVisible();
            return stays ? press(form.form().ok_btn, form) : form.result();
        });
        EXPECT_EQ(ui.messages.size(), answer < 0 ? 0u : 1u) << answer;
        EXPECT_EQ(stays, answer == 0);
        EXPECT_EQ(bool(itemWithID(QStringLiteral("Fup_Name"))), stays) << "OK after staying places the typing";
    }
}

TEST_F(CardHolderScenario, CancellingTheChoiceOfAnotherWorkbookChangesNothing)
{
    window->bindingTable.Create_List_By_Array({ QStringLiteral("Guest") }, 1);
    Excel_Source_Path = QStringLiteral("/home/robin/people.xlsx");
    const QString empty = testsupport::makeTempFolder(QStringLiteral("empty")) + QStringLiteral("/empty.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(empty, { { "Other" }, { "x" } }, true));
    openForm([&](Profile_Form& form) {
        ui.fileAnswers.push_back(empty);
        ui.modalRuns.push_back([](QDialog& picker) {
            picker.show();
            editorscenario::clickChild(picker, "Cancel_btn");
            return picker.result();
        });
        QTest::mouseClick(form.form().excel_browse_btn, Qt::LeftButton);
        EXPECT_EQ(form.form().excel_path_field->text(), Excel_Source_Path);
        return press(form.form().cancel_btn, form);
    });
    EXPECT_EQ(Excel_Source_Path, QStringLiteral("/home/robin/people.xlsx"));
    EXPECT_EQ(window->bindingTable.value(0, 1), QStringLiteral("Guest"));
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
    ASSERT_TRUE(writeSolidPicture(path, QSize(300, 300), QColor(90, 140, 60)));
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

    // A photo cut short is refused by name where it is chosen; the form keeps the photo it had.
    const QString damaged = folder.filePath(QStringLiteral("damaged.jpg"));
    ASSERT_TRUE(writeSolidPicture(damaged, QSize(300, 300), Qt::red));
    QFile(damaged).resize(QFileInfo(damaged).size() - 200);
    ui.fileAnswers.push_back(damaged);
    ui.messages.clear();
    openForm([](Profile_Form& form) {
        QTest::mouseClick(form.form().browse_pic_btn, Qt::LeftButton);
        EXPECT_FALSE(form.form().image_path_val->text().contains(QStringLiteral("damaged")));
        return press(form.form().cancel_btn, form);
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages.front().text.contains(QStringLiteral("damaged.jpg")))
        << ui.messages.front().text.toStdString();
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
                EXPECT_EQ(field->isEnabled(), open) << "a field that refuses typing looks it";
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
