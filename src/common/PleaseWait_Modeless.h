#pragma once

#include <QDialog>

#include <memory>

class QLabel;
namespace Ui {
class PleaseWait_Modeless;
}

// The small please-wait window: a busy bar and one line of text, shown beside the work without blocking
// the window it belongs to. It has the look of the program's small windows but never runs modally.
class PleaseWait_Modeless : public QDialog {
    Q_OBJECT
public:
    static PleaseWait_Modeless* defaultInstance();
    ~PleaseWait_Modeless() override;

    QWidget* window() { return this; }
    QLabel* modeless_msg_lbl() const;
    // Shows the window with `message` and paints it before returning, so that it is not blank while the
    // work that follows keeps the event loop busy.
    void showPainted(const QString& message);

private:
    explicit PleaseWait_Modeless(QWidget* parent = nullptr);
    std::unique_ptr<Ui::PleaseWait_Modeless> ui_;
};
