#pragma once

#include "PrintTestSupport.h"

#include "model/TSLDocument.h"
#include "output/Print_Design_Host.h"
#include "output/Print_Wnd.h"
#include "output/Sample_Preview.h"
#include "ui_Print_Wnd.h"

#include <QAbstractSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace printtest {

// A design for the print window: the merged card, with a series source the test can switch.
class Fake_Print_Host final : public Print_Design_Host {
public:
    explicit Fake_Print_Host(int records)
        : records_(records)
    {
        picture_ = batchtest::writePicture(
            testsupport::makeTempFolder(QStringLiteral("host")) + QStringLiteral("/logo.png"), QColor(200, 40, 40));
        Check_Series_Or_Excel_Use_or_not();
    }

    void Check_Series_Or_Excel_Use_or_not() override
    {
        source_ = mergedRecords(records_);
        source_.useSeries = records_ > 0;
        source_.useSpreadsheet = !(source_.recordsNote = sheetNote).isEmpty(); // a sheet bound beside, told of
    }
    void keepSources(bool series, bool) override { source_.useSeries = source_.useSeries && series; }
    void onRecordsChanged(std::function<void()> changed) override { recordsChanged_ = std::move(changed); }
    // Saved anew while a window is open, told after the moment's events as the editor tells it.
    void changeRecords(int records)
    {
        source_.series = mergedRecords(records_ = records).series;
        QTimer::singleShot(0, [this] { recordsChanged_ ? recordsChanged_() : void(); });
    }
    bool usesSeries() const override { return source_.useSeries; }
    bool usesSpreadsheet() const override { return false; }
    int recordCount() const override { return source_.recordCount(); }
    std::shared_ptr<const Batch_Snapshot> takeSnapshot() const override
    {
        Batch_Snapshot::Side front = mergedFront(picture_);
        front.items.insert(front.items.end(), addedToFront.begin(), addedToFront.end());
        const Batch_Snapshot::Side back { { batchtest::boundText(
                                              1, QStringLiteral("towns"), 0, QRectF(20, 60, 150, 22)) },
            batchtest::creditCardSide(1) };
        return Batch_Snapshot::take(front, back, true, source_, Barcode_Gen());
    }
    void Select_first_row_value_for_design() override { ++firstRowShown; }
    Card_Export_Settings exportSettings() const override { return settings; }
    QString designName() const override { return QStringLiteral("Garden party"); }
    QString designIdentity() const override { return identity; }

    int firstRowShown = 0;
    QString identity = TSLDocument::newDesignIdentity();
    Card_Export_Settings settings;
    TSLGraphicList addedToFront;
    QString sheetNote; // what a sheet bound beside the series tells of its rows (hidden rows, a total)

private:
    int records_;
    QString picture_;
    Record_Source source_;
    std::function<void()> recordsChanged_;
};

// Types a value into a number field as a person does, ending with Return.
inline void typeInto(QAbstractSpinBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

inline QStringList captionTexts(Print_Wnd& window)
{
    QStringList texts;
    for (const auto& caption : window.preview().captions())
        texts << caption.text;
    return texts;
}

// Chooses a printer entry by its name, as a person picks it from the list.
inline void choosePrinter(Print_Wnd& window, const QString& name)
{
    QComboBox* list = window.form().Printer_ComboBox;
    ASSERT_GE(list->findData(name), 0) << name.toStdString();
    list->setCurrentIndex(list->findData(name));
}

// Opens the print window on the host and lets `act` use it; the window is closed by Cancel afterwards.
// The window prints to "PDF File" on one 1 x 1 sheet of A4 upright until `act` chooses otherwise, whatever
// an earlier test left; with `asLeft` it opens as the last opening left it.
inline void withPrintWindow(testsupport::ScriptedResponder& ui, Print_Design_Host& host,
    const std::function<void(Print_Wnd&)>& act, bool asLeft = false)
{
    ui.modalRuns.push_front([&act, asLeft](QDialog& dialog) {
        auto& window = static_cast<Print_Wnd&>(dialog);
        if (!asLeft) {
            window.forgetPaperChoice();
            choosePrinter(window, Print_Wnd::pdfPrinterName());
            window.printInfo().setPageSize(QPageSize(QPageSize::A4));
            window.form().Orient_ComboBox->setCurrentIndex(0);
            window.Set_values_From_Printer();
            if (window.form().Auto_Center_chk_bx->isChecked())
                QTest::mouseClick(window.form().Auto_Center_chk_bx, Qt::LeftButton);
            if (!window.form().Show_Margins->isChecked())
                QTest::mouseClick(window.form().Show_Margins, Qt::LeftButton);
            window.form().Row_Stepper->setValue(1);
            window.form().Col_Stepper->setValue(1);
        }
        act(window);
        QTest::mouseClick(window.form().cancelButton, Qt::LeftButton);
        return window.result();
    });
    Print_Wnd::defaultInstance().Open_Print_Wnd(host);
}

} // namespace printtest
