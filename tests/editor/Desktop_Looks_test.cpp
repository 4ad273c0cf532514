// The program's windows as a desktop shows them: readable under light and dark palettes, and usable on
// screens of the common sizes with a larger system font.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Dialog.h"
#include "common/Long_SMS_Dlg.h"
#include "common/Screen_Fit.h"
#include "common/Window_Look.h"
#include "info/Help_Support.h"
#include "info/Promotion_Form.h"
#include "output/Print_Wnd.h"
#include "profiles/Invitation_Wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QToolButton>

namespace {

QPalette darkPalette()
{
    QPalette dark;
    const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230);
    for (auto role : { QPalette::Window, QPalette::Button, QPalette::AlternateBase })
        dark.setColor(role, window);
    dark.setColor(QPalette::Base, base);
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText })
        dark.setColor(role, text);
    dark.setColor(QPalette::Link, QColor(0, 0, 238)); // a theme may leave the link colour dark
    return dark;
}

// What is painted behind a widget that does not fill itself: the nearest ancestor that does.
QColor backgroundBehind(const QWidget& widget)
{
    const QWidget* filler = &widget;
    while (filler->parentWidget() && !filler->autoFillBackground() && !filler->isWindow())
        filler = filler->parentWidget();
    const QBrush brush = filler->palette().brush(filler->backgroundRole());
    const QImage picture = brush.textureImage();
    // A picture behind the text counts with its average colour.
    return picture.isNull() ? brush.color()
                            : picture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
}

// Every text a person reads whose colour does not stand out from what is behind it.
QStringList unreadableTexts(QWidget& window)
{
    QStringList unreadable;
    auto check = [&unreadable](const QWidget& widget, const QString& text, const QColor& behind) {
        const QColor ink = widget.palette().color(widget.foregroundRole());
        if (!text.isEmpty() && contrastRatio(ink, behind) < 3.0)
            unreadable
                << QStringLiteral("%1 \"%2\" %3 on %4").arg(widget.objectName(), text, ink.name(), behind.name());
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->textFormat() != Qt::RichText)
            check(*label, label->text(), backgroundBehind(*label));
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            check(*group, group->title(), backgroundBehind(*group));
        else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
            check(*widget, static_cast<QAbstractButton*>(widget)->text(), backgroundBehind(*widget));
        else if (auto* button = qobject_cast<QPushButton*>(widget); button && button->isFlat())
            check(*button, button->text(), backgroundBehind(*button));
        else if (auto* bar = qobject_cast<QMenuBar*>(widget))
            check(*bar, bar->actions().value(0) ? bar->actions().value(0)->text() : QString(), backgroundBehind(*bar));
    }
    return unreadable;
}

class DesktopLooks : public editorscenario::EditorScenario {
protected:
    QPalette original = QApplication::palette();
    QFont originalFont = QApplication::font();

    void TearDown() override
    {
        QApplication::setPalette(original);
        QApplication::setFont(originalFont);
        EditorScenario::TearDown();
    }

    std::vector<std::pair<const char*, QWidget*>> windows() const
    {
        return {
            { "main window", window.get() },
            { "start screen", Invitation_Wizard::defaultInstance() },
            { "barcode dialog", Barcode_Dialog::defaultInstance() },
            { "print window", &Print_Wnd::defaultInstance() },
            { "message window", Long_SMS_Dlg::defaultInstance() },
            { "help", Help_Support::defaultInstance() },
            { "products", Promotion_Form::defaultInstance() },
        };
    }
};

TEST_F(DesktopLooks, EveryWindowIsReadableUnderLightAndDarkPalettes)
{
    startEmpty();
    const struct {
        const char* name;
        QPalette palette;
    } palettes[] = { { "light", QApplication::style()->standardPalette() }, { "dark", darkPalette() },
        { "light again", QApplication::style()->standardPalette() } };
    for (const auto& row : palettes) {
        QApplication::setPalette(row.palette);
        for (const auto& [name, shown] : windows())
            EXPECT_EQ(unreadableTexts(*shown).join(QLatin1Char('\n')).toStdString(), "")
                << name << " under the " << row.name << " palette";
        // The light look stays the program's own tint; a dark palette keeps its own window colour.
        const QColor background = window->palette().color(QPalette::Window);
        EXPECT_EQ(background, isDarkPalette(row.palette) ? row.palette.color(QPalette::Window) : QColor(241, 244, 250))
            << row.name;
    }
}

