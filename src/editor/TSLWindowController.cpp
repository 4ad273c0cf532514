#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "canvas/TSLGrid.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "common/Screen_Fit.h"
#include "common/Window_Look.h"
#include "editor/Editor_Globals.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/TSLDocument.h"
#include "platform/DataFolder.h"
#include "platform/PrivateFolder.h"
#include "platform/UndoManager.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QSpinBox>

namespace {

TSLWindowController* theInstance = nullptr;

QStringList pvcCardNames()
{
    return { QStringLiteral("CR80-Credit Card Size"), QStringLiteral("CR79"), QStringLiteral("CR90-Over Sized"),
        QStringLiteral("CR100-Military Size"), QStringLiteral("CR50"), QStringLiteral("CR60"), QStringLiteral("CR70") };
}

QStringList labelStockNames()
{
    QStringList names;
    for (int number = 1452; number <= 1459; ++number)
        names << QStringLiteral("Durable %1 - Name Badge").arg(number);
    return names;
}

const QString dataFolderFailure = QStringLiteral("The data folder cannot be accessed, so Tessaline Card cannot start.");

} // namespace

TSLWindowController::TSLWindowController(QWidget* parent)
    : QMainWindow(parent)
    , pvc_card_arry(pvcCardNames())
    , paper_card_arry(labelStockNames())
    , forms_(std::make_unique<Forms>())
{
    buildInterface();
    _grid = new TSLGrid(this);
    connectEditorCommands();
    connectSeriesCommands();
    connectSpreadsheetCommands();
    connectLibraryButtons(); // needs the data-source page's controls
    buildMainMenu();
    connectRulers();
    _zoomFactor = 1.0;
    Selected_Control_Tool_ = 0;

    // A second controller never replaces the first: every window keeps reaching the one it knows.
    if (!theInstance)
        theInstance = this;
    Main_App_wnd = defaultInstance();
    if (theInstance == this) {
        setEditorServices(this);
        Series_Host::setInstance(this);
    }

    Text_font = fontForPostScriptName(Text_Ctrl_Font, 14.0);
    All_Text_font = Text_font;
    All_Text_font_COPY.reset();

    act_path_location = platform::installedResourceDir();
    loadSamplePictures();
    App_Name = Replace_char_in_string(QApplication::applicationName(), QStringLiteral("&"), QStringLiteral("and"));
    if (App_Name.isEmpty())
        App_Name = QStringLiteral("Tessaline Card");

    Front_card_Prop = Card_Property();
    Back_card_Prop = Card_Property();
    // The card-holder records carry their control IDs only once reset: without them a fill would place
    // items nothing can find again.
    for (User_Profile_Class* profile : { &Front_user_profile, &Back_user_profile, &TEMP_user_profile })
        profile->Reset_All_Values();
}

TSLWindowController::~TSLWindowController()
{
    // The canvases and the grid go after this body, with the window half gone: nothing of theirs may call
    // back into it (the menus follow their selection).
    for (QObject* part : { static_cast<QObject*>(_graphicView), static_cast<QObject*>(_graphicView_BACK),
             static_cast<QObject*>(_graphicView_TEMP), static_cast<QObject*>(_grid) }) {
        if (part)
            disconnect(part, nullptr, this, nullptr);
    }
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    if (document_) {
        for (const QString& key : sideKeys())
            disconnect(&document_->undoManagerForKey(key), nullptr, this, nullptr);
    }
    validatedMenuActions_.clear();
    snapToGridAction_ = nullptr;
    unbindCanvases();
    if (theInstance == this) {
        if (editorServices() == this)
            setEditorServices(nullptr);
        if (Series_Host::instance() == this)
            Series_Host::setInstance(nullptr);
        theInstance = nullptr;
        Main_App_wnd = nullptr;
    }
}

TSLWindowController* TSLWindowController::defaultInstance()
{
    return theInstance;
}

