// The browser of the background pictures shipped in the data folder: clicking one makes it the background
// of the side being edited at once, as one undoable step of that side.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/TSLDocument.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"
#include "profiles/Browser_Picture_Model.h"

#include <QDir>
#include <QFileInfo>

void TSLWindowController::Load_and_fill_backgrounds()
{
    const QString folder = QDir(Resource_Path).filePath(QStringLiteral("Background"));
    if (!QFileInfo(folder).isDir())
        return;
    images->clear();
    const QStringList entries
        = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        const QString extension = QFileInfo(entry).suffix().toLower();
        if (extension == QLatin1String("png") || extension == QLatin1String("jpg"))
            addImageWithPath(QDir(folder).filePath(entry), entry, entry);
    }
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
        if (shownSide() == frontOrBack)
            Show_RHS_Properties(nullptr);
        Refresh_Canvas();
    });
    undo.setActionName(platform::localizedString(QStringLiteral("UndoStrings"), name));
}
