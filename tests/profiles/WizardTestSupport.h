#pragma once

#include "common/Globals.h"
#include "profiles/Invitation_Wizard.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "profiles/Profiles_Globals.h"
#include "support/TestSupport.h"
#include "ui_Invitation_Wizard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

namespace wizardtest {

// Stands in for the main window: answers Open_Log_File from a script and records the size it is given.
class FakeHost final : public Invitation_Wizard_Host {
public:
    std::deque<int> openLogAnswers;
    int openLogCalls = 0;
    std::optional<std::pair<double, double>> controlSize;
    std::optional<std::pair<double, double>> documentSize;
    std::optional<std::pair<double, double>> canvasSize;

    int Open_Log_File() override
    {
        ++openLogCalls;
        if (openLogAnswers.empty())
            return 0;
        const int answer = openLogAnswers.front();
        openLogAnswers.pop_front();
        return answer;
    }
    void Set_Card_Size_In_Control(double width, double height) override { controlSize = { width, height }; }
    void Set_Document_Size(double width, double height) override { documentSize = { width, height }; }
    void SetDocumentCanvasSize(double width, double height) override { canvasSize = { width, height }; }
};

// Runs the one wizard window against a fresh data folder with a few background pictures, through the
// test seam: each opening's modal run is a script that works the live window like a user.
class WizardTest : public testing::Test {
protected:
    static constexpr int kStillOpen = -1;

    void SetUp() override
    {
        savedResourcePath_ = Resource_Path;
        savedEventType_ = Event_Type;
        savedOption_ = Start_Card_Option;
        savedShape_ = Card_Shape;
        Resource_Path = testsupport::makeTempFolder(QStringLiteral("wizard"));
        QDir(Resource_Path).mkdir(QStringLiteral("Background"));
        wizard = Invitation_Wizard::defaultInstance();
        wizard->setHost(&host);
        QObject::connect(wizard, &QDialog::finished, wizard, [this](int code) { finishedWith = code; });
    }

    void TearDown() override
    {
        QObject::disconnect(wizard, &QDialog::finished, wizard, nullptr);
        wizard->setHost(nullptr);
        Resource_Path = savedResourcePath_;
        Event_Type = savedEventType_;
        Start_Card_Option = savedOption_;
        Card_Shape = savedShape_;
    }

    static QString backgroundPath(const QString& name) { return Resource_Path + QStringLiteral("/Background/") + name; }

    static void writePicture(const QString& path, QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path)) << path.toStdString();
    }

    static void writeText(const QString& name, const QByteArray& bytes)
    {
        QFile file(Resource_Path + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // Three pictures the wizard lists, and files beside them that it must pass over.
    static void fillBackgroundFolder()
    {
        writePicture(backgroundPath(QStringLiteral("Meadow.png")), { 300, 150 }, Qt::green);
        writePicture(backgroundPath(QStringLiteral("Sunset.jpg")), { 200, 200 }, QColor(255, 128, 0));
        writePicture(backgroundPath(QStringLiteral("Harbour.PNG")), { 120, 90 }, Qt::blue);
        writePicture(backgroundPath(QStringLiteral("Photo.jpeg")), { 64, 64 }, Qt::red);
        writeText(QStringLiteral("Background/notes.txt"), "not a picture");
        QDir(Resource_Path).mkpath(QStringLiteral("Background/Folder.png"));
    }

    // Opens the window; `script` runs as its modal loop on the shown window. The run's code is the one
    // the window ended with, or kStillOpen when the script left it open (a real loop would still wait).
    int open(const std::function<void(Invitation_Wizard&, Ui::Invitation_Wizard&)>& script)
    {
        finishedWith.reset();
        responder.modalRuns.push_back([this, script](QDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            script(*wizard, wizard->form());
            return finishedWith ? *finishedWith : kStillOpen;
        });
        return wizard->Open_Wnd();
    }

    static QString paneOf(Ui::Invitation_Wizard& form) { return form.panes->currentWidget()->objectName(); }

    // Start screen -> size pane -> background pane -> category pane, with the first picture.
    static void walkToCategories(Invitation_Wizard& w, Ui::Invitation_Wizard& form)
    {
        form.Using_Wizard_btn->click();
        form.Next_btn->click();
        form.Next_btn->click();
        ASSERT_EQ(w.next_counter(), 3);
    }

    std::vector<QString> messageTexts() const
    {
        std::vector<QString> texts;
        for (const auto& request : responder.messages)
            texts.push_back(request.text);
        return texts;
    }

    testsupport::ScriptedResponder responder;
    FakeHost host;
    Invitation_Wizard* wizard = nullptr;
    std::optional<int> finishedWith;

private:
    QString savedResourcePath_;
    QString savedEventType_;
    QString savedOption_;
    int savedShape_ = 0;
};

} // namespace wizardtest
