// The card-holder form in a person's hands: the Card Holder button opens it on the side being edited,
// OK places the profile there, the next opening reads it back, and a preview followed by Cancel leaves
// the card exactly as it was, and each OK is one undo step. The form of no side, opened from Card Size and
// Shape or the template gallery, places its entries only when that window is confirmed.
#include "editor/EditorScenarioFixture.h"

#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Profile_Form.h"
#include "profiles/Template_Wizard.h"
#include "ui_Profile_Form.h"
#include "ui_Template_Wizard.h"

#include "model/TSLText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

    // The whole form is one named step, and the design is marked changed.
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(action(QStringLiteral("menu_Undo"))->text(), QStringLiteral("Undo Card Holder"));
    trigger(QStringLiteral("menu_Undo"));
    EXPECT_EQ(textOf(name), QStringLiteral("Robin Hale"));
    EXPECT_TRUE(itemWithID(QStringLiteral("Fup_Company"))->ctrl_is_visible);
    EXPECT_EQ(name->bounds(), QRectF(33, 44, 120, 20)) << "the move before it is a step of its own";
    trigger(QStringLiteral("menu_Redo"));
    EXPECT_EQ(textOf(name), QStringLiteral("Robin Hale-Smith"));
    EXPECT_FALSE(itemWithID(QStringLiteral("Fup_Company"))->ctrl_is_visible);
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

TEST_F(CardHolderScenario, TheFormOfTheSizeWindowChangesNothingUntilItsOkAndThenIsOneStep)
{
    window->Select_back_side();
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Robin Hale"));
        type(form.rows[2].value, QStringLiteral("Hale & Sons"));
        return press(form.form().ok_btn, form);
    });
    window->bindingTable.Create_List_By_Array({ QStringLiteral("Guest") }, 1);
    Excel_Source_Path = QStringLiteral("/home/robin/guests.xlsx");
    const auto backBytes = [this] {
        std::vector<QByteArray> bytes;
        for (const TSLGraphicPtr& item : window->Get_Back_Controls_Array())
            bytes.push_back(editortest::itemBytes(*item));
        return bytes;
    };
    const auto backItem = [this](const char* id) {
        for (const TSLGraphicPtr& item : window->Get_Back_Controls_Array())
            if (item->control_ID == QLatin1String(id))
                return item;
        return TSLGraphicPtr();
    };
    const struct {
        const char* outer;
        bool placed;
    } rows[] = { { "cancel_btn", false }, { "ok_btn", true } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.outer);
        const std::vector<QByteArray> before = backBytes();
        QString shown, title;
        bool unchangedInside = false;
        ui.modalRuns.push_back([&](QDialog& wizard) {
            wizard.show();
            ui.modalRuns.push_back([&](QDialog& dialog) {
                auto& form = static_cast<Profile_Form&>(dialog);
                dialog.show();
                shown = form.rows[0].value->text();
                title = form.windowTitle();
                type(form.rows[1].value, QStringLiteral("Chair"));
                return press(form.form().ok_btn, form);
            });
            editorscenario::clickChild(wizard, "profile_btn");
            unchangedInside = backBytes() == before;
            editorscenario::clickChild(wizard, row.outer);
            return wizard.result();
        });
        trigger(QStringLiteral("menu_Card_Wizard"));
        EXPECT_EQ(shown, QStringLiteral("Robin Hale")) << "the form opens on the card's profile";
        EXPECT_EQ(title, QStringLiteral("User Profile Information"));
        EXPECT_TRUE(unchangedInside) << "nothing changes before the size window's OK";
        EXPECT_TRUE(window->Get_Front_Controls_Array().empty());
        EXPECT_EQ(Excel_Source_Path, QStringLiteral("/home/robin/guests.xlsx"));
        if (!row.placed) {
            EXPECT_EQ(backBytes(), before);
            continue;
        }
        ASSERT_TRUE(backItem("Fup_Title"));
        EXPECT_EQ(textOf(backItem("Fup_Title")), QStringLiteral("Chair"));
        for (const char* kept : { "Fup_Name", "Fup_Company" })
            EXPECT_TRUE(backItem(kept)->ctrl_is_visible) << kept << " stays on the card";
        EXPECT_EQ(action(QStringLiteral("menu_Undo"))->text(), QStringLiteral("Undo Card Holder"));
        trigger(QStringLiteral("menu_Undo"));
        EXPECT_EQ(backBytes(), before) << "one step takes it all back";
    }
}

// Through the gallery the form's entries go on the template opened, never on the design that was left.
TEST_F(CardHolderScenario, TheFormOfTheGalleryNeverTouchesTheDesignThatWasLeft)
{
    openForm([](Profile_Form& form) {
        type(form.rows[0].value, QStringLiteral("Robin Hale"));
        return press(form.form().ok_btn, form);
    });
    const std::vector<QByteArray> left = frontBytes();
    for (const char* outer : { "cancel_btn", "ok_btn" }) {
        SCOPED_TRACE(outer);
        ui.messageAnswers = { platform::SaveAnswerDontSave };
        ui.modalRuns.push_back([this, outer, &left](QDialog& gallery) {
            gallery.show();
            ui.modalRuns.push_back([](QDialog& dialog) {
                auto& form = static_cast<Profile_Form&>(dialog);
                dialog.show();
                type(form.rows[0].value, QStringLiteral("Sam Ode"));
                return press(form.form().ok_btn, form);
            });
            editorscenario::clickChild(gallery, "profile_btn");
            EXPECT_EQ(frontBytes(), left);
            static_cast<Template_Wizard&>(gallery).form().grid->selectRow(0);
            editorscenario::clickChild(gallery, outer);
            return gallery.result();
        });
        trigger(QStringLiteral("menu_New_From_Template"));
        ui.messageAnswers.clear();
    }
    const TSLGraphicPtr name = itemWithID(QStringLiteral("Fup_Name"));
    ASSERT_TRUE(name);
    EXPECT_EQ(textOf(name), QStringLiteral("Sam Ode")) << "the template carries the card holder";
    EXPECT_NE(frontBytes(), left);
}

// Escape drops typed entries only when the person says so; with nothing typed it just closes.
TEST_F(CardHolderScenario, EscapeAsksBeforeTypedEntriesAreDropped)
{
    const struct {
        const char* typed; // nothing typed: no question
        std::deque<int> answers; // to "drop what you typed?", 1 Yes
        bool closes;
    } rows[] = { { "", {}, true }, { "Robin", { 1 }, true }, { "Robin", { 0 }, false } };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.typed) + " " + std::to_string(row.answers.size()));
        ui.messages.clear();
        ui.messageAnswers = row.answers;
        bool openAfterEscape = false;
        QString kept;
        openForm([&](Profile_Form& form) {
            if (*row.typed)
                type(form.rows[0].value, QLatin1String(row.typed));
            QTest::keyClick(&form, Qt::Key_Escape);
            openAfterEscape = form.isVisible();
            kept = form.rows[0].value->text();
            return openAfterEscape ? press(form.form().ok_btn, form) : form.result();
        });
        EXPECT_EQ(ui.messages.size(), row.answers.size());
        EXPECT_EQ(openAfterEscape, !row.closes);
        EXPECT_EQ(kept, QLatin1String(row.typed)) << "the typing is still there";
        EXPECT_EQ(bool(itemWithID(QStringLiteral("Fup_Name"))), !row.closes) << "OK after staying places it";
    }
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
    EXPECT_FALSE(log.contains(QStringLiteral("tessaline:"))) << "a successful placement is no news: " << log.toStdString();
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