TEST_F(DesktopLooks, EveryWindowFitsCommonScreensWithALargerFont)
{
    startEmpty();
    QFont larger = originalFont;
    larger.setPointSizeF(originalFont.pointSizeF() * 1.25);
    QApplication::setFont(larger);
    for (const QRect& screen : { QRect(0, 0, 1280, 720), QRect(0, 0, 1366, 768), QRect(0, 32, 1600, 968) }) {
        for (const auto& [name, shown] : windows()) {
            shown->ensurePolished();
            const QSize least = shown->minimumSizeHint().expandedTo(shown->minimumSize());
            EXPECT_TRUE(least.width() <= screen.width() && least.height() <= screen.height())
                << name << " needs " << least.width() << "x" << least.height() << " on " << screen.width() << "x"
                << screen.height();
            const QRect placed = fittedWindowGeometry(QRect(QPoint(100, 0), QSize(1000, 800)), least, screen);
            EXPECT_TRUE(screen.contains(placed)) << name;
        }
    }
}

TEST_F(DesktopLooks, AWindowIsPlacedWithinTheScreensAvailableArea)
{
    const struct {
        QRect wanted;
        QSize minimum;
        QRect available;
        QRect placed;
    } rows[] = {
        { { 100, 0, 1000, 800 }, { 600, 400 }, { 0, 0, 1280, 720 }, { 100, 0, 1000, 720 } },
        { { 900, 500, 600, 300 }, { 100, 100 }, { 0, 30, 1280, 690 }, { 680, 420, 600, 300 } },
        { { -50, -50, 400, 300 }, { 100, 100 }, { 0, 0, 1280, 720 }, { 0, 0, 400, 300 } },
        { { 0, 0, 2000, 2000 }, { 1500, 100 }, { 0, 0, 1280, 720 }, { 0, 0, 1280, 720 } },
    };
    for (const auto& row : rows)
        EXPECT_EQ(fittedWindowGeometry(row.wanted, row.minimum, row.available), row.placed) << row.wanted.x();
}

TEST_F(DesktopLooks, MenusHaveMnemonicsAndTheStandardKeysAndTheWindowItsCloseButton)
{
    startEmpty();
    for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        QSet<QChar> letters;
        for (const QAction* entry : menu->actions()) {
            if (entry->isSeparator())
                continue;
            EXPECT_FALSE(entry->text().contains(QLatin1String("Centre"))) << "one spelling: Center";
            const qsizetype at = entry->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(at, 0) << entry->text().toStdString();
            EXPECT_FALSE(letters.contains(entry->text()[at + 1].toLower())) << entry->text().toStdString();
            letters.insert(entry->text()[at + 1].toLower());
        }
    }
    const struct {
        const char* name;
        QKeySequence::StandardKey key;
    } keys[] = { { "Print_btn", QKeySequence::Print }, { "Help_btn", QKeySequence::HelpContents },
        { "Save_btn", QKeySequence::Save } };
    for (const auto& row : keys) {
        const QAction* entry = window->findChild<QAction*>(QLatin1String(row.name));
        ASSERT_NE(entry, nullptr) << row.name;
        for (const QKeySequence& standard : QKeySequence::keyBindings(row.key))
            EXPECT_TRUE(entry->shortcuts().contains(standard)) << row.name;
        EXPECT_FALSE(entry->shortcuts().isEmpty()) << row.name;
    }
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::CustomizeWindowHint));
}

TEST_F(DesktopLooks, TheCanvasShowsWhenItHasTheKeyboardFocus)
{
    startEmpty();
    TSLGraphicView* view = canvas();
    const QPoint edge(1, view->height() / 2);
    window->Front_Card_btn->setFocus();
    QCoreApplication::processEvents();
    const QColor without = view->grab().toImage().pixelColor(edge);
    view->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());
    const QColor with = view->grab().toImage().pixelColor(edge);
    EXPECT_NE(with, without);
    EXPECT_EQ(with, view->palette().color(QPalette::Highlight));
}

} // namespace
