#pragma once

#include "profiles/Browser_Picture_Object.h"
#include "profiles/Greeting_Text_Lists.h"

#include <QDialog>
#include <QList>

#include <memory>

class Browser_Picture_Model;
class Invitation_Wizard_Host;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
namespace Ui {
class Invitation_Wizard;
}

// The window every run starts with: the start screen (new card with the wizard, open a saved design, help,
// exit) and behind it the five wizard panes (card size, background picture, greeting category, title and
// message, sender and addressee). Finishing publishes the answers in the invitation globals; the main
// window then builds the new card from them.
//
// The steps, by next_counter: 0 start screen, 1 card size, 2 background, 3 category, 4 title and message,
// 5 from and to.
class Invitation_Wizard : public QDialog {
    Q_OBJECT
public:
    static Invitation_Wizard* defaultInstance();
    ~Invitation_Wizard() override;

    // The main window, reached for opening a design and for the finished card size. Not owned.
    void setHost(Invitation_Wizard_Host* host);

    // Starts over on the start screen and runs the window modally. 1: the wizard finished (Start_Card_Option
    // "W") or a design was opened ("L"); kClosed: the window was closed, and the editor goes on with what it
    // has; anything else: the user chose Exit (or the window failed), and the caller ends the process.
    // atWizard skips the start screen to the wizard's first step, as its wizard button does.
    int Open_Wnd(bool atWizard = false);
    static constexpr int kClosed = 2;

    int next_counter() const { return next_counter_; }
    const QString& selected_image() const { return selected_image_; }
    const QString& selected_title() const { return selected_title_; }
    const QString& selected_msg() const { return selected_msg_; }
    const QString& selected_date() const { return selected_date_; }
    const QString& selected_time() const { return selected_time_; }
    const Greeting_Text_Lists& texts() const { return texts_; }
    const QList<Browser_Picture_Object>& images() const;
    Browser_Picture_Model& imageModel() { return *images_; }
    Ui::Invitation_Wizard& form() { return *ui_; }

    // Typing limits, in UTF-16 units.
    static constexpr int kNameLimit = 40; // from and to
    static constexpr int kVenueLimit = 100; // venue
    static constexpr int kTitleLimit = 100; // greeting title
    static constexpr int kMessageLimit = 250; // greeting message

public slots:
    // Start screen.
    void Using_Wizard_Click();
    void Open_Log_Click();
    void ExitClick();
    void HelpClick();
    void Select_card_option(int tag); // 0 template, 1 wizard, 2 open a design; then Next

    // Wizard strip: Next (Finish on the last pane), Back, Cancel (back to the start screen).
    void OK_Click();
    void Back_Click();
    void CancelClick();

    // Category pane: each chooses its category and moves on at once.
    void Cute_Click() { chooseCategory("1"); }
    void Funny_Click() { chooseCategory("2"); }
    void Gifts_Click() { chooseCategory("3"); }
    void Gud_Mrng_Click() { chooseCategory("4"); }
    void Gud_Nite_Click() { chooseCategory("5"); }
    void Her_Click() { chooseCategory("6"); }
    void Him_Click() { chooseCategory("7"); }
    void Love_U_Click() { chooseCategory("8"); }
    void Miss_U_Click() { chooseCategory("9"); }
    void Proposal_Click() { chooseCategory("10"); }
    void Sorry_Click() { chooseCategory("11"); }
    void Flirty_Click() { chooseCategory("12"); }

    // Title and message pane.
    void Title_Back_Click();
    void Title_Next_Click();
    void Msg_Back_Click();
    void Msg_Next_Click();

    // From and to pane.
    void Clear_Details_Click();
    void datePickerAction();
    void timePickerAction();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit Invitation_Wizard(QWidget* parent = nullptr);

    // Steps and resets.
    void Show_Hide_Card_Start_Screen(bool startScreen);
    void showOnlyPane(QWidget* pane);
    void Reset_All();
    void Clear_Details();
    void chooseCategory(const char* key);
    void Finish();
    void applyWindowBackground();

    // Background pictures.
    void Load_and_fill_backgrounds();
    void addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID);
    void selectChosenOrFirstBackground();
    void imageBrowserSelectionDidChange();

    // Texts placed by the wizard itself are not cut to the typing limits.
    void placeTitle(const QString& text);
    void placeMessage(const QString& text);
    void suggestMessage(const QString& text); // a suggestion arrow's text in place of the typed one
    void controlTextDidChange(QLineEdit* field, int limit, bool enablesClear);
    void messageTextDidChange();

    std::unique_ptr<Ui::Invitation_Wizard> ui_;
    Browser_Picture_Model* images_ = nullptr; // owned by this window as a child object
    Invitation_Wizard_Host* host_ = nullptr;
    Greeting_Text_Lists texts_;

    int next_counter_ = 0;
    QString selected_image_;
    QString selected_title_;
    QString selected_msg_;
    QString selected_date_;
    QString selected_time_;
    bool placingMessage_ = false; // the wizard itself puts a title or message in its field
    QString suggestionsFor_; // the occasion whose texts the title and message fields were given
};
