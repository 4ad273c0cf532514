// The canvas and the clipboard: copy puts our item list there together with PDF and TIFF for other
// programs; paste takes our items back (moving them along the cascade when the same contents are pasted
// again), refuses file names, and turns a picture from another program into a picture item.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLRenderingView.h"
#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLError.h"
#include "model/TSLImage.h"
#include "platform/PrivateFolder.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <memory>

const QString TSLGraphicViewPasteboardType = QStringLiteral("application/x-tessaline-card-items");
const QString TSLGraphicViewOldPasteboardType = QStringLiteral("Tessaline card items pasteboard type");

namespace {

const QString pdfPasteboardType = QStringLiteral("application/pdf");
const QString tiffPasteboardType = QStringLiteral("image/tiff");
const QString pngPasteboardType = QStringLiteral("image/png");

// The clipboard has no change count of its own; every change it reports is counted from the first time a
// canvas looks. GUI thread only, like the clipboard.
quint64 clipboardChanges = 0;
bool watchingClipboard = false;

QClipboard* generalPasteboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && !watchingClipboard) {
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [] { ++clipboardChanges; });
        watchingClipboard = true;
    }
    return clipboard;
}

// The file-names type: a URL list naming at least one local file.
bool holdsFileNames(const QMimeData& data)
{
    if (!data.hasUrls())
        return false;
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

// A picture from the first picture format on the clipboard that we can read; null when there is none.
QImage pictureFromPasteboard(const QMimeData& data)
{
    if (data.hasImage()) {
        const QImage picture = qvariant_cast<QImage>(data.imageData());
        if (!picture.isNull())
            return picture;
    }
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data.formats()) {
        if (!readable.contains(format.toLatin1()))
            continue;
        const QImage picture = QImage::fromData(data.data(format));
        if (!picture.isNull())
            return picture;
    }
    return {};
}

// Stores a pasted picture as a new PNG file of the data folder's "LibraryImage" folder; the path, or
// empty when it cannot be written.
QString savePastedPicture(const QImage& picture)
{
    const QString folder = Resource_Path + QStringLiteral("/LibraryImage");
    if (Resource_Path.isEmpty() || !platform::makePrivateFolder(folder)) {
        Show_NSLog_Message(QStringLiteral("cannot create %1 for a pasted picture").arg(folder));
        return {};
    }
    QString path;
    do {
        path = folder + QStringLiteral("/Pasted_") + QUuid::createUuid().toString(QUuid::WithoutBraces)
            + QStringLiteral(".png");
    } while (QFileInfo::exists(path));
    QString error;
    if (!saveFileAtomically(
            path, [&picture](QIODevice& file) { return picture.save(&file, "PNG"); }, &error)) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path, error));
        return {};
    }
    return path;
}

// Where a pasted picture of `size` points goes: from `point`, shrunk to the card with its proportions kept
// and moved back inside the card where it would reach past its far edges.
QRectF pastedPictureBounds(QSizeF size, QPointF point, const QRectF& card)
{
    if (card.isEmpty() || size.isEmpty())
        return QRectF(point, size);
    if (size.width() > card.width() || size.height() > card.height())
        size.scale(card.size(), Qt::KeepAspectRatio);
    point.setX(std::clamp(point.x(), card.left(), card.right() - size.width()));
    point.setY(std::clamp(point.y(), card.top(), card.bottom() - size.height()));
    return QRectF(point, size);
}

} // namespace

QString pasteboardTypeOfOurItems(const QMimeData* data)
{
    if (!data)
        return {};
    for (const QString& type : { TSLGraphicViewPasteboardType, TSLGraphicViewOldPasteboardType })
        if (data->hasFormat(type))
            return type;
    return {};
}

bool clipboardHoldsOurItems()
{
    const QClipboard* clipboard = generalPasteboard();
    return !pasteboardTypeOfOurItems(clipboard ? clipboard->mimeData() : nullptr).isEmpty();
}

void clearClipboardIfItHoldsOurItems()
{
    if (clipboardHoldsOurItems())
        generalPasteboard()->clear();
}

quint64 TSLGraphicView::pasteboardChangeCount()
{
    generalPasteboard();
    return clipboardChanges;
}

void TSLGraphicView::cut()
{
    if (refuseLockedSelection())
        return;
    copy();
    deleteSelection();
    nameUndo(QStringLiteral("Cut"));
    if (CardEditorServices* services = editorServices())
        services->Undo_Redo_Button_state();
}

