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
#include "model/PictureSource.h"
#include "model/TSLImage.h"
#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"

#include <QBuffer>
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
#include <utility>

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

// A picture another program put on the clipboard, as the bytes of its file and the file name extension
// of its format; empty when there is none we can read. The bytes are taken as they are, never decoded here:
// they pass the gate every picture file passes. A picture put there by this very process is already
// decoded, and is written as PNG.
std::pair<QByteArray, QString> pictureFileFromPasteboard(const QMimeData& data)
{
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data.formats()) {
        if (!format.startsWith(QLatin1String("image/")) || !readable.contains(format.toLatin1()))
            continue;
        const QList<QByteArray> suffixes = QImageReader::imageFormatsForMimeType(format.toLatin1());
        QByteArray bytes = data.data(format);
        // Data of no picture kind at all are passed over, as before: only its first bytes are looked at.
        QBuffer buffer(&bytes);
        if (suffixes.isEmpty() || !buffer.open(QIODevice::ReadOnly) || QImageReader::imageFormat(&buffer).isEmpty())
            continue;
        return { bytes, QString::fromLatin1(suffixes.front()) };
    }
    // Only a picture held in this process: asking any other clipboard for it decodes it unchecked.
    if (data.hasFormat(QStringLiteral("application/x-qt-image"))) {
        const QImage picture = qvariant_cast<QImage>(data.imageData());
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (!picture.isNull() && buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG"))
            return { bytes, QStringLiteral("png") };
    }
    return {};
}

// Stores a pasted picture's bytes as a new file of the data folder's "LibraryImage" folder; the path, or
// empty when it cannot be written or is larger than a picture file may be (*refusal says so).
QString savePastedPicture(const QByteArray& bytes, const QString& suffix, QString* refusal)
{
    if (bytes.size() > platform::maximumPictureFileBytes) {
        *refusal = QStringLiteral("The pasted picture is too large to use (%1 MB). Picture files of up to %2 MB "
                                  "can be placed on a card.")
                       .arg(bytes.size() / (1024 * 1024))
                       .arg(platform::maximumPictureFileBytes / (1024 * 1024));
        return {};
    }
    const QString folder = Resource_Path + QStringLiteral("/LibraryImage");
    if (Resource_Path.isEmpty() || !platform::makePrivateFolder(folder)) {
        Show_NSLog_Message(QStringLiteral("cannot create %1 for a pasted picture").arg(folder));
        return {};
    }
    QString path;
    do {
        path = folder + QStringLiteral("/Pasted_") + QUuid::createUuid().toString(QUuid::WithoutBraces)
            + QLatin1Char('.') + suffix;
    } while (QFileInfo::exists(path));
    QString error;
    if (!saveFileAtomically(
            path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); }, &error)) {
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
    const auto [bytes, suffix] = pictureFileFromPasteboard(*pasteboard);
    if (bytes.isEmpty())
        return false;
    // The picture is kept as a file of its own, so the item still finds it after the design is saved
    // and opened again; it passes the same gate as a picture file the person chose, and is refused with the
    // same words.
    QString refusal;
    const QString path = savePastedPicture(bytes, suffix, &refusal);
    CardEditorServices* services = editorServices();
    const PictureSource::Check check = path.isEmpty() ? PictureSource::Check()
        : services                                    ? services->checkPicture(path)
                                                      : PictureSource::check(path);
    if (!check.usable() || check.pixels.isEmpty()) { // refused, not written, or given up
        if (!path.isEmpty())
            QFile::remove(path);
        if (!refusal.isEmpty() || !check.refusal.isEmpty())
            Show_MessageBox(refusal.isEmpty() ? check.refusal : refusal);
        return false;
    }
    const std::shared_ptr<TSLImage> item = TSLImage::initWithPath(point, path);
    if (item->pictureSource().working().isNull()) {
        QFile::remove(path);
        return false;
    }
    item->setBounds(
        pastedPictureBounds(QSizeF(check.pixels), point, services ? services->frontCanvasBounds() : QRectF()));
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
