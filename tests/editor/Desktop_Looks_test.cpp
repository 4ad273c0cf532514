// The program's windows as a desktop shows them: readable under light and dark palettes, and usable on
// screens of the common sizes with a larger system font; names from outside show as the characters they are.
#include "editor/EditorScenarioFixture.h"

#include "barcode/Barcode_Dialog.h"
#include "canvas/Repeat_Image.h"
#include "common/Long_SMS_Dlg.h"
#include "common/PleaseWait_Modeless.h"
#include "common/Screen_Fit.h"
#include "common/Window_Look.h"
#include "data/Import_Excel.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/View_Data_Series.h"
#include "editor/Export_Window.h"
#include "info/Help_Support.h"
#include "info/Promotion_Form.h"
#include "output/Email_Setting.h"
#include "output/Open_Export_Log.h"
#include "output/Print_Wnd.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"
#include "profiles/Card_Wizard.h"
#include "profiles/Profile_Form.h"
#include "profiles/Template_Wizard.h"
#include "profiles/Invitation_Wizard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QSet>
#include <QStyle>
#include <QToolButton>

namespace {

QPalette darkPalette()
{
    QPalette dark(QColor(230, 230, 230), QColor(45, 45, 48)); // light text on dark windows and buttons
    dark.setColor(QPalette::Link, QColor(0, 0, 238)); // a theme may leave the link colour dark
    return dark;
}

// What is painted behind a widget that does not fill itself: the nearest ancestor that does.
QColor backgroundBehind(const QWidget& widget)
{
    const QWidget* filler = &widget;
    while (filler->parentWidget() && !filler->autoFillBackground() && !filler->isWindow()) {
        if (qobject_cast<const Repeat_Image*>(filler)) // paints the banner itself
            return editorServices()
                ->bannerImage()
                .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .pixelColor(0, 0);
        filler = filler->parentWidget();
    }
    const QBrush brush = filler->palette().brush(filler->backgroundRole()); // a picture counts with its average
    return brush.textureImage().isNull() ? brush.color() : brush.textureImage().scaled(1, 1).pixelColor(0, 0);
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
        if (auto* label = qobject_cast<QLabel*>(widget))
            check(*label, label->text(), backgroundBehind(*label));
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            check(*group, group->title(), backgroundBehind(*group));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !qobject_cast<QToolButton*>(button)
                 && (!qobject_cast<QPushButton*>(button) || static_cast<QPushButton*>(button)->isFlat()
                     || qobject_cast<QCommandLinkButton*>(button)))
            check(*button, button->text(), backgroundBehind(*button)); // check boxes, radios and links
        else if (auto* bar = qobject_cast<QMenuBar*>(widget))
            check(*bar, bar->actions().value(0)->text(), backgroundBehind(*bar));
    }
    return unreadable;
}

// The tool buttons whose icons hardly stand out from what is behind them: most of their coloured pixels (the
// white of a drawn page aside) under 3:1 against it.
QStringList faintIcons(QWidget& window)
{
    QStringList faint;
    for (QToolButton* button : window.findChildren<QToolButton*>()) {
        const QImage icon = button->icon().pixmap(QSize(24, 24)).toImage();
        int balance = 0; // pixels that stand out less those that do not
        for (int at = 0; at < icon.width() * icon.height(); ++at) {
            const QColor pixel = icon.pixelColor(at % icon.width(), at / icon.width());
            if (pixel.alpha() > 200 && pixel != Qt::white)
                balance += contrastRatio(pixel, backgroundBehind(*button)) >= 3 ? 1 : -1;
        }
        if (balance < 0 && !button->objectName().startsWith(QLatin1String("qt_"))) // not the style's arrows
            faint << (button->defaultAction() ? button->defaultAction()->objectName() : button->objectName());
    }
    return faint;
}

