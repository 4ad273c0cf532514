// The browser of the background pictures shipped in the data folder: clicking one makes it the front
// side's background at once, whichever side is being edited.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
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
    const QString trimmed = Trim_Str(path);
    if (trimmed.isEmpty())
        return;
    images->append(Browser_Picture_Object::initWithImage_Path(trimmed, imageName, image_UID));
}

void TSLWindowController::imageBrowserSelectionDidChange(int index)
{
    if (index < 0 || index >= images->items().size())
        return;
    selected_image = images->items().at(index).valueForKey(QStringLiteral("path")).toString();
    set_Front_BG_Image(selected_image);
    Refresh_Canvas();
}
