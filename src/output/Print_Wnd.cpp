#include "output/Print_Wnd.h"

#include "ui_Print_Wnd.h"

#include "common/Common_Functions.h"
#include "common/Number_Text.h"
#include "common/Screen_Fit.h"
#include "common/Window_Look.h"
#include "output/Preferences.h"
#include "output/Print_Design_Host.h"
#include "output/Printing_View.h"
#include "output/Sample_Preview.h"
#include "platform/PrintQueue.h"
#include "platform/UiSeam.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

constexpr int unlimitedTotal = 999999;

// The picture of an alignment button: a sheet with the block of cards where the button puts it.
QIcon alignmentIcon(int value, bool selected)
{
    QImage image(22, 28, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(selected ? QColor(255, 246, 214) : QColor(Qt::white));
    painter.drawRect(QRectF(0.5, 0.5, 21, 27));
    const int column = (value - 1) % 3, row = (value - 1) / 3;
    painter.fillRect(
        QRectF(3 + column * 5.5, 3 + row * 8, 5, 6), selected ? QColor(200, 60, 30) : QColor(120, 120, 120));
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

// The entry of a Page Setup's paper list that is the paper itself; else the first of the same size, never a
// later namesake of that size ("A4 Small" for A4, "Note" for Letter), whose name OK would carry over.
int entryOfPaper(const QComboBox& list, const QPageSize& paper)
{
    int sameSize = -1;
    for (int entry = 0; entry < list.count(); ++entry) {
        const QPageSize listed = list.itemData(entry).value<QPageSize>();
        if (listed == paper || (paper.id() != QPageSize::Custom && listed.id() == paper.id()))
            return entry;
        if (sameSize < 0 && listed.isEquivalentTo(paper))
            sameSize = entry;
    }
    return sameSize;
}

QString millimetres(double points)
{
    return Show_Number_Text(double(Points_to_MM_Convert(float(points))), 2, QLocale());
}

} // namespace

Print_Wnd& Print_Wnd::defaultInstance()
{
    static Print_Wnd* instance = new Print_Wnd();
    return *instance;
}

Print_Wnd::Print_Wnd(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Print_Wnd>())
    , printInfo_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Print_Wnd"));
    setModal(true);
    applyWindowLook(*this);
    scrollColumnWhenTall(*ui_->printLayout, *ui_->settingsColumn, true);
    keepWindowOnScreen(*this);
    // Return in a number field takes the value; it must not press Page Setup, Preview or Print.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    PrintView = new Sample_Preview();
    ui_->Print_sclview->setWidget(PrintView);
    fillPrinters();
    connectControls();
    choosePrinter();
    ui_->Printer_ComboBox->view()->window()->installEventFilter(this);
}

Print_Wnd::~Print_Wnd() = default;

QString Print_Wnd::pdfPrinterName()
{
    return QStringLiteral("PDF File");
}

// The printers as the system has them now, a paused one marked as such; each entry's data is its name.
void Print_Wnd::fillPrinters()
{
    QComboBox* list = ui_->Printer_ComboBox;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        list->addItem(name, name);
    list->addItem(pdfPrinterName(), pdfPrinterName());
    list->setCurrentIndex(0);
    markPausedPrinters();
}

// A queue is paused or resumed in the system's printer settings while the window is open: the list says so
// each time it is shown and each time the person comes back to the window.
void Print_Wnd::markPausedPrinters()
{
    QComboBox* list = ui_->Printer_ComboBox;
    for (int entry = 0; entry < list->count() - 1; ++entry) { // the PDF file is last
        const QString name = list->itemData(entry).toString();
        list->setItemText(
            entry, platform::printQueueState(name).paused ? QStringLiteral("%1 (paused)").arg(name) : name);
    }
}

bool Print_Wnd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == ui_->Printer_ComboBox->view()->window())
        markPausedPrinters();
    return QDialog::eventFilter(watched, event);
}

bool Print_Wnd::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        markPausedPrinters();
    return QDialog::event(event);
}

