#include "editor/Export_Window.h"

#include "ui_Export_Window.h"

#include "common/Common_Functions.h"
#include "common/Screen_Fit.h"
#include "output/Preferences.h"

#include <QPushButton>

Export_Window& Export_Window::defaultInstance()
{
    static Export_Window* instance = new Export_Window();
    return *instance;
}

Export_Window::Export_Window(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Export_Window>())
{
    ui_->setupUi(this);
    setModal(true);
    keepWindowOnScreen(*this);
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, [this] {
        if (resolution() == 0) {
            Show_MessageBox(QStringLiteral("Please enter a resolution from %1 to %2 dots per inch.")
                                .arg(minimumResolution)
                                .arg(maximumResolution));
            return;
        }
        if (resolution() != storedResolution())
            storeResolution(resolution());
        done(1);
    });
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, [this] { done(0); });
    connect(ui_->side_both_rd, &QRadioButton::clicked, this, [this] { export_card_side_CellClick(0); });
    connect(ui_->side_front_rd, &QRadioButton::clicked, this, [this] { export_card_side_CellClick(1); });
    connect(ui_->side_back_rd, &QRadioButton::clicked, this, [this] { export_card_side_CellClick(2); });
    connect(ui_->fileFormatPopup, &QComboBox::currentIndexChanged, this, &Export_Window::exportFileTypeChanged);
    reset();
}

Export_Window::~Export_Window() = default;

void Export_Window::reset()
{
    const QString dpi = QString::number(storedResolution());
    const int entry = ui_->saveDPIText->findText(dpi);
    if (entry >= 0)
        ui_->saveDPIText->setCurrentIndex(entry);
    else
        ui_->saveDPIText->setEditText(dpi);
    ui_->fileFormatPopup->setCurrentIndex(0);
    ui_->export_combined_image_chk->setChecked(false);
    ui_->side_front_rd->setChecked(true);
    export_card_side_CellClick(1);
    exportFileTypeChanged();
    setSources(false, false);
    setTwoSided(true);
}

void Export_Window::setTwoSided(bool twoSided)
{
    ui_->side_both_rd->setEnabled(twoSided);
    ui_->side_back_rd->setEnabled(twoSided);
    if (!twoSided && !ui_->side_front_rd->isChecked()) {
        ui_->side_front_rd->setChecked(true);
        export_card_side_CellClick(1);
    }
}

void Export_Window::setSources(bool series, bool spreadsheet)
{
    // A source the design uses is offered, ticked; the user may leave it out of this export.
    ui_->Export_with_batch_chk->setEnabled(series);
    ui_->Export_with_batch_chk->setChecked(series);
    ui_->Export_with_excel_chk->setEnabled(spreadsheet);
    ui_->Export_with_excel_chk->setChecked(spreadsheet);
}

bool Export_Window::useSeries() const
{
    return ui_->Export_with_batch_chk->isChecked();
}

bool Export_Window::useSpreadsheet() const
{
    return ui_->Export_with_excel_chk->isChecked();
}

void Export_Window::export_card_side_CellClick(int row)
{
    ui_->export_combined_image_chk->setEnabled(row == 0);
}

void Export_Window::exportFileTypeChanged()
{
    // Every format is written at the chosen resolution.
    ui_->saveDPIText->setEnabled(true);
}

int Export_Window::resolution() const
{
    bool number = false;
    const int dpi = ui_->saveDPIText->currentText().trimmed().toInt(&number);
    return number && dpi >= minimumResolution && dpi <= maximumResolution ? dpi : 0;
}

int Export_Window::storedResolution()
{
    bool number = false;
    const int dpi = Preferences::sharedInstance()->export_resolution().value_or(QString()).toInt(&number);
    return number && dpi >= minimumResolution && dpi <= maximumResolution ? dpi : firstResolution;
}

void Export_Window::storeResolution(int dpi)
{
    const auto store = Preferences::sharedInstance();
    store->setexport_resolution(QString::number(dpi));
    if (!store->flush())
        Show_NSLog_Message(
            QStringLiteral("the export resolution could not be kept in %1").arg(store->mPreferencesPath()));
}

QString Export_Window::cardSide() const
{
    if (ui_->side_both_rd->isChecked())
        return QStringLiteral("BOTH");
    return ui_->side_back_rd->isChecked() ? QStringLiteral("B") : QStringLiteral("F");
}

bool Export_Window::combinedImage() const
{
    return ui_->side_both_rd->isChecked() && ui_->export_combined_image_chk->isChecked();
}

QString Export_Window::formatTitle() const
{
    return ui_->fileFormatPopup->currentText();
}
