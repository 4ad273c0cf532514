// Card images and templates: the export dialog, the PNG writer every exported picture goes through, the
// result box and the export of the card as a user template.
#include "editor/TSLWindowController.h"

#include "canvas/TSLRenderingView.h"
#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/Design_File_Format.h"
#include "editor/Editor_Globals.h"
#include "output/Barcode_Readability.h"
#include "output/Card_Image_File.h"
#include "output/Open_Export_Log.h"
#include "output/Record_Fill.h"
#include "profiles/Export_Template_Window.h"
#include "editor/Export_Window.h"
#include "platform/PrivateFolder.h"
#include "platform/UiSeam.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QByteArray TSLWindowController::imageFormatForPath(const QString& path)
{
    return Card_Image_File::formatForPath(path);
}

bool TSLWindowController::Save_gen_image(const QImage& image, const QString& path, QString* error, int dpi)
{
    return Card_Image_File::write(image, path, error, dpi);
}

QString TSLWindowController::Create_Back_Card_Path(const QString& path)
{
    return Card_Image_File::backPath(path);
}

bool TSLWindowController::Export_Single_File(const QString& path, bool show_msg)
{
    const int dpi = export_resolution;
    auto render = [this, dpi](int frontOrBack) {
        TSLRenderingSide side;
        side.property = frontOrBack ? Back_card_Prop : Front_card_Prop;
        side.frontOrBack = frontOrBack;
        side.cardShape = Card_Shape;
        side.canvasBounds = frontCanvasBounds();
        QImage image = TSLRenderingView::image_From_Card_Graphics(
            frontOrBack ? Get_Back_Controls_Array() : Get_Front_Controls_Array(), side, dpi / 72.0);
        image.setDevicePixelRatio(1.0); // counted in pixels from here on
        return image;
    };

    // Every file is tried; the first failure is the one reported.
    QString failure;
    auto save = [&failure, dpi](const QImage& image, const QString& target) {
        QString reason;
        if (!Save_gen_image(image, target, &reason, dpi) && failure.isEmpty())
            failure = Card_Image_File::failureText(target, reason);
    };

    // The back alone goes to the chosen name with "_Back", as it does beside a front.
    const Card_Image_File::Targets files = Card_Image_File::targets(path, export_card_side, export_combined_image_chk);
    if (!files.combined.isEmpty()) {
        const QImage back = render(1);
        save(Card_Image_File::combine(render(0), back), files.combined);
    }
    if (!files.back.isEmpty())
        save(render(1), files.back);
    if (!files.front.isEmpty())
        save(render(0), files.front);

    if (!failure.isEmpty()) {
        Show_MessageBox(failure);
        return false;
    }
    if (show_msg) {
        Export_File_Path = files.back.isEmpty() || !files.front.isEmpty() ? path : files.back;
        QList<TSLGraphicList> written;
        if (!files.front.isEmpty() || !files.combined.isEmpty())
            written << Get_Front_Controls_Array();
        if (!files.back.isEmpty() || !files.combined.isEmpty())
            written << Get_Back_Controls_Array();
        QStringList notFound;
        QStringList cut;
        QStringList small;
        for (const TSLGraphicList& items : written) {
            notFound << Record_Fill::picturesNotFound(items);
            cut << Record_Fill::textsCut(items, frontCanvasBounds(), nullptr);
            for (const Unreadable_Barcode& barcode :
                Barcode_Readability::unreadable(items, export_resolution, Record_Source()))
                small << barcode.item;
        }
        for (const QString& missing : notFound)
            Show_NSLog_Message(
                QStringLiteral("The picture \"%1\" cannot be found; the card is exported without it").arg(missing));
        QStringList notes;
        if (!notFound.isEmpty())
            notes << Record_Fill_Log::pictureNotFoundNote(1);
        if (!cut.isEmpty())
            notes << Record_Fill_Log::textsCutNote(cut);
        if (!small.isEmpty())
            notes << QStringLiteral("The card is made with a barcode drawn too small for barcode readers (%1). "
                                    "Choose a higher resolution or a larger barcode.")
                         .arg(small.join(QStringLiteral(", ")));
        // A card that went without part of itself is no success.
        notes.prepend(notes.isEmpty() ? QStringLiteral("Card has been exported successfully.")
                                      : QStringLiteral("The card has been exported, but it is not whole."));
        Export_File_Message = notes.join(QStringLiteral("\n\n"));
        Open_Export_File_Box();
    }
    return true;
}