// The last choice while it still exists, else the system's default printer, else the first entry.
void Print_Wnd::choosePrinter()
{
    QComboBox* list = ui_->Printer_ComboBox;
    int index = lastPrinter_.isEmpty() ? -1 : list->findData(lastPrinter_);
    if (index < 0)
        index = list->findData(QPrinterInfo::defaultPrinterName());
    {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(std::max(index, 0));
    }
    // Only a person's choice is remembered.
    const QString kept = lastPrinter_;
    printerChanged();
    lastPrinter_ = kept;
}

QString Print_Wnd::chosenPrinter() const
{
    return ui_->Printer_ComboBox->currentData().toString();
}

void Print_Wnd::connectControls()
{
    Ui::Print_Wnd& f = *ui_;
    for (QDoubleSpinBox* box : { f.width_Stepper, f.height_Stepper, f.horz_mar_Stepper, f.vert_mar_Stepper })
        connect(box, &QDoubleSpinBox::valueChanged, this, &Print_Wnd::Check_Max_Cell_Value);
    for (QSpinBox* box : { f.Row_Stepper, f.Col_Stepper })
        connect(box, &QSpinBox::valueChanged, this, &Print_Wnd::Check_Max_Cell_Value);
    connect(f.Printer_ComboBox, &QComboBox::currentIndexChanged, this, &Print_Wnd::printerChanged);
    connect(f.Orient_ComboBox, &QComboBox::currentIndexChanged, this, &Print_Wnd::orientationChanged);
    connect(f.print_alignment, &QComboBox::currentIndexChanged, this, &Print_Wnd::arrangementChanged);
    connect(f.pageSetupButton, &QPushButton::clicked, this, &Print_Wnd::pagesetup);
    connect(f.Show_Margins, &QCheckBox::clicked, this, &Print_Wnd::Show_Margin_Checked);
    connect(f.Auto_Center_chk_bx, &QCheckBox::clicked, this, &Print_Wnd::Auto_Center_Checked);
    connect(f.print_with_batch_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Batch_Changed);
    connect(f.print_with_excel_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Batch_Changed);
    connect(f.side_both_rd, &QRadioButton::clicked, this, [this] { card_side_CellClick(0); });
    connect(f.side_front_rd, &QRadioButton::clicked, this, [this] { card_side_CellClick(1); });
    connect(f.side_back_rd, &QRadioButton::clicked, this, [this] { card_side_CellClick(2); });
    const QToolButton* buttons[] = { f.top_left_btn, f.top_center_btn, f.top_rite_btn, f.mid_left_btn, f.mid_center_btn,
        f.mid_rite_btn, f.bot_left_btn, f.bot_center_btn, f.bot_rite_btn };
    for (int value = 1; value <= 9; ++value)
        connect(buttons[value - 1], &QToolButton::clicked, this, [this, value] { alignmentClicked(value); });
    connect(f.previewButton, &QPushButton::clicked, this, &Print_Wnd::PreviewButtonPressed);
    connect(f.printButton, &QPushButton::clicked, this, &Print_Wnd::PrintButtonPressed);
    connect(f.cancelButton, &QPushButton::clicked, this, &Print_Wnd::CancelButtonPressed);
}

void Print_Wnd::resetControls()
{
    Ui::Print_Wnd& f = *ui_;
    f.side_front_rd->setChecked(true);
    card_side_str = QStringLiteral("F");
    layout_.Print_Card_Side = card_side_str;
    layout_.Print_Card_Algn = QStringLiteral("U");
    f.print_alignment->setCurrentIndex(0);
    f.print_alignment->setEnabled(false);
    // Frames are shown unless the person last hid them.
    f.Show_Margins->setChecked(Preferences::choiceOn(print_show_framesKey));
    f.width_Stepper->setValue(Points_to_MM_Convert(float(cardSize_.width())));
    f.height_Stepper->setValue(Points_to_MM_Convert(float(cardSize_.height())));
    // Rows, columns and auto centre stay as last chosen: a sheet of postcards is set up once.
    f.horz_mar_Stepper->setValue(0);
    f.vert_mar_Stepper->setValue(0);
    f.Copies_Stepper->setValue(1);
    const bool centred = f.Auto_Center_chk_bx->isChecked();
    layout_.auto_center_flag = centred;
    SetObjEnabled(f.horz_mar_Stepper, !centred);
    SetObjEnabled(f.vert_mar_Stepper, !centred);
    SetObjEnabled(f.align_Gp_Bx, !centred);
    layout_.label_align_val = 1;
    Set_Reset_Alignemnt_Image();
}

