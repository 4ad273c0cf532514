#include "profiles/Insert_Template.h"

#include "common/Common_Functions.h"
#include "platform/UiSeam.h"
#include "common/Long_SMS_Dlg.h"
#include "profiles/Profiles_Globals.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Insert_Template* Insert_Template::defaultInstance()
{
    static Insert_Template* instance = new Insert_Template();
    return instance;
}

Insert_Template::Insert_Template(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Insert_Template"));
    setWindowTitle(QStringLiteral("Greeting Texts"));
    setModal(true);
    applySmallWindowLook(*this);

    msg_value = new QPlainTextEdit(this);
    msg_value->setObjectName(QStringLiteral("msg_value"));
    msg_value->setMinimumSize(420, 120);
    back_btn = new QPushButton(QStringLiteral("< Back"), this);
    back_btn->setObjectName(QStringLiteral("back_btn"));
    next_btn = new QPushButton(QStringLiteral("Next >"), this);
    next_btn->setObjectName(QStringLiteral("next_btn"));
    ok_btn = new QPushButton(QStringLiteral("OK"), this);
    ok_btn->setObjectName(QStringLiteral("ok_btn"));
    ok_btn->setDefault(true);
    cancel_btn = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_btn->setObjectName(QStringLiteral("cancel_btn"));

    auto* steps = new QHBoxLayout;
    steps->addWidget(back_btn);
    steps->addWidget(next_btn);
    steps->addStretch();
    steps->addWidget(cancel_btn);
    steps->addWidget(ok_btn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Choose a text with Back and Next, and change it if you like:"), this));
    layout->addWidget(msg_value);
    layout->addLayout(steps);

    connect(back_btn, &QPushButton::clicked, this, &Insert_Template::Msg_Back_Click);
    connect(next_btn, &QPushButton::clicked, this, &Insert_Template::Msg_Next_Click);
    connect(ok_btn, &QPushButton::clicked, this, &Insert_Template::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Insert_Template::CancelPressed);
}

int Insert_Template::Open_Template_Dialog()
{
    Template_Msg_Val.clear();
    lists.Load_Msg_And_Title_According_Event();
    showCurrent();
    msg_value->setFocus();
    const int code = platform::ui().runModal(*this);
    hide();
    return code == 1 ? 1 : 0;
}

void Insert_Template::showCurrent()
{
    msg_value->setPlainText(browsingTitles() ? lists.Get_Title() : lists.Get_Message());
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
    Template_Msg_Val = Trim_Str(msg_value->toPlainText());
    if (!Template_Msg_Val.isEmpty()) {
        done(1);
        return;
    }
    Show_MessageBox(QStringLiteral("Please select message."));
    msg_value->setFocus();
}

void Insert_Template::CancelPressed()
{
    Template_Msg_Val.clear();
    done(0);
}
