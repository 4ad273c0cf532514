// Barcodes made for records on several workers at once: each keeps the settings of its own item.
#include "barcode/GeneratorSamples.h"

#include "barcode/Barcode_Gen.h"
#include "model/TSLBarcode.h"
#include "output/Record_Fill.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

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

TEST(RecordFillThreads, LinearItemsMadeBesideTwoDimensionalOnesLeaveThemTheirValues)
{
    // Linear symbols are made without waiting for the 2-D ones, yet loading their settings must never
    // change the values a 2-D symbol is being encoded with.
    generatorsamples::SharedValuesGuard guard;
    Barcode_Gen& qr = generatorsamples::settingsFor(QStringLiteral("QR Code"), QStringLiteral("Party"));
    qr.DPI_ComboBox.select(static_cast<int>(Barcode_DPI_Entries().indexOf(QStringLiteral("1200"))));
    TSLBarcode square;
    qr.Store_Barcode_Prop_In_Item(square);
    Barcode_Gen& code128 = generatorsamples::settingsFor(QStringLiteral("Code 128"), QStringLiteral("Party"));
    code128.DPI_ComboBox.select(static_cast<int>(Barcode_DPI_Entries().indexOf(QStringLiteral("72"))));
    TSLBarcode linear;
    code128.Store_Barcode_Prop_In_Item(linear);

    Barcode_Gen alone = code128;
    const QImage squareAlone = Record_Fill::Record_Barcode_Picture(alone, square, QStringLiteral("Guest 7"));
    const QImage linearAlone = Record_Fill::Record_Barcode_Picture(alone, linear, QStringLiteral("Guest 7"));
    ASSERT_FALSE(squareAlone.isNull());
    ASSERT_FALSE(linearAlone.isNull());

    std::atomic<int> wrong { 0 };
    auto worker = [&](const TSLBarcode& item, const QImage& expected) {
        Barcode_Gen settings = code128;
        for (int i = 0; i < 25; ++i) {
            if (Record_Fill::Record_Barcode_Picture(settings, item, QStringLiteral("Guest 7")) != expected)
                ++wrong;
        }
    };
    std::vector<std::thread> threads;
    threads.emplace_back(worker, std::cref(square), std::cref(squareAlone));
    for (int i = 0; i < 3; ++i)
        threads.emplace_back(worker, std::cref(linear), std::cref(linearAlone));
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}
