// Saving and opening designs through the main window: the real Save path with its save panel, the reader
// that leaves the design alone on a bad file, failed saves and the quit that follows them.
#include "editor/DesignFileSamples.h"
#include "editor/EditorWindowTestSupport.h"
#include "model/TSLText.h"
#include "platform/KeyedArchive.h"
#include "platform/OwnLock.h"
#include "platform/PropertyList.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTest>
#include <QTextStream>
#include <QToolBar>

#include <csignal>
#include <tuple>
#include <sys/resource.h>

using editortest::EditorWindowTest;
using editortest::itemBytes;
using editortest::messageTexts;

namespace {

// The refusal names the file and the reader's first reason.
QString corrupt(const QString& path, const QString& reason)
{
    return QStringLiteral("The design file \"%1\" is corrupt and cannot be opened: %2.").arg(path, reason);
}
QString missingMessage(const QString& path)
{
    return QStringLiteral("The design file \"%1\" is missing: there is no file at this path.").arg(path);
}
const QString saved = QStringLiteral("Greeting Card Design Log has been saved successfully.");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The archive of a rectangle item of the given size, as the design file stores items.
QByteArray archivedItemOfSize(const QSizeF& size)
{
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("Shape_Control"));
    item->_bounds = QRectF(QPointF(5, 5), size);
    platform::KeyedArchive archive;
    item->encodeWithCoder(archive);
    return archive.toBytes();
}

// Everything of the open design that a bad file must leave as it was.
struct DesignState {
    Card_Property front;
    Card_Property back;
    std::vector<QByteArray> frontItems;
    std::vector<QByteArray> backItems;
    std::vector<const TSLGraphic*> frontObjects;
    QString project;
    int cardShape = 0;
    bool excel = false;
    Spreadsheet_Binding_Table table;
    QSizeF canvas;

    static DesignState of(const TSLWindowController& w)
    {
        DesignState s { w.Front_card_Prop, w.Back_card_Prop, {}, {}, {}, Project_File_Name, Card_Shape,
            Excel_Binding_Use, w.bindingTable, w._graphicView->canvasSize() };
        for (const TSLGraphicPtr& item : w.Get_Front_Controls_Array()) {
            s.frontItems.push_back(itemBytes(*item));
            s.frontObjects.push_back(item.get());
        }
        for (const TSLGraphicPtr& item : w.Get_Back_Controls_Array())
            s.backItems.push_back(itemBytes(*item));
        return s;
    }
    bool operator==(const DesignState&) const = default;
};

} // namespace

class DesignFileWindowTest : public EditorWindowTest {
protected:
    QString folder;

    void SetUp() override
    {
        EditorWindowTest::SetUp();
        folder = testsupport::makeTempFolder(QStringLiteral("design-window"));
    }

    // The sample design with items of every kind on both sides, both records changed and a binding table,
    // put into the open window as changes not yet saved.
    DesignFileContent putRichDesign()
    {
        DesignFileContent content = designsamples::richDesign();
        content.front.setCard_Shape(QStringLiteral("E"));
        content.front.setCard_Location(QPointF(0, 0)); // the card page stores the canvas's own origin
        window->Front_card_Prop = content.front;
        window->Back_card_Prop = content.back;
        window->SetDocumentCanvasSize(content.front.Card_Size());
        Excel_Binding_Use = content.excelBindingUse;
        Excel_Source_Path = content.excelSourcePath;
        window->bindingTable.setValueColumnTitles(content.columnTitles);
        window->bindingTable.setListData(content.rows);
        for (const TSLGraphicPtr& item : content.frontItems)
            addItem(item, TSLDocumentGraphicsKey);
        for (const TSLGraphicPtr& item : content.backItems)
            addItem(item, TSLDocumentGraphicsKey_back);
        window->markChangedOutsideUndo(); // not saved yet
        return content;
    }
};

