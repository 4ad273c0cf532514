#include "common/Window_Look.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr double kReadable = 4.5; // the contrast normal text needs

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

// The palette's own colour when it reads on the background, else black or white, whichever reads.
QColor readableOn(const QColor& background, const QColor& preferred)
{
    if (contrastRatio(preferred, background) >= kReadable)
        return preferred;
    return contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background) ? QColor(Qt::black)
                                                                                        : QColor(Qt::white);
}

QColor averageColour(const QImage& picture)
{
    return picture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
}

void applyWindowLookOnce(QWidget& window, const QImage& pattern)
{
    const QPalette system = QApplication::palette();
    // Every colour from the palette now in force: Qt leaves a window whose palette was set as it was.
    QPalette look = system;
    const QColor background = pattern.isNull() ? smallWindowBackground() : averageColour(pattern);
    if (pattern.isNull())
        look.setColor(QPalette::Window, background);
    else
        look.setBrush(QPalette::Window, QBrush(pattern));
    look.setColor(QPalette::WindowText, readableOn(background, system.color(QPalette::WindowText)));
    window.setPalette(look);
    window.setAutoFillBackground(true);
    // Command links and flat buttons draw their text straight on the window, in the button text colour.
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (!button->isFlat() && !qobject_cast<QCommandLinkButton*>(button))
            continue;
        QPalette text; // only this colour: the rest still comes from the window
        text.setColor(QPalette::ButtonText, look.color(QPalette::WindowText));
        button->setPalette(text);
    }
}

// Applies the looks again when the desktop's palette changes (a theme switched while the program runs).
// Qt passes that change on to no window whose palette was set, so the application's own event is watched.
class Palette_Followers : public QObject {
public:
    static Palette_Followers& instance()
    {
        static QPointer<Palette_Followers> one;
        if (!one) {
            one = new Palette_Followers(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(one);
        }
        return *one;
    }

    void follow(QWidget& widget, std::function<void()> apply)
    {
        std::erase_if(entries_, [&widget](const Entry& entry) { return !entry.widget || entry.widget == &widget; });
        entries_.push_back({ QPointer<QWidget>(&widget), std::move(apply) });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
            for (const Entry& entry : std::vector<Entry>(entries_))
                if (entry.widget)
                    entry.apply();
        }
        return false;
    }

private:
    using QObject::QObject;
    struct Entry {
        QPointer<QWidget> widget;
        std::function<void()> apply;
    };
    std::vector<Entry> entries_;
};

} // namespace

void followApplicationPalette(QWidget& widget, std::function<void()> apply)
{
    apply();
    Palette_Followers::instance().follow(widget, std::move(apply));
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDarkPalette(const QPalette& palette)
{
    return luminance(palette.color(QPalette::Window)) < luminance(palette.color(QPalette::WindowText));
}

QColor smallWindowBackground()
{
    const QPalette system = QApplication::palette();
    return isDarkPalette(system) ? system.color(QPalette::Window)
                                 : QColor::fromRgbF(241.0 / 255.0, 244.0 / 255.0, 250.0 / 255.0, 1.0);
}

void applyWindowLook(QWidget& window, const QImage& pattern)
{
    followApplicationPalette(window, [&window, pattern] { applyWindowLookOnce(window, pattern); });
}

QColor linkColour()
{
    const QColor background = smallWindowBackground();
    const QColor link = QApplication::palette().color(QPalette::Link);
    if (contrastRatio(link, background) >= kReadable)
        return link;
    return isDarkPalette(QApplication::palette()) ? QColor(138, 180, 248) : QColor(Qt::blue);
}
