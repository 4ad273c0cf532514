// A card as people really fill it: photos (1000 x 1000 JPEG and PNG files), generated barcode symbols,
// gradient, hatch and solid shapes, lines and texts. Painting such a side on the canvas after its first
// paint, and opening and saving such a design through the main window's own paths, at 100 and 1,000 items.
// Each figure carries the machine's core count; open also reports the process's memory.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/QR_Picture_Encoder.h"
#include "canvas/TSLGraphicView.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"
#include "model/TSLImage.h"
#if __has_include("model/PictureCache.h")
#include "model/PictureCache.h"
#endif

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <thread>

#include <benchmark/benchmark.h>

namespace {

constexpr int distinctPictures = 10;

// A photo-like picture of our own: a sky gradient, a sun and a row of hills, tinted per index.
QImage photo(int index)
{
    QImage image(1000, 1000, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 1000);
    sky.setColorAt(0, QColor::fromHsv((index * 36) % 360, 150, 220));
    sky.setColorAt(1, QColor(250, 230, 200));
    painter.fillRect(image.rect(), sky);
    QRadialGradient sun(QPointF(200 + index * 50, 250), 120);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(1, QColor(255, 180, 60));
    painter.setBrush(sun);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(200 + index * 50, 250), 120, 120);
    for (int hill = 0; hill < 6; ++hill) {
        painter.setBrush(QColor::fromHsv((90 + hill * 12 + index * 7) % 360, 160, 120 + hill * 15));
        painter.drawEllipse(QPointF(hill * 200 - 50, 900 + 20 * std::sin(hill + index)), 260, 200);
    }
    return image;
}

// Ten distinct photo files, made once per run: even indexes JPEG, odd ones PNG.
const QStringList& photoFiles()
{
    static QTemporaryDir folder;
    static const QStringList files = [] {
        QStringList list;
        for (int i = 0; i < distinctPictures; ++i) {
            const char* format = i % 2 ? "PNG" : "JPEG";
            const QString path = folder.filePath(QStringLiteral("photo%1.%2").arg(i).arg(i % 2 ? "png" : "jpg"));
            QSaveFile out(path);
            if (out.open(QIODevice::WriteOnly) && photo(i).save(&out, format, 90))
                out.commit();
            list << path;
        }
        return list;
    }();
    return files;
}

// Generated symbols: QR Codes and Code 128 symbols with their value text, as the barcode dialog makes them.
const std::vector<QImage>& barcodePictures()
{
    static const std::vector<QImage> pictures = [] {
        std::vector<QImage> list;
        for (int i = 0; i < 5; ++i) {
            const auto matrix
                = QR_Picture_Encoder::encodeWithECLevel(1, 0, QStringLiteral("https://example.org/guest/%1").arg(i));
            if (matrix)
                list.push_back(QR_Picture_Encoder::renderModules(*matrix, 80));
            BRCCode128Barcode code128;
            code128.setCodeSet(BRCCode128Barcode::SetChosen);
            if (code128.initWithContent(QStringLiteral("TKT-%1-2026").arg(1000 + i), true))
                list.push_back(imageFromBarcode(code128).image);
        }
        return list;
    }();
    return pictures;
}

TSLGraphicPtr pictureItem(int i, const QRectF& bounds)
{
    auto item = TSLImage::initWithPath(bounds.center(), photoFiles().at(i % distinctPictures));
    item->_bounds = bounds;
    if (i % 3 == 1)
        item->gray_Scale = true; // some pictures carry adjustments of their own
    return item;
}

TSLGraphicPtr barcodeItem(int i, const QRectF& bounds)
{
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode"));
    const auto& pictures = barcodePictures();
    item->Set_Barcode_image(pictures.at(std::size_t(i) % pictures.size()));
    item->_bounds = bounds;
    return item;
}

TSLGraphicPtr textItem(int i, const QRectF& bounds)
{
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    item->_bounds = QRectF(bounds.topLeft(), QSizeF(90, 30));
    item->Text_Value = i % 2 ? QStringLiteral("Happy birthday, guest %1!").arg(i)
                             : QStringLiteral("You are invited\nSaturday at %1 pm").arg(i % 12 + 1);
    return item;
}

TSLGraphicPtr shapeItem(int i, const QRectF& bounds)
{
    static const char* shapes[] = { "R", "C", "RR", "T", "D", "S", "DS", "P" };
    static const char* hatches[] = { "Hatch_Cross", "Hatch_Diagonal", "Hatch_Dots", "Hatch_Vertical" };
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("Shape_Control"));
    item->Set_Shape_Type(QString::fromLatin1(shapes[i % 8]));
    item->_bounds = bounds;
    item->_fillColor = QColor::fromHsv((i * 29) % 360, 160, 230);
    item->polygon_type = 5 + i % 4;
    if (i % 2) {
        item->_fill_type = QStringLiteral("G");
        item->_fill_Grad_clr1 = QColor::fromHsv((i * 53) % 360, 200, 240);
        item->_fill_Grad_clr2 = QColor(Qt::white);
        item->_fill_grad_angle = i * 15 % 360;
    } else {
        item->_fill_type = QStringLiteral("H");
        item->_fill_hatch_type = QString::fromLatin1(hatches[(i / 2) % 4]);
    }
    return item;
}

// One item in ten a picture, one a barcode, two texts, four shapes (gradient or hatch), two lines.
TSLGraphicPtr sceneItem(int i, bool withPictures)
{
    const QRectF bounds((i * 37) % 190, (i * 23) % 110, 24 + i % 30, 18 + i % 26);
    switch (i % 10) {
    case 0:
        return withPictures ? pictureItem(i / 10, bounds) : shapeItem(i, bounds);
    case 1:
        return barcodeItem(i, bounds);
    case 2:
    case 3:
        return textItem(i, bounds);
    case 4:
    case 5: {
        TSLGraphicPtr line = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLLine"));
        line->_bounds = bounds;
        return line;
    }
    default:
        return shapeItem(i, bounds);
    }
}

