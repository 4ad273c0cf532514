#pragma once

#include <QAbstractScrollArea>
#include <QRectF>
#include <QString>

#include <array>

class QComboBox;
class TSLCenteringClipView;
class TSLRulerView;

// A scroll area for one canvas that zooms by scaling its centring clip view, with a zoom pop-up at the
// left end of the horizontal scroll bar. GUI thread only.
//
// The main window keeps the zoom factor of its three views in step: it connects factorChanged (the user
// chose an entry) to its own zoom value and calls setFactor on every view when that value changes;
// setFactor shows the matching entry in the pop-up, or none for a factor outside the table.
class TSLZoomingScrollView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSLZoomingScrollView(QWidget* parent = nullptr);
    ~TSLZoomingScrollView() override;

    static constexpr int zoomEntryCount = 11;
    static const std::array<const char*, zoomEntryCount> TSLZoomingScrollViewLabels;
    static const std::array<double, zoomEntryCount> TSLZoomingScrollViewFactors;
    static constexpr const char* TSLZoomingScrollViewFactor = "factor";

    TSLCenteringClipView* clipView() const { return clipView_; }
    // The canvas shown, and its size in points (see TSLCenteringClipView).
    void setDocumentView(QWidget* view);
    void setDocumentSize(const QSizeF& points);

    double factor() const { return factor_; }
    void setFactor(double factor); // the zoom: 1 shows the card at its real size on this screen
    double screenPixelsPerPoint() const;

    void validateFactorPopUpButton();
    QComboBox* factorPopUpButton() const { return factorPopUpButton_; }

    // A horizontal ruler above and a vertical one left of the visible area, hidden until asked for.
    TSLRulerView* horizontalRulerView() const { return horizontalRuler_; }
    TSLRulerView* verticalRulerView() const { return verticalRuler_; }
    bool rulersVisible() const { return rulersVisible_; }
    void setRulersVisible(bool visible);
    // Marks a moved or resized rectangle (canvas points) on both rulers; see TSLRulerView::echoRect.
    void echoToRulers(const QRectF& from, const QRectF& to);

signals:
    void factorChanged(double factor); // the user chose a zoom entry

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    TSLCenteringClipView* clipView_ = nullptr; // owned as the viewport
    QComboBox* factorPopUpButton_ = nullptr;
    double factor_ = 1.0;
    bool updatingScrollBars_ = false;
    TSLRulerView* horizontalRuler_ = nullptr;
    TSLRulerView* verticalRuler_ = nullptr;
    bool rulersVisible_ = false;

    void tile();
    void placeRulers();
    void updateScrollBars();
    void selectEntryForFactor();
    void factorEntryChosen(int index);
};
