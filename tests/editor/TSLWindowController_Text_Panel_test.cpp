// The text pages write the whole page into every selected item of the side being edited, and into nothing
// else; the text box keeps its rules (no placeholder, at most 250 characters, whole characters only);
// showing a text item fills the pages without writing anything back.
#include "editor/ItemPanelTestSupport.h"

#include "common/Text_Length_Limit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFontDialog>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextCursor>

namespace {

using editortest::itemBytes;
using editortest::messageTexts;

class TextPanelTest : public editortest::ItemPanelTest {
protected:
    TSLGraphicPtr addText(const QString& text, const QString& key = TSLDocumentGraphicsKey)
    {
        TSLGraphicPtr item = addItem(QStringLiteral("TSLText"), QRectF(10, 10, 120, 30), key);
        item->Text_contents().string = text;
        return item;
    }
    QPlainTextEdit* textBox() const { return control<QPlainTextEdit>(window->text_edtng_tab, "Text_value_Edit"); }
    static QString textOf(const TSLGraphicPtr& item) { return item->Text_contents().string; }
};

TEST_F(TextPanelTest, ColourAndLookGoIntoEverySelectedItemButSeveralKeepTheirTexts)
{
    const TSLGraphicPtr first = addText(QStringLiteral("Happy birthday"));
    const TSLGraphicPtr unselected = addText(QStringLiteral("From all of us"));
    const TSLGraphicPtr third = addText(QStringLiteral("Many returns"));
    const TSLGraphicPtr back = addText(QStringLiteral("Back"), TSLDocumentGraphicsKey_back);
    first->_isDrawingFill = false;
    third->_isDrawingFill = false;
    select(window->_graphicView, { 0, 2 });
    window->Show_RHS_Properties(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);

    control<Color_Well>("Text_clr")->chooseColor(QColor(180, 0, 90));
    typeInto(control<Stepper_Field>("Text_Kern_Stepper"), QStringLiteral("1.5"));
    typeInto(control<Stepper_Field>("Text_alpha_Stepper"), QStringLiteral("35"));
    click(control<QCheckBox>("Text_fill_chk"));
    click(control<QRadioButton>("Text_gradient_fill_rd"));
    QPlainTextEdit* box = textBox();
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "!");

    for (const TSLGraphicPtr& item : { first, third }) {
        EXPECT_EQ(item->txt_clr, QColor(180, 0, 90));
        EXPECT_FLOAT_EQ(item->text_kerning, 1.5f);
        EXPECT_FLOAT_EQ(item->alpha_val, 0.35f);
        EXPECT_TRUE(item->_isDrawingFill);
        EXPECT_EQ(item->_fill_type, QStringLiteral("G"));
    }
    EXPECT_EQ(textOf(first), QStringLiteral("Happy birthday"));
    EXPECT_EQ(textOf(third), QStringLiteral("Many returns"));
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);
}

TEST_F(TextPanelTest, TypingReplacesThePlaceholderAndReachesTheOneSelectedItem)
{
    const TSLGraphicPtr text = addText(QStringLiteral("Text here"));
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(text);
    QPlainTextEdit* box = textBox();
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Text here"));
    EXPECT_EQ(box->textCursor().selectedText(), QStringLiteral("Text here")) << "the whole text is selected";
    EXPECT_EQ(textOf(text), QStringLiteral("Text here")) << "showing does not clean the stored text";

    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "A");
    EXPECT_EQ(box->toPlainText(), QStringLiteral("A"));
    EXPECT_EQ(textOf(text), QStringLiteral("A"));

    QTest::keyClicks(box, "nna");
    EXPECT_EQ(textOf(text), QStringLiteral("Anna"));
}