TEST_F(DesignFileWindowTest, RichDesignSavesThroughTheSavePanelAndReopensEqual)
{
    const DesignFileContent content = putRichDesign();
    const QString chosen = folder + QStringLiteral("/party"); // the panel appends the extension
    ui.fileAnswers.push_back(chosen);
    ASSERT_EQ(window->Save_project_file(true, true), TSLWindowController::SaveResult::Saved);
    const QString path = chosen + QStringLiteral(".dcard");
    EXPECT_EQ(Project_File_Name, path);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, platform::FileRequest::Kind::Save);
    EXPECT_TRUE(ui.fileRequests[0].filter.contains(QStringLiteral("*.dcard")));
    // The notice is no box to answer: the status bar says it, and Return goes to what comes next.
    EXPECT_TRUE(messageTexts(ui).isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), saved);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("%1 (party.dcard)[*]").arg(window->App_Name));
    const QString identity = document.designIdentity();

    const auto root = platform::PropertyList::fromBytes(readFile(path));
    ASSERT_TRUE(root && root->isArray());
    EXPECT_EQ(root->toArray().size(), 63 + content.frontItems.size() + content.backItems.size());

    // Another design takes the window's place, then the saved one is opened again.
    window->New_Project_Setting_Reset();
    EXPECT_NE(document.designIdentity(), identity);
    Card_Shape = 0;
    addShape(QRectF(1, 2, 3, 4));
    window->bindingTable = Spreadsheet_Binding_Table();
    Excel_Binding_Use = false;
    ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);

    EXPECT_EQ(window->Front_card_Prop, content.front);
    EXPECT_EQ(window->Back_card_Prop, content.back);
    EXPECT_EQ(Card_Shape, 2) << "an oval card reopens oval";
    EXPECT_EQ(window->_graphicView->canvasSize(), content.front.Card_Size());
    EXPECT_TRUE(Excel_Binding_Use);
    EXPECT_EQ(Excel_Source_Path, content.excelSourcePath);
    EXPECT_EQ(window->bindingTable.columnTitles(), content.columnTitles);
    EXPECT_EQ(window->bindingTable.ListData(), content.rows);
    EXPECT_EQ(window->Data_source_type->count(), 3) << "a bound spreadsheet offers the Excel source";
    const TSLGraphicList& front = window->Get_Front_Controls_Array();
    const TSLGraphicList& back = window->Get_Back_Controls_Array();
    ASSERT_EQ(front.size(), content.frontItems.size());
    ASSERT_EQ(back.size(), content.backItems.size());
    for (std::size_t i = 0; i < front.size(); ++i) {
        EXPECT_EQ(front[i]->className(), content.frontItems[i]->className()) << i;
        EXPECT_EQ(itemBytes(*front[i]), itemBytes(*content.frontItems[i])) << i;
    }
    for (std::size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(itemBytes(*back[i]), itemBytes(*content.backItems[i])) << i;
    EXPECT_EQ(Project_File_Name, path);
    EXPECT_EQ(document.designIdentity(), identity);
    EXPECT_FALSE(document.undoManager().canUndo()) << "opening a design is not an undoable step";
    EXPECT_TRUE(document.undoManager().isUndoRegistrationEnabled());

    // Saving again without changes gives the same file, now without a panel.
    const QByteArray first = readFile(path);
    ASSERT_EQ(window->Save_project_file(false, false), TSLWindowController::SaveResult::Saved);
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(readFile(path), first);
    // A file of a version that kept no identity: the same design opened unchanged, kept by its first save.
    const QString old = folder + QStringLiteral("/old.dcard");
    ASSERT_TRUE(writeDesignFile(old, encodeDesignFile(designsamples::richDesign())));
    QStringList known;
    for (int opened = 0; opened < 3; ++opened) {
        ASSERT_EQ(window->Read_and_load_design_Log(old, QStringLiteral("L")), 1);
        known << document.designIdentity();
        ASSERT_TRUE(opened != 1 || window->Save_project_file(false, false) == TSLWindowController::SaveResult::Saved);
    }
    EXPECT_TRUE(known == QStringList(3, known.front()) && TSLDocument::isDesignIdentity(known.front())
        && known.front() != identity);
}

TEST_F(DesignFileWindowTest, OpeningAsTemplateKeepsTheDesignWithoutAFile)
{
    putRichDesign();
    const QString path = folder + QStringLiteral("/template.dcard");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    EXPECT_TRUE(messageTexts(ui).isEmpty()) << "a save without messages says nothing";

    const QString saved = document.designIdentity();
    ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("T")), 1);
    EXPECT_NE(document.designIdentity(), saved) << "a design made from a template is a new one";
    EXPECT_TRUE(Project_File_Name.isEmpty());
    EXPECT_EQ(window->windowTitle(), window->App_Name + QStringLiteral("[*]"));
    EXPECT_EQ(window->Get_Front_Control_Count(), 6);
}

