#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "support/TestSupport.h"
#include "ui_Long_SMS_Dlg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Runs work on a worker thread while the GUI thread keeps processing events, as the program's
// event loop would; returns when the worker has finished.
template <typename F>
void runOnWorkerWhilePumping(F work)
{
    std::atomic<bool> done { false };
    std::thread worker([&] {
        work();
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
}

} // namespace

TEST(MessageBoxes, InformationBoxPrefixesALineBreak)
{
    testsupport::ScriptedResponder responder;
    Show_MessageBox(QStringLiteral("Card has been exported successfully."));
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QStringLiteral("\nCard has been exported successfully."));
    EXPECT_EQ(responder.messages[0].kind, platform::MessageRequest::Kind::Information);
}

TEST(MessageBoxes, YesNoAnswersComeBackToTheCaller)
{
    testsupport::ScriptedResponder responder;
    responder.messageAnswers = { 1, 0 };
    EXPECT_EQ(Show_YES_NO_MessageBox(QStringLiteral("Replace it?")), 1);
    // No after Yes gives 0: nothing of the previous answer lingers.
    EXPECT_EQ(Show_YES_NO_MessageBox(QStringLiteral("Replace it?")), 0);
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_EQ(responder.messages[1].text, QStringLiteral("Replace it?"));
    EXPECT_EQ(responder.messages[1].kind, platform::MessageRequest::Kind::YesNo);
}

TEST(MessageBoxes, WorkerThreadGetsItsOwnAnswerFromTheGuiThread)
{
    testsupport::ScriptedResponder responder;
    responder.messageAnswers = { 1 };
    int answer = -1;
    std::thread::id askedOn;
    runOnWorkerWhilePumping([&] { answer = Show_YES_NO_MessageBox(QStringLiteral("Stop sending?")); });
    EXPECT_EQ(answer, 1);
    ASSERT_EQ(responder.messages.size(), 1u);

    responder.messageAnswers = { 0 };
    runOnWorkerWhilePumping([&] { answer = Show_YES_NO_MessageBox(QStringLiteral("Stop sending?")); });
    EXPECT_EQ(answer, 0);

    runOnWorkerWhilePumping([&] { Show_MessageBox(QStringLiteral("List is empty.")); });
    ASSERT_EQ(responder.messages.size(), 3u);
    EXPECT_EQ(responder.messages[2].text, QStringLiteral("\nList is empty."));
}

TEST(LongSmsDialog, HelpModeHidesNoAndQuestionModeLastsOneOpening)
{
    testsupport::ScriptedResponder responder;
    Long_SMS_Dlg* dialog = Long_SMS_Dlg::defaultInstance();
    bool noVisible = true;
    QString shownTitle;
    auto look = [&](QDialog&) {
        noVisible = !dialog->form().no_button->isHidden();
        shownTitle = dialog->form()._Msg_Title->text();
        return 1;
    };

    dialog->title_val = QStringLiteral("Batch Processing Series already exists :");
    dialog->msg_val_str = QStringLiteral("\nBatch Processing Series already exists. Do you want to replace it?");
    dialog->msg_val_str.prepend(QStringLiteral("<a href=\"x\">Guests</a>")); // named after a column title
    responder.modalRuns = { look };
    EXPECT_EQ(dialog->Open_Long_sms_Dialog(), 1);
    EXPECT_TRUE(noVisible);
    EXPECT_EQ(dialog->form()._Msg_Val->textFormat(), Qt::PlainText);
    EXPECT_EQ(shownTitle, QStringLiteral("Batch Processing Series already exists :"));

    Cutom_Msg_Title = QStringLiteral("Version :");
    Cutom_Msg_Val = QStringLiteral("Version is configuration or number of modules (combination of black and white dots).");
    responder.modalRuns = { look };
    dialog->Open_Long_sms_Dialog();
    EXPECT_FALSE(noVisible);
    EXPECT_EQ(shownTitle, QStringLiteral("Version :"));
}

TEST(LongSmsDialog, OkStoresApplyToAllAndNoLeavesIt)
{
    testsupport::ScriptedResponder responder;
    Long_SMS_Dlg* dialog = Long_SMS_Dlg::defaultInstance();
    Msg_Apply_All_Chk = false;
    dialog->title_val = QStringLiteral("Message :");
    dialog->apply_chk_show = true;
    responder.modalRuns = { [&](QDialog&) {
        dialog->form().apply_chk->setChecked(true);
        dialog->OKPressed();
        return dialog->result();
    } };
    EXPECT_EQ(dialog->Open_Long_sms_Dialog(), 1);
    EXPECT_TRUE(Msg_Apply_All_Chk);

    dialog->title_val = QStringLiteral("Message :");
    responder.modalRuns = { [&](QDialog&) {
        dialog->form().apply_chk->setChecked(false);
        dialog->CancelPressed();
        return dialog->result();
    } };
    EXPECT_EQ(dialog->Open_Long_sms_Dialog(), 0);
    EXPECT_TRUE(Msg_Apply_All_Chk); // Cancel leaves the stored state alone
}

TEST(SetObjEnabled, ReachesATextFieldInABoxInABox)
{
    QGroupBox outer;
    auto* inner = new QGroupBox(&outer);
    auto* label = new QLabel(QStringLiteral("Spacing"), inner);
    SetObjEnabled(&outer, false);
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(inner->isEnabled());
    SetObjEnabled(&outer, true);
    EXPECT_TRUE(label->isEnabled());
}
