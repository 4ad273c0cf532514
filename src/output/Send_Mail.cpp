#include "output/Send_Mail.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "common/Screen_Fit.h"
#include "output/Barcode_Readability.h"
#include "output/Batch_Snapshot.h"
#include "output/Email_Setting.h"
#include "output/Mail_Globals.h"
#include "output/Open_Export_Log.h"
#include "output/Preferences.h"
#include "output/Print_Design_Host.h"
#include "output/Run_Log.h"
#include "output/Send_Mail_Pairs.h"
#include "output/Send_Mail_Record.h"
#include "output/Send_Modeless.h"
#include "platform/CheckedSave.h"
#include "platform/UiSeam.h"

#include "ui_Send_Mail.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr int maxFileNameBytes = 255; // of one file name on the file systems the program writes to

// The cards are drawn from a copy of the design taken now; the canvas is never touched by a worker.
void useCards(Send_Mail_Request& request, const std::shared_ptr<const Batch_Snapshot>& snapshot)
{
    const int dpi = request.dpi;
    request.barcodeQuestion = [snapshot, dpi](const std::function<bool()>& stopped) {
        Barcode_Readability::Run_Check check;
        check.stopped = stopped;
        return Barcode_Readability::runQuestion(
            Barcode_Readability::lookAtRun(*snapshot, true, true, dpi, true, &check), dpi,
            QStringLiteral("Send the mails anyway?"));
    };
    request.render
        = [snapshot, dpi](int record, const QString& side) { return snapshot->renderImage(record, side, dpi); };
    request.recordsWithoutSymbol = [snapshot] { return snapshot->fillLog().recordsWithoutSymbol(); };
    request.recordsWithPictureNotFound = [snapshot] { return snapshot->fillLog().recordsWithPictureNotFound(); };
    request.fillNotes = [snapshot] { return snapshot->fillLog().notes(); };
    request.sheetNote = snapshot->fillLog().sheetNote();
    request.listNotWhole = [snapshot] {
        return Run_Log::needed(*snapshot) ? Run_Log::writeAndNote(*snapshot, Run_Log::inMailLogs()) : QString();
    };
    snapshot->tellColumnsNotFound();
}

// The card each step mails, as the record of mails sent knows it: a record's card by what it shows (its place
// in a sorted sheet changes), the card as it stands, or a plain message by its words and file.
void nameCards(Send_Mail_Request& request, const Batch_Snapshot* snapshot, const QString& design)
{
    using Kind = Send_Mail_Request::Kind;
    request.design = request.kind == Kind::Plain ? QString() : design;
    request.cards.clear();
    if (request.kind == Kind::Plain) {
        request.cards << QStringLiteral("message ")
                + QString::fromLatin1(Send_Mail_Record::digest(Trim_Str(request.attachment) + QLatin1Char('\n')
                    + request.subject.simplified() + QLatin1Char('\n') + request.body.simplified()));
        return;
    }
    // The card without data is the one record 0 draws with the sources off.
    const int records = request.kind == Kind::CardWithoutData ? 1 : request.records;
    for (int record = 0; record < records; ++record)
        request.cards << (snapshot ? Send_Mail_Record::cardOf(*snapshot, record, request.cardSide, request.baseName)
                                   : QStringLiteral("record %1").arg(record + 1));
}

// The message as typed: the editor's line breaks become line feeds and every other character stays, a
// no-break space with them (the plain-text form would make it a plain space).
QString typedText(const QPlainTextEdit& edit)
{
    QString text = edit.document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

} // namespace

Send_Mail& Send_Mail::defaultInstance()
{
    static Send_Mail* instance = new Send_Mail();
    return *instance;
}

Send_Mail::Send_Mail(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Send_Mail>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    scrollAllAbove(*ui_->mainLayout, *ui_->buttonLayout);
    send_modls_wnd = new Send_Modeless(this);
    msend_modTimer.setInterval(500);
    connect(&msend_modTimer, &QTimer::timeout, this, &Send_Mail::update_sending_progress_bar);
    sizeTimer_.setSingleShot(true);
    sizeTimer_.setInterval(250);
    connect(&sizeTimer_, &QTimer::timeout, this, &Send_Mail::measureAttachment);
    connectControls();
    // A run still under way when the program quits is ended and waited for.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Send_Mail::abandonRun);
}

Send_Mail::~Send_Mail()
{
    abandonRun();
    if (sizeWorker_.joinable())
        sizeWorker_.join();
}

