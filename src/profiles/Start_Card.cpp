#include "profiles/Start_Card.h"

#include "common/File_Functions.h"
#include "profiles/Profiles_Globals.h"

#include "ui_Start_Card.h"

#include <QPushButton>

#include <iterator>

Start_Card* Start_Card::defaultInstance()
{
    static Start_Card* const instance = new Start_Card();
    return instance;
}

Start_Card::Start_Card(QWidget* parent)
    : Form_Dialog(parent)
{
    connect(ui_->Using_Template_btn, &QPushButton::clicked, this, &Start_Card::Using_Template_Click);
    connect(ui_->Using_Wizard_btn, &QPushButton::clicked, this, &Start_Card::Using_Wizard_Click);
    connect(ui_->Open_Log_btn, &QPushButton::clicked, this, &Start_Card::Open_Log_Click);
    connect(ui_->Cancel_btn, &QPushButton::clicked, this, &Start_Card::CancelClick);
    connect(ui_->Help_btn, &QPushButton::clicked, this, &Start_Card::HelpClick);
}

int Start_Card::Open_Wnd()
{
    return runModally();
}

void Start_Card::Select_card_option(int tag)
{
    static const char* const options[] = { "T", "W", "L" };
    if (tag >= 0 && tag < int(std::size(options)))
        Start_Card_Option = QLatin1String(options[tag]);
    OK_Click();
}

void Start_Card::OK_Click()
{
    done(1);
}

void Start_Card::CancelClick()
{
    Start_Card_Option.clear();
    QDialog::reject();
}

void Start_Card::HelpClick()
{
    Open_Help_File();
}
