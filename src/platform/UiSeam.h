#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QMessageBox;
class QUrl;
class QWidget;

// The one place where the program waits for the user: message boxes, modal runs and file panels.
// Tests install a scripted responder so they never block on a modal loop; the program uses the real one.
namespace platform {

// The words of a notice that may change while it is up, as news keeps coming: the box shows the latest.
// A question it is given to is taken down by close(), answered as its cancelling button would be.
class LiveText final : public QObject {
    Q_OBJECT
public:
    void setText(const QString& text) { emit changed(text); }
    void close() { emit closed(); }
signals:
    void changed(const QString& text);
    void closed();
};

struct MessageRequest {
    enum class Kind { Information, YesNo, SaveQuestion, Choice };
    Kind kind = Kind::Information;
    QString text;
    // A choice's buttons; the answer is the index of the one pressed. The first is the cancelling one,
    // which Escape, Return and closing the box press.
    QStringList buttons = {};
    // An information box whose text follows this one's changes while it is up; any box closes on its close().
    std::shared_ptr<LiveText> live = {};
};

struct FileRequest {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    QString caption;
    QString directory;
    QString filter;
};

// The answers of the save question; closing the box or pressing Escape answers Cancel.
enum SaveAnswer { SaveAnswerDontSave = 0, SaveAnswerSave = 1, SaveAnswerCancel = 2 };

// The save question's box, Save the default button and Cancel the one Escape presses, and the answer of
// the button that closed it.
std::unique_ptr<QMessageBox> makeSaveQuestionBox(const QString& text);
int saveAnswerOf(const QMessageBox& box);

class UiResponder {
public:
    virtual ~UiResponder() = default;
    // 1 for OK or Yes, 0 for No; a SaveAnswer for the save question.
    virtual int showMessage(const MessageRequest& request) = 0;
    // Runs the dialog modally and returns its own result (1 OK, 0 Cancel, or a code the dialog ends with).
    virtual int runModal(QDialog& dialog) = 0;
    // The chosen path, empty when cancelled.
    virtual QString chooseFile(const FileRequest& request) = 0;
    // Hands a file, web page or mail link to the desktop's default program; false when no program took it.
    virtual bool openUrl(const QUrl& url);
};

// The responder in force; always on the GUI thread.
UiResponder& ui();

// Replaces the responder (nullptr restores the real one). The caller keeps ownership.
void setUiResponder(UiResponder* responder);

} // namespace platform
