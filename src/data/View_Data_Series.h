#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class View_Data_Series;
}
class Series_Value_Model;

// The read-only viewer of one series' values, as the editing reader sees them (trimmed, empty lines left out).
class View_Data_Series : public QDialog {
    Q_OBJECT
public:
    static View_Data_Series* defaultInstance();
    ~View_Data_Series() override;

    QString file_name; // the series to show; set by the opener

    int Open_Wnd(); // loads, runs the window modally; 1 when closed with OK
    void Load_file_Func(const QString& name);
    void Create_Avail_List(const QString& value);
    // "Total Rows": the records batch output makes from the series, blank ones included and counted.
    void Update_batch_List_Count();
    void OK_Btn_Clicked();

    const Series_Value_Model& ListData() const { return *ListData_; }
    Ui::View_Data_Series& form() { return *ui_; }

private:
    explicit View_Data_Series(QWidget* parent = nullptr);
    std::unique_ptr<Ui::View_Data_Series> ui_;
    Series_Value_Model* ListData_ = nullptr;
};
