#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QRectF>

#include <cmath>

class QPainter;
class QTimer;

// The one grid of the editor window: a square lattice that the canvases draw over the card and to which
// new, moved and resized items snap. GUI thread only. A spacing change while the grid is hidden shows it
// for TSLGridTemporaryShowingTime, so the user sees the new spacing.
class TSLGrid : public QObject {
    Q_OBJECT
public:
    explicit TSLGrid(QObject* parent = nullptr);
    ~TSLGrid() override;

    static constexpr double TSLGridTemporaryShowingTime = 1.0; // seconds
    static constexpr const char* TSLGridAnyKey = "any";

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    double spacing() const { return spacing_; }
    void setSpacing(double spacing);
    // Stores the spacing without the temporary showing: the grid dialog's slider, which shows the grid
    // for good right after.
    void storeSpacing(double spacing);
    bool isAlwaysShown() const { return isAlwaysShown_; }
    void setAlwaysShown(bool flag);
    bool isConstraining() const { return isConstraining_; }
    void setConstraining(bool flag);

    bool isUsable() const { return spacing_ > 0.0 && std::isfinite(spacing_); }
    bool canSetColor() const { return isAlwaysShown_ && isUsable(); }
    bool canSetSpacing() const { return isAlwaysShown_ || isConstraining_; }
    bool canAlign() const { return isUsable(); }
    // True while the grid is drawn: usable, and always shown or inside a temporary showing.
    bool isShowing() const;
    bool isTemporarilyShowing() const;

    // Snaps to the nearest lattice point when the grid is usable and constraining; else returns p.
    QPointF constrainedPoint(const QPointF& p) const;
    // Snaps both corners independently, constraining or not. Callers ask canAlign() first.
    QRectF alignedRect(const QRectF& r) const;

    // Draws the grid lines that fall in rect (in the painter's current coordinates, points) with a
    // cosmetic pen. devicePixelsPerPoint is the painter's scale to device pixels: a spacing that would
    // come out below about two device pixels draws nothing, since the lines would fill the area.
    void drawRect(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint) const;

    // End of the temporary showing (the hiding timer's slot; callable directly).
    void stopShowingGridForTimer();

signals:
    void colorChanged(const QColor& color);
    void spacingChanged(double spacing);
    void alwaysShownChanged(bool alwaysShown); // the main window enables its align-with-grid button from it
    void constrainingChanged(bool constraining);
    void usableChanged(bool usable);
    void canSetColorChanged(bool canSetColor);
    void canSetSpacingChanged(bool canSetSpacing);
    // Any change that alters how the grid draws or snaps, including the end of a temporary showing.
    void anyChanged();

private:
    QColor color_ = QColor::fromRgbF(2.0f / 3, 2.0f / 3, 2.0f / 3); // light grey, two thirds white
    double spacing_ = 9.0;
    bool isAlwaysShown_ = false;
    bool isConstraining_ = false;
    QTimer* hidingTimer_ = nullptr; // owned by this object; single shot; null while no temporary showing

    void stopHidingTimer();
};
