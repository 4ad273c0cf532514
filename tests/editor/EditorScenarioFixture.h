#pragma once

// The real main window shown off screen, started as a new user starts it: the wizard is clicked through
// with its defaults, and the window is then driven with mouse clicks and key presses on its widgets,
// which are found by their object names. Modal boxes and file panels answer from a script.
#include "common/Color_Well.h"
#include "common/Stepper_Field.h"
#include "editor/EditorWindowTestSupport.h"
#include "model/TSLText.h"
#include "model/TSLTextLayout.h"

#include <QAbstractButton>
#include <QAction>
#include <QColorDialog>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace editorscenario {

// Clicks a button of a dialog that the seam runs instead of showing it modally.
inline void clickChild(QWidget& parent, const char* name)
{
    auto* button = parent.findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the button of each row (its `button` names it) in turn and notes whether the dialog was still open
// after each click.
template <typename Rows> std::vector<bool> clickEachButton(QDialog& dialog, const Rows& rows)
{
    std::vector<bool> openAfter;
    for (const auto& row : rows) {
        clickChild(dialog, row.button);
        openAfter.push_back(dialog.isVisible());
    }
    return openAfter;
}

// The wizard as a new user goes through it: a new card, the size and background it offers, the first
// occasion, the suggested texts, and the name of the person the card is for.
inline int runWizardDefaults(Invitation_Wizard& wizard, const QString& to)
{
    wizard.show();
    clickChild(wizard, "Using_Wizard_btn");
    clickChild(wizard, "Next_btn"); // size
    clickChild(wizard, "Next_btn"); // background: the first picture is chosen
    clickChild(wizard, "Cute_btn"); // occasion
    clickChild(wizard, "Next_btn"); // title and message
    auto* toField = wizard.findChild<QLineEdit*>(QStringLiteral("to_value"));
    if (toField) {
        toField->setFocus();
        QTest::keyClicks(toField, to);
    }
    clickChild(wizard, "Next_btn"); // from and to: the card opens
    wizard.hide();
    return wizard.result();
}

class EditorScenario : public editortest::EditorWindowTest {
protected:
    // Start-up through the wizard's defaults; the window is then shown and ready for the mouse.
    void startWithWizard(const QString& to = QStringLiteral("Alex"))
    {
        startUp([to](Invitation_Wizard& wizard) { return runWizardDefaults(wizard, to); });
        ASSERT_FALSE(window->hasEnded());
        showWindow();
    }
    // Start-up to an empty card, the start screen confirmed without the wizard.
    void startEmpty()
    {
        startUpEmpty();
        ASSERT_FALSE(window->hasEnded());
        showWindow();
    }
    void showWindow()
    {
        window->resize(1500, 950);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }

    // A picture file of one colour; false when it cannot be written.
    static bool writeSolidPicture(const QString& path, const QSize& size, const QColor& colour)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        return picture.save(path);
    }
    template <typename T> T* widget(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QAction* action(const QString& name) const { return widget<QAction>(name); }
    // Menu titles carry mnemonics; the step's name is what is read without them.
    QString undoTitle() const { return action(QStringLiteral("menu_Undo"))->text().remove(QLatin1Char('&')); }
    QString redoTitle() const { return action(QStringLiteral("menu_Redo"))->text().remove(QLatin1Char('&')); }

    TSLGraphicView* canvas() const { return window->currentGraphicView(); }
    TSLGraphicPtr itemWithID(const QString& id) const
    {
        for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
            if (item->control_ID == id)
                return item;
        return nullptr;
    }
    // Where a point of the card (in points) is on the canvas widget.
    QPoint onCanvas(const QPointF& point) const
    {
        const QPointF scaled = point * canvas()->zoomFactor();
        return QPoint(int(scaled.x()), int(scaled.y()));
    }
    void clickCanvas(const QPointF& point, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(canvas(), Qt::LeftButton, modifiers, onCanvas(point));
        QCoreApplication::processEvents();
    }
    void clickItem(const TSLGraphicPtr& item, Qt::KeyboardModifiers modifiers = {})
    {
        ASSERT_TRUE(item);
        clickCanvas(item->bounds().center(), modifiers);
    }
    // A press, a few moves and a release, as a hand drags.
    void dragOnCanvas(const QPointF& from, const QPointF& to)
    {
        QWidget* view = canvas();
        QTest::mousePress(view, Qt::LeftButton, {}, onCanvas(from));
        for (int step = 1; step <= 4; ++step) {
            const QPointF at = from + (to - from) * (step / 4.0);
            QMouseEvent move(QEvent::MouseMove, QPointF(onCanvas(at)), view->mapToGlobal(QPointF(onCanvas(at))),
                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, Qt::LeftButton, {}, onCanvas(to));
        QCoreApplication::processEvents();
    }
    void click(QWidget* target)
    {
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Opens a colour well's panel with a click and picks the colour in it, as a person does.
    void pickColour(Color_Well* well, const QColor& colour)
    {
        click(well);
        auto* panel = well->findChild<QColorDialog*>();
        ASSERT_NE(panel, nullptr);
        panel->setCurrentColor(colour);
        panel->accept(); // OK keeps the colour; closing the panel is Cancel
        QCoreApplication::processEvents();
    }
    void trigger(const QString& actionName)
    {
        QAction* command = action(actionName);
        ASSERT_NE(command, nullptr);
        ASSERT_TRUE(command->isEnabled()) << actionName.toStdString();
        command->trigger();
        QCoreApplication::processEvents();
    }
    // Types a number into a stepper's text field and ends the entry with Return.
    void typeInto(Stepper_Field* field, const QString& text)
    {
        ASSERT_NE(field, nullptr);
        QLineEdit* edit = field->spinBox()->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // Check boxes and radios take the click on their indicator, at the left edge.
    void tick(QAbstractButton* button)
    {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QCoreApplication::processEvents();
    }
    // Makes an item with a tool of the palette on the side shown and puts it where the test wants it; the
    // placing is a step of its own, done before the person's next action.
    TSLGraphicPtr addWithTool(const QString& toolName, const QRectF& bounds)
    {
        const TSLGraphicList before = canvas()->graphics();
        click(widget<QWidget>(toolName));
        for (const TSLGraphicPtr& item : canvas()->graphics()) {
            if (std::find(before.begin(), before.end(), item) == before.end()) {
                item->setBounds(bounds);
                QCoreApplication::processEvents();
                return item;
            }
        }
        ADD_FAILURE() << toolName.toStdString() << " made no item";
        return nullptr;
    }
    struct Placed {
        TSLGraphicPtr item;
        QRectF at;
        std::optional<QFont> font;
        bool operator==(const Placed&) const = default;
    };
    std::vector<Placed> layoutOfBothSides() const
    {
        std::vector<Placed> layout;
        for (const TSLGraphicList* side : { &window->Get_Front_Controls_Array(), &window->Get_Back_Controls_Array() })
            for (const TSLGraphicPtr& item : *side)
                layout.push_back({ item, item->bounds().normalized(), item->text_ctrl_font });
        return layout;
    }
    static bool breaksAWord(const TSLText& text, const Placed& placed)
    {
        const auto layout = tsltextlayout::layoutText(text.displayedText(), placed.font.value_or(text.displayedFont()),
            text.text_kerning, text.text_alignmnet, placed.at.width());
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, layout->text()); // where a line may break
        for (int i = 1; i < layout->lineCount(); ++i)
            if (breaks.setPosition(layout->lineAt(i).textStart()); !breaks.isAtBoundary())
                return true;
        return false;
    }
    // After a change of the card from `cardBefore`, with room: each item whole on the card near its place (off its
    // edges if it was), each text and word whole, no two that lay clear (under a tenth covered) more over each other.
    void expectKeptApart(const std::vector<Placed>& before, const QSizeF& cardBefore) const
    {
        const QSizeF card = canvas()->canvasSize();
        const auto now = layoutOfBothSides();
        const auto area = [](const QRectF& r) { return r.width() * r.height(); };
        const auto inside = [](const QSizeF& on) { return QRectF(0.5, 0.5, on.width() - 1, on.height() - 1); };
        EXPECT_FALSE(editortest::messageTexts(ui).join(QLatin1Char(' ')).contains(QLatin1String("too small")));
        ASSERT_EQ(now.size(), before.size());
        const TSLGraphicList& front = window->Get_Front_Controls_Array();
        for (std::size_t i = 0; i < now.size(); ++i) {
            SCOPED_TRACE(now[i].item->className().toStdString() + " " + std::to_string(i));
            EXPECT_TRUE(QRectF(QPointF(), card + QSizeF(0.01, 0.01)).contains(now[i].at));
            const QPointF moved(now[i].at.center().x() / card.width() - before[i].at.center().x() / cardBefore.width(),
                now[i].at.center().y() / card.height() - before[i].at.center().y() / cardBefore.height());
            EXPECT_LT(moved.manhattanLength(), 0.25) << "keeps its place on the card";
            EXPECT_TRUE(inside(card).contains(now[i].at) || !inside(cardBefore).contains(before[i].at)) << "off edges";
            const auto* text = dynamic_cast<const TSLText*>(now[i].item.get());
            EXPECT_FALSE(text && text->textIsCut());
            EXPECT_FALSE(text && breaksAWord(*text, now[i]) && !breaksAWord(*text, before[i])) << "breaks a word";
            for (std::size_t j = i + 1; j < now.size(); ++j) {
                if (std::ranges::count(front, now[i].item) != std::ranges::count(front, now[j].item))
                    continue; // items on two sides never meet
                const double covered = area(before[i].at.intersected(before[j].at));
                EXPECT_FALSE(covered < 0.1 * std::min(area(before[i].at), area(before[j].at))
                    && area(now[i].at.intersected(now[j].at)) > covered + 0.01)
                    << "lies over item " << j;
            }
        }
    }
    // The title of the inspector's current page.
    QString currentPageName() const
    {
        const QWidget* page = window->sett_tab->currentWidget();
        return page ? page->objectName() : QString();
    }
    QStringList pageNames() const
    {
        QStringList names;
        for (int i = 0; i < window->sett_tab->count(); ++i)
            names << window->sett_tab->widget(i)->objectName();
        return names;
    }
    void showPage(const QString& name)
    {
        QWidget* page = widget<QWidget>(name);
        ASSERT_GE(window->sett_tab->indexOf(page), 0) << name.toStdString();
        window->sett_tab->setCurrentWidget(page);
        QCoreApplication::processEvents();
    }
};

} // namespace editorscenario