TEST_F(TextPanelTest, WhatComesInStopsAt250WholeCharactersAndWhatWasThereStays)
{
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"), a300(300, u'a'), dear = QStringLiteral("Dear guests");
    // Each seen as one character: a flag, e and an accent, a family, a Hindi and a Thai letter with its vowel.
    const QStringList ones = { QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"), QString::fromUtf8("e\xCC\x81"),
        QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"),
        QString::fromUtf8("\xE0\xA4\x95\xE0\xA4\xBF"), QString::fromUtf8("\xE0\xB8\x81\xE0\xB8\xB4") };
    const QString over = QStringLiteral("Dear ") + QString(255, u's');
    const struct {
        int road; // 0 the inspector, 1 the box on the card, 2 the Greeting Texts window
        QString was;
        int at; // the caret, -1 all
        QString put, kept; // put: one character typed, more pasted
        int leftOut, selected = 0; // selected from the caret
    } rows[] = {
        { false, QStringLiteral("x"), -1, a300, QString(250, u'a'), 50 },
        { false, QStringLiteral("x"), -1, QString(249, u'b') + face + QStringLiteral("tail"), QString(249, u'b'), 6 },
        { false, QStringLiteral("x"), -1, QString(248, u'b') + ones[0] + QStringLiteral("!"), QString(248, u'b'), 5 },
        { true, QStringLiteral("x"), -1, QString(249, u'b') + ones[1] + QStringLiteral("!"), QString(249, u'b'), 3 },
        { false, QStringLiteral("x"), -1, QString(245, u'b') + ones[2] + QStringLiteral("!"), QString(245, u'b'), 9 },
        { true, QStringLiteral("x"), -1, QString(249, u'b') + ones[3] + QStringLiteral("!"), QString(249, u'b'), 3 },
        { false, QStringLiteral("x"), -1, QString(249, u'b') + ones[4] + QStringLiteral("!"), QString(249, u'b'), 3 },
        { false, dear, 5, a300, QStringLiteral("Dear ") + QString(239, u'a') + QStringLiteral("guests"), 61 },
        { false, QString(2822, u's'), 2822, QStringLiteral("!"), QString(2822, u's'), 1 }, // stored, never cut
        { false, over, 0, QStringLiteral("d"), QStringLiteral("d") + over.mid(1), 0, 1 }, // typed over
        { true, over, 0, QStringLiteral("Hi all"), QStringLiteral("Hi a") + over.mid(4), 2, 4 },
        { true, QStringLiteral("x"), -1, QString(2822, u'c'), QString(250, u'c'), 2572 },
        { true, dear, 5, QStringLiteral("dear "), QStringLiteral("Dear dear guests"), 0 },
        { 2, QStringLiteral("x"), -1, a300, QString(250, u'a'), 50 },
    };
    const QString clipboard = QGuiApplication::clipboard()->text();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kept.left(20).toStdString() + " in road " + std::to_string(row.road));
        const TSLGraphicPtr text = addText(row.was);
        text->control_ID = QStringLiteral("PARTY_MSG"); // offers the greeting texts
        select(window->_graphicView, { int(window->Get_Front_Controls_Array().size()) - 1 });
        window->Show_RHS_Properties(text);
        if (row.road == 1)
            window->_graphicView->startEditingGraphic(text);
        // As a person does it: a selection, then one key typed or Ctrl+V.
        const auto putInto = [this, &row](QPlainTextEdit* box) {
            QTextCursor caret = box->textCursor();
            row.at < 0 ? caret.select(QTextCursor::Document) : caret.setPosition(row.at);
            if (row.selected)
                caret.setPosition(row.at + row.selected, QTextCursor::KeepAnchor);
            box->setTextCursor(caret);
            ui.messages.clear();
            QGuiApplication::clipboard()->setText(row.put);
            row.put.size() == 1 ? QTest::keyClicks(box, row.put) : QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(
                messageTexts(ui), row.leftOut ? QStringList { Text_Length_Limit::notice(row.leftOut) } : QStringList());
        };
        ui.modalRuns.push_back([&putInto](QDialog& dialog) {
            dialog.show();
            putInto(dialog.findChild<QPlainTextEdit*>(QStringLiteral("msg_value")));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok_btn")), Qt::LeftButton);
            return dialog.result();
        });
        if (row.road == 2)
            click(control<QPushButton>(window->text_edtng_tab, "insert_template_btn"));
        else
            putInto(row.road == 1 ? window->_graphicView->editingView() : textBox());
        if (row.road == 1)
            QTest::keyClick(window->_graphicView->editingView(), Qt::Key_Escape);
        EXPECT_EQ(textOf(text), row.kept) << "as the edit ends";
        EXPECT_EQ(textBox()->toPlainText(), row.kept) << "both boxes show it";
        ui.modalRuns.clear();
    }
    QGuiApplication::clipboard()->setText(clipboard);
}