// The labels, buttons and number fields a person sees in the window, each cut to what the widgets around it
// let show, that lie over one another or are narrower than they need (a push button's text and margins
// count, not the width of fashion its hint adds).
QStringList crowdedControls(QWidget& window)
{
    std::vector<std::pair<QWidget*, QRect>> shown;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        QRect rect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        for (const QWidget* outer = widget->parentWidget(); outer != &window; outer = outer->parentWidget())
            rect &= QRect(outer->mapTo(&window, QPoint(0, 0)), outer->size());
        const auto* label = qobject_cast<QLabel*>(widget);
        if (widget->isVisible() && !rect.isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"))
            && ((label && !label->text().isEmpty()) || qobject_cast<QAbstractButton*>(widget)
                || qobject_cast<QAbstractSpinBox*>(widget)))
            shown.emplace_back(widget, rect);
    }
    QStringList crowded;
    for (auto one = shown.begin(); one != shown.end(); ++one) {
        QWidget* control = one->first;
        const auto* push = qobject_cast<QPushButton*>(control);
        const int need = push ? control->fontMetrics().horizontalAdvance(push->text().remove(QLatin1Char('&')))
                + control->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control)
                              : control->minimumSizeHint().width();
        if (control->width() < need)
            crowded << control->objectName() + QStringLiteral(" is %1 wide, needs %2").arg(control->width()).arg(need);
        for (auto other = one + 1; other != shown.end(); ++other) {
            if (one->second.intersects(other->second) && !control->isAncestorOf(other->first)
                && !other->first->isAncestorOf(control))
                crowded << control->objectName() + QStringLiteral(" lies over ") + other->first->objectName();
        }
    }
    return crowded;
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
        return { { "main window", window.get() }, { "start screen", Invitation_Wizard::defaultInstance() },
            { "barcode dialog", Barcode_Dialog::defaultInstance() }, { "print window", &Print_Wnd::defaultInstance() },
            { "message window", Long_SMS_Dlg::defaultInstance() }, { "help", Help_Support::defaultInstance() },
            { "products", Promotion_Form::defaultInstance() }, { "card holder", Show_User_Profile::defaultInstance() },
            { "card size", Card_Wizard::defaultInstance() }, { "templates", Template_Wizard::defaultInstance() },
            { "mail", &Send_Mail::defaultInstance() } };
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
        EXPECT_TRUE(!isDarkPalette(row.palette) || faintIcons(*window).isEmpty()) // light: yellow folders stay
            << faintIcons(*window).join(QLatin1Char(' ')).toStdString();
        // The light look stays the program's own tint; a dark palette keeps its own window colour.
        const QColor background = window->palette().color(QPalette::Window);
        EXPECT_EQ(background, isDarkPalette(row.palette) ? row.palette.color(QPalette::Window) : QColor(241, 244, 250))
            << row.name;
    }
}

// What of the window a person cannot reach where it goes over the main window, with a frame reserved, once
// a window manager has framed it: the frame off the screen, a size below its least, the way out cut off, a
// place off the main window's centre where the screen had room.
QStringList misplaced(QWidget& shown, QWidget& main, const QRect& screen)
{
    const bool isMain = &shown == &main;
    shown.show();
    QCoreApplication::processEvents(); // the layout follows the font
    const QMargins frame = windowFrameAllowance(shown);
    const QRect placed
        = placedWindowGeometry(shown, isMain ? QSize(1000, 800) : QSize(), isMain ? nullptr : &main, screen, frame);
    shown.setGeometry(QRect(placed.topLeft() + QPoint(frame.left(), frame.top()), placed.size()));
    QCoreApplication::processEvents();
    const QRect framed(placed.topLeft(), placed.size().grownBy({ 1, 24, 1, 5 })),
        reserved(placed.topLeft(), placed.size().grownBy(frame));
    bool cutOff = false; // a button outside the window that no scroll area holds
    for (const QPushButton* button : shown.findChildren<QPushButton*>()) {
        const QWidget* holder = button;
        while (holder != &shown && !qobject_cast<const QScrollArea*>(holder))
            holder = holder->parentWidget();
        cutOff |= holder == &shown && button->isVisibleTo(&shown)
            && !shown.rect().contains(QRect(button->mapTo(&shown, QPoint(0, 0)), button->size()));
    }
    const QPoint off = reserved.center() - (isMain ? reserved : main.frameGeometry()).center();
    const std::pair<bool, const char*> faults[] = { { !screen.contains(framed), "frame off the screen" },
        { shown.size() != placed.size(), "below its least size" }, { cutOff, "way out cut off" },
        { off.manhattanLength() > 2 && screen.contains(reserved.translated(-off)), "off the main window's centre" } };
    QStringList found;
    for (const auto& [fault, name] : faults)
        if (fault)
            found << QLatin1String(name);
    return found;
}