TSLGraphicList scene(int count, bool withPictures)
{
    Prepare_Resource_Folder();
    TSLGraphicList items;
    for (int i = 0; i < count; ++i)
        items.push_back(sceneItem(i, withPictures));
    return items;
}

std::vector<int> indexesOf(const TSLGraphicList& items)
{
    std::vector<int> result(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        result[i] = int(i);
    return result;
}

void reportMachine(benchmark::State& state)
{
    state.counters["cores"] = double(std::thread::hardware_concurrency());
}

// Resident memory now, and the most the process has held so far, in megabytes.
void reportMemory(benchmark::State& state)
{
    long pages = 0;
    if (QFile statm(QStringLiteral("/proc/self/statm")); statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        if (fields.size() > 1)
            pages = fields.at(1).toLong();
    }
    state.counters["rss_MB"] = double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

// A canvas showing the scene on its side, at a zoom.
struct SceneCanvas {
    TSLDocument document;
    TSLGraphicView view;
    QImage image;

    SceneCanvas(int count, double zoom)
    {
        document.Enable_Disable_Undo_Registraion(false);
        const TSLGraphicList items = scene(count, true);
        document.insertGraphicsForKey(TSLDocumentGraphicsKey_back, items, indexesOf(items));
        view.setCanvasSize(QSizeF(243, 154));
        view.setZoomFactor(zoom);
        view.bindGraphics(&document, TSLDocumentGraphicsKey_back);
        image = QImage(view.size(), QImage::Format_ARGB32_Premultiplied);
    }
    void paint()
    {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
};

// Forgets every decoded picture, so that a measure starts as a freshly started program does.
void forgetPictures()
{
#if __has_include("model/PictureCache.h")
    PictureCache::instance().clear();
#endif
}

// Repaint of a side after its first paint: args are the item count and the zoom.
void BM_CardScenePaint(benchmark::State& state)
{
    const int count = int(state.range(0));
    SceneCanvas canvas(count, double(state.range(1)));
    canvas.paint(); // the first paint reads the pictures
    for (auto _ : state)
        canvas.paint();
    state.SetItemsProcessed(state.iterations() * count);
    reportMachine(state);
}
BENCHMARK(BM_CardScenePaint)->Args({ 100, 1 })->Args({ 100, 2 })->Args({ 1000, 1 })->Unit(benchmark::kMillisecond);

// First paint of a side in a fresh program: the pictures are read then.
void BM_CardSceneFirstPaint(benchmark::State& state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        forgetPictures();
        SceneCanvas canvas(count, 1.0);
        state.ResumeTiming();
        canvas.paint();
    }
    reportMachine(state);
}
BENCHMARK(BM_CardSceneFirstPaint)->Arg(100)->Unit(benchmark::kMillisecond);

// A saved design of the scene on the front side, ready to be opened again.
struct SceneDesign {
    QTemporaryDir folder;
    TSLDocument document;
    TSLWindowController window;
    QString path;
    QImage shown;

    SceneDesign(int count, bool withPictures)
    {
        Prepare_Resource_Folder();
        window.setDocument(&document);
        window.SetDocumentCanvasSize(QSizeF(243, 154));
        window.Front_card_Prop.setCard_Size(QSizeF(243, 154));
        const TSLGraphicList items = scene(count, withPictures);
        document.Enable_Disable_Undo_Registraion(false);
        document.insertGraphicsForKey(TSLDocumentGraphicsKey, items, indexesOf(items));
        document.Enable_Disable_Undo_Registraion(true);
        path = folder.filePath(QStringLiteral("scene.dcard"));
        Project_File_Name = path;
    }

    bool save() { return window.Save_project_file(false, false) == TSLWindowController::SaveResult::Saved; }

    // Opened and shown: the front canvas paints once, as the editor does after an open.
    bool openAndShow()
    {
        if (window.Read_and_load_design_Log(path, QStringLiteral("L")) != 1)
            return false;
        TSLGraphicView* view = window.currentGraphicView();
        if (!view)
            return false;
        if (shown.size() != view->size())
            shown = QImage(view->size(), QImage::Format_ARGB32_Premultiplied);
        view->render(&shown);
        return true;
    }
};

// Args: item count, with pictures (1) or without (0).
void BM_CardSceneOpen(benchmark::State& state)
{
    const int count = int(state.range(0));
    SceneDesign design(count, state.range(1) != 0);
    if (!design.save()) {
        state.SkipWithError("the design could not be saved");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        forgetPictures();
        state.ResumeTiming();
        if (!design.openAndShow())
            state.SkipWithError("the design could not be opened");
    }
    if (design.window.Get_Front_Control_Count() != count)
        state.SkipWithError("the design came back with another number of items");
    state.SetItemsProcessed(state.iterations() * count);
    reportMachine(state);
    reportMemory(state);
}
BENCHMARK(BM_CardSceneOpen)
    ->Args({ 1000, 1 })
    ->Args({ 1000, 0 })
    ->Args({ 10000, 0 })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_CardSceneSave(benchmark::State& state)
{
    const int count = int(state.range(0));
    SceneDesign design(count, true);
    for (auto _ : state) {
        Project_File_Name = design.path;
        if (!design.save())
            state.SkipWithError("the design could not be saved");
    }
    state.SetItemsProcessed(state.iterations() * count);
    reportMachine(state);
}
BENCHMARK(BM_CardSceneSave)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
