// Writes the seed corpora of the fuzz targets with the program's own writers: one folder per target under
// the folder given, each file a value, archive, clipboard content or design the program itself produces.
#include "FuzzSupport.h"

#include "editor/DesignFileSamples.h"
#include "model/TSLGraphic.h"
#include "platform/KeyedArchive.h"
#include "platform/PlistSamples.h"

#include "common/Globals.h"
#include "data/Series_File.h"
#include "data/SpreadsheetWriter.h"
#include "data/ZipTestSupport.h"
#include "data/Zip_Package.h"
#include "model/CraftedPictures.h"
#include "output/Preferences.h"

#include <QDir>
#include <QBuffer>
#include <QImageWriter>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool writeSeed(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray archived(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Workbooks our writer makes, whole and as the parts the workbook target packs itself, and the rows
// they hold as the sheet-writer target takes them.
bool writeWorkbookSeeds(const QString& root, const QString& scratch)
{
    const SpreadsheetWriter::Rows rows { { QStringLiteral("Name"), QStringLiteral("Age") },
        { QStringLiteral("Zoë & <Bob>"), QStringLiteral("42") }, { QStringLiteral("bell\a cr\r"), QString() } };
    const QString book = scratch + QStringLiteral("/book.xlsx");
    const QString parts = scratch + QStringLiteral("/parts");
    bool ok = SpreadsheetWriter::WriteWorkbook(book, rows, true) && Zip_Package::unzipFileAtPath(book, parts);
    ok &= writeSeed(root + QStringLiteral("/workbook"), QStringLiteral("ours.xlsx"), fileBytes(book));
    ok &= writeSeed(root + QStringLiteral("/zip"), QStringLiteral("ours.xlsx"), fileBytes(book));
    QByteArray packed;
    for (const char* part : { "/xl/worksheets/sheet1.xml", "/xl/sharedStrings.xml", "/xl/workbook.xml" })
        packed += (packed.isEmpty() ? QByteArray() : QByteArray("\x1e\x1e")) + fileBytes(parts + QLatin1String(part));
    ok &= writeSeed(root + QStringLiteral("/workbook"), QStringLiteral("parts"), packed);
    QString cells;
    for (const QStringList& row : rows)
        cells += (cells.isEmpty() ? QString() : QString(QChar(0x1D))) + row.join(QChar(0x1E));
    ok &= writeSeed(root + QStringLiteral("/sheet"), QStringLiteral("rows"),
        QByteArray(reinterpret_cast<const char*>(cells.utf16()), cells.size() * 2));
    return ok;
}

// Workbooks as other programs write them: byte-order marks before the parts, capital part names, sheets
// in parts of other names found through the workbook's relationships, and two entries of one name; and
// one made to be slow.
bool writeOddWorkbookSeeds(const QString& root, const QString& scratch)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray sheet = "<worksheet><sheetData><row><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\">"
                             "<v>0.28000000000000003</v></c></row></sheetData></worksheet>";
    const QByteArray strings = "<sst><si><t>Ada</t></si></sst>";
    auto listed = [](const QByteArray& target, const QByteArray& mark) {
        return std::vector<ziptest::Entry> { { QStringLiteral("xl/workbook.xml"),
                                                 mark
                                                     + "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Guests\" "
                                                       "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>" },
            { QStringLiteral("xl/_rels/workbook.xml.rels"),
                mark
                    + "<Relationships><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                      "officeDocument/2006/relationships/worksheet\" Target=\""
                    + target + "\"/></Relationships>" } };
    };
    auto with = [](std::vector<ziptest::Entry> entries, const QString& name, const QByteArray& data) {
        entries.push_back({ name, data });
        return entries;
    };
    const std::pair<QString, std::vector<ziptest::Entry>> seeds[] = {
        { QStringLiteral("bom.xlsx"),
            with(with(listed("worksheets/sheet1.xml", bom), QStringLiteral("xl/worksheets/sheet1.xml"), bom + sheet),
                QStringLiteral("xl/sharedStrings.xml"), bom + strings) },
        { QStringLiteral("capitals.xlsx"),
            with(listed("Worksheets/SHEET1.xml", {}), QStringLiteral("xl/worksheets/Sheet1.xml"), sheet) },
        { QStringLiteral("other-names.xlsx"),
            with(with(listed("/xl/data/people.xml", {}), QStringLiteral("xl/data/people.xml"), sheet),
                QStringLiteral("xl/worksheets/sheet.xml"), sheet) },
        { QStringLiteral("twice.xlsx"),
            with(with(listed("worksheets/sheet1.xml", {}), QStringLiteral("xl/worksheets/sheet1.xml"), sheet),
                QStringLiteral("xl/worksheets/sheet1.xml"), strings) },
        // A text that begins a reference and never ends it, long enough to cost seconds if it were scanned
        // again with every block.
        { QStringLiteral("ampersand.xlsx"),
            with(with(listed("worksheets/sheet1.xml", {}), QStringLiteral("xl/worksheets/sheet1.xml"), sheet),
                QStringLiteral("xl/sharedStrings.xml"),
                "<sst><si><t>&" + QByteArray(24 << 20, 'x') + "</t></si></sst>") },
    };
    bool ok = true;
    for (const auto& [name, entries] : seeds) {
        const QString path = scratch + QLatin1Char('/') + name;
        ok &= ziptest::writeZip(path, entries) && writeSeed(root + QStringLiteral("/workbook"), name, fileBytes(path));
    }
    return ok;
}