TEST_F(DesktopLooks, EveryWindowFitsCommonScreensAtLargerFontsOverTheMainWindowAndNoInspectorPageIsCrowded)
{
    startEmpty();
    const struct {
        QRect screen; // the area a desktop leaves to windows, in the desktop's scaled pixels
        double points; // the system font; 0 keeps the desktop's own
        double dpi; // the resolution the desktop gives fonts
        QRect mainWindow; // where the main window, wanted at 1000 x 800 from (100, 0), is placed; null: not checked
    } rows[] = { { { 0, 0, 1280, 720 }, 0, 96, { 100, 0, 1000, 720 } },
        { { 0, 32, 1600, 968 }, 0, 96, { 100, 32, 1000, 800 } }, { { 0, 0, 1280, 693 }, 12, 96, {} },
        { { 0, 0, 1280, 720 }, 0, 120, {} }, { { 0, 0, 1366, 768 }, 14, 96, {} },
        { { 0, 0, 960, 540 }, 0, 96, {} } }; // 1920 x 1080 at scale 2
    for (const auto& row : rows) {
        QFont font = originalFont;
        font.setPointSizeF((row.points > 0 ? row.points : font.pointSizeF()) * row.dpi / 96);
        QApplication::setFont(font);
        for (const auto& [name, shown] : windows()) {
            const QSize least = shown->minimumSizeHint().expandedTo(shown->minimumSize());
            EXPECT_TRUE(least.width() <= row.screen.width() && least.height() <= row.screen.height())
                << name << " needs " << least.width() << " x " << least.height() << " at " << row.points;
            if (shown == window.get() && !row.mainWindow.isNull()) {
                EXPECT_EQ(fittedWindowGeometry({ 100, 0, 1000, 800 }, least, row.screen), row.mainWindow);
            }
            EXPECT_EQ(misplaced(*shown, *window, row.screen).join(QLatin1String(", ")).toStdString(), "")
                << name << " on " << row.screen.width() << " x " << row.screen.height() << " at " << row.points
                << " pt, " << row.dpi << " dpi";
            if (shown != window.get())
                shown->hide();
        }
        for (QWidget* page : window->inspectorPages()) { // each page alone, as the selection shows it
            while (window->sett_tab->count() > 0)
                window->sett_tab->removeTab(0);
            window->sett_tab->addTab(page, page->windowTitle());
            QCoreApplication::processEvents();
            window->resize(window->minimumSizeHint());
            QCoreApplication::processEvents();
            const std::string where = page->windowTitle().toStdString() + " at " + std::to_string(row.points);
            EXPECT_TRUE(window->width() <= row.screen.width() && window->height() <= row.screen.height())
                << where << " needs " << window->width() << " x " << window->height();
            EXPECT_EQ(crowdedControls(*window).join(QLatin1Char('\n')).toStdString(), "") << where;
        }
    }
    // Shown for real, a window opens over the window that is active as it opens, and over the main window
    // when none is (a notice after a progress window has closed).
    QWidget passing;
    window->setGeometry(window->screen()->availableGeometry().adjusted(10, 40, -10, -10)); // room for each
    using Kind = platform::MessageRequest::Kind;
    const std::tuple<QWidget*, QWidget*, Kind> opens[]
        = { { window.get(), Card_Wizard::defaultInstance(), {} }, { &passing, &Open_Export_Log::defaultInstance(), {} },
              { window.get(), Invitation_Wizard::defaultInstance(), {} },
              { window.get(), &Export_Window::defaultInstance(), {} }, { window.get(), nullptr, Kind::Information },
              { window.get(), nullptr, Kind::SaveQuestion } };
    for (const auto& [active, opened, box] : opens) {
        active->show();
        active->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([active = active] { return QApplication::activeWindow() == active; }));
        passing.hide();
        ASSERT_TRUE(QTest::qWaitFor(
            [active = active] { return active->isVisible() == (QApplication::activeWindow() == active); }));
        QPoint centre;
        const auto note = [&centre](QWidget& shown) {
            centre = shown.frameGeometry().center();
            shown.close();
        };
        if (opened) {
            opened->show();
            note(*opened);
        } else {
            editortest::RealSeamHand hand(ui, { note });
            platform::ui().showMessage({ box, QStringLiteral("Do you want to save changes before closing?") });
        }
        EXPECT_LE((centre - window->frameGeometry().center()).manhattanLength(), 2)
            << (opened ? opened->metaObject()->className() : "message box");
    }
}

