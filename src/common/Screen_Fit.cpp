#include "common/Screen_Fit.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace {

// Fits the window to its screen when it is shown.
class Screen_Keeper : public QObject {
public:
    Screen_Keeper(QWidget& window, const QSize& wanted)
        : QObject(&window)
        , wanted_(wanted)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            fit(*static_cast<QWidget*>(watched));
        return false;
    }

private:
    QSize wanted_;

    void fit(QWidget& window)
    {
        const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        // The frame (title bar and borders) around the window counts against the area too.
        const QSize frame = window.frameGeometry().size() - window.geometry().size();
        const QRect available = screen->availableGeometry().adjusted(0, 0, -frame.width(), -frame.height());
        const QSize size = wanted_.isValid() ? wanted_ : window.size();
        const QRect fitted = fittedWindowGeometry(QRect(window.pos(), size), window.minimumSizeHint(), available);
        window.resize(fitted.size());
        window.move(fitted.topLeft());
        wanted_ = QSize(); // later showings keep what the person made of the window
    }
};

} // namespace

QRect fittedWindowGeometry(const QRect& wanted, const QSize& minimum, const QRect& available)
{
    const QSize size(
        std::max(std::min(wanted.width(), available.width()), std::min(minimum.width(), available.width())),
        std::max(std::min(wanted.height(), available.height()), std::min(minimum.height(), available.height())));
    const int x
        = std::clamp(wanted.x(), available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    const int y
        = std::clamp(wanted.y(), available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return QRect(QPoint(x, y), size);
}

void keepWindowOnScreen(QWidget& window, const QSize& wanted)
{
    new Screen_Keeper(window, wanted);
}

namespace {

// Scrolls only up and down: as wide as its content needs, with room for the scroll bar, at any font.
class Vertical_Scroll_Area : public QScrollArea {
public:
    QSize minimumSizeHint() const override
    {
        return QSize(
            contentWidth(widget() ? widget()->minimumSizeHint() : QSize()), QScrollArea::minimumSizeHint().height());
    }
    QSize sizeHint() const override
    {
        return widget() ? QSize(contentWidth(widget()->sizeHint()), widget()->sizeHint().height())
                        : QScrollArea::sizeHint();
    }

private:
    int contentWidth(const QSize& hint) const
    {
        const int least = widget() ? std::max(hint.width(), widget()->minimumWidth()) : hint.width();
        return least + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    }
};

// A scroll area over `content`, put at `index` of `outer` with `stretch`.
QScrollArea* scrollInPlace(QBoxLayout& outer, int index, int stretch, QWidget* content, const QString& name)
{
    auto* scroll = new Vertical_Scroll_Area;
    scroll->setObjectName(name + QStringLiteral("_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(content);
    outer.insertWidget(index < 0 ? outer.count() : index, scroll, stretch);
    return scroll;
}

} // namespace

QScrollArea* scrollColumnWhenTall(QBoxLayout& outer, QLayout& column)
{
    const int index = outer.indexOf(&column);
    const int stretch = index < 0 ? 0 : outer.stretch(index);
    outer.removeItem(&column);
    auto* holder = new QWidget;
    holder->setLayout(&column);
    return scrollInPlace(outer, index, stretch, holder, column.objectName());
}

QScrollArea* scrollPanelWhenTall(QBoxLayout& outer, QWidget& panel)
{
    const int index = outer.indexOf(&panel);
    const int stretch = index < 0 ? 0 : outer.stretch(index);
    outer.removeWidget(&panel);
    return scrollInPlace(outer, index, stretch, &panel, panel.objectName());
}
