// Card images and templates: the export dialog, the PNG writer every exported picture goes through, the
// result box and the export of the card as a user template.
#include "editor/TSLWindowController.h"

#include "platform/PngColourWriter.h"
#include "canvas/TSLRenderingView.h"
#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/Design_File_Format.h"
#include "output/Open_Export_Log.h"
#include "profiles/Export_Template_Window.h"
#include "editor/Export_Window.h"
#include "platform/UiSeam.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QUrl>

namespace {

QString writeFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("Card could not be exported to \"%1\": %2").arg(path, reason);
}

} // namespace

QByteArray TSLWindowController::imageFormatForPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg") || extension == QLatin1String("jpe")
        || extension == QLatin1String("jfif"))
        return "jpeg";
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff"))
        return "tiff";
    if (extension == QLatin1String("bmp"))
        return "bmp";
    return "png";
}

bool TSLWindowController::Save_gen_image(const QImage& image, const QString& path, QString* error, int dpi)
{
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("there is no picture to write");
        return false;
    }
    // The format is the one the file's extension names; the resolution is recorded so that the picture
    // keeps the card's size in print.
    const QByteArray format = imageFormatForPath(path);
    QImage bitmap = image;
    bitmap.setDevicePixelRatio(1.0);
    if (format == "jpeg" || format == "bmp")
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32); // no alpha in the file: white stays white
    const int dotsPerMeter = qRound(dpi / 0.0254);
    bitmap.setDotsPerMeterX(dotsPerMeter);
    bitmap.setDotsPerMeterY(dotsPerMeter);
    QString reason;
    const bool written = saveFileAtomically(
        path,
        [&bitmap, &reason, &format](QIODevice& device) {
            if (format == "png") {
                // Our own writer: one pass over the rows, spans equal to the row above and runs of a pixel
                // as references; many times faster than the general one on a thousand cards, still lossless.
                const QByteArray data = platform::PngColourWriter::pngData(bitmap);
                if (!data.isEmpty() && device.write(data) == data.size())
                    return true;
                reason = data.isEmpty() ? QStringLiteral("the picture cannot be compressed") : device.errorString();
                return false;
            }
            QImageWriter writer(&device, format);
            if (format == "jpeg")
                writer.setQuality(95);
            else if (format == "tiff")
                writer.setCompression(1); // lossless LZW
            if (writer.write(bitmap))
                return true;
            reason = writer.errorString();
            return false;
        },
        &reason);
    if (!written) {
        Show_NSLog_Message(QStringLiteral("cannot write %1: %2").arg(path, reason));
        if (error)
            *error = reason;
    }
    return written;
}

QString TSLWindowController::Create_Back_Card_Path(const QString& path)
{
    const QFileInfo info(path);
    const QString name = QStringLiteral("%1_Back.%2").arg(info.completeBaseName(), info.suffix());
    return info.dir().filePath(name);
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
            failure = writeFailureText(target, reason);
    };

    if (export_card_side == QLatin1String("BOTH")) {
        const QImage back = render(1);
        const QImage front = render(0);
        if (export_combined_image_chk) {
            save(Combined_Card_Image(front, back), path);
        } else {
            save(back, Create_Back_Card_Path(path));
            save(front, path);
        }
    } else {
        save(render(export_card_side == QLatin1String("F") ? 0 : 1), path);
    }

    if (!failure.isEmpty()) {
        Show_MessageBox(failure);
        return false;
    }
    if (show_msg) {
        Export_File_Path = path;
        Export_File_Message = QStringLiteral("Card has been exported successfully.");
        Open_Export_File_Box();
    }
    return true;
}

void TSLWindowController::Export_Button()
{
    Export_Window& dialog = Export_Window::defaultInstance();
    dialog.reset();
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
    Export_Single_File(chosen, true);
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
    const QDir folder(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        Show_MessageBox(writeFailureText(folder.path(), QStringLiteral("the folder cannot be created")));
        return false;
    }
    const QString designPath = folder.filePath(cleaned + QLatin1Char('.') + design_file_EXT);
    const QString picturePath = folder.filePath(cleaned + QStringLiteral(".png"));

    // Both files are replaced atomically, so an old template survives a failed export whole.
    const QString keptProject = Project_File_Name;
    Project_File_Name = designPath;
    const SaveResult saved = Save_project_file(false, false);
    Project_File_Name = keptProject;
    Set_Log_Name_In_Title();
    if (saved != SaveResult::Saved) {
        Show_MessageBox(writeFailureText(designPath, QStringLiteral("the design file could not be written")));
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