bool Print_Wnd::Open_Print_Wnd(Print_Design_Host& host)
{
    try {
        host_ = &host;
        loading = true;
        const std::shared_ptr<const Batch_Snapshot> design = host.takeSnapshot();
        cardSize_ = design ? design->side(QStringLiteral("F")).rendering.canvasBounds.size() : QSizeF();
        resetControls();
        // Printers come and go while the program runs.
        fillPrinters();
        choosePrinter();
        Ui::Print_Wnd& f = *ui_;
        const bool series = host.usesSeries(), sheet = host.usesSpreadsheet();
        f.print_with_batch_chk->setEnabled(series);
        f.print_with_batch_chk->setChecked(series);
        f.print_with_excel_chk->setEnabled(sheet);
        f.print_with_excel_chk->setChecked(sheet);
        if (series || sheet) {
            f.Total_Stepper->setMaximum(std::max(host.recordCount(), 1));
            f.Total_Stepper->setValue(host.recordCount());
        } else {
            f.Total_Stepper->setMaximum(unlimitedTotal);
            f.Total_Stepper->setValue(1);
        }
        Set_values_From_Printer();
        loading = false;
        Check_Max_Cell_Value();
        host.onRecordsChanged([this] { followRecords(); });
        platform::ui().runModal(*this);
        host.onRecordsChanged({});
        host_ = nullptr;
        return true;
    } catch (const std::exception& e) {
        host.onRecordsChanged({});
        loading = false;
        host_ = nullptr;
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QString::fromUtf8(e.what()));
        return false;
    }
}

void Print_Wnd::Set_values_From_Printer()
{
    Ui::Print_Wnd& f = *ui_;
    const QPageLayout page = printInfo_->pageLayout();
    // The paper's exact size: in whole points A4 is 595 wide and two A6 cards (2 x 297.64) no longer fit.
    const QRectF paper = page.fullRect(QPageLayout::Millimeter);
    const QMarginsF borders = page.margins(QPageLayout::Point);
    f.Paper_id->setText(page.pageSize().name());
    // The paper's own size, not its size rounded to whole points.
    QSizeF size = page.pageSize().size(QPageSize::Millimeter);
    if (page.orientation() == QPageLayout::Landscape)
        size.transpose();
    f.Size_id->setText(QStringLiteral("%1 x %2").arg(
        Show_Number_Text(size.width(), 2, QLocale()), Show_Number_Text(size.height(), 2, QLocale())));
    layout_.paper_width = MM_to_Points_Convert(float(paper.width()));
    layout_.paper_hight = MM_to_Points_Convert(float(paper.height()));
    layout_.Left_Mar = float(borders.left());
    layout_.Rite_Mar = float(borders.right());
    layout_.Top_Mar = float(borders.top());
    layout_.Bot_Mar = float(borders.bottom());
    f.l_mar_id->setText(millimetres(borders.left()));
    f.r_mar_id->setText(millimetres(borders.right()));
    f.t_mar_id->setText(millimetres(borders.top()));
    f.b_mar_id->setText(millimetres(borders.bottom()));
    const QSignalBlocker quiet(f.Orient_ComboBox);
    f.Orient_ComboBox->setCurrentIndex(page.orientation() == QPageLayout::Landscape ? 1 : 0);
    Refresh_Preview();
}

