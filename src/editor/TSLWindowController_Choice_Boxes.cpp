// The one handler the main window's choice boxes report to, and small path and listing services.
#include "editor/TSLWindowController.h"

#include "editor/Editor_Globals.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>
#include <QUrl>

void TSLWindowController::comboBoxSelectionDidChange(QComboBox* box)
{
    if (box == Sides_ComboBox) {
        const bool twoSided = Sides_ComboBox->currentIndex() == 0;
        CARD_SIDE_STR = twoSided ? QStringLiteral("2") : QStringLiteral("1");
        Back_Side_btn->setEnabled(twoSided);
    } else if (box == Preset_ComboBox) {
        Preset_Changed();
    } else if (box == Category_ComboBox) {
        Category_Changed();
    }
}

QStringList TSLWindowController::Get_Files_Array_At_Path(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir())
        return {};
    QStringList names;
    const QFileInfoList entries
        = QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        names << (dot > 0 ? name.left(dot) : name);
    }
    return names;
}

QString TSLWindowController::Convert_Path_From_URL(const QUrl& url)
{
    return url.toLocalFile();
}

void TSLWindowController::Add_Excel_Col_Name_In_Combo(QComboBox* box)
{
    if (box && box->count() == 2)
        box->addItem(QStringLiteral("Excel"));
}

void TSLWindowController::Remove_Excel_Col_Name_In_Combo(QComboBox* box)
{
    if (!box || box->count() != 3)
        return;
    const int excel = box->findText(QStringLiteral("Excel"));
    if (excel >= 0)
        box->removeItem(excel);
}
