// The browser of the background pictures shipped in the data folder: clicking one makes it the background
// of the side being edited at once, as one undoable step of that side.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Editor_Globals.h"
#include "model/TSLDocument.h"
#include "platform/FolderWatch.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"
#include "profiles/Browser_Picture_Model.h"

#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QToolButton>

#include <algorithm>

QString TSLWindowController::backgroundFolder() const
{
    return QDir(Resource_Path).filePath(QStringLiteral("Background"));
}

namespace {

// The png and jpg files of the Background folder: those the strip already shows keep their places (the
// person may have dragged them), and new ones follow in name order.
QStringList pictureFiles(const QString& folder, const QStringList& shown)
{
    if (!QFileInfo(folder).isDir())
        return {};
    QStringList files;
    const QStringList entries
        = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        const QString extension = QFileInfo(entry).suffix().toLower();
        if (extension == QLatin1String("png") || extension == QLatin1String("jpg"))
            files << QDir(folder).filePath(entry);
    }
    const auto place = [&shown](const QString& file) {
        const qsizetype at = shown.indexOf(file);
        return at < 0 ? shown.size() : at;
    };
    std::stable_sort(files.begin(), files.end(),
        [&place](const QString& one, const QString& other) { return place(one) < place(other); });
    return files;
}

} // namespace

void TSLWindowController::Load_and_fill_backgrounds()
{
    QStringList shown;
    for (const Browser_Picture_Object& item : images->items())
        shown << item.path;
    const QStringList files = pictureFiles(backgroundFolder(), shown);
    if (files == shown)
        return; // nothing to read again: the thumbnails and the place in the strip stay
    // The picture the strip shows as chosen stays chosen while it is there.
    const QString chosen
        = imageBrowser ? imageBrowser->currentIndex().data(Browser_Picture_Model::PathRole).toString() : QString();
    images->clear();
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        addImageWithPath(file, name, name);
    }
    for (int row = 0; imageBrowser && !chosen.isEmpty() && row < images->rowCount(); ++row) {
        if (images->items().at(row).path == chosen)
            imageBrowser->setCurrentIndex(images->index(row));
    }
}

// Another program or a second copy may add, remove or rename pictures while the strip shows them. The data
// folder is followed too, so that a Background folder made later is taken up.
void TSLWindowController::watchBackgroundFolder()
{
    const auto folders = [this] { return QStringList { Resource_Path, backgroundFolder() }; };
    if (!backgroundFolderWatcher_)
        backgroundFolderWatcher_ = platform::followFolders(this, folders, [this] { Load_and_fill_backgrounds(); });
}

void TSLWindowController::addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID)
{
    images->appendPicture(Trim_Str(path), imageName, image_UID);
}

void TSLWindowController::imageBrowserSelectionDidChange(int index)
{
    if (index < 0 || index >= images->items().size())
        return;
    selected_image = images->items().at(index).valueForKey(QStringLiteral("path")).toString();
    setCurrentSideBackground(selected_image);
    Refresh_Canvas();
}

void TSLWindowController::registerCardSideUndo(int frontOrBack, const Card_Property& before, const QString& name)
{
    if (!document_)
        return;
    platform::UndoManager& undo = document_->undoManagerForKey(sideKeys().value(frontOrBack));
    undo.registerUndo([this, frontOrBack, before, name] {
        Card_Property& side = sideRecord(frontOrBack);
        const Card_Property now = side;
        side = before;
        // Undoing it again is the redo.
        registerCardSideUndo(frontOrBack, now, name);
        // The sides choice is the card's: the back side is there to work on only on a two-sided card.
        if (frontOrBack < 2 && now.Card_Side() != before.Card_Side()) {
            CARD_SIDE_STR = before.Card_Side() == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("2");
            Back_Side_btn->setEnabled(CARD_SIDE_STR == QLatin1String("2"));
        }
        if (shownSide() == frontOrBack)
            Show_RHS_Properties(nullptr);
        Refresh_Canvas();
    });
    undo.setActionName(platform::localizedString(QStringLiteral("UndoStrings"), name));
}