void Send_Mail::connectControls()
{
    matrix_card_side = new QButtonGroup(this);
    matrix_card_side->addButton(ui_->side_both_rd, 0);
    matrix_card_side->addButton(ui_->side_front_rd, 1);
    matrix_card_side->addButton(ui_->side_back_rd, 2);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Send_Mail::mail_card_side_CellClick);
    connect(ui_->sendButton, &QPushButton::clicked, this, &Send_Mail::Send_Button);
    connect(ui_->closeButton, &QPushButton::clicked, this, &Send_Mail::Close_Button);
    connect(ui_->settingsButton, &QPushButton::clicked, this, &Send_Mail::Setting_Button);
    connect(ui_->browse_att, &QPushButton::clicked, this, &Send_Mail::browse_att_Button);
    connect(ui_->clear_att, &QPushButton::clicked, this, &Send_Mail::clear_att_Button);
    connect(ui_->rd_without_barcode, &QRadioButton::clicked, this, &Send_Mail::Without_barcode_rd_select);
    connect(ui_->rd_mail_curr_barcode, &QRadioButton::clicked, this, &Send_Mail::send_barcode_rd_select);
    connect(ui_->send_with_batch_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_batch_chk_select);
    connect(ui_->send_with_excel_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_excel_chk_select);
    connect(ui_->rd_all_to_every, &QRadioButton::clicked, this, &Send_Mail::all_rd_select);
    connect(ui_->rd_one_per_recp, &QRadioButton::clicked, this, &Send_Mail::obo_rd_select);
    connect(ui_->delayed_delv_chk, &QCheckBox::clicked, this, &Send_Mail::delayed_delv_chk_select);
    connect(ui_->to_txt, &QLineEdit::textChanged, this, &Send_Mail::takePastedLines);
    connect(ui_->to_txt, &QLineEdit::textChanged, this, &Send_Mail::offerOnlyFailed);
    connect(ui_->only_failed_chk, &QCheckBox::toggled, this, &Send_Mail::followOnlyFailed);
    const auto remeasure = [this] { sizeTimer_.start(); };
    connect(ui_->resolution_spin, &QSpinBox::valueChanged, this, remeasure);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, remeasure);
    connect(ui_->rd_mail_curr_barcode, &QRadioButton::clicked, this, remeasure);
    // The whole mail is measured: its addresses, subject and message with the pictures.
    for (QLineEdit* field : { ui_->from_txt, ui_->to_txt, ui_->subject_txt })
        connect(field, &QLineEdit::textChanged, this, &Send_Mail::showMailSize);
    connect(ui_->message_txt, &QPlainTextEdit::textChanged, this, &Send_Mail::showMailSize);
}

int Send_Mail::Open_Wnd(Print_Design_Host* host)
{
    host_ = host;
    const bool series = host_ && host_->usesSeries();
    const bool spreadsheet = host_ && host_->usesSpreadsheet();
    // To, subject and message stay as typed until the program ends; the rest starts afresh.
    ui_->side_front_rd->setChecked(true);
    card_side_str = QStringLiteral("F");
    // Another copy of the program may have changed the settings since this one read them: the sender, and
    // the account a run logs in with, are read again (a run under way has taken its own copy already).
    if (!running())
        Get_Email_Details();
    ui_->from_txt->setText(sender_email);
    ui_->rd_mail_curr_barcode->setChecked(true);
    ui_->rd_without_barcode->setChecked(false);
    SetObjEnabled(ui_->send_sett_box, true);
    ui_->file_name_txt->setText(QStringLiteral("VarnelCard"));
    // The records the design is bound to are offered ticked, as export and print offer them, and each
    // recipient gets their own record's card.
    ui_->send_with_batch_chk->setEnabled(series);
    ui_->send_with_batch_chk->setChecked(series);
    ui_->send_with_excel_chk->setEnabled(spreadsheet);
    ui_->send_with_excel_chk->setChecked(spreadsheet);
    ui_->rd_all_to_every->setChecked(false);
    ui_->rd_one_per_recp->setChecked(true);
    ui_->rd_all_to_every->setEnabled(series || spreadsheet);
    ui_->rd_one_per_recp->setEnabled(series || spreadsheet);
    ui_->attachment->clear();
    ui_->browse_att->setEnabled(false);
    ui_->clear_att->setEnabled(false);
    ui_->delayed_delv_chk->setChecked(false);
    SetObjEnabled(ui_->delayed_box, false);
    ui_->mail_count_stepper->setValue(1);
    for (QSpinBox* box : { ui_->hour_stepper, ui_->min_stepper, ui_->sec_stepper })
        box->setValue(0);
    ui_->sendButton->setEnabled(!running());
    offerOnlyFailed();
    {
        const QSignalBlocker quiet(ui_->resolution_spin); // measured once, just below
        ui_->resolution_spin->setValue(storedResolution());
    }
    measureAttachment();
    const int result = platform::ui().runModal(*this);
    hide();
    if (!running())
        host_ = nullptr;
    return result;
}

