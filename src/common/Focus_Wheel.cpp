#include "common/Focus_Wheel.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>
#include <QWidget>

namespace {

class Focus_Wheel_Filter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || !watched->isWidgetType())
            return false;
        const auto* control = static_cast<QWidget*>(watched);
        if (control->hasFocus())
            return false;
        // Not taken here: the wheel goes on to the scroll area around the control.
        event->ignore();
        return true;
    }
};

} // namespace

void wheelOnlyWhenFocused(QWidget& root)
{
    auto* filter = new Focus_Wheel_Filter(&root);
    const auto guard = [filter](QWidget* control) {
        if (control->focusPolicy() == Qt::WheelFocus)
            control->setFocusPolicy(Qt::StrongFocus);
        control->installEventFilter(filter);
    };
    for (QComboBox* box : root.findChildren<QComboBox*>())
        guard(box);
    for (QAbstractSpinBox* field : root.findChildren<QAbstractSpinBox*>())
        guard(field);
    for (QAbstractSlider* slider : root.findChildren<QAbstractSlider*>())
        if (!qobject_cast<QScrollBar*>(slider))
            guard(slider);
}
