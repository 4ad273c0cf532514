#pragma once

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

// The content view of a zooming scroll view. It holds one document view (a canvas) whose size is kept
// in points, shows it scaled by the zoom factor, keeps it centred where it is smaller than the visible
// area, and paints the desk around it: a grey gradient and a card-shaped sheet with a drop shadow.
//
// Coordinates: the clip view's bounds are in the document's points, origin at the document's top-left,
// y down; bounds size = widget size / factor. A negative bounds origin places the document inside the
// visible area. The document widget is kept at the pixel rectangle its points occupy.
class TSLCenteringClipView : public QWidget {
    Q_OBJECT
public:
    explicit TSLCenteringClipView(QWidget* parent = nullptr);
    ~TSLCenteringClipView() override;

    // The clip view takes the widget as a child; the previous one is released to no parent.
    void setDocumentView(QWidget* view);
    QWidget* documentView() const { return documentView_; }
    // The document's size in points (a canvas's frame); the widget is resized to it times the factor.
    void setDocumentSize(const QSizeF& points);
    QSizeF documentSize() const { return documentSize_; }
    QRectF documentFrame() const { return QRectF(QPointF(0, 0), documentSize_); }

    QRectF bounds() const;
    void setBoundsOrigin(const QPointF& origin);
    void setBoundsSize(const QSizeF& size); // sets the scale: widget size / size (the width decides)
    double factor() const { return factor_; }
    void setFactor(double factor); // widget pixels per point; keeps working while the widget has no size yet

    void centerDocument();
    QPointF constrainScrollPoint(const QPointF& p) const;
    void scrollToPoint(const QPointF& p); // constrained first

    // The factor of the clip view a document view sits in; 1 for a view outside any.
    static double scaleOfDocumentView(const QWidget* view);

    // Kept for interface files; the desk is drawn the same whatever it holds.
    QImage bgImagePattern() const { return bgImagePattern_; }
    void setBgImagePattern(const QImage& image) { bgImagePattern_ = image; }

signals:
    void boundsChanged(); // origin or scale changed: scroll bars and rulers follow

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override; // a click on the desk deselects the canvas

private:
    QPointer<QWidget> documentView_;
    QSizeF documentSize_;
    QPointF boundsOrigin_;
    double factor_ = 1.0;
    QImage bgImagePattern_;

    // The blurred sheet shadow, kept while the sheet's shape and pixel size stay the same.
    QImage shadowCache_;
    QSize shadowCacheArea_;
    QPointF shadowCacheSheet_;
    int shadowCacheShape_ = -1;
    double shadowCacheFactor_ = 0.0;
    QSizeF shadowCacheDocument_;

    void setOriginQuietly(const QPointF& origin);
    void layoutDocument();
    const QImage& sheetShadow(const QRect& area, const QPointF& sheetTopLeft, int cardShape);
};
