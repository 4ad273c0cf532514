// The invitation wizard's category, title and message, and from-and-to panes.
#include "profiles/Invitation_Wizard.h"

#include "common/Common_Functions.h"
#include "profiles/Profiles_Globals.h"
#include "ui_Invitation_Wizard.h"

#include <QDateTime>
#include <QLocale>
#include <QSignalBlocker>
#include <QTextCursor>

#include <algorithm>

namespace {

// One step through a list of `count` entries, wrapping at both ends; an empty list stays at 0.
qint32 stepped(qint32 index, qint32 count, int step)
{
    if (count <= 0)
        return 0;
    index += step;
    if (index >= count)
        return 0;
    if (index < 0)
        return count - 1;
    return index;
}

} // namespace

// --- Category pane ---

void Invitation_Wizard::chooseCategory(const char* key)
{
    Event_Type = QString::fromLatin1(key);
    OK_Click();
}

// --- Title and message pane ---

void Invitation_Wizard::Title_Back_Click()
{
    texts_.title_index = stepped(texts_.title_index, texts_.title_count, -1);
    placeTitle(texts_.Get_Title());
}

void Invitation_Wizard::Title_Next_Click()
{
    texts_.title_index = stepped(texts_.title_index, texts_.title_count, +1);
    placeTitle(texts_.Get_Title());
}

void Invitation_Wizard::Msg_Back_Click()
{
    texts_.message_index = stepped(texts_.message_index, texts_.message_count, -1);
    suggestMessage(texts_.Get_Message());
}

void Invitation_Wizard::Msg_Next_Click()
{
    texts_.message_index = stepped(texts_.message_index, texts_.message_count, +1);
    suggestMessage(texts_.Get_Message());
}

void Invitation_Wizard::placeTitle(const QString& text)
{
    // As an edit of the field, so that Undo in it brings back the title the person had typed.
    placingMessage_ = true;
    ui_->msg_title->selectAll();
    ui_->msg_title->insert(text);
    ui_->msg_title->setCursorPosition(0);
    placingMessage_ = false;
}

void Invitation_Wizard::placeMessage(const QString& text)
{
    placingMessage_ = true;
    ui_->msg_value->setPlainText(text);
    placingMessage_ = false;
}

void Invitation_Wizard::suggestMessage(const QString& text)
{
    // One edit of the field: Undo in it (Ctrl+Z) brings back the message the person had typed.
    placingMessage_ = true;
    QTextCursor cursor(ui_->msg_value->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    placingMessage_ = false;
}

// --- Typing limits ---

void Invitation_Wizard::controlTextDidChange(QLineEdit* field, int limit, bool enablesClear)
{
    const QString text = field->text();
    if (text.size() > limit) {
        const int cursor = field->cursorPosition();
        const QString cut = truncatedAtCharacterBoundary(text, limit);
        field->setText(cut);
        field->setCursorPosition(std::min(cursor, int(cut.size())));
    }
    if (enablesClear && !field->text().isEmpty())
        ui_->clear_details_btn->setEnabled(true);
}

void Invitation_Wizard::messageTextDidChange()
{
    if (placingMessage_)
        return;
    const QString text = ui_->msg_value->toPlainText();
    if (text.size() <= kMessageLimit)
        return;
    // The excess is removed in place, so the cursor and the undo history of the typing stay.
    const qsizetype keep = truncatedAtCharacterBoundary(text, kMessageLimit).size();
    QTextCursor cursor(ui_->msg_value->document());
    cursor.setPosition(int(keep));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    Show_MessageBox(QStringLiteral("A message can have at most %1 characters: the last %2 were left out.")
                        .arg(kMessageLimit)
                        .arg(text.size() - keep));
}

// --- From and to pane ---

void Invitation_Wizard::Clear_Details()
{
    ui_->from_value->clear();
    ui_->to_value->clear();
    ui_->venue_value->clear();
    const QDateTime now = QDateTime::currentDateTime();
    {
        const QSignalBlocker dateBlocker(ui_->Date_picker);
        const QSignalBlocker timeBlocker(ui_->Time_picker);
        ui_->Date_picker->setDate(now.date());
        ui_->Time_picker->setTime(now.time());
    }
    ui_->Date_ctrl_value->clear();
    ui_->Time_ctrl_value->clear();
    // The picked date and time go with their fields, so a cleared date never reaches the card.
    selected_date_.clear();
    selected_time_.clear();
    ui_->clear_details_btn->setEnabled(false);
}

void Invitation_Wizard::Clear_Details_Click()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to clear details?")) == 1)
        Clear_Details();
}

void Invitation_Wizard::datePickerAction()
{
    selected_date_ = QLocale().toString(ui_->Date_picker->date(), QLocale::LongFormat);
    ui_->Date_ctrl_value->setText(selected_date_);
    ui_->clear_details_btn->setEnabled(true);
}

void Invitation_Wizard::timePickerAction()
{
    selected_time_ = ui_->Time_picker->time().toString(QStringLiteral("h:mm AP"));
    ui_->Time_ctrl_value->setText(selected_time_);
    ui_->clear_details_btn->setEnabled(true);
}
