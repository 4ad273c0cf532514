#include "common/Screen_Fit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The window that opens `window`: its parent's window, else the one active as it is shown.
const QWidget* openerOf(const QWidget& window)
{
    if (window.parentWidget())
        return window.parentWidget()->window();
    const QWidget* active = QApplication::activeWindow();
    return active && active != &window && active->isVisible() ? active : nullptr;
}

// The frame the window manager puts around the window: known once it has framed it, else as much as a
// title bar and borders take, so that the frame fits before it is known.
QMargins frameOf(const QWidget& window, const QWidget* opener)
{
    for (const QWidget* framed : { &window, opener }) {
        const QMargins known = framed && framed->windowHandle() ? framed->windowHandle()->frameMargins() : QMargins();
        if (!known.isNull())
            return known;
    }
    return windowFrameAllowance(window);
}

// Fits the window to its screen when it is shown, and again once the window manager has framed it.
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
        if (!watched->isWidgetType())
            return false;
        auto& window = *static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show) {
            // A window manager frames the window after it is shown: until then its frame is a guess.
            framing_ = !window.windowHandle() || window.windowHandle()->frameMargins().isNull();
            fit(window, openerOf(window));
        } else if (framing_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            && window.windowHandle() && !window.windowHandle()->frameMargins().isNull()) {
            framing_ = false;
            const QScreen* screen = window.screen();
            if (screen && !screen->availableGeometry().contains(window.frameGeometry()))
                fit(window, nullptr);
        }
        return false;
    }

private:
    QSize wanted_;
    bool firstShowing_ = true;
    bool framing_ = false;

    void fit(QWidget& window, const QWidget* opener)
    {
        const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QMargins frame = frameOf(window, opener);
        // The first showing is at the size the window asks for (Qt would give no more than two thirds of the
        // screen), where the screen has room.
        const QSize wanted
            = wanted_.isValid() || !firstShowing_ ? wanted_ : window.sizeHint().expandedTo(window.size());
        firstShowing_ = false;
        const QRect placed = placedWindowGeometry(window, wanted, opener, screen->availableGeometry(), frame);
        window.resize(placed.size());
        // Qt moves the frame by the frame it knows, none before framing: the window itself goes inside the
        // frame reserved for it.
        window.move(
            placed.topLeft() + QPoint(frame.left(), frame.top()) - (window.geometry().topLeft() - window.pos()));
        wanted_ = QSize(); // later showings keep what the person made of the window
    }
};

} // namespace

QMargins windowFrameAllowance(const QWidget& window)
{
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
        window.fontMetrics().height() + 2 * border);
    return QMargins(border, title + border, border, 2 * border);
}

QRect placedWindowGeometry(
    const QWidget& window, const QSize& wanted, const QWidget* opener, const QRect& available, const QMargins& frame)
{
    // The window's frame goes where the window is moved to: the area left for the window itself is smaller.
    const QRect inside = available.adjusted(0, 0, -frame.left() - frame.right(), -frame.top() - frame.bottom());
    const QSize size = wanted.isValid() ? wanted : window.size();
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    QPoint at = window.pos();
    if (opener) {
        const QSize fitted = fittedWindowGeometry(QRect(at, size), least, inside).size();
        const QRect over = opener->frameGeometry();
        at = over.topLeft()
            + QPoint((over.width() - fitted.width() - frame.left() - frame.right()) / 2,
                (over.height() - fitted.height() - frame.top() - frame.bottom()) / 2);
    }
    return fittedWindowGeometry(QRect(at, size), least, inside);
}

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

// Scrolls only up and down: as wide as its content needs, with room for the scroll bar, at any font
// (or, scrolling both ways, as narrow as a scroll area can be).
class Vertical_Scroll_Area : public QScrollArea {
public:
    explicit Vertical_Scroll_Area(bool bothWays = false)
        : bothWays_(bothWays)
    {
    }

    QSize minimumSizeHint() const override
    {
        if (bothWays_)
            return QScrollArea::minimumSizeHint();
        return QSize(
            contentWidth(widget() ? widget()->minimumSizeHint() : QSize()), QScrollArea::minimumSizeHint().height());
    }
    QSize sizeHint() const override
    {
        return widget() ? QSize(contentWidth(widget()->sizeHint()), widget()->sizeHint().height())
                        : QScrollArea::sizeHint();
    }

private:
    bool bothWays_;

    int contentWidth(const QSize& hint) const
    {
        const int least = widget() ? std::max(hint.width(), widget()->minimumWidth()) : hint.width();
        return least + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    }
};

// A scroll area over `content`, put at `index` of `outer` with `stretch`.
QScrollArea* scrollInPlace(
    QBoxLayout& outer, int index, int stretch, QWidget* content, const QString& name, bool bothWays = false)
{
    auto* scroll = new Vertical_Scroll_Area(bothWays);
    scroll->setObjectName(name + QStringLiteral("_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(bothWays ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    scroll->setWidget(content);
    outer.insertWidget(index < 0 ? outer.count() : index, scroll, stretch);
    return scroll;
}

} // namespace

QScrollArea* scrollColumnWhenTall(QBoxLayout& outer, QLayout& column, bool bothWays)
{
    const int index = outer.indexOf(&column);
    const int stretch = index < 0 ? 0 : outer.stretch(index);
    outer.removeItem(&column);
    auto* holder = new QWidget;
    holder->setLayout(&column);
    return scrollInPlace(outer, index, stretch, holder, column.objectName(), bothWays);
}

QScrollArea* scrollPanelWhenTall(QBoxLayout& outer, QWidget& panel)
{
    const int index = outer.indexOf(&panel);
    const int stretch = index < 0 ? 0 : outer.stretch(index);
    outer.removeWidget(&panel);
    return scrollInPlace(outer, index, stretch, &panel, panel.objectName());
}

QScrollArea* scrollAllAbove(QBoxLayout& outer, const QLayout& buttons, bool bothWays)
{
    auto* column = new QVBoxLayout;
    column->setContentsMargins(QMargins());
    column->setSpacing(outer.spacing());
    while (outer.count() > 0 && outer.itemAt(0)->layout() != &buttons)
        column->addItem(outer.takeAt(0));
    auto* holder = new QWidget;
    holder->setLayout(column); // takes the widgets of the moved rows as its children
    return scrollInPlace(outer, 0, 1, holder, outer.objectName(), bothWays);
}
