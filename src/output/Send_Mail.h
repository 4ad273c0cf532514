#pragma once

#include "output/Send_Mail_History.h"
#include "output/Send_Mail_Run.h"

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class QButtonGroup;
class Print_Design_Host;
class Record_Source;
class Send_Modeless;
namespace Ui {
class Send_Mail;
}

// The send-mail window: the card as pictures (as it stands, or one card per record), or a plain message
// with one file, to a list of recipients, with pauses, progress and Stop. Its inputs are read and checked
// here on the GUI thread; the run works on a worker of its own that never touches a widget, and the
// window waits for it before it closes or the program quits.
class Send_Mail : public QDialog {
    Q_OBJECT
public:
    static Send_Mail& defaultInstance();
    ~Send_Mail() override;

    // Resets the controls for the host's design (none: no records to offer) but To, subject and message,
    // ticks the records the design is bound to, and runs the window modally; 0 when it closes.
    int Open_Wnd(Print_Design_Host* host = nullptr);

    void Send_Button(); // checks the inputs and starts a run; ignored while one is under way
    void Close_Button();
    void Setting_Button();
    void browse_att_Button();
    void clear_att_Button();
    void Without_barcode_rd_select();
    void send_barcode_rd_select();
    void send_with_batch_chk_select();
    void send_with_excel_chk_select();
    void all_rd_select();
    void obo_rd_select();
    void delayed_delv_chk_select();
    void mail_card_side_CellClick(int row); // 0 both sides, 1 front, any other row back

    // The run's request from the controls, or none after the message of the first failed check.
    std::optional<Send_Mail_Request> Read_Request();
    // Splits the To field into recipients; none when the list is refused (any piece that is not empty
    // fails the address rule, or no piece passes), with the first piece that failed in `refused`.
    static std::optional<QStringList> recipientList(const QString& toField, QString* refused = nullptr);

    bool running() const { return worker_.joinable(); }
    // Ends a run under way at once (a send in progress is killed) and waits for its worker; for quitting.
    void abandonRun();

    // The card pictures' resolution: the one last used for mail, 300 dpi at first.
    static int storedResolution();
    static void storeResolution(int dpi);

    // Writes the failures of the last run to a log of its own in the data folder; its path, or empty when it
    // cannot be written (the reason is logged).
    QString writeFailureLog(const Send_Mail_Request& request) const;

    QString card_side_str = QStringLiteral("F");
    Send_Modeless* send_modls_wnd = nullptr;
    Send_Mail_Result lastResult; // of the last run that ended
    Send_Mail_Run::Sender runSender; // the mail script unless a test replaces it

    Ui::Send_Mail& form() { return *ui_; }

protected:
    void reject() override;

private:
    explicit Send_Mail(QWidget* parent = nullptr);
    void connectControls();
    void startRun(Send_Mail_Request request);
    void runFinished(quint64 run); // a run abandoned or already ended is no longer the current one
    // The size of one mail's pictures at the chosen resolution, measured on a worker and shown beside it.
    void measureAttachment();
    void showAttachmentSize(const std::optional<Mail_Attachment_Size>& size);
    // The size of one whole mail as the fields stand, with the pictures last measured.
    void showMailSize();
    void tellResult(const QString& logPath, const QString& note);
    void offerOnlyFailed();
    // A column pasted from a spreadsheet: its lines become the list of addresses they are.
    void takePastedLines();
    // The recipients of the To field as it stands; empty when it is refused.
    QStringList recipientsNow() const;
    void followOnlyFailed(); // "Also the mails that may have been delivered" adds to the failed ones only
    // True to go on: the run mails no guest the server took this design's card for (or may have), or the
    // person chose to mail them again, or to mail only the others (then `request` is limited to them).
    bool mailsAgain(Send_Mail_Request& request);
    // True to go on: one card per recipient, and the sheet's column of addresses agrees with To, or the
    // person chose to send anyway.
    static bool pairsAgree(const Send_Mail_Request& request, const Record_Source& source);
    // True to go on: records are chosen, none are bound, or the person agreed to one card for everyone.
    bool sendsRecords(bool seriesBound, bool spreadsheetBound) const;
    void update_sending_progress_bar();
    // What the progress says of a mail at `stage`, with %1 for its recipient; empty when it waits for nothing.
    static QString waitingText(Mail_Stage stage);

    std::unique_ptr<Ui::Send_Mail> ui_;
    Print_Design_Host* host_ = nullptr; // while the window is open
    QButtonGroup* matrix_card_side = nullptr;
    std::unique_ptr<Send_Mail_Run> run_;
    std::thread worker_;
    std::atomic<bool> abandon_ { false };
    std::atomic<bool> finished_ { false };
    Send_Mail_Result result_;
    bool dataRun_ = false;
    // The run under way, and the last that ended, for a second run limited to the mails that failed.
    Send_Mail_Request runRequest_;
    Send_Mail_Request lastRequest_;
    Send_Mail_History history_; // of the last runs' guests, for the offers to send only the failed mails
    QString recordRefusal_; // why the record of mails sent could not be read at the last Send
    quint64 runNumber_ = 0; // counts the runs started, so that a late notice of an earlier run is known
    QTimer msend_modTimer;
    QTimer sizeTimer_; // measures once the resolution has stopped changing
    std::thread sizeWorker_;
    bool sizeBusy_ = false;
    bool sizePending_ = false;
    std::optional<Mail_Attachment_Size> measured_; // the pictures of one mail; none while they cannot be shown
};
