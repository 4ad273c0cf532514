// Saving and opening designs through the main window's own Save and Open paths: 1,000 items of every kind,
// and designs without pictures at 100, 1,000 and 10,000 items, whose cost per item should not grow.
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int itemCount = 1000;

// A window holding `count` items, spread over both sides, that saves without a panel. Picture items are
// among the kinds only when asked for.
struct DesignBench {
    QTemporaryDir folder;
    TSLDocument document;
    TSLWindowController window;
    QString path;

    explicit DesignBench(int count = itemCount, bool pictures = true)
    {
        Prepare_Resource_Folder();
        window.setDocument(&document);
        window.SetDocumentCanvasSize(QSizeF(243, 154));
        window.Front_card_Prop.setCard_Size(QSizeF(243, 154));
        const char* kinds[] = { "TSLText", "Shape_Control", "TSLLine", "TSLBarcode", "TSLSignature", "TSLImage" };
        const int kindCount = pictures ? 6 : 5;
        TSLGraphicList front, back;
        for (int i = 0; i < count; ++i) {
            TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QLatin1String(kinds[i % kindCount]));
            item->setBounds(QRectF(i % 200, i % 120, 30 + i % 40, 12 + i % 25));
            item->Text_Value = QStringLiteral("Guest number %1").arg(i);
            item->control_ID = QStringLiteral("ITEM_%1").arg(i);
            (i % 2 ? back : front).push_back(item);
        }
        document.Enable_Disable_Undo_Registraion(false);
        auto indexes = [](const TSLGraphicList& items) {
            std::vector<int> result(items.size());
            for (std::size_t i = 0; i < items.size(); ++i)
                result[i] = int(i);
            return result;
        };
        document.insertGraphicsForKey(TSLDocumentGraphicsKey, front, indexes(front));
        document.insertGraphicsForKey(TSLDocumentGraphicsKey_back, back, indexes(back));
        document.Enable_Disable_Undo_Registraion(true);
        path = folder.filePath(QStringLiteral("bench.dcard"));
        Project_File_Name = path;
    }
};

void saveRepeatedly(benchmark::State& state, DesignBench& bench, int count)
{
    for (auto _ : state) {
        Project_File_Name = bench.path;
        const auto result = bench.window.Save_project_file(false, false);
        if (result != TSLWindowController::SaveResult::Saved)
            state.SkipWithError("the design could not be saved");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void openRepeatedly(benchmark::State& state, DesignBench& bench, int count)
{
    if (bench.window.Save_project_file(false, false) != TSLWindowController::SaveResult::Saved) {
        state.SkipWithError("the design could not be saved");
        return;
    }
    for (auto _ : state) {
        if (bench.window.Read_and_load_design_Log(bench.path, QStringLiteral("L")) != 1)
            state.SkipWithError("the design could not be opened");
    }
    if (bench.window.Get_Front_Control_Count() + bench.window.Get_Back_Control_Count() != count)
        state.SkipWithError("the design came back with another number of items");
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_SaveDesign1000Items(benchmark::State& state)
{
    DesignBench bench;
    saveRepeatedly(state, bench, itemCount);
}
BENCHMARK(BM_SaveDesign1000Items)->Unit(benchmark::kMillisecond);

void BM_OpenDesign1000Items(benchmark::State& state)
{
    DesignBench bench;
    openRepeatedly(state, bench, itemCount);
}
BENCHMARK(BM_OpenDesign1000Items)->Unit(benchmark::kMillisecond);

void BM_SaveDesignWithoutPictures(benchmark::State& state)
{
    DesignBench bench(int(state.range(0)), false);
    saveRepeatedly(state, bench, int(state.range(0)));
}
BENCHMARK(BM_SaveDesignWithoutPictures)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenDesignWithoutPictures(benchmark::State& state)
{
    DesignBench bench(int(state.range(0)), false);
    openRepeatedly(state, bench, int(state.range(0)));
}
BENCHMARK(BM_OpenDesignWithoutPictures)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