TEST_F(DesignFileWindowTest, BadFilesLeaveTheOpenDesignExactlyAsItWas)
{
    putRichDesign();
    const QString current = folder + QStringLiteral("/current.dcard");
    ui.fileAnswers.push_back(current);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    DesignState before = DesignState::of(*window);

    const QByteArray good = encodeDesignFile(designsamples::richDesign());
    const platform::PlistArray elements = platform::PropertyList::fromBytes(good)->toArray();
    auto variant = [&](const std::function<void(platform::PlistArray&)>& change) {
        platform::PlistArray changed = elements;
        change(changed);
        return platform::PropertyList::toXml(changed);
    };
    static const char garbage[] = "\x89PNG\r\n\x1a\n not a design at all"; // a picture's start, then text
    std::vector<std::pair<const char*, QByteArray>> files = {
        { "truncated", good.left(good.size() / 2) },
        { "garbage", QByteArray(garbage, sizeof garbage - 1) },
        { "empty", QByteArray() },
        { "wrong signature", variant([](auto& e) { e[0] = QStringLiteral("SOMETHING ELSE ENTIRELY"); }) },
        { "huge count", variant([](auto& e) { e[61] = QStringLiteral("99999999999"); }) },
        { "count past the end", variant([](auto& e) { e[61] = QStringLiteral("9"); }) },
        { "reordered", variant([](auto& e) { std::swap(e[3], e[5]); }) },
        { "no elements", variant([](auto& e) { e.clear(); }) },
        { "wrong first kind", variant([](auto& e) { e[0] = platform::PlistValue(7); }) },
        { "infinite size", variant([](auto& e) { e[19] = QStringLiteral("{inf, 20}"); }) },
        { "negative item width", variant([](auto& e) { e[62] = archivedItemOfSize(QSizeF(-20, 10)); }) },
        { "item past a million points", variant([](auto& e) { e[62] = archivedItemOfSize(QSizeF(20, 3e6)); }) },
        { "row of no column", variant([](auto& e) {
             platform::PlistArray rows = e[60].toArray();
             platform::PlistDict row = rows.at(0).toDict();
             row.insert(QStringLiteral("Column7"), QStringLiteral("stray"));
             rows[0] = row;
             e[60] = rows;
         }) },
    };
    // Random damage to a valid file: whatever is refused must leave the design alone too.
    QRandomGenerator random(4021);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = good;
        for (int e = 0; e < 4; ++e)
            damaged[int(random.bounded(damaged.size()))] = char(random.bounded(256));
        files.emplace_back("random damage", damaged);
    }

    int refused = 0;
    for (const auto& [what, bytes] : files) {
        const QString path = folder + QStringLiteral("/bad.dcard");
        writeFile(path, bytes);
        ui.messages.clear();
        const int result = window->Read_and_load_design_Log(path, QStringLiteral("L"));
        if (result == 1) {
            // Damage that leaves a whole design (a changed letter in a text) reads like any design.
            EXPECT_STREQ(what, "random damage");
            ASSERT_EQ(window->Read_and_load_design_Log(current, QStringLiteral("L")), 1);
            before = DesignState::of(*window);
            continue;
        }
        ++refused;
        QString reason;
        decodeDesignFile(bytes, &reason);
        EXPECT_EQ(messageTexts(ui), QStringList { corrupt(path, reason) }) << what;
        EXPECT_TRUE(DesignState::of(*window) == before) << what;
        EXPECT_TRUE(document.undoManager().isUndoRegistrationEnabled()) << what;
        EXPECT_FALSE(Not_Draw_Only_Prop_Change) << what;
    }
    EXPECT_GT(refused, 20);

    ui.messages.clear();
    EXPECT_EQ(window->Read_and_load_design_Log(folder + QStringLiteral("/missing.dcard"), QStringLiteral("L")), 0);
    EXPECT_EQ(messageTexts(ui), QStringList { missingMessage(folder + QStringLiteral("/missing.dcard")) });
    EXPECT_TRUE(DesignState::of(*window) == before);
}

