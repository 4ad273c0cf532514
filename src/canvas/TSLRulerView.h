#pragma once

#include <QRectF>
#include <QWidget>

#include <vector>

class TSLCenteringClipView;

// A ruler beside a zooming scroll view: marks in millimetres (the unit of the card's size), zero at the
// card's top-left corner, following the clip view's scrolling and zoom. While an item is moved or resized
// it also shows marker lines at the item's edges and centre.
//
// Marker lines are kept in points of the canvas. moveRulerlineFromLocation takes -1 for "no line": from -1
// a new line is made, to -1 the line is removed.
class TSLRulerView : public QWidget {
    Q_OBJECT
public:
    TSLRulerView(Qt::Orientation orientation, TSLCenteringClipView* clipView, QWidget* parent = nullptr);
    ~TSLRulerView() override;

    static constexpr double noLine = -1.0;
    static constexpr int thickness = 22; // pixels across the ruler
    static constexpr double pointsPerUnit = 72.0 / 25.4; // one millimetre

    Qt::Orientation orientation() const { return orientation_; }

    // The widget pixel (along the ruler) where a canvas point lies, and back.
    double pixelForLocation(double points) const;
    double locationForPixel(double pixel) const;

    const std::vector<double>& rulerLines() const { return lines_; }
    void moveRulerlineFromLocation(double from, double to);
    void addRulerLine(double location);
    void removeRulerLine(double location); // the line nearest to the location, when there is one
    void moveRulerLine(double from, double to);

    // The echo of a rectangle being moved or resized: three lines at its start, middle and end along this
    // ruler. A null rectangle stands for none, so the echo begins from one and ends in one.
    void echoRect(const QRectF& from, const QRectF& to);

    // Distance in millimetres between two labelled marks at the current zoom.
    double labelStep() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation orientation_;
    TSLCenteringClipView* clipView_; // not owned: the scroll view owns both
    std::vector<double> lines_;

    double origin() const; // the clip view's bounds origin along the ruler (points)
    double factor() const;
    std::vector<double> edgesOf(const QRectF& rect) const; // start, middle, end along the ruler
};
