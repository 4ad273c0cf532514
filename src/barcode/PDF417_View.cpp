#include "barcode/PDF417_View.h"

#include "barcode/BRC2DResolution.h"
#include "barcode/Barcode_Gen.h"
#include "common/Common_Functions.h"

#include <QBuffer>
#include <QDateTime>
#include <QMimeData>
#include <QPainter>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <cstring>
#include <limits>

PDF417_View::PDF417_View(const QSizeF& frame, int level)
    : errorLevel(level)
    , bounds_(frame)
{
    PDF417_Init(&p);
}

void PDF417_View::setResolution(int dpi)
{
    dpi_ = BRC2D_Clamped_DPI(dpi);
}

void PDF417_View::_eraseOldDrawing()
{
    PDF417_Image = {};
    PDF417_Free(&p);
}

void PDF417_View::_drawEmptyString()
{
    imageState = Empty;
}

int PDF417_View::drawWithText(const QString& text)
{
    if (text.isEmpty()) {
        _drawEmptyString();
        return imageState;
    }
    _eraseOldDrawing();
    QStringEncoder latin1(QStringConverter::Latin1);
    QByteArray bytes = latin1.encode(text);
    if (latin1.hasError()) {
        Show_NSLog_Message(QStringLiteral("PDF417 text has characters outside Latin-1; no symbol made."));
        imageState = EncodingFailed;
        return imageState;
    }
    text_ = bytes;
    if (!encodeToFit()) {
        Show_NSLog_Message(QStringLiteral("Error encountered while drawing barcode, error %1.").arg(p.error));
        PDF417_Free(&p);
        imageState = EncodingFailed;
        return imageState;
    }

    // One pixel per module across and per row down; the picture's point size stretches it over the frame.
    const int bytesPerRow = p.lenBits / p.codeRows;
    QImage bitmap(p.bitColumns, p.codeRows, QImage::Format_Mono);
    if (bitmap.isNull()) {
        imageState = EncodingFailed;
        return imageState;
    }
    bitmap.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int row = 0; row < p.codeRows; ++row)
        std::memcpy(bitmap.scanLine(row), p.outBits.data() + static_cast<size_t>(row) * bytesPerRow,
            static_cast<size_t>(std::min<qsizetype>(bytesPerRow, bitmap.bytesPerLine())));
    const BarcodePicture picture { bitmap, frameTooSmall_ ? QSizeF(bounds_.width(), neededHeight()) : bounds_ };
    Barcode_Gen& settings = Barcode_Settings();
    settings.Save_Barcode_gen_image(picture, QStringLiteral("pdf417.bmp"));
    PDF417_Image = settings.Increase_DPI(picture, dpi_);
    if (PDF417_Image.isNull()) {
        imageState = EncodingFailed;
        return imageState;
    }
    imageState = PictureReady;
    return imageState;
}

bool PDF417_View::encode(int columns)
{
    PDF417_Init(&p);
    p.text = text_.constData();
    p.lenText = static_cast<int>(text_.size());
    p.options = optGivenErrorLevel | optInvertBits | (columns > 0 ? optGivenColumns : 0);
    p.errorLevel = errorLevel;
    p.codeColumns = columns;
    p.aspectRatio = 1.0f;
    PDF417_Paint_Code(&p);
    return p.error == 0;
}

double PDF417_View::neededHeight() const
{
    return p.bitColumns > 0 ? 3.0 * bounds_.width() * p.codeRows / p.bitColumns : 0.0;
}

bool PDF417_View::rowsFit() const
{
    return neededHeight() <= bounds_.height() * (1.0 + 1e-9);
}

bool PDF417_View::encodeToFit()
{
    frameTooSmall_ = false;
    // Fewer columns give wider modules, more columns fewer rows: the first count that fits wins, else the
    // one that needs the least height.
    int closest = 0;
    double least = std::numeric_limits<double>::infinity();
    for (int columns = 1; columns <= 30; ++columns) {
        if (!encode(columns))
            continue;
        if (rowsFit())
            return true;
        if (neededHeight() < least) {
            least = neededHeight();
            closest = columns;
        }
    }
    frameTooSmall_ = closest > 0;
    return encode(closest);
}

