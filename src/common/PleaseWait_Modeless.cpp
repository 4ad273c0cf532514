#include "common/PleaseWait_Modeless.h"

#include "common/Long_SMS_Dlg.h"
#include "ui_PleaseWait_Modeless.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

PleaseWait_Modeless* PleaseWait_Modeless::defaultInstance()
{
    // Lives for the whole run, like every small window of the program; made on first use on the GUI thread.
    static PleaseWait_Modeless* instance = new PleaseWait_Modeless();
    return instance;
}

PleaseWait_Modeless::PleaseWait_Modeless(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::PleaseWait_Modeless>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    ui_->modeless_msg_lbl->setTextFormat(Qt::PlainText); // it may name a file
    // Shown beside the work: nothing waits for it and the window behind stays usable.
    setModal(false);
    setWindowModality(Qt::NonModal);
}

PleaseWait_Modeless::~PleaseWait_Modeless() = default;

void PleaseWait_Modeless::showPainted(const QString& message)
{
    ui_->modeless_msg_lbl->setText(message);
    show();
    raise();
    // The window system shows the window a moment after it is asked to; it is painted once it is there.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
}

QLabel* PleaseWait_Modeless::modeless_msg_lbl() const
{
    return ui_->modeless_msg_lbl;
}