void Send_Mail::Close_Button()
{
    if (!running())
        done(0);
}

void Send_Mail::reject()
{
    // Escape or the close box while a run is under way: the progress window's Stop ends a run.
    if (!running())
        done(0);
}

void Send_Mail::Setting_Button()
{
    const bool saved = Email_Setting::defaultInstance().Open_Wnd() == 1;
    Get_Email_Details();
    // The From typed here stays unless new settings were saved.
    if (saved)
        ui_->from_txt->setText(sender_email);
}

void Send_Mail::browse_att_Button()
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.caption = QStringLiteral("Choose a file to attach");
    const QString path = platform::ui().chooseFile(request);
    if (!path.isEmpty())
        ui_->attachment->setText(path);
}

void Send_Mail::clear_att_Button()
{
    ui_->attachment->clear();
}

void Send_Mail::Without_barcode_rd_select()
{
    ui_->rd_without_barcode->setChecked(true);
    ui_->rd_mail_curr_barcode->setChecked(false);
    SetObjEnabled(ui_->send_sett_box, false);
    ui_->browse_att->setEnabled(true);
    ui_->clear_att->setEnabled(true);
}

void Send_Mail::send_barcode_rd_select()
{
    if (host_)
        host_->Check_Series_Or_Excel_Use_or_not();
    ui_->rd_mail_curr_barcode->setChecked(true);
    ui_->rd_without_barcode->setChecked(false);
    SetObjEnabled(ui_->send_sett_box, true);
    const auto offer = [](QCheckBox* box, bool available) {
        box->setEnabled(available);
        if (!available)
            box->setChecked(false);
    };
    offer(ui_->send_with_batch_chk, host_ && host_->usesSeries());
    offer(ui_->send_with_excel_chk, host_ && host_->usesSpreadsheet());
    const bool records = ui_->send_with_batch_chk->isChecked() || ui_->send_with_excel_chk->isChecked();
    ui_->rd_all_to_every->setEnabled(records);
    ui_->rd_one_per_recp->setEnabled(records);
    ui_->browse_att->setEnabled(false);
    ui_->clear_att->setEnabled(false);
}

void Send_Mail::send_with_batch_chk_select()
{
    const bool records = ui_->send_with_batch_chk->isChecked() || ui_->send_with_excel_chk->isChecked();
    ui_->rd_all_to_every->setEnabled(records);
    ui_->rd_one_per_recp->setEnabled(records);
}

void Send_Mail::send_with_excel_chk_select()
{
    send_with_batch_chk_select();
}

void Send_Mail::all_rd_select()
{
    ui_->rd_all_to_every->setChecked(true);
    ui_->rd_one_per_recp->setChecked(false);
}

void Send_Mail::obo_rd_select()
{
    ui_->rd_all_to_every->setChecked(false);
    ui_->rd_one_per_recp->setChecked(true);
}

void Send_Mail::delayed_delv_chk_select()
{
    SetObjEnabled(ui_->delayed_box, ui_->delayed_delv_chk->isChecked());
}

void Send_Mail::mail_card_side_CellClick(int row)
{
    card_side_str = row == 0 ? QStringLiteral("BOTH") : row == 1 ? QStringLiteral("F") : QStringLiteral("B");
}

std::optional<QStringList> Send_Mail::recipientList(const QString& toField, QString* refused)
{
    // Commas and semicolons part the addresses, but not inside a quoted name ("Lee, Ann" <ann@example.com>,
    // "A \"B\", C"); a line break always does, as a column pasted from a spreadsheet has one per address.
    QStringList pieces { QString() };
    bool quoted = false;
    bool escaped = false;
    for (const QChar c : toField) {
        if (isLineBreak(c)) {
            pieces << QString();
            quoted = escaped = false;
            continue;
        }
        if (!escaped && c == QLatin1Char('"'))
            quoted = !quoted;
        escaped = quoted && !escaped && c == QLatin1Char('\\');
        if ((c == QLatin1Char(',') || c == QLatin1Char(';')) && !quoted)
            pieces << QString();
        else
            pieces.back() += c;
    }
    QStringList recipients;
    for (const QString& piece : pieces) {
        if (Trim_Str(piece).isEmpty())
            continue; // "a@b.com," or ", ," name nobody
        if (!parseMailAddress(piece)) {
            if (refused)
                *refused = Trim_Str(piece);
            return std::nullopt;
        }
        // The address is lower-cased; a display name is kept as typed.
        const qsizetype open = Trim_Str(piece).endsWith(QLatin1Char('>')) ? piece.lastIndexOf(QLatin1Char('<')) : 0;
        recipients << piece.left(open) + piece.mid(open).toLower();
    }
    if (recipients.isEmpty())
        return std::nullopt;
    return recipients;
}