TEST_F(TextPanelTest, DateAndTimeGoWhereTheSelectionIsOrAskForAFormat)
{
    const TSLGraphicPtr text = addText(QStringLiteral("Party on DAY at last"));
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(text);
    auto* dateButton = control<QPushButton>("Text_Insert_Date_btn");
    auto* timeButton = control<QPushButton>("Text_Insert_Time_btn");
    auto* dates = control<QComboBox>("Text_Date_style");
    auto* times = control<QComboBox>("Text_Time_style");
    dates->clear();
    times->clear();

    click(dateButton);
    click(timeButton);
    EXPECT_EQ(messageTexts(ui),
        QStringList({ QStringLiteral("Please select Date format."), QStringLiteral("Please select Time format.") }));
    EXPECT_EQ(textOf(text), QStringLiteral("Party on DAY at last"));

    dates->addItem(QStringLiteral("yyyy-MM-dd"));
    dates->setCurrentIndex(0);
    QPlainTextEdit* box = textBox();
    QTextCursor range = box->textCursor();
    range.setPosition(9);
    range.setPosition(12, QTextCursor::KeepAnchor); // "DAY"
    box->setTextCursor(range);
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    click(dateButton);
    // Around midnight the date may turn between the two readings.
    const QString tomorrow = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(textOf(text) == QStringLiteral("Party on %1 at last").arg(today)
        || textOf(text) == QStringLiteral("Party on %1 at last").arg(tomorrow))
        << textOf(text).toStdString();

    times->addItem(QStringLiteral("HH:mm"));
    times->setCurrentIndex(0);
    box->moveCursor(QTextCursor::End);
    click(timeButton);
    EXPECT_TRUE(textOf(text).contains(QRegularExpression(QStringLiteral("at last\\d\\d:\\d\\d$"))))
        << textOf(text).toStdString();
}

TEST(TextPanelTimes, OfferedTimeFormatsGiveTheMarkerInCapitals)
{
    const struct {
        const char* format;
        const char* shape;
    } cases[] = {
        { "h:mm:ss a", "^(1[0-2]|[1-9]):[0-5]\\d:[0-5]\\d (AM|PM)$" },
        { "hh:mm:ss a", "^(1[0-2]|0[1-9]):[0-5]\\d:[0-5]\\d (AM|PM)$" },
        { "H:mm:ss", "^\\d{1,2}:[0-5]\\d:[0-5]\\d$" },
        { "'at' h a", "^at \\d{1,2} (AM|PM)$" },
    };
    for (const auto& c : cases) {
        const QString value = TSLWindowController::Get_time_Value(QString::fromLatin1(c.format));
        EXPECT_TRUE(value.contains(QRegularExpression(QString::fromLatin1(c.shape))))
            << c.format << " gave " << value.toStdString();
    }
}