TEST_F(DesktopLooks, MenusHaveMnemonicsAndStandardKeysTheWindowItsCloseButtonAndTheFocusedCanvasAMark)
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
    for (const auto& [name, key] : { std::pair { "Print_btn", QKeySequence::Print },
             std::pair { "Help_btn", QKeySequence::HelpContents }, std::pair { "Save_btn", QKeySequence::Save } }) {
        const QAction* entry = window->findChild<QAction*>(QLatin1String(name));
        EXPECT_TRUE(entry->shortcuts().contains(QKeySequence(key))) << name;
    }
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::CustomizeWindowHint));
    // The canvas shows when it has the keyboard focus.
    TSLGraphicView* view = canvas();
    const QPoint edge(1, view->height() / 2);
    window->Front_Card_btn->setFocus();
    QCoreApplication::processEvents();
    const QColor without = view->grab().toImage().pixelColor(edge);
    view->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());
    EXPECT_NE(view->grab().toImage().pixelColor(edge), without);
    EXPECT_EQ(view->grab().toImage().pixelColor(edge), view->palette().color(QPalette::Highlight));
}

TEST_F(DesktopLooks, LabelsOfNamesFromOutsideShowTheirCharacters)
{
    Send_Modeless sending;
    QWidget *mail = &Email_Setting::defaultInstance(), *exported = &Open_Export_Log::defaultInstance(),
            *barcode = Barcode_Dialog::defaultInstance();
    const std::pair<QWidget*, const char*> rows[] = { { Import_Excel::defaultInstance(), "file_path" },
        { Import_Excel_DataSheet::defaultInstance(), "file_path" },
        { View_Data_Series::defaultInstance(), "series_name" }, { exported, "_open_log_path" },
        { exported, "_open_log_message" }, { mail, "_send_mail_test_mail" }, { mail, "_send_mail_result_status" },
        { window.get(), "Text_font_value" }, { window.get(), "All_Text_font_value" }, { barcode, "value_font_value" },
        { barcode, "header_font_value" }, { barcode, "footer_font_value" },
        { PleaseWait_Modeless::defaultInstance(), "modeless_msg_lbl" }, { &sending, "waiting_label" } };
    for (const auto& [shownIn, name] : rows) { // a path, a name from a file or a server's answer: never a link
        const auto* label = shownIn->findChild<QLabel*>(QLatin1String(name));
        EXPECT_TRUE(label && label->textFormat() == Qt::PlainText) << name;
    }
}

} // namespace
