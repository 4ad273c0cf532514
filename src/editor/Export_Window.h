#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Export_Window;
}

// The export dialog for one card: which sides, one combined picture or not, the resolution, and the
// format whose title becomes the file extension. Runs through the UI seam; OK ends with 1.
class Export_Window : public QDialog {
    Q_OBJECT
public:
    static Export_Window& defaultInstance();
    ~Export_Window() override;

    // Front side, first format, the resolution exported at last (300 dpi at first), no combined picture,
    // every side offered.
    void reset();
    // A card printed on its front only has no back to export: both sides and the back are not offered.
    void setTwoSided(bool twoSided);
    // The record sources the design uses: each offered and ticked, or disabled when not in use.
    void setSources(bool series, bool spreadsheet);
    bool useSeries() const;
    bool useSpreadsheet() const;
    QString cardSide() const; // "BOTH", "F" or "B"
    bool combinedImage() const;
    QString formatTitle() const;
    // The resolution chosen or typed, in dots per inch; 0 when it is not a whole number from 72 to 2400.
    int resolution() const;
    static constexpr int minimumResolution = 72;
    static constexpr int maximumResolution = 2400;
    static constexpr int firstResolution = 300; // fine enough for every barcode of a default size
    // The resolution kept in the settings file from the last export that was not cancelled.
    static int storedResolution();
    static void storeResolution(int dpi);

    Ui::Export_Window& form() { return *ui_; }

    void export_card_side_CellClick(int row); // 0 both sides, 1 front, 2 back
    void exportFileTypeChanged();

private:
    explicit Export_Window(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Export_Window> ui_;
};
