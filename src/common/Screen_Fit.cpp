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

QScrollArea* scrollColumnWhenTall(QBoxLayout& outer, QLayout& column)
{
    const int index = outer.indexOf(&column);
    const int stretch = index < 0 ? 0 : outer.stretch(index);
    outer.removeItem(&column);
    auto* holder = new QWidget;
    holder->setLayout(&column);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(column.objectName() + QStringLiteral("_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(holder);
    // As wide as the column with room for its scroll bar, so nothing is cut at the side.
    scroll->setMinimumWidth(holder->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    outer.insertWidget(index < 0 ? outer.count() : index, scroll, stretch);
    return scroll;
}