std::optional<Send_Mail_Request> Send_Mail::Read_Request()
{
    // A pasted line break is invisible in a one-line field and no mail header may carry it. In To it parts
    // the addresses.
    for (QLineEdit* field : { ui_->from_txt, ui_->subject_txt, ui_->file_name_txt }) {
        if (hasControlCharacter(field->text())) {
            Show_MessageBox(
                QStringLiteral("Please remove the line breaks and other control characters from this field."));
            field->setFocus();
            return std::nullopt;
        }
    }
    Send_Mail_Request request;
    request.sender = Trim_Str(ui_->from_txt->text().toLower());
    if (request.sender.isEmpty()) {
        // Said as it is: a connection checklist here reads as a second copy of a failed test mail's message.
        Show_MessageBox(QStringLiteral("Please enter the sender E-mail address in From, or save one in Settings."));
        ui_->from_txt->setFocus();
        return std::nullopt;
    }
    if (!isValidEmail(request.sender)) {
        Show_MessageBox(QStringLiteral("Sender E-mail address is invalid or incomplete."));
        return std::nullopt;
    }
    if (Trim_Str(ui_->to_txt->text()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please specify the Recipient E-mail address."));
        return std::nullopt;
    }
    QString refused;
    const std::optional<QStringList> recipients = recipientList(Trim_Str(ui_->to_txt->text()), &refused);
    if (!recipients) {
        // Of a long list, the one address at fault.
        QString text = QStringLiteral("Recipient E-mail address is invalid or incomplete.");
        if (!refused.isEmpty())
            text += QStringLiteral("\n\n\"%1\" is not an e-mail address.").arg(refused);
        Show_MessageBox(text);
        ui_->to_txt->setFocus();
        return std::nullopt;
    }
    request.recipients = *recipients;
    if (ui_->to_txt->text().contains(QLatin1Char(';'))) {
        // The field shows the list it took, parted as it will be parted again.
        QStringList shown;
        for (const QString& recipient : request.recipients)
            shown << Trim_Str(recipient);
        const QSignalBlocker quiet(ui_->to_txt); // the same guests: the offers stand as they are
        ui_->to_txt->setText(shown.join(QStringLiteral(", ")));
    }
    request.subject = ui_->subject_txt->text();
    request.body = typedText(*ui_->message_txt);
    Mail_Message fields;
    fields.subject = request.subject;
    fields.body = request.body;
    fields.password = sender_pwd;
    if (const std::optional<QString> limit = Mail_Script::overLimit(fields)) {
        Show_MessageBox(*limit);
        return std::nullopt;
    }

    const bool cardMode = ui_->rd_mail_curr_barcode->isChecked();
    if (cardMode) {
        const QString name = Trim_Str(Remove_Reserve_Char_In_File_Name(ui_->file_name_txt->text()));
        // The name becomes a file name inside the run's folder: nothing may lead out of it.
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name == QLatin1String(".") || name == QLatin1String("..")) {
            Show_MessageBox(QStringLiteral("Please enter valid file name."));
            return std::nullopt;
        }
        // The back's picture is the longest name the run writes.
        if ((name + QStringLiteral("_Back.png")).toUtf8().size() > maxFileNameBytes) {
            Show_MessageBox(QStringLiteral("The picture name is too long for a file name."));
            ui_->file_name_txt->setFocus();
            return std::nullopt;
        }
        request.baseName = name;
    }

    if (host_) {
        host_->Check_Series_Or_Excel_Use_or_not();
        if (cardMode && !sendsRecords(host_->usesSeries(), host_->usesSpreadsheet()))
            return std::nullopt;
        host_->keepSources(ui_->send_with_batch_chk->isChecked(), ui_->send_with_excel_chk->isChecked());
        request.records = host_->recordCount();
    }

    if (ui_->delayed_delv_chk->isChecked()) {
        request.mailsPerPause = ui_->mail_count_stepper->value();
        request.pauseMs = ui_->hour_stepper->value() * 3600000 + ui_->min_stepper->value() * 60000
            + ui_->sec_stepper->value() * 1000;
    }

    const bool records = ui_->send_with_batch_chk->isChecked() || ui_->send_with_excel_chk->isChecked();
    using Kind = Send_Mail_Request::Kind;
    request.kind = !cardMode                ? Kind::Plain
        : !records                          ? Kind::CardWithoutData
        : ui_->rd_all_to_every->isChecked() ? Kind::DataAllToEvery
                                            : Kind::DataOnePerRecipient;
    request.attachment = ui_->attachment->text();
    request.cardSide = card_side_str;
    const std::shared_ptr<const Batch_Snapshot> snapshot = cardMode && host_ ? host_->takeSnapshot() : nullptr;
    nameCards(request, snapshot.get(), host_ ? host_->designIdentity() : QString());
    if (request.kind == Kind::DataOnePerRecipient && snapshot && !pairsAgree(request, snapshot->source()))
        return std::nullopt;
    // The same recipients again after a run with failures: only the mails the person ticks go. Any other run
    // that would mail a guest again is asked about first.
    const bool onlyFailed = ui_->only_failed_chk->isEnabled() && ui_->only_failed_chk->isChecked();
    const bool maybeTicked = ui_->maybe_delivered_chk->isEnabled() && ui_->maybe_delivered_chk->isChecked();
    if (onlyFailed || maybeTicked) {
        if (request.kind != history_.kind()) {
            Show_MessageBox(QStringLiteral("The last run mailed the cards in another way. Choose it again to send "
                                           "only the mails that failed."));
            return std::nullopt;
        }
        request.only = history_.failedKeys(maybeTicked, request.recipients);
    }
    if (!mailsAgain(request))
        return std::nullopt;
    request.password = sender_pwd;
    request.server = sending_server;
    request.port = sending_port;
    request.ssl = send_enable_ssl == QLatin1String("Y") ? QStringLiteral("Y") : QStringLiteral("N");

    request.dpi = ui_->resolution_spin->value();
    if (snapshot)
        useCards(request, snapshot);
    if (cardMode && request.dpi != storedResolution())
        storeResolution(request.dpi);
    return request;
}