TEST_F(DesignFileWindowTest, CancelledPanelsWriteNothingAndKeepThePath)
{
    putRichDesign();
    Project_File_Name = folder + QStringLiteral("/kept.dcard");
    EXPECT_EQ(window->Save_project_file(true, true), TSLWindowController::SaveResult::Cancelled);
    EXPECT_EQ(Project_File_Name, folder + QStringLiteral("/kept.dcard"));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(messageTexts(ui).isEmpty());

    // A name of blanks counts as none: the panel is asked.
    Project_File_Name = QStringLiteral("   ");
    EXPECT_EQ(window->Save_project_file(false, true), TSLWindowController::SaveResult::Cancelled);
    EXPECT_EQ(ui.fileRequests.size(), 2u);

    // Open with a cancelled panel reads nothing.
    const DesignState before = DesignState::of(*window);
    EXPECT_EQ(window->Open_Log_File(), 0);
    EXPECT_TRUE(DesignState::of(*window) == before);
}

namespace {

// Makes every file write of this process fail once it passes `bytes`, as a full disk would, until it
// goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit old_ {};
    void (*previous_)(int) = nullptr;
};

} // namespace

TEST_F(DesignFileWindowTest, FailedSaveKeepsTheOldFileAndQuitStaysOpen)
{
    const QString path = folder + QStringLiteral("/card.dcard");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(false, false), TSLWindowController::SaveResult::Saved);
    const QByteArray first = readFile(path);
    ASSERT_FALSE(first.isEmpty());

    putRichDesign(); // far larger than the empty design on disk
    {
        const FileSizeLimit diskFull(rlim_t(first.size()) + 200);
        EXPECT_EQ(window->Save_project_file(false, true), TSLWindowController::SaveResult::Failed);
    }
    // The message says where and why, and begins with what happened.
    const QStringList texts = messageTexts(ui);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("The design could not be saved"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].contains(path)) << texts[0].toStdString();
    EXPECT_GT(texts[0].size(), QStringLiteral("The design could not be saved to \"\": ").size() + path.size())
        << "the system's reason follows";
    EXPECT_EQ(readFile(path), first) << "the old file is whole";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { QStringLiteral("card.dcard") }) << "no temporary left";
    EXPECT_EQ(Project_File_Name, path);

    // Quit, "Yes" to saving, and the save fails: the program says so and stays open.
    ui.messages.clear();
    ui.messageAnswers.push_back(1);
    {
        const FileSizeLimit diskFull(rlim_t(first.size()) + 200);
        window->Exit_App();
    }
    EXPECT_FALSE(window->hasEnded());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Do you want to save changes before closing?"));
    EXPECT_EQ(readFile(path), first);

    // A cancelled save panel goes back to the design as well.
    Project_File_Name.clear();
    ui.messageAnswers.push_back(1);
    window->Exit_App();
    EXPECT_FALSE(window->hasEnded());

    // With the save working, "Yes" saves and quits.
    Project_File_Name = path;
    ui.messageAnswers.push_back(1);
    window->Exit_App();
    EXPECT_TRUE(window->hasEnded());
    EXPECT_EQ(window->endStatus(), 0);
    const auto reread = decodeDesignFile(readFile(path));
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->frontItems.size(), 6u);
}

TEST_F(DesignFileWindowTest, NewAfterAFailedSaveKeepsTheDesign)
{
    putRichDesign();
    Project_File_Name = folder + QStringLiteral("/no-such-folder/card.dcard");
    ui.messageAnswers.push_back(1); // yes, save first
    window->New_Btn_Clicked();
    const QStringList texts = messageTexts(ui);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("Do you want to save changes before opening new document?"));
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("The design could not be saved")));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("no-such-folder/card.dcard"))) << texts[1].toStdString();
    EXPECT_EQ(window->Get_Front_Control_Count(), 6);
    EXPECT_TRUE(ui.dialogsRun.empty()) << "the start screen did not come up";
}