TEST_F(TextPanelTest, ShowingATextFillsBothPagesAndWritesNothingBack)
{
    const TSLGraphicPtr text = addText(QStringLiteral("Welcome"));
    const TSLGraphicPtr other = addText(QStringLiteral("Other"));
    text->alpha_val = 0.5f;
    text->_isDrawingFill = true;
    text->_fill_type = QStringLiteral("G");
    text->_isDrawingStroke = false;
    text->_strokeWidth = 2.9;
    text->_stroke_border_type = QStringLiteral("DD");
    text->text_alignmnet = 2;
    text->text_transfrom_case = 1;
    text->text_kerning = 2.5f;
    text->txt_clr = QColor(3, 4, 5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(21);
    text->text_ctrl_font = font;
    select(window->_graphicView, { 0, 1 });
    const QByteArray textBefore = itemBytes(*text);
    const QByteArray otherBefore = itemBytes(*other);

    window->Show_RHS_Properties(text);

    EXPECT_EQ(itemBytes(*text), textBefore);
    EXPECT_EQ(itemBytes(*other), otherBefore);
    EXPECT_EQ(textBox()->toPlainText(), QStringLiteral("Welcome"));
    EXPECT_EQ(control<Stepper_Field>("Text_alpha_Stepper")->text(), QStringLiteral("50"));
    EXPECT_EQ(control<Stepper_Field>("Text_bor_Stepper")->value(), 2.0);
    EXPECT_EQ(control<QComboBox>("Text_border_style")->currentIndex(), 3);
    EXPECT_EQ(control<QComboBox>("Text_align_combo")->currentIndex(), 2);
    EXPECT_EQ(control<QComboBox>("Text_case_combo")->currentIndex(), 1);
    EXPECT_EQ(control<Stepper_Field>("Text_Kern_Stepper")->value(), 2.5);
    EXPECT_EQ(control<Color_Well>("Text_clr")->color(), QColor(3, 4, 5));
    EXPECT_TRUE(control<QRadioButton>("Text_gradient_fill_rd")->isChecked());
    EXPECT_FALSE(control<Color_Well>("Text_fill_clr")->isEnabled());
    EXPECT_TRUE(control<Color_Well>("Text_fill_Grd_1_clr")->isEnabled());
    EXPECT_FALSE(control<QGroupBox>("Text_Border_Box")->isEnabled());
    EXPECT_EQ(window->Text_font.pointSizeF(), 21.0);
    EXPECT_TRUE(control<QLabel>("Text_font_value")->text().endsWith(QStringLiteral("( 21.00 )")));

    window->Show_RHS_Properties(other);
    EXPECT_EQ(itemBytes(*text), textBefore);
    EXPECT_EQ(itemBytes(*other), otherBefore);
    EXPECT_EQ(textBox()->toPlainText(), QStringLiteral("Other"));
}

TEST_F(TextPanelTest, TheFontPanelChangesTheFontOfTheSelectedTexts)
{
    const TSLGraphicPtr first = addText(QStringLiteral("One"));
    const TSLGraphicPtr second = addText(QStringLiteral("Two"));
    const TSLGraphicPtr unselected = addText(QStringLiteral("Three"));
    select(window->_graphicView, { 0, 1 });
    window->Show_RHS_Properties(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);

    click(control<QPushButton>("Text_font_btn"));
    auto* panel = window->findChild<QFontDialog*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->isModal()) << "the font panel stays beside the window";

    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSizeF(30);
    panel->setCurrentFont(chosen);

    for (const TSLGraphicPtr& item : { first, second }) {
        ASSERT_TRUE(item->text_ctrl_font.has_value());
        EXPECT_EQ(item->text_ctrl_font->pointSizeF(), 30.0);
        EXPECT_EQ(item->text_ctrl_font->family(), QStringLiteral("DejaVu Serif"));
    }
    EXPECT_TRUE(control<QLabel>("Text_font_value")->text().endsWith(QStringLiteral("( 30.00 )")));
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
}

TEST_F(TextPanelTest, TheGreetingTextButtonNamesItsKindAndOpensTheCatalogue)
{
    const TSLGraphicPtr title = addText(QStringLiteral("Title"));
    title->control_ID = QStringLiteral("PARTY_TITLE");
    const TSLGraphicPtr message = addText(QStringLiteral("Message"));
    message->control_ID = QStringLiteral("PARTY_MSG");
    const TSLGraphicPtr plain = addText(QStringLiteral("Plain"));
    auto* button = control<QPushButton>(window->text_edtng_tab, "insert_template_btn");

    window->Show_RHS_Properties(title);
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(button->text(), QStringLiteral("Use Template Title"));
    window->Show_RHS_Properties(message);
    EXPECT_EQ(button->text(), QStringLiteral("Use Template Message"));
    EXPECT_TRUE(button->isEnabled());
    window->Show_RHS_Properties(plain);
    EXPECT_TRUE(button->isHidden());
}

TEST_F(TextPanelTest, NothingIsWrittenWhileTheInspectorIsFilled)
{
    const TSLGraphicPtr text = addText(QStringLiteral("Keep"));
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(text);
    const QByteArray before = itemBytes(*text);

    Not_Draw_Only_Prop_Change = true;
    control<Color_Well>("Text_clr")->chooseColor(QColor(9, 99, 199));
    textBox()->moveCursor(QTextCursor::End);
    QTest::keyClicks(textBox(), "X");
    Not_Draw_Only_Prop_Change = false;

    EXPECT_EQ(itemBytes(*text), before);
}

} // namespace