int Send_Mail::storedResolution()
{
    bool number = false;
    const int dpi = Preferences::sharedInstance()->send_email_resolution().value_or(QString()).toInt(&number);
    return number && dpi >= 72 && dpi <= 1200 ? dpi : 300;
}

void Send_Mail::storeResolution(int dpi)
{
    const auto store = Preferences::sharedInstance();
    store->setsend_email_resolution(QString::number(dpi));
    if (!store->flush())
        Show_NSLog_Message(
            QStringLiteral("the mail resolution could not be kept in %1").arg(store->mPreferencesPath()));
}

void Send_Mail::measureAttachment()
{
    if (!host_ || !ui_->rd_mail_curr_barcode->isChecked()) {
        measured_.reset();
        ui_->attachment_size_lbl->clear();
        return;
    }
    if (sizeBusy_) {
        sizePending_ = true;
        return;
    }
    Send_Mail_Request request;
    request.cardSide = card_side_str;
    request.dpi = ui_->resolution_spin->value();
    useCards(request, host_->takeSnapshot());
    sizeBusy_ = true;
    ui_->attachment_size_lbl->setText(QStringLiteral("Measuring..."));
    if (sizeWorker_.joinable())
        sizeWorker_.join();
    sizeWorker_ = std::thread([this, request = std::move(request)] {
        const std::optional<Mail_Attachment_Size> size = Send_Mail_Run::attachmentSize(request, 0);
        QMetaObject::invokeMethod(
            this, [this, size] { showAttachmentSize(size); }, Qt::QueuedConnection);
    });
}

void Send_Mail::showAttachmentSize(const std::optional<Mail_Attachment_Size>& size)
{
    sizeBusy_ = false;
    if (sizePending_) {
        sizePending_ = false;
        measureAttachment();
        return;
    }
    measured_ = size;
    if (!size)
        ui_->attachment_size_lbl->setText(QStringLiteral("The card picture cannot be made."));
    showMailSize();
}

void Send_Mail::showMailSize()
{
    if (!measured_ || sizeBusy_)
        return;
    Mail_Message mail;
    mail.sender = ui_->from_txt->text();
    mail.toAddress = recipientsNow().value(0);
    mail.subject = ui_->subject_txt->text();
    mail.body = typedText(*ui_->message_txt);
    const qint64 bytes = Mail_Script::messageBytes(mail, measured_->files);
    ui_->attachment_size_lbl->setText(
        QStringLiteral("%1 x %2 pixels, %3 a mail")
            .arg(measured_->pixels.width())
            .arg(measured_->pixels.height())
            .arg(QLocale().formattedDataSize(bytes, 0, QLocale::DataSizeTraditionalFormat)));
}

