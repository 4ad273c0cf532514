#include "platform/UiSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

// The shown window a box opens over: the modal window in front, else the active one, else the main window.
// Without one a box would open in the middle of the screen, away from the window it is about.
QWidget* shownOpener()
{
    for (QWidget* window : { QApplication::activeModalWidget(), QApplication::activeWindow() })
        if (window && window->isVisible())
            return window;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && qobject_cast<QMainWindow*>(top))
            return top;
    return nullptr;
}

class RealResponder final : public UiResponder {
public:
    int showMessage(const MessageRequest& request) override
    {
        if (request.kind == MessageRequest::Kind::SaveQuestion) {
            const std::unique_ptr<QMessageBox> box = makeSaveQuestionBox(request.text);
            box->setParent(shownOpener(), box->windowFlags());
            box->exec();
            return saveAnswerOf(*box);
        }
        QMessageBox box(shownOpener());
        // A notice often names what a file, a workbook or a server gave: it is shown as the characters it is,
        // never as markup that could draw a link inside the program's own words.
        box.setTextFormat(Qt::PlainText);
        box.setText(request.text);
        if (request.live)
            QObject::connect(request.live.get(), &LiveText::closed, &box, &QMessageBox::reject);
        if (request.kind == MessageRequest::Kind::Choice)
            return choose(box, request.buttons);
        if (request.kind == MessageRequest::Kind::YesNo) {
            QPushButton* yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
            box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.exec();
            return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? 1 : 0;
        }
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        if (request.live)
            QObject::connect(request.live.get(), &LiveText::changed, &box, &QMessageBox::setText);
        box.exec();
        return 1;
    }

    // The dialog's own result: a window may end with a code of its own (the start screen's close).
    int runModal(QDialog& dialog) override { return dialog.exec(); }

    static int choose(QMessageBox& box, const QStringList& buttons)
    {
        box.setIcon(QMessageBox::Warning);
        QList<QPushButton*> added;
        for (qsizetype i = 0; i < buttons.size(); ++i)
            added << box.addButton(buttons[i], i == 0 ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        // Return, like Escape, keeps things as they are: a choice that may lose work is always clicked.
        if (!added.isEmpty()) {
            box.setEscapeButton(added.front());
            box.setDefaultButton(added.front());
        }
        box.exec();
        return int(std::max<qsizetype>(0, added.indexOf(qobject_cast<QPushButton*>(box.clickedButton()))));
    }

    QString chooseFile(const FileRequest& request) override
    {
        switch (request.kind) {
        case FileRequest::Kind::Open:
            return QFileDialog::getOpenFileName(shownOpener(), request.caption, request.directory, request.filter);
        case FileRequest::Kind::Save:
            return QFileDialog::getSaveFileName(shownOpener(), request.caption, request.directory, request.filter);
        case FileRequest::Kind::Folder:
            return QFileDialog::getExistingDirectory(shownOpener(), request.caption, request.directory);
        }
        return {};
    }
};

RealResponder realResponder;
UiResponder* current = &realResponder;

} // namespace

std::unique_ptr<QMessageBox> makeSaveQuestionBox(const QString& text)
{
    auto box = std::make_unique<QMessageBox>();
    box->setTextFormat(Qt::PlainText); // it names the design's file
    box->setText(text);
    box->setIcon(QMessageBox::Warning);
    box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box->button(QMessageBox::Discard)->setText(QStringLiteral("Don't Save"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

int saveAnswerOf(const QMessageBox& box)
{
    // A box closed by the window manager reports its escape button, so only a real choice saves or discards.
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == box.button(QMessageBox::Save))
        return SaveAnswerSave;
    if (clicked && clicked == box.button(QMessageBox::Discard))
        return SaveAnswerDontSave;
    return SaveAnswerCancel;
}

bool UiResponder::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

UiResponder& ui()
{
    return *current;
}

void setUiResponder(UiResponder* responder)
{
    current = responder ? responder : &realResponder;
}

} // namespace platform
