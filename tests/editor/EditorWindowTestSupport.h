#pragma once

// The main window with its document, never shown unless a test starts it up, and the user's answers
// scripted in advance through the test seam.
#include "canvas/TSLGraphicView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Globals.h"
#include "editor/Design_File_Format.h"
#include "editor/Editor_Globals.h"
#include "editor/TSLWindowController.h"
#include "model/TSLDocument.h"
#include "platform/KeyedArchive.h"
#include "platform/UndoManager.h"
#include "profiles/Card_Wizard.h"
#include "profiles/Invitation_Wizard.h"
#include "profiles/Profiles_Globals.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace editortest {

inline QByteArray itemBytes(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

// The message texts shown so far (information boxes start their text on a new line).
inline QStringList messageTexts(const testsupport::ScriptedResponder& ui)
{
    QStringList texts;
    for (const platform::MessageRequest& request : ui.messages)
        texts << request.text.trimmed();
    return texts;
}

// A way items come back from what is stored of them, and the front side's items as it gives them.
struct ReadBackRoad {
    const char* road;
    std::function<TSLGraphicList()> read;
};

// The roads that read items back: the design opened again, the items pasted, the scratch side.
inline std::vector<ReadBackRoad> readBackRoads(TSLWindowController& window, TSLDocument& document)
{
    return {
        { "reopened",
            [&document] {
                DesignFileContent content;
                content.frontItems = document.graphics();
                return decodeDesignFile(encodeDesignFile(content)).value_or(DesignFileContent()).frontItems;
            } },
        { "pasted",
            [&document] {
                return TSLGraphic::graphicsWithPasteboardData(
                    TSLGraphic::pasteboardDataWithGraphics(document.graphics()), nullptr)
                    .value_or(TSLGraphicList());
            } },
        { "scratch side",
            [&window, &document] {
                window.Temp_Card_Btn_Clicked();
                return document.graphics_temp();
            } },
    };
}

// Runs the windows of one action through the real seam, as the program runs them: each modal window shown in
// turn gets the next step, as a person answers it. The scripted responder is back when the hand goes.
class RealSeamHand {
public:
    using Step = std::function<void(QWidget&)>;
    RealSeamHand(testsupport::ScriptedResponder& scripted, std::vector<Step> steps)
        : scripted_(scripted)
        , steps_(steps.begin(), steps.end())
    {
        platform::setUiResponder(nullptr);
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (shown->isVisible())
                shownBefore_.append(shown);
        QObject::connect(&timer_, &QTimer::timeout, [this] { act(); });
        timer_.start(0); // looks for the next window from inside each modal loop
    }
    ~RealSeamHand()
    {
        timer_.stop();
        platform::setUiResponder(&scripted_);
    }
    RealSeamHand(const RealSeamHand&) = delete;
    RealSeamHand& operator=(const RealSeamHand&) = delete;
    std::size_t stepsLeft() const { return steps_.size(); }

private:
    void act()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == answered_.data() || !modal->isVisible() || shownBefore_.contains(modal))
            return;
        answered_ = modal;
        if (steps_.empty()) {
            // A window nobody expected fails the test and is closed, as a person closes it, instead of waiting.
            ADD_FAILURE() << "an unexpected window: " << modal->metaObject()->className();
            modal->close();
            return;
        }
        const Step step = steps_.front();
        steps_.pop_front();
        step(*modal);
    }
    testsupport::ScriptedResponder& scripted_;
    std::deque<Step> steps_;
    QPointer<QWidget> answered_;
    QList<QPointer<QWidget>> shownBefore_; // what another action left open is none of this one's windows
    QTimer timer_;
};

class EditorWindowTest : public ::testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    TSLDocument document;
    std::unique_ptr<TSLWindowController> window;
    QList<QWidget*> shownBefore_;

    void SetUp() override
    {
        shownBefore_ = shownWindows();
        Card_Front_Or_Back = 0;
        Card_Shape = 0;
        Not_Draw_Only_Prop_Change = false;
        Project_File_Name.clear();
        Excel_Binding_Use = false;
        Excel_Source_Path.clear();
        Start_Card_Option = QStringLiteral("T");
        window = std::make_unique<TSLWindowController>();
        window->setDocument(&document);
    }
    void TearDown() override
    {
        const bool ended = window && window->hasEnded();
        window.reset();
        if (ended)
            takeBackQuitRequest();
        // The windows a test showed (the program's own lasting ones among them) go, or they would take the
        // keys of the next test's window; the lasting wizards keep no host, the window being gone.
        for (QWidget* shown : shownWindows())
            if (!shownBefore_.contains(shown))
                shown->hide();
        Card_Wizard::defaultInstance()->setHost(nullptr);
        Invitation_Wizard::defaultInstance()->setHost(nullptr);
    }
    static QList<QWidget*> shownWindows()
    {
        QList<QWidget*> shown = QApplication::topLevelWidgets();
        shown.removeIf([](const QWidget* widget) { return !widget->isVisible(); });
        return shown;
    }
    // A window that ended the process asked the application to leave its event loop. With no loop running
    // Qt keeps that request, and every local loop of a later test would return at once: running the
    // application's loop once uses it up.
    static void takeBackQuitRequest()
    {
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // The next modal window confirmed as a person confirms it, with its own OK button: what that button
    // hands out is what the caller gets, never an answer the window itself did not give.
    void confirmNextDialog()
    {
        ui.modalRuns.push_back([](QDialog& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OK_btn")), Qt::LeftButton);
            return dialog.result();
        });
    }
    // Start-up with the start screen answered by `startScreen` (its result is the start screen's).
    void startUp(const std::function<int(Invitation_Wizard&)>& startScreen)
    {
        ui.modalRuns.push_back([startScreen](QDialog& dialog) {
            auto* wizard = qobject_cast<Invitation_Wizard*>(&dialog);
            return wizard ? startScreen(*wizard) : 0;
        });
        window->awakeFromNib();
        // The scenarios place the mouse in card points: one screen pixel per point, whatever the screen's dpi.
        if (window->_zoomingScrollView)
            window->setZoomFactor(1.0 / window->_zoomingScrollView->screenPixelsPerPoint());
    }
    // Start-up to an empty card: the start screen confirmed without the wizard.
    void startUpEmpty()
    {
        startUp([](Invitation_Wizard&) {
            Start_Card_Option = QStringLiteral("T");
            return 1;
        });
    }

    // Items put on a side as a finished design would be: without an undo step.
    void addItem(const TSLGraphicPtr& item, const QString& key)
    {
        document.Enable_Disable_Undo_Registraion(false);
        document.insertGraphicsForKey(key, { item }, { int(document.graphicsForKey(key).size()) });
        document.Enable_Disable_Undo_Registraion(true);
    }
    TSLGraphicPtr addShape(const QRectF& bounds, const QString& key = TSLDocumentGraphicsKey)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("Shape_Control"));
        item->setBounds(bounds);
        addItem(item, key);
        return item;
    }
};

} // namespace editortest
