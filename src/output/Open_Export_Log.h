#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class Open_Export_Files;
}

// The notice shown after an export has written its file or folder: the message, the path and a box that,
// left ticked, opens the result as the notice closes. The box is ticked again each time the notice closes.
class Open_Export_Log : public QDialog {
    Q_OBJECT
public:
    static Open_Export_Log& defaultInstance();
    ~Open_Export_Log() override;

    // Fills the notice and runs it modally; the result is not needed by the exporters.
    int Open_Export_File_Box(const QString& path, const QString& message);

    void OKPressed();
    void CancelPressed();

    Ui::Open_Export_Files& form() { return *ui_; }
    QString shownPath() const { return path_; }

    // How a path is opened; the desktop's default application unless a test replaces it.
    static std::function<void(const QString&)> opener;

protected:
    void reject() override { CancelPressed(); }

private:
    explicit Open_Export_Log(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Open_Export_Files> ui_;
    QString path_;
};
