#include "editor/Editor_Print_Host.h"

#include "editor/TSLWindowController.h"

#include "common/Globals.h"
#include "model/TSLDocument.h"

#include <QFileInfo>

void Editor_Print_Host::Check_Series_Or_Excel_Use_or_not()
{
    editor_.Check_Series_Or_Excel_Use_or_not();
}

void Editor_Print_Host::keepSources(bool series, bool spreadsheet)
{
    if (!series)
        editor_.Use_Data_Sheet_Values = false;
    if (!spreadsheet)
        editor_.Use_Excel_Binding_Values = false;
    editor_.Get_total_Card_count();
}

bool Editor_Print_Host::usesSeries() const
{
    return editor_.Use_Data_Sheet_Values;
}

bool Editor_Print_Host::usesSpreadsheet() const
{
    return editor_.Use_Excel_Binding_Values;
}

int Editor_Print_Host::recordCount() const
{
    return editor_.Total_Batch_Excel_Card;
}

void Editor_Print_Host::onRecordsChanged(std::function<void()> changed)
{
    QObject::disconnect(recordsChanged_);
    // Queued: the window follows once the editor has taken the whole change (columns found again included).
    if (changed)
        recordsChanged_ = QObject::connect(
            &editor_, &TSLWindowController::batchRecordsChanged, &editor_, std::move(changed), Qt::QueuedConnection);
}

std::shared_ptr<const Batch_Snapshot> Editor_Print_Host::takeSnapshot() const
{
    return editor_.Take_Batch_Snapshot();
}

void Editor_Print_Host::Select_first_row_value_for_design()
{
    editor_.Select_first_row_value_for_design(true);
}

Card_Export_Settings Editor_Print_Host::exportSettings() const
{
    Card_Export_Settings settings;
    settings.cardSide = editor_.export_card_side;
    settings.combined = editor_.export_combined_image_chk;
    settings.dpi = editor_.export_resolution;
    settings.extension = editor_.export_format_title;
    return settings;
}

QString Editor_Print_Host::designName() const
{
    const QString name = QFileInfo(Project_File_Name).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

QString Editor_Print_Host::designIdentity() const
{
    return editor_.document() ? editor_.document()->designIdentity() : QString();
}