namespace {

// Clicks the Open button of the main window's toolbar as a person would.
void clickOpen(TSLWindowController& window)
{
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        if (QWidget* button = bar->widgetForAction(window.Open_btn)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no Open button in the toolbar";
}

} // namespace

TEST_F(DesignFileWindowTest, OpenKeepsTheDesignUntilTheChosenFileIsRead)
{
    putRichDesign();
    window->show();
    const DesignState before = DesignState::of(*window);
    const QString bad = folder + QStringLiteral("/bad.dcard");
    writeFile(bad, "<?xml version=\"1.0\"?><plist><array><string>not a design</string></array></plist>");

    struct Case {
        const char* what;
        QString chosen; // empty: the panel is cancelled
        QStringList messages;
    };
    const QString askSave = QStringLiteral("Do you want to save changes before opening document?");
    const std::vector<Case> cases = {
        { "cancelled panel", QString(), { askSave } },
        { "refused file", bad, { askSave, corrupt(bad, QStringLiteral("the signature is wrong")) } },
        { "missing file", folder + QStringLiteral("/missing.dcard"),
            { askSave, missingMessage(folder + QStringLiteral("/missing.dcard")) } },
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        ui.messageAnswers.push_back(0); // no, do not save first
        if (!c.chosen.isEmpty())
            ui.fileAnswers.push_back(c.chosen);
        clickOpen(*window);
        EXPECT_EQ(messageTexts(ui), c.messages) << c.what;
        EXPECT_TRUE(DesignState::of(*window) == before) << c.what;
        EXPECT_TRUE(ui.dialogsRun.empty()) << c.what << ": the start screen came up";
        EXPECT_FALSE(Not_Draw_Only_Prop_Change) << c.what;
        EXPECT_EQ(window->Get_Front_Control_Count(), 6) << c.what;
    }

    // A file that reads replaces the design.
    const QString other = folder + QStringLiteral("/other.dcard");
    DesignFileContent small;
    small.front.setCard_Size(QSizeF(200, 100));
    auto item = TSLGraphic::newGraphicOfClass(QStringLiteral("Shape_Control"));
    item->setBounds(QRectF(5, 5, 20, 20));
    small.frontItems.push_back(item);
    ASSERT_TRUE(writeDesignFile(other, encodeDesignFile(small)));
    ui.messageAnswers.push_back(0);
    ui.fileAnswers.push_back(other);
    clickOpen(*window);
    EXPECT_EQ(window->Get_Front_Control_Count(), 1);
    EXPECT_EQ(window->Get_Back_Control_Count(), 0);
    EXPECT_EQ(Project_File_Name, other);
}

// Two copies of the program on one design: Ctrl+S asks before writing over what the other copy saved, and
// each answer keeps what it says; a file only touched, or saved with the same bytes, is no change.
TEST_F(DesignFileWindowTest, CtrlSAsksBeforeWritingOverWhatAnotherCopySaved)
{
    putRichDesign();
    const QString path = folder + QStringLiteral("/party.dcard");
    const QString other = folder + QStringLiteral("/party-mine.dcard");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    const QByteArray ours = readFile(path);
    window->show();
    const auto pressCtrlS = [this] {
        ui.messages.clear();
        window->activateWindow(); // back from any window of the save before
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->_graphicView->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(window->_graphicView, Qt::Key_S, Qt::ControlModifier);
        QCoreApplication::processEvents();
    };
    writeFile(path, ours); // the other copy saved the same design: a new time, the same bytes
    pressCtrlS();
    EXPECT_TRUE(messageTexts(ui).isEmpty()) << "no question";
    EXPECT_EQ(window->statusBar()->currentMessage(), saved);

    const QByteArray theirs = encodeDesignFile(designsamples::richDesign());
    ASSERT_NE(theirs, ours);
    // Cancel, Overwrite, Save As..., and Overwrite while the other copy saves again: asked again, and cancelled.
    const std::tuple<int, QByteArray, QString, bool> cases[] = { { 0, theirs, path, false }, { 1, ours, path, false },
        { 2, theirs, other, false }, { 1, theirs, path, true } };
    for (const auto& [answer, left, project, again] : cases) {
        SCOPED_TRACE(answer);
        writeFile(path, again ? ours : theirs);
        ui.messageAnswers.push_back(answer);
        if (again)
            ui.whileAsked = [&path, &theirs] { writeFile(path, theirs); };
        ui.fileAnswers.push_back(other);
        pressCtrlS();
        ASSERT_EQ(ui.messages.size(), again ? 2u : 1u);
        EXPECT_TRUE(ui.messages[0].text.contains(QLatin1String("\"party.dcard\" was changed by another program")));
        EXPECT_EQ(ui.messages[0].buttons,
            QStringList({ QStringLiteral("Cancel"), QStringLiteral("Overwrite"), QStringLiteral("Save As...") }));
        EXPECT_EQ(readFile(path), left);
        EXPECT_EQ(Project_File_Name, project);
        EXPECT_EQ(readFile(other).isEmpty(), answer != 2);
        ui.fileAnswers.clear();
        QFile::remove(other);
        ASSERT_TRUE(project == path || window->Read_and_load_design_Log(path, QStringLiteral("L")) == 1);
    }

    // Another copy saving the file at that moment: the window goes on and says so until that copy is done
    // (its lock, left behind, is then taken over and removed) or Cancel, then saves; nothing is lost.
    const QString saveLock = folder + QStringLiteral("/.party.dcard.tessaline-save.lock");
    ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
    for (const bool cancel : { false, true }) {
        testsupport::LockingProcess otherCopy({ saveLock }, platform::OwnLock::lockMark());
        window->markChangedOutsideUndo();
        QString shown;
        QPointer<QProgressDialog> waiting; // while the wait lasts
        QTimer watch; // the window's own events go on while the save waits
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (waiting && cancel)
                otherCopy.kill(); // still waiting after Cancel: the other copy is done, and the save would go on
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QProgressDialog*>(top); box && box->isVisible() && shown.isEmpty()) {
                    waiting = box;
                    const QLabel* words = box->findChild<QLabel*>(); // the file's name in its characters
                    shown = words && words->textFormat() == Qt::PlainText ? box->labelText() : QStringLiteral("markup");
                    cancel ? box->findChild<QPushButton*>()->click() : otherCopy.kill();
                }
        });
        watch.start(5);
        pressCtrlS();
        EXPECT_EQ(shown,
            QStringLiteral("Waiting for another copy of %1 to finish saving \"party.dcard\"...").arg(window->App_Name));
        EXPECT_EQ(window->isWindowModified(), cancel) << cancel;
        EXPECT_EQ(QFileInfo::exists(saveLock), cancel);
        EXPECT_TRUE(messageTexts(ui).isEmpty()) << "Cancel ends the wait at once, not when it runs out";
    }
}

