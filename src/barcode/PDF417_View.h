#pragma once

#include "barcode/BarcodePicture.h"
#include "barcode/PDF417_Encoder.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <memory>

class QMimeData;
class QPainter;

// The PDF417 picture of a barcode item: owns one encoder record, encodes a text into it, keeps the symbol as a
// picture of its frame size, draws it, writes it as Encapsulated PostScript and takes part in drag and drop.
// A plain object (no widget), so the generator can encode into it on any thread; a dialog's widget draws it
// with drawRect and forwards its drag events to the dragging operations.
class PDF417_View {
public:
    enum ImageState { PictureReady = 0, Empty = 1, EncodingFailed = 2 };

    explicit PDF417_View(const QSizeF& frame = QSizeF(100, 20), int errorLevel = 2);
    PDF417_View(const PDF417_View&) = delete;
    PDF417_View& operator=(const PDF417_View&) = delete;

    QSizeF bounds() const { return bounds_; }
    void setFrameSize(const QSizeF& size) { bounds_ = size; }
    // Output resolution the picture is re-sampled to, clamped to the accepted range.
    void setResolution(int dpi);

    // Encodes text with the view's error level; returns the new state. Text outside Latin-1 cannot be sent as
    // the symbol's bytes and fails rather than coding other characters. Rows are never lower than three
    // modules: columns and rows are chosen to fit the frame, else the picture grows taller than the frame.
    int drawWithText(const QString& text);
    // Whether the last symbol needed more height than the frame has.
    bool frameTooSmall() const { return frameTooSmall_; }
    void drawRect(QPainter& painter, const QRectF& rect) const;
    // Empty while no symbol is painted.
    QByteArray makeEPS() const;
    void _eraseOldDrawing();
    void _drawEmptyString();
    BarcodePicture getImage() const { return PDF417_Image; }

    void setErrorLevel(int level);
    int getErrorLevel() const { return errorLevel; }
    void toggleTargetState();
    void toggleSourceState();
    bool getTargetState() const { return isDragTarget; }
    bool getSourceState() const { return isDragSource; }
    int state() const { return imageState; }
    bool dragHighlighted() const { return dragSessionInProgress; }
    const PDF417_Param& record() const { return p; }

    // Dragging: the view takes dropped text while it is a drag target, and offers its picture as TIFF while
    // it is a drag source.
    Qt::DropAction draggingEntered(const QMimeData* data, Qt::DropActions allowed);
    void draggingExited();
    bool prepareForDragOperation() const { return true; }
    bool performDragOperation(const QMimeData* data);
    void concludeDragOperation();
    bool _takeValueFromPasteboard(const QMimeData* data, const QString& operationName);
    bool _canTakeValueFromPasteboard(const QMimeData* data) const;
    Qt::DropActions draggingSourceOperationMaskForLocal(bool local) const;
    // The drag data of a mouse-down: the picture as TIFF; null when not a drag source or without a picture.
    // With the Option (Alt) key held the press belongs to the widget and no drag starts.
    std::unique_ptr<QMimeData> mouseDown(Qt::KeyboardModifiers modifiers) const;
    BarcodePicture _imageValue() const { return PDF417_Image; }

private:
    // One encoding of text_ with the given data columns (0: as many as the encoder chooses); false on an
    // encoder error.
    bool encode(int columns);
    // Whether the frame's height gives each row of the last encoding three module heights.
    bool rowsFit() const;
    // Points of height the last encoding needs for rows of three module heights across the frame's width.
    double neededHeight() const;
    // Encodes so that the rows fit the frame, or as close as any column count comes.
    bool encodeToFit();

    BarcodePicture PDF417_Image;
    PDF417_Param p;
    bool dragSessionInProgress = false;
    int errorLevel = 2;
    bool isDragTarget = false;
    bool isDragSource = false;
    int imageState = Empty;
    QSizeF bounds_;
    int dpi_ = 600;
    QByteArray text_; // the bytes the record points at
    bool frameTooSmall_ = false;
};
