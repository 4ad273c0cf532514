#pragma once

#include "model/TSLGraphic.h"

// A straight line item across its bounds; the two direction flags say which corners it joins. Its two
// handles are the begin point (1) and the end point (2).
class TSLLine : public TSLGraphic {
public:
    TSLLine() = default;
    explicit TSLLine(Bare bare)
        : TSLGraphic(bare)
    {
    }

    QString className() const override { return QStringLiteral("TSLLine"); }
    TSLGraphicPtr copyWithZone() const override;

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return true; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    bool canMakeNaturalSize() const override { return false; }
    static int creationSizingHandle() { return 2; }
    int creationSizingHandleOfInstance() const override { return creationSizingHandle(); }

    // --- End points ---
    QPointF beginPoint() const;
    QPointF endPoint() const;
    void setBeginPoint(const QPointF& point);
    void setEndPoint(const QPointF& point);
    // Turns the line about its middle, keeping its length: 0 horizontal, 1 vertical, 2 diagonal (down to the
    // right). A locked line stays as it is.
    // The direction the line is drawn in, as the line page numbers it: 0 horizontal, 1 vertical, 2 diagonal.
    int direction() const;
    void orientAs(int orientation);
    // Moves keep the flags; observers of "beginPoint" and "endPoint" hear of every change of the box.
    void setBounds(const QRectF& bounds) override;
    // The box spanned by two points; right and down (when given) say whether e lies strictly to the
    // right of and below b.
    static QRectF boundsWithBeginPoint(const QPointF& b, const QPointF& e, bool* pointsRight, bool* pointsDown);
    static QSet<QString> keyPathsForValuesAffectingBeginPoint() { return { QStringLiteral("bounds") }; }
    static QSet<QString> keyPathsForValuesAffectingEndPoint() { return { QStringLiteral("bounds") }; }

    // --- Drawing, handles and hit testing ---
    QPainterPath bezierPathForDrawing() const override;
    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;
    void drawHandlesInView(const TSLDrawingContext& context, bool lock_hai) const override;
    int handleUnderPoint(const QPointF& point) const override;
    int resizeByMovingHandle(int handle, const QPointF& point) override;
    // Near the segment (vertical offset within half the width plus 2 points) and inside the bounds; a
    // horizontal or vertical line counts its bounds as thick as that tolerance, so it can be clicked.
    bool isContentsUnderPoint(const QPointF& point) const override;
    // The pen cap of the stored cap code: 0 butt, 1 round, 2 square; any other code butt.
    Qt::PenCapStyle penCapStyle() const;

    // --- Undo and debug form ---
    QSet<QString> keysForValuesToObserveForUndo() const override;
    QVariant valueForKey(const QString& key) const override; // adds "beginPoint" and "endPoint"
    void setValueForKey(const QString& key, const QVariant& value) override;
    QString presentablePropertyNameForKey(const QString& key) const override;
    QVariantMap properties() const override;

    bool _pointsRight = false;
    bool _pointsDown = false;

protected:
    void setBoundsAndDirection(const QRectF& bounds, bool pointsRight, bool pointsDown);
    // The two direction flags travel after the record's keys; an archive without them reads as NO.
    void encodeSubclassFieldsWithCoder(platform::KeyedArchive& archive) const override;
    void decodeSubclassFieldsWithCoder(const platform::KeyedArchive& archive) override;
};
