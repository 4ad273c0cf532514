#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Import_Wizard;
}

// The series import wizard: fills a batch series from a workbook, a text, CSV or RTF file, typed lines or a
// folder of pictures. With a name required it writes a series file; otherwise the values go to the series
// manager's value list.
class Import_Wizard : public QDialog {
    Q_OBJECT
public:
    static Import_Wizard* defaultInstance();
    ~Import_Wizard() override;

    int import_option = 0; // 0 workbook, 1 text file, 2 typed lines, 3 picture folder
    int file_name_required = 0; // 1: write a series file named by the source's name field
    int file_name_Insert = 0; // 1: refill the series manager's list after an import

    int Open_Wnd(); // 1 when an import finished (or the workbook picker ran), 0 for Cancel

    void Excel_RD_Pressed();
    void Text_RD_Pressed();
    void Manual_RD_Pressed();
    void Image_RD_Pressed();
    void Enable_Disable_Excel_Option(bool on);
    void Enable_Disable_Text_Option(bool on);
    void Enable_Disable_Manual_Option(bool on);
    void Enable_Disable_Image_Option(bool on);
    void Browse_Excel_Pressed();
    void Browse_Text_Pressed();
    void Browse_Image_Pressed();
    void OKPressed();
    void CancelPressed();
    void HelpPressed();

    bool Create_And_Save_Text_Data_Sheet(const QString& path);
    bool Create_And_Save_Manual_Paste_data_Sheet();
    bool Create_And_Save_Image_data_Sheet(const QString& path);

    Ui::Import_Wizard& form() { return *ui_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:

    // Lets the series manager open this wizard and export workbooks.
    static void registerWithSeriesManager();

private:
    explicit Import_Wizard(QWidget* parent = nullptr);
    void choose(int option);
    // The series name for the source, or empty when none is written; false (after a message) when the
    // series is in use.
    bool takeName(const QString& field, QString& name);
    // Writes the values to the named series or hands them to the series manager. False (after a message)
    // when nothing was written.
    bool storeValues(const QString& name, const QStringList& values);
    bool confirmTarget(const QString& name);

    std::unique_ptr<Ui::Import_Wizard> ui_;
};
