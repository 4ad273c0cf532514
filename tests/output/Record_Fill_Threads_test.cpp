// Barcodes made for records on several workers at once: each keeps the settings of its own item.
#include "barcode/GeneratorSamples.h"

#include "barcode/Barcode_Gen.h"
#include "model/TSLBarcode.h"
#include "output/Record_Fill.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

TEST(RecordFillThreads, TwoDimensionalItemsMadeAtOnceKeepTheirOwnResolution)
{
    generatorsamples::SharedValuesGuard guard;
    Barcode_Gen& gen = generatorsamples::settingsFor(QStringLiteral("QR Code"), QStringLiteral("Party"));
    gen.DPI_ComboBox.select(static_cast<int>(Barcode_DPI_Entries().indexOf(QStringLiteral("72"))));
    TSLBarcode coarse;
    gen.Store_Barcode_Prop_In_Item(coarse);
    gen.DPI_ComboBox.select(static_cast<int>(Barcode_DPI_Entries().indexOf(QStringLiteral("1200"))));
    TSLBarcode fine;
    gen.Store_Barcode_Prop_In_Item(fine);

    Barcode_Gen alone = gen;
    const QSize coarseSize = Record_Fill::Record_Barcode_Picture(alone, coarse, QStringLiteral("Guest 7")).size();
    const QSize fineSize = Record_Fill::Record_Barcode_Picture(alone, fine, QStringLiteral("Guest 7")).size();
    ASSERT_FALSE(coarseSize.isEmpty());
    ASSERT_NE(coarseSize, fineSize);

    std::atomic<int> wrong { 0 };
    auto worker = [&](const TSLBarcode& item, QSize expected) {
        Barcode_Gen settings = gen; // each worker has its own copy, as a batch run gives it
        for (int i = 0; i < 30; ++i) {
            if (Record_Fill::Record_Barcode_Picture(settings, item, QStringLiteral("Guest 7")).size() != expected)
                ++wrong;
        }
    };
    std::thread first(worker, std::cref(coarse), coarseSize);
    std::thread second(worker, std::cref(fine), fineSize);
    first.join();
    second.join();
    EXPECT_EQ(wrong.load(), 0);
}
