// The design file: saving, opening, the window title, and the New, Open, Save and Save As actions.
// A file is checked whole before anything of it reaches the open design, and a save replaces the old
// file only once the new one is complete.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Design_File_Format.h"
#include "editor/Editor_Globals.h"
#include "editor/Save_Lock_Wait.h"
#include "model/PictureSource.h"
#include "model/TSLDocument.h"
#include "model/TSLImage.h"
#include "platform/RegularFile.h"
#include "platform/SaveLock.h"
#include "platform/UiSeam.h"
#include "platform/UndoManager.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include <exception>

namespace {

// Another copy's save of even a very large design takes well under this.
constexpr std::chrono::seconds saveLockWait(30);

// Far beyond any design the program writes (a thousand items take well under a megabyte).
constexpr qint64 maximumDesignFileBytes = qint64(512) * 1024 * 1024;

// Names the file and the first thing found wrong in it, so the person knows which file to look at and why.
QString corruptFileMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("The design file \"%1\" is corrupt and cannot be opened: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString designFilter()
{
    return QStringLiteral("Design files (*.%1)").arg(design_file_EXT);
}

QString panelFolder()
{
    const QString current = Trim_Str(Project_File_Name);
    return current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
}

std::vector<int> firstIndexes(std::size_t count)
{
    std::vector<int> indexes(count);
    for (std::size_t i = 0; i < count; ++i)
        indexes[i] = int(i);
    return indexes;
}

// The pictures of the opened design's picture items and card backgrounds whose files are there but refused
// (too large to decode, not a regular file), each once, by its file's name: told when the design opens, since
// they show nothing. Only headers are read: the pictures are decoded when a side shows them.
QString refusedPicturesNotice(const DesignFileContent& content)
{
    QStringList paths; // of pictures whose files are there
    for (const TSLGraphicList* side : { &content.frontItems, &content.backItems })
        for (const TSLGraphicPtr& item : *side) {
            const auto* picture = dynamic_cast<const TSLImage*>(item.get());
            if (picture && !picture->pictureSource().isNull()) // else the canvas marks the item with the missing name
                paths << picture->_file_path;
        }
    for (const Card_Property* side : { &content.front, &content.back })
        if (side->Card_fill_chk() && side->Card_fill_style() == QLatin1String("I")
            && QFileInfo::exists(side->Card_BG_Image_Path()))
            paths << side->Card_BG_Image_Path();
    paths.removeDuplicates(); // many items may show one file
    QStringList names;
    for (const QString& path : paths) {
        const PictureSource::Check check = PictureSource::checkHeader(path);
        if (!check.usable() && !names.contains(Path_In_Notice(QFileInfo(path).fileName()))) {
            Show_NSLog_Message(check.refusal);
            names << Path_In_Notice(QFileInfo(path).fileName());
        }
    }
    if (names.isEmpty())
        return {};
    const QString listed = QLatin1Char('"') + names.join(QStringLiteral("\", \"")) + QLatin1Char('"');
    return names.size() == 1
        ? QStringLiteral("The picture %1 of this design cannot be used: it shows nothing until another is chosen.")
              .arg(listed)
        : QStringLiteral("%1 pictures of this design cannot be used: %2. They show nothing until others are chosen.")
              .arg(names.size())
              .arg(listed);
}

} // namespace

TSLWindowController::SaveResult TSLWindowController::Save_project_file(bool save_as, bool show_msg, QString* failure)
{
    const QString oldPath = Project_File_Name;
    if (save_as)
        Project_File_Name.clear();
    Project_File_Name = Trim_Str(Project_File_Name);
    // The open design's file is the one this save writes or the one chosen here; a template written
    // through this save is not.
    const bool chosenHere = Project_File_Name.isEmpty();
    if (chosenHere) {
        platform::FileRequest request;
        request.kind = platform::FileRequest::Kind::Save;
        request.caption = QStringLiteral("Save Design");
        request.directory
            = oldPath.isEmpty() ? QDir(QDir::homePath()).filePath(QStringLiteral("Untitled.dcard")) : oldPath;
        request.filter = designFilter();
        QString chosen = platform::ui().chooseFile(request);
        if (chosen.isEmpty()) {
            Project_File_Name = oldPath;
            return SaveResult::Cancelled;
        }
        if (QFileInfo(chosen).suffix().compare(design_file_EXT, Qt::CaseInsensitive) != 0)
            chosen += QLatin1Char('.') + design_file_EXT;
        raise();
        activateWindow();
        Project_File_Name = chosen;
    }

    // A record keeps its background path only while the picture fill is chosen, in memory as in the file.
    clearUnusedBackgroundPath(Front_card_Prop);
    clearUnusedBackgroundPath(Back_card_Prop);
    // The check for changes made elsewhere and the replacing of the file happen under one lock that every
    // copy takes to save: of two saves at the same moment, the second sees the first's file and asks.
    std::optional<platform::SaveLock> saving;
    for (;;) {
        bool cancelled = false;
        saving = waitForSaveLock(this, Project_File_Name, App_Name, saveLockWait, &cancelled);
        if (cancelled) {
            Project_File_Name = oldPath;
            return SaveResult::Cancelled;
        }
        if (!saving)
            return failedSave(
                oldPath, QStringLiteral("another copy of %1 is still saving it").arg(App_Name), show_msg, failure);
        if (!designClaim_.changedOnDisk(Project_File_Name))
            break;
        // What Overwrite allows is the file as the question shows it, not what another copy saves meanwhile.
        const std::optional<Design_File_Claim::Seen> seen = designClaim_.seenOnDisk(Project_File_Name);
        saving.reset(); // no copy waits behind a question
        if (std::optional<SaveResult> answer = askBeforeWritingOverChanges(show_msg, failure)) {
            if (*answer != SaveResult::Saved)
                Project_File_Name = oldPath;
            return *answer;
        }
        if (seen)
            designClaim_.acceptOnDisk(Project_File_Name, *seen);
    }

    DesignFileContent content;
    content.front = Front_card_Prop;
    content.back = Back_card_Prop;
    content.excelBindingUse = Excel_Binding_Use;
    content.excelSourcePath = Excel_Source_Path;
    content.columnTitles = bindingTable.storedTitles();
    content.rows = bindingTable.ListData();
    content.workbookSheet = Excel_Binding_Use ? workbookSheet_ : QString();
    content.frontItems = Get_Front_Controls_Array();
    content.backItems = Get_Back_Controls_Array();
    if (document_)
        content.designs = document_->cardDesigns();
    // A template written from the design is a starting point of other designs, never this one.
    if (document_ && !savingElsewhere_)
        content.designIdentity = document_->designIdentity();

    QString error;
    const QByteArray bytes = encodeDesignFile(content);
    if (!writeDesignFile(Project_File_Name, bytes, &error))
        return failedSave(oldPath, error, show_msg, failure);
    if (chosenHere || designClaim_.isOf(Project_File_Name)) {
        designClaim_.remember(Project_File_Name, bytes);
        designClaim_.claim(Project_File_Name);
    }
    if (!savingElsewhere_)
        markDesignSaved();
    if (show_msg) {
        // A notice, not a question: a box here would take the Return meant for whatever comes next.
        statusBar()->showMessage(QStringLiteral("Greeting Card Design Log has been saved successfully."), 5000);
        Set_Log_Name_In_Title();
    }
    return SaveResult::Saved;
}

TSLWindowController::SaveResult TSLWindowController::failedSave(
    const QString& oldPath, const QString& error, bool show_msg, QString* failure)
{
    const QString attempted = Project_File_Name;
    Show_NSLog_Message(QStringLiteral("%1: %2").arg(attempted, error));
    // The design still belongs to the file that holds it, not to the one that could not be written.
    Project_File_Name = oldPath;
    if (failure)
        *failure = error;
    if (show_msg)
        Show_MessageBox(QStringLiteral("The design could not be saved to \"%1\": %2").arg(attempted, error));
    return SaveResult::Failed;
}

int TSLWindowController::Read_and_load_design_Log(const QString& path, const QString& log_or_template)
{
    QString reason;
    std::optional<DesignFileContent> content;
    QFile file;
    QByteArray bytes;
    const bool opened = platform::openRegularFile(file, path, maximumDesignFileBytes, &reason);
    if (opened)
        content = decodeDesignFile(bytes = file.readAll(), &reason);
    // A file written before designs kept their identity is known by its contents until its first save keeps one:
    // opened again unchanged, it is the same design.
    if (content && content->designIdentity.isEmpty())
        content->designIdentity
            = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32));
    if (!content) {
        Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, reason));
        // A file that is not there is not a damaged one: the person is told which file is missing; a path that
        // is no design file at all (a FIFO, a device, a huge file) is named as such.
        Show_MessageBox(!QFileInfo::exists(path)
                ? QStringLiteral("The design file \"%1\" is missing: there is no file at this path.")
                      .arg(QDir::toNativeSeparators(path))
                : opened ? corruptFileMessage(path, reason)
                         : reason);
        return 0;
    }
    try {
        applyDesignContent(*content, path, log_or_template);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Not_Draw_Only_Prop_Change = false;
        return 0;
    }
    if (const QString refused = refusedPicturesNotice(*content); !refused.isEmpty())
        Show_MessageBox(refused);
    if (log_or_template == QLatin1String("L")) {
        designClaim_.remember(path, bytes);
        if (!designClaim_.claim(path))
            Show_MessageBox(QStringLiteral("The design \"%1\" is already open in another copy of %2.")
                                .arg(QFileInfo(path).fileName(), App_Name));
    }
    return 1;
}