void Print_Wnd::Refresh_Preview()
{
    if (loading)
        return;
    PrintView->setSheet(layout_, cardSize_, ui_->Show_Margins->isChecked());
    ui_->Print_sclview->ensureVisible(0, 0);
}

void Print_Wnd::Check_Max_Cell_Value()
{
    if (loading)
        return;
    Ui::Print_Wnd& f = *ui_;
    Print_Fit_Input input;
    input.cardWidthMM = float(f.width_Stepper->value());
    input.cardHeightMM = float(f.height_Stepper->value());
    input.horzGapMM = float(f.horz_mar_Stepper->value());
    input.vertGapMM = float(f.vert_mar_Stepper->value());
    input.rows = f.Row_Stepper->value();
    input.cols = f.Col_Stepper->value();
    input.autoCenter = f.Auto_Center_chk_bx->isChecked();
    const Print_Fit_Result fit = ::Check_Max_Cell_Value(layout_, input);
    {
        const QSignalBlocker quietRows(f.Row_Stepper), quietCols(f.Col_Stepper);
        if (fit.rowsRewritten)
            f.Row_Stepper->setValue(fit.rows);
        if (fit.colsRewritten)
            f.Col_Stepper->setValue(fit.cols);
    }
    // Without a data source one sheet of copies of the design is the job.
    if (!host_ || (!host_->usesSeries() && !host_->usesSpreadsheet()))
        f.Total_Stepper->setValue(fit.rows * fit.cols);
    Refresh_Preview();
}

void Print_Wnd::Verify_Card_Count()
{
    if (!host_)
        return;
    host_->Check_Series_Or_Excel_Use_or_not();
    host_->keepSources(ui_->print_with_batch_chk->isChecked(), ui_->print_with_excel_chk->isChecked());
}

void Print_Wnd::Print_With_Batch_Changed()
{
    Verify_Card_Count();
    const bool records = ui_->print_with_batch_chk->isChecked() || ui_->print_with_excel_chk->isChecked();
    if (records) {
        ui_->Total_Stepper->setMaximum(std::max(host_ ? host_->recordCount() : 1, 1));
        ui_->Total_Stepper->setValue(host_ ? host_->recordCount() : 1);
    } else {
        ui_->Total_Stepper->setMaximum(unlimitedTotal);
        ui_->Total_Stepper->setValue(1);
    }
}

void Print_Wnd::followRecords()
{
    QSpinBox* total = ui_->Total_Stepper;
    if (!host_ || !(ui_->print_with_batch_chk->isChecked() || ui_->print_with_excel_chk->isChecked()))
        return; // the design alone is printed
    const bool all = total->value() >= total->maximum();
    total->setMaximum(std::max(host_->recordCount(), 1));
    if (all)
        total->setValue(host_->recordCount());
    if (previewFollows_)
        previewFollows_();
}

void Print_Wnd::Set_Reset_Alignemnt_Image()
{
    const Ui::Print_Wnd& f = *ui_;
    QToolButton* buttons[] = { f.top_left_btn, f.top_center_btn, f.top_rite_btn, f.mid_left_btn, f.mid_center_btn,
        f.mid_rite_btn, f.bot_left_btn, f.bot_center_btn, f.bot_rite_btn };
    for (int value = 1; value <= 9; ++value) {
        QToolButton* button = buttons[value - 1];
        const bool chosen = value == layout_.label_align_val;
        button->setIcon(alignmentIcon(value, chosen));
        button->setIconSize(QSize(22, 28));
        button->setChecked(chosen);
    }
}

void Print_Wnd::alignmentClicked(int value)
{
    layout_.label_align_val = value;
    Set_Reset_Alignemnt_Image();
    Refresh_Preview();
}

void Print_Wnd::card_side_CellClick(int row)
{
    card_side_str = row == 0 ? QStringLiteral("BOTH") : row == 1 ? QStringLiteral("F") : QStringLiteral("B");
    layout_.Print_Card_Side = card_side_str;
    ui_->print_alignment->setEnabled(row == 0);
    Check_Max_Cell_Value();
}