bool Send_Mail::sendsRecords(bool seriesBound, bool spreadsheetBound) const
{
    const bool chosen = (seriesBound && ui_->send_with_batch_chk->isChecked())
        || (spreadsheetBound && ui_->send_with_excel_chk->isChecked());
    if (chosen || !(seriesBound || spreadsheetBound))
        return true;
    return Show_YES_NO_MessageBox(QStringLiteral(
               "The card is bound to records, but neither \"Use series records\" nor \"Use spreadsheet records\" "
               "is ticked: every recipient would get the same card, filled from the first record.\n\nSend it "
               "anyway?"))
        == 1;
}

void Send_Mail::Send_Button()
{
    if (running())
        return;
    Stop_SMS_Sending_Now = false;
    std::optional<Send_Mail_Request> request = Read_Request();
    if (request)
        startRun(std::move(*request));
}

void Send_Mail::startRun(Send_Mail_Request request)
{
    using Kind = Send_Mail_Request::Kind;
    dataRun_ = request.kind == Kind::DataAllToEvery || request.kind == Kind::DataOnePerRecipient;
    abandon_ = false;
    finished_ = false;
    run_ = std::make_unique<Send_Mail_Run>(Stop_SMS_Sending_Now, abandon_);
    if (runSender)
        run_->sender = runSender;
    ui_->sendButton->setEnabled(false);
    ui_->closeButton->setEnabled(false);
    send_modls_wnd->startMailRun(Send_Mail_Run::steps(request));
    send_modls_wnd->show();
    msend_modTimer.start();
    runRequest_ = std::move(request);
    const quint64 number = ++runNumber_;
    worker_ = std::thread([this, number] {
        result_ = run_->run(runRequest_);
        finished_ = true;
        QMetaObject::invokeMethod(
            this, [this, number] { runFinished(number); }, Qt::QueuedConnection);
    });
}

void Send_Mail::update_sending_progress_bar()
{
    send_modls_wnd->update_sending_progress_bar(curr_barcode_count.load());
    const qint32 pause = Pause_Delay_Time.load();
    send_modls_wnd->pause_label->setText(pause >= 0 ? Calculate_Pause_Time(pause) : QString());
    // The count reaches the mail under way as it starts: a mail that went whole may wait long for its answer,
    // which a prompt server's mails do not flash up for.
    const std::optional<Send_Mail_Run::Wait> wait = run_ ? run_->waitingFor(1000) : std::nullopt;
    send_modls_wnd->showWaiting(wait ? waitingText(wait->stage).arg(Trim_Str(wait->recipient)) : QString());
}

QString Send_Mail::waitingText(Mail_Stage stage)
{
    // In the order of the stages: a mail the server has taken waits for nothing.
    static const char* const texts[] = {
        "Connecting to the server for the mail to %1...",
        "Waiting for the server to answer hello, for the mail to %1...",
        "Waiting for the server to start encryption, for the mail to %1...",
        "Waiting for the server to accept the login, for the mail to %1...",
        "Sending the mail to %1...",
        "Waiting for the server to take the mail to %1...",
        "",
    };
    return QString::fromLatin1(texts[int(stage)]);
}

void Send_Mail::runFinished(quint64 run)
{
    // The notice of a run that abandonRun already ended may arrive while the next run works: joining that
    // run's worker here would wait on it from the thread it waits for.
    if (run != runNumber_ || !worker_.joinable())
        return;
    worker_.join();
    msend_modTimer.stop();
    update_sending_progress_bar();
    send_modls_wnd->hide();
    run_.reset();
    lastResult = result_;
    ui_->sendButton->setEnabled(true);
    ui_->closeButton->setEnabled(true);
    if (dataRun_ && host_)
        host_->Select_first_row_value_for_design();
    lastRequest_ = runRequest_;
    history_.record(lastRequest_.recipients, lastRequest_, lastResult);
    offerOnlyFailed();
    // The mails went into the record as the server took them, unless the record could not be added to.
    const bool unrecorded = !lastRequest_.recorded && (!lastResult.taken.isEmpty() || lastResult.maybeDelivered() > 0);
    if (!abandon_)
        tellResult(lastResult.failures.isEmpty() ? QString() : writeFailureLog(lastRequest_),
            unrecorded ? QStringLiteral("The list of the guests mailed could not be kept, so the next Send cannot tell "
                                        "who has had this mail: %1")
                             .arg(recordRefusal_)
                       : QString());
}

bool Send_Mail::pairsAgree(const Send_Mail_Request& request, const Record_Source& source)
{
    const QString warning = Send_Mail_Pairs::warning(request.recipients, source, request.records);
    if (warning.isEmpty())
        return true;
    const platform::MessageRequest question { platform::MessageRequest::Kind::Choice, warning,
        { QStringLiteral("Cancel"), QStringLiteral("Send anyway") } };
    return platform::ui().showMessage(question) == 1;
}