void PDF417_View::drawRect(QPainter& painter, const QRectF& rect) const
{
    switch (imageState) {
    case PictureReady:
        painter.drawImage(rect, PDF417_Image.image);
        break;
    case Empty:
        painter.fillRect(rect, Qt::lightGray);
        break;
    default:
        painter.fillRect(rect, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::TextWordWrap, QStringLiteral("There was a problem drawing the barcode."));
        break;
    }
    if (dragSessionInProgress) {
        painter.setPen(Qt::red);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

QByteArray PDF417_View::makeEPS() const
{
    if (p.outBits.empty() || p.codeRows <= 0)
        return {};
    QByteArray eps;
    auto line = [&eps](const QString& text) { eps += text.toLatin1() + '\n'; };
    line(QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0"));
    line(
        QStringLiteral("%%BoundingBox 0 0 %1 %2").arg(std::lround(bounds_.width())).arg(std::lround(bounds_.height())));
    line(QStringLiteral("%%Title pdf417View_EPS_image"));
    line(QStringLiteral("%%Creator PDF417_View"));
    line(QStringLiteral("%%CreationDate ") + QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss t")));
    line(QString::asprintf("%.2f %.2f scale", bounds_.width(), bounds_.height()));
    line(QString::asprintf(
        "%d %d 1 [%d 0 0 %d 0 %d]{<", p.bitColumns, p.codeRows, p.bitColumns, -p.codeRows, p.codeRows));
    const int bytesPerRow = p.lenBits / p.codeRows;
    for (int row = 0; row < p.codeRows; ++row) {
        eps += QByteArray(
            reinterpret_cast<const char*>(p.outBits.data()) + static_cast<size_t>(row) * bytesPerRow, bytesPerRow)
                   .toHex()
                   .toUpper();
        eps += '\n';
    }
    line(QStringLiteral(">}image"));
    Show_NSLog_Message(QString::fromUtf8(eps));
    return eps;
}

void PDF417_View::setErrorLevel(int level)
{
    errorLevel = level;
    Show_NSLog_Message(QStringLiteral("ErrorLevel set to %1").arg(level));
}

void PDF417_View::toggleTargetState()
{
    isDragTarget = !isDragTarget;
    Show_NSLog_Message(QStringLiteral("TargetState set to %1").arg(isDragTarget ? 1 : 0));
}

void PDF417_View::toggleSourceState()
{
    isDragSource = !isDragSource;
    Show_NSLog_Message(QStringLiteral("SourceState set to %1").arg(isDragSource ? 1 : 0));
}

Qt::DropAction PDF417_View::draggingEntered(const QMimeData* data, Qt::DropActions allowed)
{
    if (!isDragTarget || !_canTakeValueFromPasteboard(data))
        return Qt::IgnoreAction;
    dragSessionInProgress = true;
    return (allowed & Qt::CopyAction) ? Qt::CopyAction : Qt::IgnoreAction;
}

void PDF417_View::draggingExited()
{
    dragSessionInProgress = false;
}

void PDF417_View::concludeDragOperation()
{
    dragSessionInProgress = false;
}

bool PDF417_View::performDragOperation(const QMimeData* data)
{
    return _takeValueFromPasteboard(data, QStringLiteral("drop"));
}

bool PDF417_View::_canTakeValueFromPasteboard(const QMimeData* data) const
{
    return data && data->hasText();
}

bool PDF417_View::_takeValueFromPasteboard(const QMimeData* data, const QString& operationName)
{
    if (_canTakeValueFromPasteboard(data))
        return drawWithText(data->text()) == PictureReady;
    Show_MessageBox(QStringLiteral("Unable to perform %1 operation.").arg(operationName));
    return false;
}

Qt::DropActions PDF417_View::draggingSourceOperationMaskForLocal(bool) const
{
    return isDragSource ? Qt::CopyAction : Qt::IgnoreAction;
}

std::unique_ptr<QMimeData> PDF417_View::mouseDown(Qt::KeyboardModifiers modifiers) const
{
    if ((modifiers & Qt::AltModifier) || !isDragSource || PDF417_Image.isNull())
        return nullptr;
    QByteArray tiff;
    QBuffer buffer(&tiff);
    buffer.open(QIODevice::WriteOnly);
    if (!PDF417_Image.image.save(&buffer, "TIFF"))
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("image/tiff"), tiff);
    return data;
}
