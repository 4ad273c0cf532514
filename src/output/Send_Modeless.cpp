#include "output/Send_Modeless.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "platform/UiSeam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

Send_Modeless::Send_Modeless(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Send_Modeless"));
    setWindowTitle(tr("Exporting Cards"));
    setWindowModality(Qt::WindowModal);
    _Curr_Progress = new QProgressBar(this);
    _Curr_Progress->setObjectName(QStringLiteral("_Curr_Progress"));
    _Curr_Progress->setMinimumWidth(320);
    _tot_msg_cnt = new QLabel(this);
    _tot_msg_cnt->setObjectName(QStringLiteral("_tot_msg_cnt"));
    _curr_msg_cnt = new QLabel(this);
    _curr_msg_cnt->setObjectName(QStringLiteral("_curr_msg_cnt"));
    _stop_btn = new QPushButton(tr("Stop"), this);
    _stop_btn->setObjectName(QStringLiteral("_stop_btn"));

    pause_label = new QLabel(this);
    pause_label->setObjectName(QStringLiteral("pause_label"));
    waiting_label = new QLabel(this);
    waiting_label->setObjectName(QStringLiteral("waiting_label"));
    waiting_label->setWordWrap(true);
    waiting_label->setTextFormat(Qt::PlainText); // a guest's address, from the workbook
    waiting_label->setMinimumHeight(2 * waiting_label->fontMetrics().lineSpacing()); // room for a long address

    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(tr("Total:"), this));
    counts->addWidget(_tot_msg_cnt);
    counts->addStretch();
    counts->addWidget(_curr_msg_cnt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(_Curr_Progress);
    layout->addLayout(counts);
    layout->addWidget(pause_label);
    layout->addWidget(waiting_label);
    layout->addWidget(_stop_btn, 0, Qt::AlignRight);
    connect(_stop_btn, &QPushButton::clicked, this, &Send_Modeless::Stop_Sending_Pressed);
}

void Send_Modeless::startRun(int total)
{
    unit_ = QStringLiteral(" Card");
    setWindowTitle(tr("Exporting Cards"));
    total_ = total;
    _stop_btn->setEnabled(true);
    _Curr_Progress->setRange(0, std::max(1, total));
    _Curr_Progress->setValue(0);
    _tot_msg_cnt->setText(QString::number(total));
    waiting_label->clear();
    waiting_label->hide(); // an export waits for nobody
    update_sending_progress_bar(0);
}

void Send_Modeless::startMailRun(int total)
{
    startRun(total);
    unit_.clear();
    setWindowTitle(tr("Sending E-mail"));
    pause_label->clear();
    waiting_label->show();
    update_sending_progress_bar(0);
}

void Send_Modeless::update_sending_progress_bar(int done)
{
    _Curr_Progress->setValue(std::min(done, _Curr_Progress->maximum()));
    _curr_msg_cnt->setText(QStringLiteral("%1 / %2").arg(done).arg(total_) + unit_);
}

void Send_Modeless::Stop_Sending_Pressed()
{
    if (stopQuestion_ || !isVisible())
        return; // asked already, or no run to stop
    const auto question = std::make_shared<platform::LiveText>();
    stopQuestion_ = question;
    const int answer = platform::ui().showMessage(
        { platform::MessageRequest::Kind::YesNo, QStringLiteral("Are you sure you want to continue?"), {}, question });
    // A Yes after the run has ended (the question was taken down with the sheet) has nothing to stop.
    const bool asked = stopQuestion_ == question;
    if (asked)
        stopQuestion_.reset();
    if (answer == 1 && asked)
        Stop_SMS_Sending_Now = true;
}

void Send_Modeless::setVisible(bool visible)
{
    if (!visible && stopQuestion_)
        std::exchange(stopQuestion_, nullptr)->close();
    QDialog::setVisible(visible);
}

void Send_Modeless::showWaiting(const QString& text)
{
    if (waiting_label->text() != text)
        waiting_label->setText(text);
}

void Send_Modeless::reject()
{
    Stop_Sending_Pressed();
}
