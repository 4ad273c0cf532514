#pragma once

// Driving the item pages of the inspector as a person would: through their widgets, found by name.
#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Stepper_Field.h"
#include "editor/EditorWindowTestSupport.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTest>

namespace editortest {

class ItemPanelTest : public EditorWindowTest {
protected:
    template <class Widget> Widget* control(const char* name) const { return control<Widget>(window.get(), name); }
    // The control of that name on one page (a name may appear on more than one page).
    template <class Widget> static Widget* control(QWidget* page, const char* name)
    {
        auto* widget = page->findChild<Widget*>(QLatin1String(name));
        if (!widget)
            ADD_FAILURE() << "no control " << name;
        return widget;
    }

    // Types a number into a stepper's text field and ends the entry with Return.
    static void typeInto(Stepper_Field* field, const QString& text)
    {
        QLineEdit* edit = field->spinBox()->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Check boxes and radios take the click on their indicator, at the left edge. A page that was never on
    // screen has not been laid out: the button first gets the size it asks for.
    static void click(QAbstractButton* button)
    {
        if (button->size().isEmpty())
            button->resize(button->sizeHint());
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    TSLGraphicPtr addItem(const QString& className, const QRectF& bounds, const QString& key)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(className);
        item->setBounds(bounds);
        EditorWindowTest::addItem(item, key);
        return item;
    }

    // Selects items of a side's canvas by their list indexes.
    static void select(TSLGraphicView* canvas, const TSLIndexSet& indexes) { canvas->changeSelectionIndexes(indexes); }
};

} // namespace editortest