std::optional<TSLWindowController::SaveResult> TSLWindowController::askBeforeWritingOverChanges(
    bool show_msg, QString* failure)
{
    platform::MessageRequest question { platform::MessageRequest::Kind::Choice,
        QStringLiteral("The design \"%1\" was changed by another program since you opened or last saved it. "
                       "Saving now would write over those changes.")
            .arg(QFileInfo(Project_File_Name).fileName()),
        { QStringLiteral("Cancel"), QStringLiteral("Overwrite"), QStringLiteral("Save As...") } };
    switch (platform::ui().showMessage(question)) {
    case 1:
        return std::nullopt;
    case 2:
        return Save_project_file(true, show_msg, failure);
    default:
        return SaveResult::Cancelled;
    }
}

void TSLWindowController::applyDesignContent(const DesignFileContent& content, const QString& path, const QString& flag)
{
    New_Project_Setting_Reset();
    Remove_All_Tab_Items();
    _graphicView->delete_all_control();
    _graphicView_BACK->delete_all_control();
    Project_File_Name = flag == QLatin1String("L") ? path : QString();
    // A design opened is the one its file holds; one made from a template is a new design (the reset made it one).
    if (document_ && flag == QLatin1String("L") && !content.designIdentity.isEmpty())
        document_->setDesignIdentity(content.designIdentity);
    Not_Draw_Only_Prop_Change = true;

    Front_card_Prop = content.front;
    const QSizeF size = Front_card_Prop.Card_Size();
    Set_Document_Size(size);
    SetDocumentCanvasSize(size);
    Set_Card_Size_In_Control(
        QSizeF(Points_to_MM_Convert(float(size.width())), Points_to_MM_Convert(float(size.height()))));
    Back_card_Prop = content.back;
    // The card is drawn from the outline code: a rounded or oval card reopens with its outline.
    setCardShapeFromRecord(Front_card_Prop);

    Excel_Binding_Use = content.excelBindingUse;
    if (Excel_Binding_Use)
        Add_Excel_Col_Name_In_Combo(Data_source_type);
    else
        Remove_Excel_Col_Name_In_Combo(Data_source_type);
    Excel_Source_Path = content.excelSourcePath;
    if (!content.columnTitles.isEmpty())
        bindingTable.setStoredTitles(content.columnTitles);
    bindingTable.setListData(content.rows);
    // A design saved before its sheet was kept has the sheet found again, by its rows or else its titles.
    workbookSheet_ = content.workbookSheet;
    workbookTitleRow_ = Workbook_Reread::titleRowOf(bindingTable);

    // The loaded items are the design's starting point, not steps the user could undo.
    if (document_)
        document_->Enable_Disable_Undo_Registraion(false);
    _graphicView->insertGraphics(content.frontItems, firstIndexes(content.frontItems.size()));
    _graphicView_BACK->insertGraphics(content.backItems, firstIndexes(content.backItems.size()));
    if (document_)
        document_->cardDesigns() = content.designs;
    if (flag == QLatin1String("L"))
        Set_Log_Name_In_Title();
    Not_Draw_Only_Prop_Change = false;
    Show_RHS_Properties(nullptr);

    if (Back_card_Prop.Card_fill_chk() && Back_card_Prop.Card_fill_style() == QLatin1String("I"))
        set_Back_BG_Image(Back_card_Prop.Card_BG_Image_Path());
    if (Front_card_Prop.Card_fill_chk() && Front_card_Prop.Card_fill_style() == QLatin1String("I"))
        set_Front_BG_Image(Front_card_Prop.Card_BG_Image_Path());
    selectArrowTool();
    Refresh_Canvas();
    if (document_)
        document_->Enable_Disable_Undo_Registraion(true);
    markDesignSaved();
    Undo_Redo_Button_state();
    // The workbook may have been edited while the design was closed: the cards come from it as it is now.
    Read_Workbook_Of_Opened_Design();
}