// A series, the import samples, the settings file and a picture folder tree, as the program writes them.
bool writeDataSeeds(const QString& root, const QString& scratch)
{
    Data_Folder_Path = scratch;
    Resource_Path = scratch;
    bool ok = Series_File::write(QStringLiteral("Guests"),
        { QStringLiteral("Zoë"), QStringLiteral(" padded "), QStringLiteral("tab\tinside") },
        Series_File::Values::AsGiven);
    ok &= writeSeed(root + QStringLiteral("/series"), QStringLiteral("guests"),
        fileBytes(Series_File::path(QStringLiteral("Guests"))));
    ok &= writeSeed(root + QStringLiteral("/series"), QStringLiteral("latin1"), "caf\xE9\r\nna\xEFve\n");
    ok &= writeSeed(root + QStringLiteral("/text"), QStringLiteral("lines"), "one\r\ntwo\rthree\n{four}\\\n");
    ok &= writeSeed(root + QStringLiteral("/text"), QStringLiteral("csv"), "a,b,,c\n\"quoted, value\"\n");
    ok &= writeSeed(root + QStringLiteral("/text"), QStringLiteral("rtf"),
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Serif;}}\\f0 Hello\\par W\\'f6rld\\tab \\u8364?\\line end}");
    Preferences settings;
    settings.setDefaults();
    settings.setsend_email_SenderEmail(QStringLiteral("card@example.org"));
    settings.setsend_email_SMTP_server(QStringLiteral("smtp.example.org"));
    settings.setsend_email_PORT_num(QStringLiteral("587"));
    settings.setsend_email_enable_ssl(QStringLiteral("Y"));
    ok &= settings.flush();
    ok &= writeSeed(
        root + QStringLiteral("/settings"), QStringLiteral("ours"), fileBytes(Preferences::settingsFilePath()));
    // Records: a kind byte, a name ended by NUL, then a picture file's bytes.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(40, 30, QImage::Format_RGB32).save(&buffer, "PNG");
    auto record = [](char kind, const QByteArray& name, const QByteArray& content = {}) {
        return QByteArray(1, kind) + name + QByteArray(1, '\0') + content + QByteArray("\x1e\x1e");
    };
    ok &= writeSeed(root + QStringLiteral("/folders"), QStringLiteral("tree"),
        record(1, "Birthday") + record(0, "Birthday/a.png", png) + record(0, "top.jpg", png)
            + record(2, "Birthday/zero.png") + record(3, "pipe.jpg") + record(4, "Birthday/out.jpg"));
    return ok;
}

