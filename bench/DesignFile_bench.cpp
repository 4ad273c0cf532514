// Saving and opening a design of 1,000 items through the main window's own Save and Open paths.
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int itemCount = 1000;

// A window holding 1,000 items of every kind that saves without a panel, spread over both sides.
struct DesignBench {
    QTemporaryDir folder;
    TSLDocument document;
    TSLWindowController window;
    QString path;

    DesignBench()
    {
        Prepare_Resource_Folder();
        window.setDocument(&document);
        window.SetDocumentCanvasSize(QSizeF(243, 154));
        window.Front_card_Prop.setCard_Size(QSizeF(243, 154));
        const char* kinds[] = { "TSLText", "Shape_Control", "TSLLine", "TSLBarcode", "TSLSignature", "TSLImage" };
        TSLGraphicList front, back;
        for (int i = 0; i < itemCount; ++i) {
            TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QLatin1String(kinds[i % 6]));
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

void BM_SaveDesign1000Items(benchmark::State& state)
{
    DesignBench bench;
    for (auto _ : state) {
        Project_File_Name = bench.path;
        const auto result = bench.window.Save_project_file(false, false);
        if (result != TSLWindowController::SaveResult::Saved)
            state.SkipWithError("the design could not be saved");
    }
    state.SetItemsProcessed(state.iterations() * itemCount);
}
BENCHMARK(BM_SaveDesign1000Items)->Unit(benchmark::kMillisecond);

void BM_OpenDesign1000Items(benchmark::State& state)
{
    DesignBench bench;
    if (bench.window.Save_project_file(false, false) != TSLWindowController::SaveResult::Saved) {
        state.SkipWithError("the design could not be saved");
        return;
    }
    for (auto _ : state) {
        if (bench.window.Read_and_load_design_Log(bench.path, QStringLiteral("L")) != 1)
            state.SkipWithError("the design could not be opened");
    }
    if (bench.window.Get_Front_Control_Count() + bench.window.Get_Back_Control_Count() != itemCount)
        state.SkipWithError("the design came back with another number of items");
    state.SetItemsProcessed(state.iterations() * itemCount);
}
BENCHMARK(BM_OpenDesign1000Items)->Unit(benchmark::kMillisecond);

} // namespace
