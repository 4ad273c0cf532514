// A text item has one text box, on the text-editing page: the data-source page binds the item to a series but
// edits no text of its own, and the greeting-text button stays usable whatever the source.
#include "editor/ItemPanelTestSupport.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {

class TextBoxTest : public editortest::ItemPanelTest { };

TEST_F(TextBoxTest, ShowingATextFillsTheTextPageBoxAndTypingThereReachesTheItem)
{
    const TSLGraphicPtr text = addItem(QStringLiteral("TSLText"), QRectF(10, 10, 120, 30), TSLDocumentGraphicsKey);
    text->Text_contents().string = QStringLiteral("Happy birthday");
    select(window->_graphicView, { 0 });

    window->Show_RHS_Properties(text);

    EXPECT_TRUE(window->datasource_tab->findChildren<QPlainTextEdit*>().isEmpty())
        << "the data-source page has no text box of its own";
    EXPECT_EQ(window->datasource_tab->findChild<QPushButton*>(QStringLiteral("insert_template_btn")), nullptr);
    auto* box = control<QPlainTextEdit>(window->text_edtng_tab, "Text_value_Edit");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(window->Text_value_Edit, box);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Happy birthday"));

    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, ", Mia");
    EXPECT_EQ(text->Text_contents().string, QStringLiteral("Happy birthday, Mia"));
}

TEST_F(TextBoxTest, TheManualSourceLeavesTheGreetingTextButtonUsableAndTheBoxWritable)
{
    const TSLGraphicPtr text = addItem(QStringLiteral("TSLText"), QRectF(10, 10, 120, 30), TSLDocumentGraphicsKey);
    text->control_ID = QStringLiteral("PARTY_MSG");
    text->data_source_type = 1;
    select(window->_graphicView, { 0 });
    window->_graphicView->setSelected_Graphic(text);
    window->Show_RHS_Properties(text);
    auto* button = control<QPushButton>(window->text_edtng_tab, "insert_template_btn");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isHidden()) << "a party message offers its greeting texts";

    QComboBox* source = control<QComboBox>(window->datasource_tab, "Data_source_type");
    QTest::keyClick(source, Qt::Key_Home);

    EXPECT_EQ(source->currentText(), QStringLiteral("Manual"));
    EXPECT_EQ(text->data_source_type, 0);
    EXPECT_TRUE(button->isEnabled()) << "the greeting-text picker opens from it";
    EXPECT_FALSE(control<QPlainTextEdit>(window->text_edtng_tab, "Text_value_Edit")->isReadOnly());
}

} // namespace