void TSLWindowController::Export_Button()
{
    Export_Window& dialog = Export_Window::defaultInstance();
    dialog.reset();
    dialog.setTwoSided(CARD_SIDE_STR == QLatin1String("2"));
    export_card_side = QStringLiteral("F");
    Check_Series_Or_Excel_Use_or_not();
    dialog.setSources(Use_Data_Sheet_Values, Use_Excel_Binding_Values);
    if (platform::ui().runModal(dialog) == 0) {
        dialog.hide();
        return;
    }
    dialog.hide();
    export_card_side = dialog.cardSide();
    export_combined_image_chk = dialog.combinedImage();
    export_resolution = dialog.resolution();
    const QString format = dialog.formatTitle();
    export_format_title = format;

    // With bound items and records to fill them, one card per record goes into a folder; a source the user
    // left out counts no records.
    Use_Data_Sheet_Values = Use_Data_Sheet_Values && dialog.useSeries();
    Use_Excel_Binding_Values = Use_Excel_Binding_Values && dialog.useSpreadsheet();
    Get_total_Card_count();
    // A run looks at its barcodes itself, on its own thread and before it writes anything.
    if (Total_Batch_Excel_Card > 0) {
        platform::FileRequest folderRequest;
        folderRequest.kind = platform::FileRequest::Kind::Folder;
        folderRequest.caption = QStringLiteral("Export Cards");
        folderRequest.directory = QDir::homePath();
        const QString folder = platform::ui().chooseFile(folderRequest);
        if (!folder.isEmpty())
            Export_Batch_File(folder);
        return;
    }

    warnOfBarcodesBelowAPixel(export_resolution);
    // A text the card cuts is asked about before the file is chosen, as a run asks before it writes its cards.
    const QString cut = Barcode_Readability::runQuestion(
        Barcode_Readability::lookAtRun(*Take_Batch_Snapshot(), export_card_side != QLatin1String("B"),
            export_card_side != QLatin1String("F"), 0, false, nullptr),
        0, QStringLiteral("Export the card anyway?"));
    if (!cut.isEmpty() && Show_YES_NO_MessageBox(cut) != 1)
        return;
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Save;
    request.caption = QStringLiteral("Export Card");
    request.directory = QDir(QDir::homePath()).filePath(QStringLiteral("Card.") + format.toLower());
    request.filter = QStringLiteral("%1 (*.%2)").arg(format, format.toLower());
    const QString chosen = platform::ui().chooseFile(request);
    if (chosen.isEmpty())
        return;
    raise();
    activateWindow();
    Export_Single_File(Card_Image_File::pathForFormat(chosen, format), true);
}

void TSLWindowController::warnOfBarcodesBelowAPixel(int dpi) const
{
    // A run's symbols grow with their values: every record's is looked at, not only the one on the canvas.
    const bool front = export_card_side != QLatin1String("B");
    const bool back = export_card_side != QLatin1String("F");
    Barcode_Readability::warn(Barcode_Readability::unreadableInRun(*Take_Batch_Snapshot(), front, back, dpi), dpi);
}

int TSLWindowController::Open_Export_File_Box()
{
    return Open_Export_Log::defaultInstance().Open_Export_File_Box(Export_File_Path, Export_File_Message);
}

void TSLWindowController::Export_As_Template_Clicked()
{
    Export_Template_Window& window = Export_Template_Window::defaultInstance();
    window.reset();
    const int result = platform::ui().runModal(window);
    window.hide();
    if (result != 1)
        return;
    Export_Template(window.templateName());
}

bool TSLWindowController::Export_Template(const QString& name)
{
    if (const QString refusal = templateNameRefusal(name); !refusal.isEmpty()) {
        Show_MessageBox(refusal);
        return false;
    }
    const QString cleaned = Remove_Reserve_Char_In_File_Name(Trim_Str(name));
    if (!isListedTemplateName(cleaned))
        return false;
    const QDir folder(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    if (!folder.exists() && !platform::makePrivateFolder(folder.path())) {
        Show_MessageBox(Card_Image_File::failureText(folder.path(), QStringLiteral("the folder cannot be created")));
        return false;
    }
    const QString designPath = folder.filePath(cleaned + QLatin1Char('.') + design_file_EXT);
    const QString picturePath = folder.filePath(cleaned + QStringLiteral(".png"));

    // Both files are replaced atomically, so an old template survives a failed export whole.
    const QString keptProject = Project_File_Name;
    Project_File_Name = designPath;
    QString reason = QStringLiteral("the design file could not be written");
    savingElsewhere_ = true;
    const SaveResult saved = Save_project_file(false, false, &reason);
    savingElsewhere_ = false;
    Project_File_Name = keptProject;
    Set_Log_Name_In_Title();
    if (saved != SaveResult::Saved) {
        Show_MessageBox(Card_Image_File::failureText(designPath, reason));
        return false;
    }

    const QString keptSide = export_card_side;
    const bool keptCombined = export_combined_image_chk;
    const int keptResolution = export_resolution;
    export_card_side = QStringLiteral("BOTH");
    export_combined_image_chk = true;
    export_resolution = 72; // the template's preview, one pixel per point
    const bool exported = Export_Single_File(picturePath, false);
    export_card_side = keptSide;
    export_combined_image_chk = keptCombined;
    export_resolution = keptResolution;
    if (!exported)
        return false;
    Show_MessageBox(QStringLiteral("Template exported successfully."));
    return true;
}