void TSLGraphicView::copy()
{
    if (refuseLockedSelection())
        return;
    QClipboard* clipboard = generalPasteboard();
    if (!clipboard)
        return;
    const TSLGraphicList selected = selectedGraphics();
    auto data = std::make_unique<QMimeData>();
    data->setData(TSLGraphicViewPasteboardType, TSLGraphic::pasteboardDataWithGraphics(selected));
    data->setData(
        pdfPasteboardType, TSLRenderingView::pdfDataWithGraphics_data(selected, TSLRenderingSide::currentSide()));
    // Other programs take the items as a picture: TIFF, and PNG, which most of them read.
    const QImage picture = TSLRenderingView::imageWithGraphics(selected, nullptr);
    if (const std::optional<QByteArray> tiff = TSLRenderingView::pictureData(picture, "tiff"))
        data->setData(tiffPasteboardType, *tiff);
    if (const std::optional<QByteArray> png = TSLRenderingView::pictureData(picture, "png"))
        data->setData(pngPasteboardType, *png);
    clipboard->setMimeData(data.release());

    pasteboardChangeCount_ = clipboardChanges;
    pasteCascadeNumber_ = 1;
    if (CardEditorServices* services = editorServices())
        services->Set_Paste_Button_Status();
}

void TSLGraphicView::paste()
{
    const QClipboard* clipboard = generalPasteboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !document_)
        return;

    if (const QString ourType = pasteboardTypeOfOurItems(data); !ourType.isEmpty()) {
        TSLError error;
        std::optional<TSLGraphicList> items = TSLGraphic::graphicsWithPasteboardData(data->data(ourType), &error);
        if (!items) {
            Show_MessageBox(error.localizedDescription + QLatin1Char('\n') + error.localizedFailureReason);
            return;
        }
        // Contents that someone else put on the clipboard keep their positions the first time; pasting
        // contents again (or right after a copy here) moves them along the cascade.
        if (clipboardChanges != pasteboardChangeCount_) {
            pasteboardChangeCount_ = clipboardChanges;
            pasteCascadeNumber_ = 0;
        }
        const int count = int(items->size());
        if (count == 0)
            return;
        if (pasteCascadeNumber_ > 0) {
            const QString side = Card_Front_Or_Back == 1 ? QStringLiteral("B") : QStringLiteral("F");
            const QPointF point = nextPoint(side);
            TSLGraphic::Paste_Location_Of_Graphics(*items, point.x(), point.y(), side);
        }
        ++pasteCascadeNumber_;
        std::vector<int> indexes;
        TSLIndexSet selection;
        for (int i = 0; i < count; ++i) {
            indexes.push_back(i);
            selection.insert(i);
        }
        insertGraphics(*items, indexes);
        nameUndo(QStringLiteral("Paste"));
        changeSelectionIndexes(selection);
        // The pasted items are what the commands now act on: the inspector and the tool bar show so.
        selectedGraphic_ = items->front();
        showProperties(items->front());
        changeSelectionIndexes(selection);
        if (CardEditorServices* services = editorServices())
            services->Undo_Redo_Button_state();
        return;
    }
    if (holdsFileNames(*data))
        return;
    // A picture from another program goes where a new item goes: on the card, however the card is scrolled.
    makeNewImageFromPasteboard(data, nextPoint(Card_Front_Or_Back == 1 ? QStringLiteral("B") : QStringLiteral("F")));
}

bool TSLGraphicView::makeNewImageFromPasteboard(const QMimeData* pasteboard, const QPointF& point)
{
    if (!pasteboard || !document_)
        return false;
    const QImage picture = pictureFromPasteboard(*pasteboard);
    if (picture.isNull())
        return false;
    // The picture is kept as a file of its own, so the item still finds it after the design is saved
    // and opened again.
    const QString path = savePastedPicture(picture);
    if (path.isEmpty())
        return false;
    const std::shared_ptr<TSLImage> item = TSLImage::initWithPosition(point, picture);
    item->setFilePath(path);
    if (item->contents().isNull()) {
        QFile::remove(path);
        return false;
    }
    const CardEditorServices* services = editorServices();
    item->setBounds(pastedPictureBounds(
        picture.deviceIndependentSize(), point, services ? services->frontCanvasBounds() : QRectF()));
    insertGraphics({ item }, { 0 });
    nameUndo(QStringLiteral("Paste"));
    // Selected as pasted items are: the inspector shows the picture and the commands act on it.
    changeSelectionIndexes({ 0 });
    selectedGraphic_ = item;
    showProperties(item);
    changeSelectionIndexes({ 0 });
    if (CardEditorServices* editor = editorServices())
        editor->Undo_Redo_Button_state();
    return true;
}
