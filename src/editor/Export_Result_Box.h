#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Open_Export_Files;
}

// The box shown after an export: the message, where the files went and whether to open them.
// OK ends with 1 and Cancel with 0; the tick is kept for next time.
class Export_Result_Box : public QDialog {
    Q_OBJECT
public:
    static Export_Result_Box& defaultInstance();
    ~Export_Result_Box() override;

    // A folder offers "Open containing folder.", anything else "Open exported file.".
    void show(const QString& path, const QString& message);
    bool openRequested() const;
    Ui::Open_Export_Files& form() { return *ui_; }

private:
    explicit Export_Result_Box(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Open_Export_Files> ui_;
};
