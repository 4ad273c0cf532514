#pragma once

#include <QDialog>

#include <memory>

namespace platform {
class LiveText;
}

class QLabel;
class QProgressBar;
class QPushButton;

// The progress sheet of batch runs (image export, e-mail): a bar, the total, the counter and Stop. It
// lives on the GUI thread and never runs modally; the run's owner sets the counts from atomics on a timer.
class Send_Modeless : public QDialog {
    Q_OBJECT
public:
    explicit Send_Modeless(QWidget* parent = nullptr);

    QProgressBar* _Curr_Progress = nullptr;
    QLabel* _tot_msg_cnt = nullptr;
    QLabel* _curr_msg_cnt = nullptr;
    QPushButton* _stop_btn = nullptr;
    QLabel* pause_label = nullptr; // an e-mail run's pause countdown, empty otherwise
    QLabel* waiting_label = nullptr; // the mail whose answer the run waits for, empty otherwise

    // Sets the sheet up for a run of `total` records: Stop enabled, bar at 0 of total, "0 / total Card".
    void startRun(int total);
    // The same for an e-mail run: "0 / total" without a unit, and an empty pause label.
    void startMailRun(int total);
    // Shows `done` of the run's total ("%d / %d Card", or "%d / %d" in an e-mail run).
    void update_sending_progress_bar(int done);
    int total() const { return total_; }

    // Stop's action: asks "Are you sure you want to continue?"; on Yes sets Stop_SMS_Sending_Now. The
    // question goes with the sheet, when the run it would stop has ended.
    void Stop_Sending_Pressed();
    // The line under the counts: what the run waits for, empty otherwise.
    void showWaiting(const QString& text);

    void setVisible(bool visible) override;

protected:
    // Escape and the close box are Stop: the sheet stays up until the run it shows has ended.
    void reject() override;

private:
    int total_ = 0;
    QString unit_; // " Card" after the counts of an export
    std::shared_ptr<platform::LiveText> stopQuestion_; // while Stop's question is up
};