void TSLWindowController::setCardShapeFromRecord(const Card_Property& side)
{
    const QString shape = side.Card_Shape();
    Card_Shape = shape == QLatin1String("RR") ? 1 : shape == QLatin1String("E") ? 2 : 0;
    if (QAbstractButton* row = matrix_card_shape->button(Card_Shape))
        row->setChecked(true);
}

int TSLWindowController::Open_Log_File()
{
    try {
        platform::FileRequest request;
        request.kind = platform::FileRequest::Kind::Open;
        request.caption = QStringLiteral("Open Design");
        request.directory = panelFolder();
        request.filter = designFilter();
        const QString path = platform::ui().chooseFile(request);
        if (path.isEmpty())
            return 0;
        return Read_and_load_design_Log(path, QStringLiteral("L"));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void TSLWindowController::Set_Log_Name_In_Title()
{
    const QFileInfo file(Project_File_Name);
    if (!Project_File_Name.isEmpty() && file.exists())
        setWindowTitle(QStringLiteral("%1 (%2)[*]").arg(App_Name, file.fileName()));
    else
        setWindowTitle(App_Name + QStringLiteral("[*]"));
}

void TSLWindowController::markChangedOutsideUndo()
{
    changedOutsideUndo_ = true;
    refreshModified();
}

void TSLWindowController::markDesignSaved()
{
    changedOutsideUndo_ = false;
    if (document_)
        for (const QString& key : { TSLDocumentGraphicsKey, TSLDocumentGraphicsKey_back })
            document_->undoManagerForKey(key).markClean();
    refreshModified();
}

void TSLWindowController::refreshModified()
{
    bool modified = changedOutsideUndo_;
    if (document_)
        for (const QString& key : { TSLDocumentGraphicsKey, TSLDocumentGraphicsKey_back })
            modified = modified || !document_->undoManagerForKey(key).isClean();
    setWindowModified(modified);
}

bool TSLWindowController::Save_Changes_Before(const QString& question, bool show_msg)
{
    // Only a design that differs from its file (the title's "*") has anything to save.
    if (!isWindowModified())
        return true;
    switch (Show_Save_Question(question)) {
    case platform::SaveAnswerDontSave:
        return true;
    case platform::SaveAnswerSave:
        break;
    default:
        return false;
    }
    // A design the user asked to keep is not thrown away when keeping it did not work: a cancelled panel
    // goes back to it, a failed save says so.
    switch (Save_project_file(false, show_msg)) {
    case SaveResult::Saved:
        return true;
    case SaveResult::Cancelled:
        return false;
    case SaveResult::Failed:
        if (!show_msg)
            Show_MessageBox(QStringLiteral("The design could not be saved, so it stays open."));
        return false;
    }
    return false;
}

void TSLWindowController::New_Btn_Clicked()
{
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before opening new document?"), true))
        return;
    New_Project();
    Undo_Redo_Button_state();
}

void TSLWindowController::Open_Btn_Clicked()
{
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before opening document?"), true))
        return;
    // The design is replaced only once the chosen file has been read and checked: a cancelled panel or a
    // refused file leaves it as it was, so there is no reason to fall back to the start screen.
    Open_Log_File();
    Undo_Redo_Button_state();
    Not_Draw_Only_Prop_Change = false;
}

void TSLWindowController::Save_Btn_Clicked()
{
    Save_project_file(false, true);
}

void TSLWindowController::SaveAs_Btn_Clicked()
{
    Save_project_file(true, true);
}
