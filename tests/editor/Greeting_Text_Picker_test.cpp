// The text page's greeting-text button on the invitation's title and message: it opens the picker on the
// right list, and the chosen text reaches the selected item; Cancel leaves the item as it was.
#include "editor/ItemPanelTestSupport.h"
#include "profiles/Greeting_Text_Catalogue.h"
#include "model/TSLText.h"
#include "profiles/Insert_Template.h"
#include "ui_Insert_Template.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class GreetingTextPickerTest : public editortest::ItemPanelTest {
protected:
    TSLGraphicPtr partyText(const char* id, const QString& text)
    {
        const TSLGraphicPtr item = addItem(QStringLiteral("TSLText"), QRectF(10, 10, 200, 40), TSLDocumentGraphicsKey);
        item->control_ID = QLatin1String(id);
        item->Text_contents().string = text;
        item->Text_Value = text;
        select(window->_graphicView, { 0 });
        window->_graphicView->setSelected_Graphic(item);
        window->Show_RHS_Properties(item);
        return item;
    }
};

TEST_F(GreetingTextPickerTest, TheChosenTitleOrMessageReplacesTheItemsText)
{
    Event_Type = QStringLiteral("2");
    struct Case {
        const char* id;
        QStringList list;
    };
    const Case cases[] = { { "PARTY_TITLE", Greeting_Text_Catalogue::titles(QStringLiteral("2")) },
        { "PARTY_MSG", Greeting_Text_Catalogue::messages(QStringLiteral("2")) } };
    for (const Case& c : cases) {
        const TSLGraphicPtr item = partyText(c.id, QStringLiteral("old"));
        ui.modalRuns.push_back([](QDialog& dialog) {
            auto& picker = static_cast<Insert_Template&>(dialog);
            QTest::mouseClick(picker.form().next_btn, Qt::LeftButton);
            QTest::mouseClick(picker.form().ok_btn, Qt::LeftButton);
            return picker.result();
        });
        auto* button = control<QPushButton>(window->text_edtng_tab, "insert_template_btn");
        ASSERT_TRUE(button->isEnabled());
        button->resize(button->sizeHint());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(item->Text_contents().string, c.list.at(1).trimmed()) << c.id;
        EXPECT_EQ(
            control<QPlainTextEdit>(window->text_edtng_tab, "Text_value_Edit")->toPlainText(), c.list.at(1).trimmed());
        document.removeGraphicAtIndex(0);
    }
}

// A long greeting grows its box to the card's edge, moved up if need be, in a smaller font, or is said.
TEST_F(GreetingTextPickerTest, ALongGreetingFitsOnTheCardOrIsSaid)
{
    const double card = window->_graphicView->canvasSize().height();
    // Within the 250 characters a text holds: a long line, and many short lines.
    const QString line = QStringLiteral("Happy days ").repeated(22).trimmed(),
                  lines = QStringLiteral("Happy\n").repeated(41);
    for (const auto& [top, words, fitting] :
        { std::tuple(10.0, line, true), { card - 8, line, true }, { card - 8, lines, false } }) {
        const QString greeting = words;
        auto* text = dynamic_cast<TSLText*>(partyText("PARTY_MSG", QStringLiteral("old")).get());
        text->setBounds(QRectF(10, top, 200, 8));
        ui.messages.clear();
        ui.modalRuns.push_back([&greeting](QDialog& dialog) {
            static_cast<Insert_Template&>(dialog).form().msg_value->setPlainText(greeting);
            QTest::mouseClick(static_cast<Insert_Template&>(dialog).form().ok_btn, Qt::LeftButton);
            return dialog.result();
        });
        auto* button = control<QPushButton>(window->text_edtng_tab, "insert_template_btn");
        button->resize(button->sizeHint());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_LE(text->bounds().bottom(), card + 0.5) << top;
        const bool fits = text->bounds().top() + text->naturalSize().height() <= card + 0.5;
        EXPECT_EQ(fits, fitting) << top;
        EXPECT_EQ(ui.messages.size(), fits ? 0u : 1u) << "what does not fit is said";
        document.removeGraphicAtIndex(0);
    }
}

TEST_F(GreetingTextPickerTest, CancelKeepsTheItemsText)
{
    const TSLGraphicPtr item = partyText("PARTY_MSG", QStringLiteral("Come over on Friday"));
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& picker = static_cast<Insert_Template&>(dialog);
        QTest::mouseClick(picker.form().next_btn, Qt::LeftButton);
        QTest::mouseClick(picker.form().cancel_btn, Qt::LeftButton);
        return picker.result();
    });
    window->Insert_Template_Button();
    EXPECT_EQ(item->Text_contents().string, QStringLiteral("Come over on Friday"));
    EXPECT_EQ(ui.dialogsRun.back(), QStringLiteral("Insert_Template"));
}

} // namespace