void TSLWindowController::awakeFromNib()
{
    if (awoken_)
        return;
    awoken_ = true;

    // Normal window decorations: the close button asks to quit as Exit does (closeEvent).
    applyWindowLook(*this);
    resize(1000, 800);
    move(100, 0); // the frame's corner, title bar included
    keepWindowOnScreen(*this, QSize(1000, 800));
    show();
    raise();
    activateWindow();

    // Data folders: main has filled the folder; a folder that went away since cannot be worked in.
    if (Resource_Path.isEmpty() && !Prepare_Resource_Folder())
        Resource_Path.clear();
    if (Resource_Path.isEmpty() || !platform::makePrivateFolder(Resource_Path)) {
        Show_MessageBox(dataFolderFailure);
        endProcess(1);
        return;
    }
    Data_Folder_Path = QDir(Resource_Path).filePath(QStringLiteral("DataSet"));
    watchSeriesFolder();
    Get_Email_Details();
    Load_and_fill_backgrounds();
    watchBackgroundFolder();

    shape_border_style->setCurrentIndex(0);
    ListData.clear();
    Show_Hide_Ruler_ChkBox();

    // The inspector starts with its three card pages; the item pages come and go with the selection.
    Remove_All_Tab_Items();
    for (QWidget* page : { card_setting_tab, card_bkgd_tab, card_brdr_tab })
        sett_tab->addTab(page, page->windowTitle());

    Not_Draw_Only_Prop_Change = true;
    Card_image_layout->setCurrentIndex(1);
    Sides_ComboBox->setCurrentIndex(0);
    Preset_ComboBox->setCurrentIndex(0);
    Category_ComboBox->setCurrentIndex(0);
    comboBoxSelectionDidChange(Sides_ComboBox);
    Category_Changed();

    Text_Date_style->clear();
    Text_Date_style->addItems({ QStringLiteral("M-d-yyyy"), QStringLiteral("M-d-yy"), QStringLiteral("MM-dd-yy"),
        QStringLiteral("MM-dd-yyyy"), QStringLiteral("yy-MM-dd"), QStringLiteral("yyyy-MM-dd"),
        QStringLiteral("dd-MMM-yy"), QStringLiteral("dd-MM-yyyy"), QStringLiteral("d-M-yy") });
    Text_Date_style->setCurrentIndex(0);
    Text_Time_style->clear();
    Text_Time_style->addItems({ QStringLiteral("h:mm:ss a"), QStringLiteral("hh:mm:ss a"), QStringLiteral("H:mm:ss"),
        QStringLiteral("HH:mm:ss") });
    Text_Time_style->setCurrentIndex(0);
    Text_align_combo->setCurrentIndex(0);
    Text_case_combo->setCurrentIndex(0);

    shape_hatch_style->clear();
    shape_hatch_style->setCurrentText(QString());
    Card_hatch_style->clear();
    const QStringList patterns
        = Get_Files_Array_At_Path(QDir(Resource_Path).filePath(QStringLiteral("Fill_Style_Image")));
    shape_hatch_style->addItems(patterns);
    Card_hatch_style->addItems(patterns);
    if (!patterns.isEmpty()) {
        shape_hatch_style->setCurrentIndex(0);
        Card_hatch_style->setCurrentIndex(0);
    } else {
        shape_hatch_style->setCurrentIndex(-1);
        Card_hatch_style->setCurrentIndex(-1);
    }

    Card_bor_Stepper->setValue(3);
    Card_border_style->setCurrentIndex(0);
    card_prop_set(QStringLiteral("S"));
    Not_Draw_Only_Prop_Change = false;

    // The card starts exactly as large as its size fields say (a plastic card), so that what prints and
    // exports is what the card page shows, and applying the fields untouched changes nothing.
    SetDocumentCanvasSize(QSizeF(
        MM_to_Points_Convert(float(width_Stepper->value())), MM_to_Points_Convert(float(height_Stepper->value()))));
    bindCanvases();
    selectArrowTool();

    if (startUpDesign_.isEmpty())
        New_Project();
    else
        Open_Start_Up_Design();
    if (ended_)
        return;
    changeViewController(0);
}