void Send_Mail::tellResult(const QString& logPath, const QString& note)
{
    QString text = Send_Mail_Run::finalMessage(lastResult, logPath);
    for (const QString& told : { lastRequest_.listNotWhole ? lastRequest_.listNotWhole() : QString(), note }) {
        if (!told.isEmpty())
            text += QStringLiteral("\n\n") + told;
    }
    if (logPath.isEmpty()) {
        Show_MessageBox(text);
        return;
    }
    if (Show_YES_NO_MessageBox(text + QStringLiteral("\n\nOpen the list now?")) == 1 && Open_Export_Log::opener)
        Open_Export_Log::opener(logPath);
}

QString Send_Mail::writeFailureLog(const Send_Mail_Request& request) const
{
    // The logs name the guests: the folder and its files are born readable by their owner alone.
    const QString name = QStringLiteral("Mail Logs");
    const QDir folder(QDir(Resource_Path).filePath(name));
    const QString path = Run_Log::timedName(folder, QStringLiteral("Mail run"), QDateTime::currentDateTime());
    const QByteArray log = Send_Mail_Run::failureLog(request, lastResult);
    if (!folder.exists())
        QDir(Resource_Path).mkdir(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    platform::CheckedSave save(path);
    if (!folder.exists() || !save.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !save.write(log)
        || !save.commit()) {
        Show_NSLog_Message(QStringLiteral("the mail run's log cannot be written to %1: %2")
                               .arg(path, folder.exists() ? save.errorString() : QStringLiteral("no folder")));
        return QString();
    }
    return path;
}

QStringList Send_Mail::recipientsNow() const
{
    return recipientList(Trim_Str(ui_->to_txt->text())).value_or(QStringList());
}

void Send_Mail::takePastedLines()
{
    const QString text = ui_->to_txt->text();
    if (std::none_of(text.cbegin(), text.cend(), isLineBreak))
        return;
    QStringList lines { QString() };
    for (const QChar c : text) {
        if (isLineBreak(c))
            lines << QString();
        else
            lines.back() += c;
    }
    // Each line one address or more; a line's own leading or trailing separator parts nothing.
    QStringList kept;
    for (const QString& line : lines) {
        QString address = Trim_Str(line);
        while (address.endsWith(QLatin1Char(',')) || address.endsWith(QLatin1Char(';')))
            address = Trim_Str(address.chopped(1));
        while (address.startsWith(QLatin1Char(',')) || address.startsWith(QLatin1Char(';')))
            address = Trim_Str(address.mid(1));
        if (!address.isEmpty())
            kept << address;
    }
    ui_->to_txt->setText(kept.join(QStringLiteral(", ")));
}

void Send_Mail::offerOnlyFailed()
{
    // Offered after a run with failures while the To field still names the same recipients. The mails
    // whose answer never came are left out unless the person includes them: the server may have them.
    const int maybe = history_.maybeDelivered();
    const int failed = history_.failed();
    const bool offered = failed + maybe > 0 && !running() && history_.isFor(recipientsNow());
    {
        const QSignalBlocker quiet(ui_->only_failed_chk); // followed just below
        ui_->only_failed_chk->setEnabled(offered && failed > 0);
        ui_->only_failed_chk->setChecked(offered && failed > 0);
    }
    ui_->only_failed_chk->setText(failed == 1 ? QStringLiteral("Only the mail that failed last time")
            : offered && failed > 1           ? QStringLiteral("Only the %1 mails that failed last time").arg(failed)
                                              : QStringLiteral("Only the mails that failed last time"));
    ui_->maybe_delivered_chk->setChecked(false);
    const QString also = failed > 0 || !offered ? QStringLiteral("Also") : QStringLiteral("Only");
    ui_->maybe_delivered_chk->setText(maybe == 1 ? QStringLiteral("%1 the mail that may have been delivered").arg(also)
            : offered && maybe > 1 ? QStringLiteral("%1 the %2 mails that may have been delivered").arg(also).arg(maybe)
                                   : QStringLiteral("Also the mails that may have been delivered"));
    followOnlyFailed();
}

void Send_Mail::followOnlyFailed()
{
    // Without a failed mail, the mails that may have been delivered are the only ones offered, on their own.
    const bool offered = history_.maybeDelivered() > 0 && !running() && history_.isFor(recipientsNow());
    const bool addsTo = !ui_->only_failed_chk->isEnabled() || ui_->only_failed_chk->isChecked();
    ui_->maybe_delivered_chk->setEnabled(offered && addsTo);
    if (!ui_->maybe_delivered_chk->isEnabled())
        ui_->maybe_delivered_chk->setChecked(false);
}

bool Send_Mail::mailsAgain(Send_Mail_Request& request)
{
    Send_Mail_Record record;
    QString error;
    const bool whole = record.load(&error);
    // A file that is not the record is left as it is; lines are added to the record even past a damaged one.
    request.recorded = record.appendable();
    recordRefusal_ = error;
    if (!whole) {
        const platform::MessageRequest question { platform::MessageRequest::Kind::Choice,
            QStringLiteral("The list of the guests already mailed cannot be read, so this Send cannot tell who has "
                           "had this mail: %1\n\nSend anyway?")
                .arg(error),
            { QStringLiteral("Cancel"), QStringLiteral("Send anyway") } };
        const bool anyway = platform::ui().showMessage(question) == 1;
        // The lines of a damaged record that can be read still tell who had the mail.
        if (!anyway || !record.appendable())
            return anyway;
    } else if (record.overLong() && !record.save(&error)) {
        Show_NSLog_Message(QStringLiteral("the list of the guests mailed could not be shortened: %1").arg(error));
    }
    QSet<QString> taken, maybe, others;
    QSet<QPair<int, QString>> notHad;
    bool subjectDiffers = false;
    bool bodyDiffers = false;
    const QByteArray subject = Send_Mail_Record::digest(request.subject);
    const QByteArray body = Send_Mail_Record::digest(request.body);
    for (const QPair<int, QString>& mail : Send_Mail_Run::mailsOf(request)) {
        const QString guest = mailGuest(mail.second);
        const std::optional<Send_Mail_Record::Entry> had
            = record.find({ request.design, request.cardOf(mail.first), guest });
        if (!had) {
            notHad.insert(mail);
            others.insert(guest);
            continue;
        }
        (had->taken ? taken : maybe).insert(guest);
        subjectDiffers = subjectDiffers || had->subject != subject;
        bodyDiffers = bodyDiffers || had->body != body;
    }
    maybe -= taken;
    const qsizetype reached = taken.size() + maybe.size();
    if (reached == 0)
        return true;
    QSet<QString> all = taken;
    all += maybe;
    all += others;
    const qsizetype guests = all.size();
    QString text
        = QStringLiteral("%1 of the %2 guests this Send reaches already had this mail: ").arg(reached).arg(guests);
    text += maybe.isEmpty() ? QStringLiteral("the server took it.")
        : taken.isEmpty()
        ? QStringLiteral("the server may have taken it (the whole mail went, but its answer never "
                         "came).")
        : QStringLiteral("the server took it for %1 and may have taken it for %2.").arg(taken.size()).arg(maybe.size());
    text += subjectDiffers && bodyDiffers ? QStringLiteral(" They had another subject and another message.")
        : subjectDiffers                  ? QStringLiteral(" They had another subject, and the same message.")
        : bodyDiffers                     ? QStringLiteral(" They had the same subject, and another message.")
                                          : QStringLiteral(" They had the same subject and message.");
    const int maybeOffered = history_.maybeDelivered();
    if (history_.isFor(request.recipients) && history_.failed() == 0 && maybeOffered > 0
        && !ui_->maybe_delivered_chk->isChecked())
        text += QStringLiteral(" Tick \"%1\" only if %2 did not arrive.")
                    .arg(ui_->maybe_delivered_chk->text(),
                        maybeOffered == 1 ? QStringLiteral("it") : QStringLiteral("they"));
    QStringList buttons { QStringLiteral("Cancel") };
    if (!notHad.isEmpty())
        buttons << (others.size() == 1
                ? QStringLiteral("Only to the guest who has not had it")
                : QStringLiteral("Only to the %1 guests who have not had it").arg(others.size()));
    buttons << (reached == 1 ? QStringLiteral("Mail this guest again") : QStringLiteral("Mail them again"));
    const platform::MessageRequest question { platform::MessageRequest::Kind::Choice, text, buttons };
    const int answer = platform::ui().showMessage(question);
    if (answer == 1 && !notHad.isEmpty())
        request.only = notHad;
    return answer > 0;
}

void Send_Mail::abandonRun()
{
    if (!worker_.joinable())
        return;
    abandon_ = true;
    Stop_SMS_Sending_Now = true;
    worker_.join();
    msend_modTimer.stop();
    send_modls_wnd->hide();
    run_.reset();
    lastResult = result_;
    ui_->sendButton->setEnabled(true);
    ui_->closeButton->setEnabled(true);
}
