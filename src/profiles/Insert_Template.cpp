#include "profiles/Insert_Template.h"

#include "common/Common_Functions.h"
#include "common/Text_Length_Limit.h"
#include "profiles/Profiles_Globals.h"

#include "ui_Insert_Template.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

Insert_Template::Insert_Template(QWidget* parent)
    : Form_Dialog(parent)
{
    // What is typed here becomes the item's text: it comes in under the limit the text boxes keep.
    new Text_Length_Limit(*ui_->msg_value);
    connect(ui_->back_btn, &QPushButton::clicked, this, &Insert_Template::Msg_Back_Click);
    connect(ui_->next_btn, &QPushButton::clicked, this, &Insert_Template::Msg_Next_Click);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Insert_Template::OKPressed);
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Insert_Template::CancelPressed);
}

int Insert_Template::Open_Template_Dialog()
{
    return runModally([this] {
        Template_Msg_Val.clear();
        lists.Load_Msg_And_Title_According_Event();
        showCurrent();
        ui_->msg_value->setFocus();
    });
}

void Insert_Template::showCurrent()
{
    const QSignalBlocker quiet(ui_->msg_value); // showing an entry is not typing
    ui_->msg_value->setPlainText(browsingTitles() ? lists.Get_Title() : lists.Get_Message());
}

namespace {

// The next or previous place in a list of `count` entries, wrapping at both ends; 0 for an empty list.
qint32 stepIndex(qint32 index, qint32 count, int step)
{
    if (count <= 0)
        return 0;
    const qint32 next = (index + step) % count;
    return next < 0 ? next + count : next;
}

} // namespace

void Insert_Template::Msg_Next_Click()
{
    if (browsingTitles())
        lists.title_index = stepIndex(lists.title_index, lists.title_count, 1);
    else
        lists.message_index = stepIndex(lists.message_index, lists.message_count, 1);
    showCurrent();
}

void Insert_Template::Msg_Back_Click()
{
    if (browsingTitles())
        lists.title_index = stepIndex(lists.title_index, lists.title_count, -1);
    else
        lists.message_index = stepIndex(lists.message_index, lists.message_count, -1);
    showCurrent();
}

void Insert_Template::OKPressed()
{
    Template_Msg_Val = Trim_Str(ui_->msg_value->toPlainText());
    if (!Template_Msg_Val.isEmpty()) {
        done(1);
        return;
    }
    Show_MessageBox(QStringLiteral("Please select message."));
    ui_->msg_value->setFocus();
}

void Insert_Template::CancelPressed()
{
    Template_Msg_Val.clear();
    done(0);
}
