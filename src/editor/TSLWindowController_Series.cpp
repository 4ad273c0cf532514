// The main window's ways into the series windows, and what those windows ask of it.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "data/BatchWizard.h"
#include "data/Generate_List.h"
#include "data/View_Data_Series.h"
#include "common/Globals.h"
#include "editor/TSLWindowController_Forms.h"
#include "platform/FolderWatch.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

void TSLWindowController::connectSeriesCommands()
{
    // The Series button opens the manager; its menu also leads straight to the generator and the importer.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("seriesMenu"));
    QAction* manager = menu->addAction(QStringLiteral("Series Manager..."));
    Create_Series_btn = menu->addAction(QStringLiteral("Generate Series..."));
    Create_Series_btn->setObjectName(QStringLiteral("Create_Series_btn"));
    Import_Wizard_btn = menu->addAction(QStringLiteral("Import Series..."));
    Import_Wizard_btn->setObjectName(QStringLiteral("Import_Wizard_btn"));
    Series_btn->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(forms_->window.mainToolBar->widgetForAction(Series_btn)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    connect(Series_btn, &QAction::triggered, this, &TSLWindowController::Batch_Series_Button);
    connect(manager, &QAction::triggered, this, &TSLWindowController::Batch_Series_Button);
    connect(Create_Series_btn, &QAction::triggered, this, &TSLWindowController::Create_Series_Button);
    connect(Import_Wizard_btn, &QAction::triggered, this, &TSLWindowController::Import_Wizard_Button);
    connect(
        menu, &QMenu::aboutToShow, this, [this] { Import_Wizard_btn->setEnabled(bool(BatchWizard::importWizard)); });

    view_series_btn->setVisible(true);
    connect(view_series_btn, &QPushButton::clicked, this, &TSLWindowController::View_batch_Series_Button);
}

void TSLWindowController::Batch_Series_Button()
{
    BatchWizard::defaultInstance()->Open_Wnd();
    Refresh_Series_Choices();
}

void TSLWindowController::Create_Series_Button()
{
    Generate_List* generator = Generate_List::defaultInstance();
    generator->file_name_required = 1;
    generator->file_name_Insert = 0;
    generator->Open_Wnd();
    Refresh_Series_Choices();
}

void TSLWindowController::Import_Wizard_Button()
{
    if (BatchWizard::importWizard)
        BatchWizard::importWizard(1, 0);
    Refresh_Series_Choices();
}

void TSLWindowController::Refresh_Series_Choices()
{
    if (!Data_source_type || Data_source_type->currentText() != QLatin1String("Series"))
        return;
    // Only the list changes: the shown item keeps its binding, and the series it names stays chosen.
    const QString chosen = Batch_Series->currentText();
    const bool wasMuted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    Batch_Series->clear();
    Batch_Series->addItems(Get_datasheet_File_Name_Array());
    Batch_Series->setCurrentIndex(Batch_Series->findText(chosen));
    Not_Draw_Only_Prop_Change = wasMuted;
}

// Another copy of the program may add or remove series while this one shows the list. The folder above
// the series folder is watched too, so that a series folder made again later is taken up.
void TSLWindowController::watchSeriesFolder()
{
    const auto folders = [] { return QStringList { Resource_Path, Data_Folder_Path }; };
    if (!seriesFolderWatcher_)
        seriesFolderWatcher_ = platform::followFolders(this, folders, [this] { Refresh_Series_Choices(); });
}

void TSLWindowController::View_batch_Series_Button()
{
    const QString source = Data_source_type->currentText();
    if (source == QLatin1String("Manual"))
        return;
    if (source != QLatin1String("Series"))
        return; // the spreadsheet binding table has its own window
    const QString name = Trim_Str(Batch_Series->currentText());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    showSeriesValues(name);
}

void TSLWindowController::showSeriesValues(const QString& name)
{
    View_Data_Series* viewer = View_Data_Series::defaultInstance();
    viewer->file_name = name;
    viewer->Open_Wnd();
}

void TSLWindowController::Show_Export_Notice(const QString& path, const QString& message)
{
    Export_File_Path = path;
    Export_File_Message = message;
    Open_Export_File_Box();
}
