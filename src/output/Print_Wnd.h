#pragma once

#include "output/Print_Job.h"
#include "output/Print_Sheet_Layout.h"

#include <QDialog>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class Print_Wnd;
}
class Print_Design_Host;
class Printing_View;
class QPrinter;
class Sample_Preview;
namespace platform {
struct PrintQueueState;
}

// The program's own print dialog: printer, orientation and paper; card size, rows and columns, gaps,
// alignment or auto centre; which sides and how the two are arranged; whether to print the records; and
// the number of cards. A preview of the sheet follows every change. Preview and Print start a job; the
// window stays open afterwards. Every opening starts from the same settings but keeps the printer, the
// rows and columns and the centring; whether the preview shows frames is kept in the settings file.
class Print_Wnd : public QDialog {
    Q_OBJECT
public:
    static Print_Wnd& defaultInstance();
    ~Print_Wnd() override;

    // Prepares the controls for the host's design and runs the window modally. False when it could not
    // be opened.
    bool Open_Print_Wnd(Print_Design_Host& host);

    // The name of the printer entry that writes the sheets into a PDF file.
    static QString pdfPrinterName();

    // The layout as the window holds it; the preview and jobs draw from copies of it.
    const Print_Sheet_Layout& layout() const { return layout_; }
    Ui::Print_Wnd& form() { return *ui_; }
    Sample_Preview& preview() { return *PrintView; }
    QPrinter& printInfo() { return *printInfo_; }

    // Steps of the window, each also run by its controls.
    void Set_values_From_Printer();
    // The window shows the printer's paper and orientation, as Page Setup or the preview left them.
    void followPrinter();
    // Each printer's own paper applies again when it is chosen, as before any paper was chosen in Page Setup.
    void forgetPaperChoice() { paperChosen_ = false; }
    void Refresh_Preview();
    void Check_Max_Cell_Value();
    void Verify_Card_Count();
    void Set_Reset_Alignemnt_Image();

    void pagesetup();
    void PreviewButtonPressed() { Execute_Printing(true); }
    void PrintButtonPressed() { Execute_Printing(false); }
    void CancelButtonPressed();
    void alignmentClicked(int value); // 1 top-left .. 9 bottom-right
    void card_side_CellClick(int row); // 0 both sides, 1 front, 2 back
    void printerChanged();
    void orientationChanged();
    void arrangementChanged();
    void Show_Margin_Checked();
    void Auto_Center_Checked();
    void Print_With_Batch_Changed();
    // The records changed under the open window: the cards to print follow them (all of them, when all
    // were chosen), and so does an open preview.
    void followRecords();

    // Starts a job: a preview in the preview window, or the sheets sent to the printer or PDF file.
    void Execute_Printing(bool preview);
    // The job the window's settings make now (GUI thread).
    Print_Job currentJob() const;

    // How often the bar before a job follows the look at every card.
    static constexpr std::chrono::milliseconds defaultLookTick { 100 };
    void setLookTick(std::chrono::milliseconds tick) { lookTick_ = tick; }

    // Paper names by size in millimetres as "%.2f" texts; the last row whose size holds both wins.
    static QString Find_Papaer_Name_From_Size(const QString& width, const QString& height);

signals:
    // A sheet of a job was drawn (counted from 1); Stop pressed by now leaves this the last one drawn.
    void sheetDrawn(int sheets);
    // The bar before a job followed the look at every card (per mille looked at): at each tick, and at its end.
    void lookFollowed(int permille);

protected:
    void reject() override { CancelButtonPressed(); }
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    explicit Print_Wnd(QWidget* parent = nullptr);
    void connectControls();
    void resetControls();
    void fillPrinters();
    void markPausedPrinters();
    void choosePrinter();
    bool sizeFitsPaper() const;
    QString chosenPrinter() const;
    static bool canPrint(const Print_Job& job);
    // Before a job draws anything: the look at every card it prints, its cut texts told and the person
    // asked; false when the person chose not to print or stopped the look.
    bool cardsAllowPrinting(const Print_Job& job);
    // After a job: what its cards went without and, for a job of records, the list of every card not whole.
    void tellCardNotes(const Print_Job& printed);
    bool previewSheets(const Print_Job& job);
    std::optional<Print_Job> printSheets();
    QString pdfFilePath();
    bool printToPdfFile(const Printing_View& view, int pages, const QString& path);
    bool printToQueue(const Printing_View& view, int pages, const platform::PrintQueueState& state);
    struct Sheets_Written {
        bool whole = false;
        bool stopped = false;
        QString error;
    };
    Sheets_Written writeSheets(const Printing_View& view, int pages, const QString& path, const QString& label);

    std::unique_ptr<Ui::Print_Wnd> ui_;
    std::unique_ptr<QPrinter> printInfo_;
    Sample_Preview* PrintView = nullptr;
    Print_Design_Host* host_ = nullptr;
    Print_Sheet_Layout layout_;
    QString card_side_str = QStringLiteral("F");
    QSizeF cardSize_; // the design's card in points
    QString lastPrinter_; // the printer chosen last, chosen again at the next opening while it exists
    bool paperChosen_ = false; // the person chose a paper in Page Setup: a printer change keeps it
    QString sheetsFile_; // the PDF file the last job's sheets went to; empty when they went to a printer
    std::function<void()> previewFollows_; // while the preview is open: it shows the records as they are now
    bool loading = false;
    std::chrono::milliseconds lookTick_ = defaultLookTick;
};
