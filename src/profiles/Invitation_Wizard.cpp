#include "profiles/Invitation_Wizard.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "common/Screen_Fit.h"
#include "info/Maker_Links.h"
#include "model/PictureSource.h"
#include "platform/UiSeam.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Invitation_Layout.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "profiles/Profiles_Globals.h"
#include "ui_Invitation_Wizard.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>

#include <exception>
#include <initializer_list>

namespace {

constexpr double kNewCardSize = 120.0; // millimetres, both sides

} // namespace

Invitation_Wizard* Invitation_Wizard::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Invitation_Wizard* instance = new Invitation_Wizard();
    return instance;
}

Invitation_Wizard::Invitation_Wizard(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Invitation_Wizard>())
    , images_(new Browser_Picture_Model(this))
{
    ui_->setupUi(this);
    setModal(true);
    applyWindowBackground();
    keepWindowOnScreen(*this);

    ui_->imageBrowser->setModel(images_);
    connect(ui_->imageBrowser->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &Invitation_Wizard::imageBrowserSelectionDidChange);
    connect(ui_->imageBrowser, &QAbstractItemView::doubleClicked, this, &Invitation_Wizard::OK_Click);

    const QDateTime now = QDateTime::currentDateTime();
    ui_->Date_picker->setDate(now.date());
    ui_->Time_picker->setTime(now.time());

    connect(ui_->Using_Wizard_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Using_Wizard_Click);
    connect(ui_->Open_Log_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Open_Log_Click);
    connect(ui_->Exit_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::ExitClick);
    connect(ui_->Help_btn_1, &QAbstractButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(
        ui_->Contact_us_btn, &QAbstractButton::clicked, this, [] { Maker_Links::open(Maker_Links::supportMail()); });
    connect(ui_->Help_btn_2, &QAbstractButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(ui_->Next_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::OK_Click);
    connect(ui_->Back_Btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Back_Click);
    connect(ui_->Cancel_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::CancelClick);

    connect(ui_->Cute_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Cute_Click);
    connect(ui_->Funny_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Funny_Click);
    connect(ui_->Gifts_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Gifts_Click);
    connect(ui_->Gud_Mrng_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Gud_Mrng_Click);
    connect(ui_->Gud_Nite_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Gud_Nite_Click);
    connect(ui_->Her_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Her_Click);
    connect(ui_->Him_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Him_Click);
    connect(ui_->Love_U_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Love_U_Click);
    connect(ui_->Miss_U_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Miss_U_Click);
    connect(ui_->Proposal_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Proposal_Click);
    connect(ui_->Sorry_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Sorry_Click);
    connect(ui_->Flirty_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Flirty_Click);

    connect(ui_->title_bk_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Title_Back_Click);
    connect(ui_->title_nxt_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Title_Next_Click);
    connect(ui_->msg_bk_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Msg_Back_Click);
    connect(ui_->msg_nxt_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Msg_Next_Click);

    connect(ui_->clear_details_btn, &QAbstractButton::clicked, this, &Invitation_Wizard::Clear_Details_Click);
    connect(ui_->Date_picker, &QDateTimeEdit::dateChanged, this, &Invitation_Wizard::datePickerAction);
    connect(ui_->Time_picker, &QDateTimeEdit::timeChanged, this, &Invitation_Wizard::timePickerAction);

    // Only the user's own edits are held to the typing limits (textEdited is not sent for setText).
    connect(ui_->from_value, &QLineEdit::textEdited, this,
        [this] { controlTextDidChange(ui_->from_value, kNameLimit, true); });
    connect(
        ui_->to_value, &QLineEdit::textEdited, this, [this] { controlTextDidChange(ui_->to_value, kNameLimit, true); });
    connect(ui_->venue_value, &QLineEdit::textEdited, this,
        [this] { controlTextDidChange(ui_->venue_value, kVenueLimit, true); });
    connect(ui_->msg_title, &QLineEdit::textEdited, this, [this] {
        if (!placingMessage_) // the wizard's own texts are not held to the typing limit
            controlTextDidChange(ui_->msg_title, kTitleLimit, false);
    });
    connect(ui_->msg_value, &QPlainTextEdit::textChanged, this, &Invitation_Wizard::messageTextDidChange);
}

Invitation_Wizard::~Invitation_Wizard() = default;

void Invitation_Wizard::setHost(Invitation_Wizard_Host* host)
{
    host_ = host;
    applyWindowBackground();
}

void Invitation_Wizard::applyWindowBackground()
{
    applyWindowLook(*this, host_ ? host_->wizard_pattern_image() : QImage());
}

const QList<Browser_Picture_Object>& Invitation_Wizard::images() const
{
    return images_->items();
}

int Invitation_Wizard::Open_Wnd(bool atWizard)
{
    try {
        Event_Type = QStringLiteral("1");
        ui_->width_Stepper->setValue(kNewCardSize);
        ui_->height_Stepper->setValue(kNewCardSize);
        ui_->APP_path_label->setText(Resource_Path);
        ui_->APP_path_label->setToolTip(Resource_Path);
        images_->clear();
        Show_Hide_Card_Start_Screen(true);
        images_->reload();
        Load_and_fill_backgrounds();
        Reset_All();
        texts_.Load_Msg_And_Title();
        placeTitle(texts_.Get_Title());
        placeMessage(texts_.Get_Message());
        suggestionsFor_.clear();
        if (atWizard)
            Using_Wizard_Click();

        const int result = platform::ui().runModal(*this);
        hide();
        return result;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        hide();
        return 0;
    }
}

// --- Start screen ---

void Invitation_Wizard::Using_Wizard_Click()
{
    Event_Type = QStringLiteral("1");
    Select_card_option(1);
}

void Invitation_Wizard::Open_Log_Click()
{
    Select_card_option(2);
}

void Invitation_Wizard::Select_card_option(int tag)
{
    switch (tag) {
    case 0:
        Start_Card_Option = QStringLiteral("T");
        break;
    case 1:
        Start_Card_Option = QStringLiteral("W");
        break;
    case 2:
        Start_Card_Option = QStringLiteral("L");
        break;
    default:
        break;
    }
    OK_Click();
}

// Exit ends the run with 0; the main window ends the process on any result but 1, so nothing is saved.
void Invitation_Wizard::ExitClick()
{
    Start_Card_Option = QString();
    done(0);
}

void Invitation_Wizard::HelpClick()
{
    Open_Help_File();
}

// --- Steps ---

void Invitation_Wizard::showOnlyPane(QWidget* pane)
{
    ui_->panes->setCurrentWidget(pane);
    // The last pane's button ends the wizard and says so.
    ui_->Next_btn->setText(pane == ui_->fourth_box ? QStringLiteral("Finish") : QStringLiteral("Next"));
}

void Invitation_Wizard::Show_Hide_Card_Start_Screen(bool startScreen)
{
    if (startScreen) {
        next_counter_ = 0;
        showOnlyPane(ui_->Start_card_box);
        ui_->button_box->setVisible(false);
        ui_->Exit_btn->setVisible(true);
        ui_->Help_btn_1->setVisible(true);
        ui_->Contact_us_btn->setVisible(true);
        Reset_All();
        placeTitle(texts_.Get_Title());
        placeMessage(texts_.Get_Message());
    } else {
        showOnlyPane(ui_->first_box);
        ui_->button_box->setVisible(true);
        ui_->Exit_btn->setVisible(false);
        ui_->Help_btn_1->setVisible(false);
        ui_->Contact_us_btn->setVisible(false);
        ui_->width_Stepper->setFocus();
    }
}

void Invitation_Wizard::Reset_All()
{
    selected_image_.clear();
    // The browser's selection goes with the chosen picture, so that entering the background pane again
    // selects its first picture afresh. Nothing is selected afterwards, so the wizard does not move on.
    ui_->imageBrowser->selectionModel()->clearSelection();
    next_counter_ = 0;
    texts_.title_index = 0;
    texts_.message_index = 0;
    selected_title_.clear();
    selected_msg_.clear();
    selected_date_.clear();
    selected_time_.clear();
    placeTitle(QString());
    placeMessage(QString());
    ui_->clear_details_btn->setEnabled(false);
    Clear_Details();
}

void Invitation_Wizard::OK_Click()
{
    if (Start_Card_Option == QLatin1String("L")) {
        // The start screen stays up until a design has really been read.
        if (!host_) {
            Show_NSLog_Message(QStringLiteral("no main window to open a design in"));
            return;
        }
        if (host_->Open_Log_File() == 1)
            done(1);
        return;
    }

    switch (next_counter_) {
    case 0:
        next_counter_ = 1;
        Show_Hide_Card_Start_Screen(false);
        break;
    case 1:
        next_counter_ = 2;
        showOnlyPane(ui_->second_box);
        selectChosenOrFirstBackground();
        ui_->imageBrowser->setFocus();
        break;
    case 2:
        if (selected_image_.isEmpty() || !QFileInfo(selected_image_).isFile()) {
            Show_MessageBox(QStringLiteral("Please select background."));
        } else if (const PictureSource::Check picture = PictureSource::check(selected_image_); !picture.usable()) {
            // The list looked at headers only: a damaged picture is refused here, where it was chosen.
            Show_MessageBox(picture.refusal);
        } else {
            next_counter_ = 3;
            showOnlyPane(ui_->event_box);
        }
        break;
    case 3:
        // Stepping back and on again keeps what the person typed; another occasion brings its own texts,
        // each one edit that Undo in its field takes back.
        if (suggestionsFor_ != Event_Type) {
            texts_.Load_Msg_And_Title_According_Event();
            placeTitle(texts_.Get_Title());
            suggestMessage(texts_.Get_Message());
            suggestionsFor_ = Event_Type;
        }
        next_counter_ = 4;
        showOnlyPane(ui_->third_box);
        break;
    case 4:
        selected_title_ = ui_->msg_title->text();
        selected_msg_ = ui_->msg_value->toPlainText();
        next_counter_ = 5;
        showOnlyPane(ui_->fourth_box);
        for (QWidget* hidden : std::initializer_list<QWidget*> { ui_->venue_value, ui_->Date_picker, ui_->Time_picker,
                 ui_->Date_ctrl_value, ui_->Time_ctrl_value, ui_->venue_label, ui_->date_label, ui_->time_label })
            hidden->setVisible(false);
        ui_->from_value->setFocus();
        break;
    default:
        Finish();
        break;
    }
}

void Invitation_Wizard::Finish()
{
    Card_Shape = 0;

    // A size still being typed counts as entered.
    ui_->width_Stepper->interpretText();
    ui_->height_Stepper->interpretText();
    const double width = ui_->width_Stepper->value();
    const double height = ui_->height_Stepper->value();
    const QSizeF card(width * kPointsPerMillimetre, height * kPointsPerMillimetre);
    const std::vector<invitationlayout::Line> lines = invitationlayout::lines(Trim_Str(selected_title_),
        Trim_Str(ui_->to_value->text()), Trim_Str(selected_msg_), Trim_Str(selected_date_), Trim_Str(selected_time_),
        Trim_Str(ui_->venue_value->text()), Trim_Str(ui_->from_value->text()));
    if (!invitationlayout::fits(lines, card)
        && Show_YES_NO_MessageBox(
               QStringLiteral("The texts do not fit on a card of %1 x %2 mm at a legible size (%3 points or more): "
                              "some would run off the card. Choose a larger card or shorter texts, or finish anyway?")
                   .arg(QLocale().toString(width, 'f', 1), QLocale().toString(height, 'f', 1))
                   .arg(invitationlayout::kSmallestLegiblePoints))
            != 1)
        return;
    if (host_) {
        host_->Set_Card_Size_In_Control(width, height);
        const double pointsWide = width * kPointsPerMillimetre;
        const double pointsHigh = height * kPointsPerMillimetre;
        host_->Set_Document_Size(pointsWide, pointsHigh);
        host_->SetDocumentCanvasSize(pointsWide, pointsHigh);
    }

    Invite_Title = Trim_Str(selected_title_);
    Invite_Message = Trim_Str(selected_msg_);
    Invite_From = Trim_Str(ui_->from_value->text());
    Invite_To = Trim_Str(ui_->to_value->text());
    Invite_Venue = Trim_Str(ui_->venue_value->text());
    Invite_Date = Trim_Str(selected_date_);
    Invite_Time = Trim_Str(selected_time_);
    Invite_BG_IMG = Trim_Str(selected_image_);

    done(1);
}

void Invitation_Wizard::Back_Click()
{
    switch (next_counter_) {
    case 1:
        Show_Hide_Card_Start_Screen(true);
        break;
    case 2:
        next_counter_ = 1;
        showOnlyPane(ui_->first_box);
        break;
    case 3:
        next_counter_ = 2;
        showOnlyPane(ui_->second_box);
        break;
    case 4:
        next_counter_ = 3;
        showOnlyPane(ui_->event_box);
        break;
    case 5:
        next_counter_ = 4;
        showOnlyPane(ui_->third_box);
        break;
    default:
        break;
    }
}

void Invitation_Wizard::CancelClick()
{
    Show_Hide_Card_Start_Screen(true);
}

// Closing the window leaves it for the editor, never with a half-made card; only Exit quits the program.
void Invitation_Wizard::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Start_Card_Option = QString();
    done(kClosed);
}

// Escape cancels the wizard back to the start screen; on the start screen it closes the window as its
// close button does, back to the editor, so a key press never quits the program.
void Invitation_Wizard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (next_counter_ > 0)
            CancelClick();
        else
            close();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