// A small photo in several scans, as picture programs save for the web, with its DC data coded in full.
QByteArray progressivePhoto()
{
    QImage photo(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(photo);
    return bytes;
}

// Pictures as cameras, phones and picture programs write them, cut ones, and ones made to hold the check up.
bool writePictureSeeds(const QString& folder)
{
    const QByteArray progressive = picturefiles::flatJpeg({ 8400, 8400 }, 3, 1, true);
    const QByteArray whole = picturefiles::jpegWithOrientation(6, { 64, 48 });
    const std::pair<const char*, QByteArray> seeds[] = {
        { "exif.jpg", whole },
        { "cut-in-header.jpg", whole.left(200) },
        { "cut-and-ended.jpg", whole.left(whole.size() / 2) + "\xFF\xD9" },
        { "many-scans.jpg", picturefiles::flatJpeg({ 4096, 4096 }, 1, 1, true, 1000) },
        { "progressive-cut.jpg", progressive.left(progressive.size() / 2) + "\xFF\xD9" },
        { "camera-102mp.jpg", picturefiles::flatJpeg({ 11648, 8736 }, 3, 2, false) },
        { "colour.png", picturefiles::redAndBlue("PNG") },
        { "deep.png", picturefiles::sixteenBitPngWithTransparentColour() },
        { "inflating.png", picturefiles::inflatingPng({ 100, 100 }, 50'000'000) },
        { "hundred-scans-12000.jpg", picturefiles::hundredScanJpeg() },
        { "progressive-444-70mp.jpg", picturefiles::fullColourProgressiveJpeg() },
        { "progressive-photo.jpg", progressivePhoto() },
    };
    bool ok = true;
    for (const auto& [name, bytes] : seeds)
        ok &= writeSeed(folder, QString::fromLatin1(name), bytes);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    fuzzsupport::startApplication();
    const QString root = QString::fromLocal8Bit(argv[1]);
    const DesignFileContent design = designsamples::richDesign();
    TSLGraphicList items = design.frontItems;
    items.insert(items.end(), design.backItems.begin(), design.backItems.end());
    const platform::PlistValue values = plistsamples::everyType();
    bool ok = true;

    ok &= writeSeed(root + QStringLiteral("/xml"), QStringLiteral("every-type"), platform::PropertyList::toXml(values));
    ok &= writeSeed(
        root + QStringLiteral("/binary"), QStringLiteral("every-type"), platform::PropertyList::toBinary(values));
    platform::KeyedArchive mixed(QStringLiteral("Mixed"));
    mixed.encodeColor(QStringLiteral("colour"), QColor(10, 20, 30, 40));
    mixed.encodeFont(QStringLiteral("font"), QFont(QStringLiteral("DejaVu Sans"), 12));
    mixed.encodeRect(QStringLiteral("rect"), QRectF(1, 2, 3, 4));
    mixed.encodeString(QStringLiteral("text"), QStringLiteral("Happy birthday"));
    ok &= writeSeed(root + QStringLiteral("/keyed"), QStringLiteral("mixed"), mixed.toBytes());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString name = QStringLiteral("%1-%2").arg(i).arg(items[i]->className());
        ok &= writeSeed(root + QStringLiteral("/item"), name, archived(*items[i]));
        ok &= writeSeed(root + QStringLiteral("/keyed"), name, archived(*items[i]));
        ok &= writeSeed(
            root + QStringLiteral("/clipboard"), name, TSLGraphic::pasteboardDataWithGraphics({ items[i] }));
    }
    ok &= writeSeed(
        root + QStringLiteral("/clipboard"), QStringLiteral("all"), TSLGraphic::pasteboardDataWithGraphics(items));
    ok &= writeSeed(root + QStringLiteral("/design"), QStringLiteral("rich"), encodeDesignFile(design));
    ok &= writeSeed(root + QStringLiteral("/design"), QStringLiteral("empty"), encodeDesignFile(DesignFileContent {}));
    ok &= writeSeed(root + QStringLiteral("/xml"), QStringLiteral("design"), encodeDesignFile(design));
    QTemporaryDir scratch;
    ok &= writeWorkbookSeeds(root, scratch.path());
    ok &= writeOddWorkbookSeeds(root, scratch.path());
    ok &= writeDataSeeds(root, scratch.path());
    ok &= writePictureSeeds(root + QStringLiteral("/pictures"));
    return ok ? 0 : 1;
}