void TSLWindowController::setDocument(TSLDocument* document)
{
    if (!document)
        unbindCanvases();
    if (document_) {
        disconnect(document_, &TSLDocument::canvasSizeChanged, this, nullptr);
        disconnect(document_, &TSLDocument::graphicsChanged, this, nullptr);
        for (const QString& key : sideKeys())
            disconnect(&document_->undoManagerForKey(key), &platform::UndoManager::stateChanged, this, nullptr);
    }
    document_ = document;
    if (document_) {
        connect(document_, &TSLDocument::canvasSizeChanged, this, &TSLWindowController::observeValueForKeyPath);
        connect(document_, &TSLDocument::graphicsChanged, this, &TSLWindowController::noteScratchAddition);
        // The undo and redo buttons follow each side's undo, also when its group closes after the event.
        for (const QString& key : sideKeys())
            connect(&document_->undoManagerForKey(key), &platform::UndoManager::stateChanged, this,
                &TSLWindowController::Undo_Redo_Button_state);
        // A step recorded, undone or redone on a printable side is a change the title marks until saved.
        for (const QString& key : { TSLDocumentGraphicsKey, TSLDocumentGraphicsKey_back })
            connect(&document_->undoManagerForKey(key), &platform::UndoManager::stateChanged, this,
                &TSLWindowController::refreshModified);
        // The canvases show the lists of whichever document the window has.
        bindCanvases();
    }
}

TSLDocument* TSLWindowController::document() const
{
    return document_;
}

void TSLWindowController::observeValueForKeyPath()
{
    if (document_)
        SetDocumentCanvasSize(TSLDocument::canvasSize(true, QSizeF()));
}

void TSLWindowController::bindCanvases()
{
    if (!document_)
        return;
    const struct {
        TSLGraphicView* canvas;
        const QString& key;
    } sides[] = { { _graphicView, TSLDocumentGraphicsKey }, { _graphicView_BACK, TSLDocumentGraphicsKey_back },
        { _graphicView_TEMP, TSLDocumentGraphicsKey_temp } };
    for (const auto& side : sides) {
        if (side.canvas->document() != document_ || side.canvas->graphicsKey() != side.key)
            side.canvas->bindGraphics(document_, side.key);
        side.canvas->setGrid(_grid);
    }
    setZoomFactor(_zoomFactor);
}

void TSLWindowController::unbindCanvases()
{
    for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK, _graphicView_TEMP }) {
        if (canvas) {
            canvas->unbindGraphics();
            canvas->setGrid(nullptr);
        }
    }
}

void TSLWindowController::newDocumentWindow()
{
    Open_Start_Window();
}

void TSLWindowController::Exit_Btn_Clicked()
{
    Exit_App();
}

void TSLWindowController::Exit_App()
{
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before closing?"), false))
        return;
    Run_Review_Window();
    endProcess(0);
}

void TSLWindowController::endProcess(int status)
{
    ended_ = true;
    endStatus_ = status;
    hide();
    QCoreApplication::exit(status);
}

void TSLWindowController::closeEvent(QCloseEvent* event)
{
    // The window manager may still offer to close the window: that is a request to quit like Exit.
    event->ignore();
    if (!ended_)
        Exit_App();
}

QRectF TSLWindowController::frontCanvasBounds() const
{
    return _graphicView ? _graphicView->bounds() : QRectF();
}

Card_Property TSLWindowController::cardSideProperty(int frontOrBack) const
{
    return frontOrBack == 2 ? Temp_card_Prop : frontOrBack == 0 ? Front_card_Prop : Back_card_Prop;
}

QImage TSLWindowController::samplePicture(SamplePicture which) const
{
    const QImage* picture = nullptr;
    switch (which) {
    case SamplePicture::no_image:
        picture = &no_image;
        break;
    case SamplePicture::barcode_sample_img:
        picture = &barcode_sample_img;
        break;
    case SamplePicture::sign_sample_img:
        picture = &sign_sample_img;
        break;
    case SamplePicture::fp_sample_img:
        picture = &fp_sample_img;
        break;
    }
    if (picture && !picture->isNull())
        return *picture;
    return CardEditorServices::samplePicture(which);
}