void Print_Wnd::arrangementChanged()
{
    layout_.Print_Card_Algn = ui_->print_alignment->currentIndex() == 0 ? QStringLiteral("U") : QStringLiteral("L");
    Check_Max_Cell_Value();
}

void Print_Wnd::printerChanged()
{
    const QString name = chosenPrinter();
    if (!loading)
        lastPrinter_ = name;
    // A PDF file holds each sheet once; its copies are made by printing it.
    const bool toFile = name == pdfPrinterName();
    if (toFile)
        ui_->Copies_Stepper->setValue(1);
    SetObjEnabled(ui_->Copies_Stepper, !toFile);
    if (toFile) {
        printInfo_->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printInfo_->setOutputFormat(QPrinter::NativeFormat);
        printInfo_->setPrinterName(name);
        // A Letter printer gets Letter, unless the person chose a paper in Page Setup.
        const QPageSize paper = QPrinterInfo::printerInfo(name).defaultPageSize();
        if (!paperChosen_ && paper.isValid())
            printInfo_->setPageSize(paper);
    }
    // The borders are what the printer cannot print on; a PDF file has none.
    printInfo_->setPageMargins(printInfo_->pageLayout().minimumMargins(), QPageLayout::Point);
    Set_values_From_Printer();
}

void Print_Wnd::orientationChanged()
{
    printInfo_->setPageOrientation(
        ui_->Orient_ComboBox->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::pagesetup()
{
    QPageSetupDialog setup(printInfo_.get(), this);
    setup.setObjectName(QStringLiteral("pageSetup"));
    // Qt opens a system printer's Page Setup on the printer's own default paper: it opens on the window's.
    if (auto* paper = setup.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
        const int entry = entryOfPaper(*paper, printInfo_->pageLayout().pageSize());
        if (entry >= 0)
            paper->setCurrentIndex(entry);
    }
    if (platform::ui().runModal(setup) != 1)
        return;
    paperChosen_ = true;
    followPrinter();
}

void Print_Wnd::followPrinter()
{
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::Show_Margin_Checked()
{
    Preferences::keepChoice(print_show_framesKey, ui_->Show_Margins->isChecked(), QStringLiteral("frames choice"));
    Refresh_Preview();
}

void Print_Wnd::Auto_Center_Checked()
{
    const bool on = ui_->Auto_Center_chk_bx->isChecked();
    SetObjEnabled(ui_->horz_mar_Stepper, !on);
    SetObjEnabled(ui_->vert_mar_Stepper, !on);
    SetObjEnabled(ui_->align_Gp_Bx, !on);
    Check_Max_Cell_Value();
}

void Print_Wnd::CancelButtonPressed()
{
    done(0);
}

QString Print_Wnd::Find_Papaer_Name_From_Size(const QString& width, const QString& height)
{
    static const char* const rows[][2] = { { "297.00 x 420.00", "A3" }, { "210.00 x 297.00", "A4" },
        { "148.00 x 210.00", "A5" }, { "176.00 x 250.00", "B5" }, { "105.00 x 241.00", "Envelope #10" },
        { "120.00 x 235.00", "Envelope Choukei 3" }, { "110.00 x 220.00", "Envelope DL" },
        { "182.00 x 257.00", "JIS B5" }, { "197.00 x 273.00", "ROC 16K" }, { "330.00 x 483.00", "Super B/A3" },
        { "279.00 x 432.00", "Tabloid" }, { "305.00 x 457.00", "Tabloid Oversize" }, { "216.00 x 356.00", "US Legal" },
        { "216.00 x 279.00", "US Letter" }, { "215.90 x 279.40", "Letter" }, { "100.00 x 148.00", "Postcard" },
        { "184.00 x 267.00", "Executive" } };
    QString found;
    for (const auto& row : rows) {
        const QString size = QLatin1String(row[0]);
        if (size.contains(width) && size.contains(height))
            found = QLatin1String(row[1]);
    }
    return found;
}