// Opening a design another running copy has open says so; the lock a copy that ended left is taken over
// without a word, and closing the design gives the lock up.
TEST_F(DesignFileWindowTest, OpeningADesignAnotherCopyHasOpenSaysSo)
{
    putRichDesign();
    const QString path = folder + QStringLiteral("/shared.dcard");
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    const QString lock = folder + QStringLiteral("/.shared.dcard.tessaline.lock");
    EXPECT_TRUE(QFileInfo(lock).isFile()) << "the saved design is held by this copy";
    window->New_Project_Setting_Reset();

    const QString alsoOpen
        = QStringLiteral("The design \"shared.dcard\" is already open in another copy of %1.").arg(window->App_Name);
    for (const bool otherCopyRuns : { true, false }) {
        SCOPED_TRACE(otherCopyRuns);
        testsupport::LockingProcess otherCopy({ lock }, platform::OwnLock::lockMark());
        ASSERT_TRUE(otherCopy.started());
        if (!otherCopyRuns)
            otherCopy.kill();
        ui.messages.clear();
        ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
        // After the notice that the design's workbook cannot be found, as a start-up with it tells.
        EXPECT_EQ(messageTexts(ui).mid(1), otherCopyRuns ? QStringList { alsoOpen } : QStringList());
        window->New_Project_Setting_Reset();
        EXPECT_EQ(QFileInfo::exists(lock), otherCopyRuns);
        QFile::remove(lock);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Two copies of the program save one large design at the same moment, round after round: one writes, the
// other is asked Overwrite / Save As... / Cancel (and cancels); never do both write without a question.
// The second copy is this test program again, running the test below it.

namespace {

const char* const raceDesign = "TESSALINE_TEST_SAVE_RACE_DESIGN";

// Marks the copy's own version in the design and saves it with Ctrl+S's save, answering Cancel if asked.
QString saveRound(TSLWindowController& window, testsupport::ScriptedResponder& ui, double mark)
{
    ui.messages.clear();
    ui.messageAnswers = { 0 };
    window.Get_Front_Controls_Array().front()->setBounds(QRectF(mark, mark, 50, 20));
    window.markChangedOutsideUndo();
    const TSLWindowController::SaveResult result = window.Save_project_file(false, false);
    const bool asked = !ui.messages.empty() && ui.messages.back().kind == platform::MessageRequest::Kind::Choice;
    if (result == TSLWindowController::SaveResult::Saved)
        return asked ? QStringLiteral("overwrote") : QStringLiteral("saved");
    return asked ? QStringLiteral("asked") : QStringLiteral("failed");
}

} // namespace

TEST_F(DesignFileWindowTest, SecondCopyInTheSaveRace)
{
    const QString path = qEnvironmentVariable(raceDesign);
    if (path.isEmpty())
        GTEST_SKIP() << "the second copy of TwoCopiesSavingOneLargeDesignAtOnceNeverLoseASaveUnasked";
    startUpEmpty();
    QTextStream in(stdin);
    QTextStream out(stdout);
    for (int round = 0;; ++round) {
        ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
        out << "race: ready" << Qt::endl;
        if (in.readLine() != QLatin1String("go"))
            break;
        out << "race: " << saveRound(*window, ui, 2000 + round) << Qt::endl;
    }
}

TEST_F(DesignFileWindowTest, TwoCopiesSavingOneLargeDesignAtOnceNeverLoseASaveUnasked)
{
    startUpEmpty();
    const QString path = folder + QStringLiteral("/large.dcard");
    const QString line = QStringLiteral("A guest list line that makes the design as large as a real one. ").repeated(4);
    for (int i = 0; i < 3000; ++i) {
        const TSLGraphicPtr text = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
        static_cast<TSLText&>(*text).setScriptingContents(QString::number(i) + line);
        text->setBounds(QRectF(10, 10, 200, 40));
        addItem(text, TSLDocumentGraphicsKey);
    }
    window->markChangedOutsideUndo();
    ui.fileAnswers.push_back(path);
    ASSERT_EQ(window->Save_project_file(true, false), TSLWindowController::SaveResult::Saved);
    ASSERT_GT(QFileInfo(path).size(), 1000000);

    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(raceDesign), path);
    copy.setProcessEnvironment(environment);
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--gtest_filter=DesignFileWindowTest.SecondCopyInTheSaveRace") });
    ASSERT_TRUE(copy.waitForStarted());
    const auto copySays = [&copy]() -> QString {
        for (;;) {
            while (copy.canReadLine()) {
                const QString said = QString::fromUtf8(copy.readLine()).trimmed();
                if (said.startsWith(QLatin1String("race: ")))
                    return said.mid(6);
            }
            if (!copy.waitForReadyRead(120000))
                return QStringLiteral("silent");
        }
    };
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(window->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
        ASSERT_EQ(copySays(), QStringLiteral("ready"));
        copy.write("go\n");
        ASSERT_TRUE(copy.waitForBytesWritten()); // both copies save from here on
        const QString mine = saveRound(*window, ui, 1000 + round);
        const QString theirs = copySays();
        QStringList both { mine, theirs }; // one copy wrote unasked, the other was asked, whoever came first
        both.sort();
        EXPECT_EQ(both, QStringList({ QStringLiteral("asked"), QStringLiteral("saved") }));
        const std::optional<DesignFileContent> file = decodeDesignFile(readFile(path));
        ASSERT_TRUE(file && !file->frontItems.empty());
        EXPECT_EQ(file->frontItems.front()->bounds().x(), mine == QLatin1String("saved") ? 1000 + round : 2000 + round)
            << "the file holds the version of the copy that saved";
    }
    copy.write("end\n");
    EXPECT_TRUE(copy.waitForFinished(120000));
    EXPECT_EQ(copy.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.large.dcard.tessaline-save.lock")))
        << "removed by its holder";
}
