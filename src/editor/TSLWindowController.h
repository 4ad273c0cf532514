#pragma once

#include "common/Stepper_Field.h"
#include "data/Series_Host.h"
#include "data/Spreadsheet_Binding_Table.h"
#include "data/Workbook_Reread.h"
#include "editor/Design_File_Claim.h"
#include "output/Batch_Export.h"
#include "output/Record_Source.h"
#include "model/CardEditorServices.h"
#include "model/Card_Designs.h"
#include "model/Card_Property.h"
#include "model/TSLGraphic.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "profiles/Profile_Form_Host.h"
#include "profiles/User_Profile_Class.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QVariantMap>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFileSystemWatcher;
class QFontDialog;
class QLabel;
class QKeySequence;
class QLineEdit;
class QMenu;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QUrl;
class Browser_Picture_Model;
class Color_Well;
class TSLDocument;
class TSLGraphicView;
class TSLGrid;
class TSLZoomingScrollView;
struct DesignFileContent;
namespace platform {
class LiveText;
class UndoManager;
}
enum class TSLCanvasCommand;

namespace Ui {
class DrawWindow;
}

// The one main window of the program, the card editor, and the hub every other window reaches through
// Main_App_wnd: its three canvases (front, back and the scratch side "TEMP"), the two card-side records,
// the card sizes, the design file and the start-up flow. The operations are split over several files by
// family; everything that needs no user answer runs without the window being shown, so tests drive it
// directly.
class Send_Modeless;

class TSLWindowController : public QMainWindow,
                            public CardEditorServices,
                            public Invitation_Wizard_Host,
                            public Series_Host,
                            public Profile_Form_Host {
    Q_OBJECT
public:
    // What the design-file writer did: the caller decides whether to go on (quit, new, open).
    enum class SaveResult { Saved, Cancelled, Failed };

    // --- Life cycle (TSLWindowController.cpp) ---
    explicit TSLWindowController(QWidget* parent = nullptr); // loads the interface; the first one is the instance
    ~TSLWindowController() override;
    static TSLWindowController* defaultInstance();

    void awakeFromNib(); // start-up, once: folders, lists, bindings, then the start screen
    void setDocument(TSLDocument* document);
    TSLDocument* document() const;
    void observeValueForKeyPath(); // the document's canvas size changed
    void windowWillClose() { }
    void newDocumentWindow();
    void Exit_Btn_Clicked();
    void Exit_App(); // the only way out: save question, the review request, then the end of the process

    // --- Card-holder forms (TSLWindowController_Profiles.cpp) ---
    // Runs the one-side form for side "F" or "B", the no-side form for an empty side; 1 after OK, which
    // also marks that a profile was accepted in this run.
    int Open_User_Profile_Window(bool load, const QString& side);
    TSLGraphicList profileSideItems(bool back) const override;
    User_Profile_Class& profileRecord(int which) override;
    int spreadsheetRowCount() const override;
    QString firstValueOfColumn(int column) const override;
    QString excelSourcePath() const override;
    void setExcelSourcePath(const QString& path) override;
    void setExcelBindingUse(bool use) override;
    QImage renderProfileItems(const TSLGraphicList& items) const override;
    QImage previewProfile() override;
    bool canLoadSpreadsheet() const override { return true; }
    bool loadSpreadsheetForProfile(const QString& path) override;
    bool canViewSeries() const override { return true; }
    void viewSeries(const QString& name) override;
    void openSeriesManager() override;
    void viewBindingTable() override;

    // --- Template gallery and card size wizard (TSLWindowController_Templates.cpp) ---
    void Open_Template_Gallery(); // a built-in or own template becomes the open design, without a file name
    void Open_Card_Wizard(); // outline and stock size of the card
    void New_Card_From(); // the three ways to start: template, wizard or a saved design

    // --- Help and the maker's links (TSLWindowController_Help.cpp) ---
    void Help_Button(); // the help and support window
    void Run_Review_Window();
    void Open_Share_Window(); // the social-network share window
    // The promotion commands: show the maker's product of kind "S", "R" or "B".
    void Open_Promotion(const QString& software_type);
    void Open_Google_Plus();
    void Open_FaceBook();
    void Open_Twitter();
    void Open_FB_Like();
    void Open_Support_Mail();
    void Open_Reseller_Mail();
    void Open_Website_1();
    void Open_Website_2();
    void Open_Website_3();

    // The process ends through here: the event loop is left with the status (or, before it runs, main
    // finds hasEnded() and returns it).
    void endProcess(int status);
    bool hasEnded() const { return ended_; }
    int endStatus() const { return endStatus_; }

    // --- What the model and the canvases ask of the main window (CardEditorServices) ---
    QFont defaultTextFont() const override { return All_Text_font; }
    QColor defaultTextColor() const override { return All_Text_clr; }
    QPointF nextCascadePoint(const QString& side) override { return Control_New_Point(side); }
    QRectF frontCanvasBounds() const override;
    void refreshCanvas() override { Refresh_Canvas(); }
    QStringList seriesNames() const override { return Get_datasheet_File_Name_Array(); }
    QString firstValueOfSeries(const QString& name) const override { return Get_First_Value_Of_Dataset(name); }
    QStringList spreadsheetColumnTitles() const override { return bindingTable.listedTitles(); }
    void showSeriesValues(const QString& name) override;
    QString firstValueOfSpreadsheetColumn(int column) const override
    {
        return Get_First_Value_Of_Excel_Binding(column);
    }
    Card_Property cardSideProperty(int frontOrBack) const override;
    int Selected_Control_Tool() const override { return Selected_Control_Tool_; }
    QString currentGraphicClass() const override;
    void Show_RHS_Properties(const std::shared_ptr<TSLGraphic>& item) override;
    void Undo_Redo_Button_state() override;
    QImage samplePicture(SamplePicture which) const override;
    void makeBarcodeSymbol(TSLGraphic& item) const override;
    QImage bannerImage() const override { return banner_image; }

    // --- Tools and edit commands (TSLWindowController_Tools.cpp, _Edit_Commands.cpp) ---
    void setSelected_Control_Tool(int tool) { Selected_Control_Tool_ = tool; }
    void selectArrowTool();
    void showCurrentTool(); // the palette checks the current tool's button and no other
    // The sixteen tools, in tool-code order; each sets its code and runs Select_tool_action.
    void Arrow_Tool_Clicked();
    void Line_Tool_Clicked();
    void Text_Tool_Clicked();
    void Rect_Tool_Clicked();
    void Circle_Tool_Clicked();
    void Round_Rect_Tool_Clicked();
    void Triangle_Tool_Clicked();
    void Diamond_Tool_Clicked();
    void Image_Tool_Clicked();
    void Image_Library_Tool_Clicked();
    void Barcode_Tool_Clicked();
    void Signature_Tool_Clicked();
    void Fingure_Print_Tool_Clicked();
    void Star_Tool_Clicked();
    void Double_Star_Tool_Clicked();
    void Polygon_Tool_Clicked();
    void Select_tool_action();
    // The picture library for "C" an item picture or "B" a background; 1 with the path in lib_window_sel_file.
    int Open_Image_Library_Window(const QString& purpose);
    QString lib_window_sel_file;
    void Manual_Library_Browse_Btn(); // library picture for the selected picture item
    void Card_Bckgrnd_Clicked(); // library background for the current side, shown on the background page
    void Card_Image_Library_Btn(); // library background from the background page's picture box
    void selectedToolDidChange(QObject* sender); // creates the item of a creation tool on the current side
    static QSizeF naturalSizeOfNewText(double cardWidth); // the size a new text box needs for its text
    // A new picture's size on the card: its own proportions, no larger than its pixels nor than most of the card.
    static QSizeF sizeOfNewPicture(const QSize& pixels, const QSizeF& card);
    void Undo_Clicked();
    void Redo_Clicked();
    void Cut_Clicked();
    void Copy_Clicked();
    void Paste_Clicked();
    void Delete_Clicked();
    void Begin_Front_Clicked();
    void Send_Back_Clicked();
    void Lock_Clicked();
    void Unlock_Clicked();

    // --- Inspector and redrawing (TSLWindowController_Inspector.cpp) ---
    void Remove_All_Tab_Items();
    void card_prop_set(const QString& fillStyle); // the card page's fill radios for a fill code
    // The parts of the card page that a control writes on its own; All is the whole page.
    enum class CardField {
        All,
        Border,
        BorderColour,
        BorderWidth,
        BorderStyle,
        Opacity,
        Fill,
        FillKind,
        FillColour,
        Gradient1,
        Gradient2,
        GradientAngle,
        PatternColour,
        PatternStyle,
        PictureLayout,
        Content,
        Sides,
        Shape,
        Name,
        Size
    };
    void Update_Card_Graphics() { Update_Card_Graphics(CardField::All); } // the whole page, as a new card takes it
    // One part of the card page into the current side's record; a change of the front's look is undoable.
    void Update_Card_Graphics(CardField changed);
    static QString cardFieldStepName(CardField field); // the undo name of a change of the field
    void set_Front_BG_Image(const QString& path);
    void set_Back_BG_Image(const QString& path);
    void set_Side_BG_Image(int side, const QString& path); // side as shownSide() numbers them
    void Refresh_Canvas();
    void refreshShownItemPages(); // the shown item's values into its pages again (after undo or redo)
    void followScriptedChange(); // a script changed the design: the inspector and commands show it as it is
    void changeViewController(int index); // 0 front, 1 back, 2 scratch side
    void setZoomFactor(double factor); // the zoom of all three canvases
    static QString fontValueText(const QFont& font); // "name ( size )" as the card page shows a font
    static QFont fontForPanel(const QFont& font); // the font as the font panel can show it: the family drawn
    // The item whose pages the inspector shows; none while the card is shown or once the item is gone.
    TSLGraphicPtr Last_Selected_Graphic() const { return Last_Selected_Graphic_.lock(); }
    QLineEdit* sel_control_name = nullptr; // the shown item's kind code, read by the data-source switch
    QLabel* data_source_title = nullptr;
    // Show_RHS_Properties chooses the pages and their labels; each panel's Show_..._Properties fills its
    // own page's controls while Not_Draw_Only_Prop_Change mutes every write-back.

    // --- Content font and colour (TSLWindowController_Content_Font.cpp) ---
    void Content_Font_Clicked(); // the non-modal font panel for the content font
    void changeAllTextFont(const QFont& font); // a choice in that panel
    void Contect_Color_Clicked(const QColor& color); // a choice in the content colour well
    void Update_All_Card_Content(); // a changed content font or colour into the current side's texts
    void Content_Font_Decrease_Clicked() { }
    void Contect_Font_Increase_Clicked() { }

    // --- Card sides (TSLWindowController_Sides.cpp) ---
    void Select_front_side();
    void Select_back_side();
    void Select_temp_design_side();
    void Front_Card_Btn_Clicked() { Select_front_side(); }
    void Back_Card_Btn_Clicked() { Select_back_side(); }
    void Temp_Card_Btn_Clicked();
    void Temp_Design_Control_Assign();
    const TSLGraphicList& Get_Front_Controls_Array() const; // the live lists
    const TSLGraphicList& Get_Back_Controls_Array() const;
    TSLGraphicList Get_Temp_Controls_Array() const; // a copy
    qint32 Get_Front_Control_Count() const;
    qint32 Get_Back_Control_Count() const;
    QPointF Control_New_Point(const QString& side);
    void Show_Hide_Ruler_ChkBox();
    void User_Profile_Button_Clicked();
    // Places the confirmed profile on the side being edited as one undo step ("Card Holder").
    void placeProfileOnEditedSide();
    // The card-holder form opened from a wizard waits for that wizard: its entries are placed by the
    // wizard's OK (the open design's spreadsheet choice too when `sameDesign`) and dropped by its Cancel.
    void placePendingProfile(bool sameDesign);
    void dropPendingProfile() { pendingProfile_.reset(); }
    void Open_Start_Window();
    // New Card from… with the wizard: the open design stays until the wizard finishes.
    void startCardWithWizard();
    void placeWizardCard(); // the finished wizard's answers on the new card
    // The canvas of the side shown: the scratch side while it shows, else back when Card_Front_Or_Back is not
    // 0, else front. Commands, tools, undo and the inspector act on it.
    TSLGraphicView* currentGraphicView() const;
    static QStringList sideKeys(); // the document's three list keys: front, back, scratch
    int shownSide() const; // 0 front, 1 back, 2 scratch side
    Card_Property& sideRecord(int side); // the card-side record of a side by that number

    // --- Card sizes (TSLWindowController_Card_Sizes.cpp) ---
    // In millimetres; index -1 gives 30 x 30 unconverted.
    static QSizeF Get_My_card_Size(const QString& category, const QString& preset, qint32 list_index);
    static float Points_to_MM_Convert(float points);
    static float MM_to_Points_Convert(float millimetres);
    void Set_Card_Size_In_Control(const QSizeF& millimetres);
    void Set_Document_Size(const QSizeF& points);
    void SetDocumentCanvasSize(const QSizeF& points);
    // The same, as the start screen calls them.
    void Set_Card_Size_In_Control(double width, double height) override
    {
        Set_Card_Size_In_Control(QSizeF(width, height));
    }
    void Set_Document_Size(double width, double height) override { Set_Document_Size(QSizeF(width, height)); }
    void SetDocumentCanvasSize(double width, double height) override { SetDocumentCanvasSize(QSizeF(width, height)); }
    void Create_List(const QString& text);
    void Mark_List_New_Selection(qint32 row);
    QString Get_Item_Text(qint32 row) const;
    int numberOfRowsInTableView(const QTableWidget* table) const;
    std::optional<QString> tableView_objectValueForTableColumn(
        const QTableWidget* table, const QString& columnIdentifier, int row) const;
    void tableView_setObjectValue(
        const QTableWidget* table, const QString& value, const QString& columnIdentifier, int row);
    void reloadSizeList(); // shows ListData in ColList
    void Category_Changed(); // rebuilds the size list for the chosen category
    void Card_Size_Row_Clicked(int row); // the user chose a size in the list: the card takes it
    // Highlights the row of the card's present size (the stored row when it still fits), or none.
    void markSizeListRowOfCard(qint32 storedRow);
    void showTypedCardSize();
    // The card's size and outline: the canvases' size, Card_Shape and the sides' records of them.
    struct CardGeometry {
        QSizeF points;
        int shape = 0;
        Card_Property front, back;
        Card_Designs designs; // the person's designs on each size, as the document held them
    };
    CardGeometry cardGeometry() const;
    // Puts a size and outline back, on the canvases, in both records and in the card page.
    void restoreCardGeometry(const CardGeometry& geometry);
    // A change of size or outline made while one lives is one undo step of the side shown ("Card Size"),
    // with the items it brought back onto a smaller card; steps opened inside it join it.
    class CardGeometryStep {
    public:
        explicit CardGeometryStep(TSLWindowController& window);
        ~CardGeometryStep();
        CardGeometryStep(const CardGeometryStep&) = delete;
        CardGeometryStep& operator=(const CardGeometryStep&) = delete;

    private:
        TSLWindowController& window_;
        CardGeometry before_;
        bool outermost_;
    };
    struct ItemMove {
        TSLGraphicPtr item;
        QRectF from, to;
        std::optional<QFont> fontFrom, fontTo; // a text's letters, made smaller with its card
    };
    void registerCardGeometryUndo(const CardGeometry& before, const std::vector<ItemMove>& moves);
    // The step's undo in `side`, one of the managers `recorded` holds it in (with its state there).
    using RecordedSteps = std::vector<std::pair<platform::UndoManager*, quint64>>;
    std::function<void()> cardGeometryUndo(platform::UndoManager* side, const CardGeometry& before,
        const std::vector<ItemMove>& moves, std::shared_ptr<RecordedSteps> recorded);
    // Unrecorded: the step records them. `crowded` tells whether the card was too small to keep them apart,
    // `tooNarrowFor` names the texts with a word wider than the card.
    std::vector<ItemMove> bringBothSidesOntoCard(const QSizeF& cardBefore, bool& crowded, QStringList& tooNarrowFor);
    // Each to `from`, unless changed since: those changed since are answered, to be fitted to the card.
    TSLGraphicList moveItemsBack(const std::vector<ItemMove>& moves);
    // The canvases' size and Card_Shape into both sides' records and the card page.
    void applyCardGeometryToRecords();
    static QString cardShapeCode(int shape); // "R", "RR" or "E" for Card_Shape
    QSizeF cardSizeInMillimetres() const override;
    QString presetCode() const; // "V" for the upright orientation, else "H"
    void Preset_Changed(); // an orientation change chooses the category again

    // --- Choice boxes and small services (TSLWindowController_Choice_Boxes.cpp) ---
    void comboBoxSelectionDidChange(QComboBox* box);
    static QStringList Get_Files_Array_At_Path(const QString& path);
    static QString Convert_Path_From_URL(const QUrl& url);
    void Add_Excel_Col_Name_In_Combo(QComboBox* box);
    void Remove_Excel_Col_Name_In_Combo(QComboBox* box);

    // --- Design file (TSLWindowController_Design_File.cpp) ---
    SaveResult Save_project_file(bool save_as, bool show_msg, QString* error = nullptr);
    // Asks Save / Don't Save / Cancel before the design is replaced or the program ends: true to go on
    // (saved or discarded), false when the person cancelled or the save did not succeed.
    bool Save_Changes_Before(const QString& question, bool show_msg);
    int Read_and_load_design_Log(const QString& path, const QString& log_or_template);
    int Open_Log_File() override;
    void Set_Log_Name_In_Title();
    // The title's "*" shows exactly when the design differs from its file: a change that is no undo step
    // marks it until the next save; each printable side's undo marks it while away from its saved state.
    void markChangedOutsideUndo();
    void markDesignSaved();
    void New_Btn_Clicked();
    void Open_Btn_Clicked();
    void Save_Btn_Clicked();
    void SaveAs_Btn_Clicked();

    // --- New card (TSLWindowController_New_Card.cpp) ---
    void New_Project_Setting_Reset();
    void New_Project();

    // --- Invitation texts (TSLWindowController_Invitation.cpp) ---
    void Fill_Party_Invidation_Details();
    // White on a dark picture (mean luminance under one half), black on a light one or on none.
    static QColor readableTextColour(const QImage& background);
    // The invitation texts stacked from the top of the front, each tall enough for its text, set smaller
    // until all of them fit on the card.
    void layOutInvitationTexts();
    // Invitation texts in black or white take the colour readable on the side's new background picture.
    void textsFollowBackground(int frontOrBack);

    // --- Shape and line pages (TSLWindowController_Shape_Panel.cpp, _Line_Panel.cpp) ---
    // Each page action writes the value of its own control, by the item key it edits, into every selected
    // item of the current side through the observed setters, and redraws once; nothing while
    // Not_Draw_Only_Prop_Change is set.
    void Update_Shape_Graphics(const QString& key);
    QVariant shapePageValue(const QString& key) const; // what the page shows for the key; none for another
    void Shape_Border_ChkBox();
    void Shape_Fill_Chk_Box();
    void Shape_Solid_RD_Sel();
    void Shape_Gradient_RD_Sel();
    void Shape_Hatch_RD_Sel();
    void Update_Line_Graphics(const QString& key);
    void Line_Direction_Changed(); // stores the choice and turns the selected lines to it
    QVariant linePageValue(const QString& key) const;
    // The inspector's fills of these pages: controls from the item, nothing written back. The shape fill
    // also labels the page and shows the rows of the item's shape code.
    void Show_Shape_Properties(const TSLGraphic& item);
    void Show_Line_Properties(const TSLGraphic& item);
    static QString shapePropertiesLabel(const QString& shapeCode); // "Star Properties" ...; "" when unknown
    QComboBox* Line_border_style = nullptr;
    QComboBox* Line_ori_style = nullptr;
    QComboBox* Line_cap_style = nullptr;

    // --- Text pages (TSLWindowController_Text_Panel.cpp) ---
    // Writes the changed control, by the item key it edits, into the selected items of the side being
    // edited, through the setters that record undo; the rest of each item stays as it is.
    void Update_Text_Graphics(const QString& key);
    QVariant textPageValue(const QString& key) const;
    void writeTextBoxIntoSelection(); // the text box into the one selected item; several keep their texts
    void Text_Border_ChkBox();
    void Text_Fill_Chk_Box();
    void Text_Solid_RD_Sel();
    void Text_Gradient_RD_Sel();
    void Text_Font_Changed(); // brings up the font panel on Text_font
    void changeTextFont(const QFont& font); // a choice made in the font panel
    void Insert_Template_Button(); // a greeting text from the catalogue for the invitation title or message
    // The selected text grows down to the card's bottom edge, its font stepping down until the whole text
    // shows there; a text that still does not fit is said.
    void fitSelectedTextOnCard();
    void Text_Insert_Date();
    void Text_Insert_Time();
    void textDidChange();
    void Show_Text_Properties(const TSLGraphic& item);
    QComboBox* Text_border_style = nullptr;
    QLabel* Text_font_value = nullptr;

    // --- Export of card images and templates (TSLWindowController_Export.cpp) ---
    // Writes the picture in the format the path's extension names (PNG for any other), recording the
    // resolution, and replaces an old file only by a complete new one; on failure the old file stays and
    // the reason is in *error. Any thread.
    static bool Save_gen_image(const QImage& image, const QString& path, QString* error = nullptr, int dpi = 72);
    static QByteArray imageFormatForPath(const QString& path); // "png", "jpeg", "tiff" or "bmp"
    static QString Create_Back_Card_Path(const QString& path); // "<dir>/<base>_Back.<ext>"
    // Exports the card as it stands by export_card_side; true when every file was written. On failure
    // one message names the file and the reason; with show_msg the success message and the result box.
    bool Export_Single_File(const QString& path, bool show_msg);
    void Export_Button();
    // Says so, naming each, when a barcode on a side being exported is drawn too small for its readers at
    // dpi with the value of any record.
    void warnOfBarcodesBelowAPixel(int dpi) const;
    int Open_Export_File_Box();
    void Export_As_Template_Clicked();
    // The template export behind the name window: false (with a message) for an unsafe name or a failed
    // file; nothing outside Resource_Path/Templates/User is ever deleted or written.
    bool Export_Template(const QString& name);
    QString export_card_side = QStringLiteral("F");
    bool export_combined_image_chk = false;
    int export_resolution = 72; // dots per inch of exported pictures
    QString export_format_title = QStringLiteral("PNG"); // the file type's title, a batch's extension
    QString Export_File_Path;
    QString Export_File_Message;

    // --- One card per record (TSLWindowController_Batch.cpp) ---
    // Works out which sources the design uses and how many records a run has; called before every export,
    // print and e-mail run. Callers may then switch a source off and call Get_total_Card_count again.
    void Check_Series_Or_Excel_Use_or_not();
    void Get_total_Card_count();
    bool Use_Data_Sheet_Values = false;
    bool Use_Excel_Binding_Values = false;
    int Total_Batch_Excel_Card = 0;
    // The records as plain data: the bound series read by name, the spreadsheet rows, the flags above.
    const Record_Source& batchRecordSource() const { return batchSource_; }
    // GUI thread: a snapshot of both sides and the record source for a batch run.
    std::shared_ptr<const Batch_Snapshot> Take_Batch_Snapshot() const;
    // Record N of a side, filled and drawn from a snapshot; the live items are not changed.
    QImage Set_data_table_value_to_card(int record, const QString& card_side, bool print_box);
    // Puts record 0's values into the front's live items, so that the canvas shows the first record.
    void Select_first_row_value_for_design(bool print_box);
    // Items bound to a spreadsheet column show record 1 of the binding table, as every output fills them;
    // the records of a coming run follow the table too (batchRecordsChanged).
    void Show_First_Spreadsheet_Record();
    // Exports one card per record into <folder>/Varnel Tessaline Card with the progress sheet; the window
    // stays alive meanwhile. Returns the run's result once it has ended.
    Batch_Export_Result Export_Batch_File(const QString& folder);
    Send_Modeless* send_modls_wnd = nullptr;

    // --- E-mail (TSLWindowController_Mail.cpp) ---
    void Mail_Button(); // the send-mail window, after the data sources were looked at again
    void Get_Email_Details(); // the e-mail settings from the settings store into the mail globals

    // --- Printing (TSLWindowController_Print.cpp) ---
    // The Print command: a data source in use without records gives "List is empty."; otherwise the
    // print window opens.
    void Print_Button();
    void Print_method();

    // --- Data-source binding and small services (TSLWindowController_Choice_Boxes.cpp) ---
    void Data_Source_Changed(); // the data-source switch
    // The data-source page shows the item's own binding: its source, the list of that source with the
    // item's series or column chosen, and the controls of that source usable. Fills only; writes nothing.
    void showItemBinding(const TSLGraphic& item);
    void Batch_Series_Changed(); // binds the selected item to the chosen series or column
    static QStringList Get_datasheet_File_Name_Array();
    bool Check_Batch_File_In_Use_Validation(const QString& name) const override;
    static QString Get_First_Value_Of_Dataset(const QString& name);
    QString Get_First_Value_Of_Excel_Binding(int column) const;
    void Fill_Excel_Col_Name_In_Combo(QComboBox* box);
    static QString Get_date_Value(const QString& format);
    static QString Get_time_Value(const QString& format);
    static int Check_And_Validate_File_Path(const QString& path);
    // --- Spreadsheet windows (TSLWindowController_Spreadsheets.cpp) ---
    void Bind_Spreadsheet_Button(); // chooses a workbook and its columns as the spreadsheet binding table
    void Open_Excel_Binding_Table(); // the binding table's window
    // After the binding table was filled from path: items bound to the table of titles oldTitles are bound
    // again to the columns of the same titles, and those the new sheet lacks are named.
    void Refresh_Excel_Binding_Source(const QString& path, const Spreadsheet_Binding_Table& old);
    // The items bound to the table of titles oldTitles, bound to the same titles in the binding table; the
    // titles (one per item) that it has no values for.
    QStringList Rebind_Spreadsheet_Items(const Spreadsheet_Binding_Table& old);
    // Reads the bound workbook again when it changed since it was read, and says so; true when it did.
    bool Reread_Changed_Workbook();
    // A design just opened takes its workbook's data as the file holds it now; the stored rows stand only
    // when the workbook is gone or cannot be read, and the person is told which.
    void Read_Workbook_Of_Opened_Design();
    // The title of the binding-table column a bound item takes its values from, when the table's rows have
    // no such column; empty otherwise.
    QString missingColumnOf(const TSLGraphic& item) const override;
    QAction* Bind_Spreadsheet_btn = nullptr;
    static QString Excel_File_Temp_Folder(); // "ziptmp" inside this run's private temporary folder
    static void Delete_Excel_File_Temp_Folder();
    QComboBox* Batch_Series = nullptr;
    QPushButton* view_series_btn = nullptr;
    QPlainTextEdit* Text_value_Edit = nullptr;
    QPushButton* insert_template_btn = nullptr;
    QWidget* manual_brws_box = nullptr;
    QLineEdit* Manual_image_path = nullptr;

    // --- Series windows (TSLWindowController_Series.cpp) ---
    void Batch_Series_Button(); // the series manager
    void Create_Series_Button(); // the generator, writing a new series
    void Import_Wizard_Button(); // the series import wizard, when there is one
    void View_batch_Series_Button(); // the viewer of the series chosen on the data-source page
    void Data_Source_Help_Button();
    void Refresh_Series_Choices(); // the data-source page's series list after the series windows closed
    void watchSeriesFolder(); // the series list read again whenever the data folder changes
    void Show_Export_Notice(const QString& path, const QString& message) override;
    void connectSeriesCommands();
    QAction* Create_Series_btn = nullptr;
    QAction* Import_Wizard_btn = nullptr;

    // --- Card-holder profile fill (TSLWindowController_Auto_Fill.cpp) ---
    void Fill_User_profile_info_front_side();
    void Fill_User_profile_info_back_side();
    void Fill_User_profile_info_TEMP_side();
    void Fill_User_profile_Details();
    QRectF Get_Control_Rect_From_Template(const QString& controlID) const;
    User_Profile_Class Front_user_profile;
    User_Profile_Class Back_user_profile;
    User_Profile_Class TEMP_user_profile;

    // --- Edit-command states, align and grid commands (TSLWindowController_Commands.cpp) ---
    void Enable_Standard_Button_For_Control();
    void Enable_Standard_Button_For_Unlock();
    void Disable_Standard_Button_For_Card();
    void Disable_Standard_Button_For_Lock();
    void Set_Paste_Button_Status() override;
    void Print_object_chk_changed();
    void Align_Center_Clicked();
    void Align_Left_Clicked();
    void Align_Right_Clicked();
    void Align_Top_Clicked();
    void Align_Bottom_Clicked();
    void Align_Horz_Clicked();
    void Align_Vert_Clicked();
    void Make_Same_Width_Clicked();
    void Make_Same_Height_Clicked();
    void Make_Natural_Clicked();
    void Align_To_Grid_Clicked();
    void toggleGridConstraining();
    void toggleGridShowing();
    void Grid_Clr_Changed(const QColor& color);
    void Grid_Slider_Changed(int spacing);
    void Grid_Show_Hide_Changed(bool shown);
    QCheckBox* Print_object_chk = nullptr;

    // --- Background picture browser (TSLWindowController_Backgrounds.cpp) ---
    void Load_and_fill_backgrounds();
    void watchBackgroundFolder(); // the strip read again whenever its folder changes
    void addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID);
    void imageBrowserSelectionDidChange(int index); // a picture the user clicked (or chose with Enter)
    // Undo of a change to a side's record (side as shownSide() numbers them): the record goes back to
    // `before` (and redo returns it).
    void registerCardSideUndo(int frontOrBack, const Card_Property& before, const QString& name);
    Browser_Picture_Model* images = nullptr; // the browser's list, owned by the window
    QListView* imageBrowser = nullptr;
    QString selected_image;

    // --- Card page: the current side's record from the card controls (TSLWindowController_Card_Page.cpp) ---
    // Puts the side's record into the card controls; the caller mutes the write-back while it runs.
    void Show_Card_Properties(const Card_Property& side);
    void Apply_Size_Clicked();
    void card_shape_CellClick();
    void Set_Card_Clr(Color_Well* well);
    void Card_Border_ChkBox();
    void Card_Border_Changed();
    void Card_Fill_Chk_Box();
    void Card_Gradient_Changed();
    void Card_Solid_RD_Sel();
    void Card_Gradient_RD_Sel();
    void Card_Hatch_RD_Sel();
    void Card_Image_RD_Sel();
    void Card_Alpha_Changed();
    void Card_Image_Browse_Btn();
    void Card_Width_Changed();
    void Card_Height_Changed();
    QCheckBox *Card_border_chk = nullptr, *Card_fill_chk = nullptr;
    QWidget *Card_Border_Box = nullptr, *Card_Fill_Box = nullptr, *Card_image_box = nullptr;
    Color_Well *Card_bordr_clr = nullptr, *Card_fill_clr = nullptr, *Card_fill_Grd_1_clr = nullptr,
               *Card_fill_Grd_2_clr = nullptr, *Card_hatch_bk_clr = nullptr;
    Stepper_Field *Card_alpha_Stepper = nullptr, *Card_grad_Stepper = nullptr; // percent; degrees
    QLineEdit* Card_Image_path = nullptr;

    // --- Picture page (TSLWindowController_Picture_Panel.cpp) ---
    void Show_Image_Properties(const TSLGraphic& item); // the picture controls from the item (write-back muted)
    void Update_Image_Graphics(const QString& key);
    QVariant imagePageValue(const QString& key) const;
    bool Browse_User_Image_Manually(); // refuses, with a message, a picture too large to decode
    // The message naming the file and the limit when the picture is too large to decode; empty otherwise.
    // Whether the picture can be placed; when not, the person is told why and no picture stays chosen.
    bool acceptPicture(const QString& path);
    // The check every chosen picture passes, made away from the window's thread with a progress window when
    // the file is large, so that the window keeps answering; the file in the same state is checked once.
    // A check given up with Cancel gives no size and no refusal: nothing is placed and nothing said.
    PictureSource::Check checkPicture(const QString& path) override;
    void Manual_Image_Browse_Btn();
    // The picture page's path into every selected picture; each new picture takes its own proportions
    // inside the old one's frame, centred there. One undo step.
    void replaceSelectedPictures();
    void Image_reset_Button();
    void Reset_Image_Editing_Controls();
    void Image_Border_ChkBox();
    void Image_Border_Changed();
    void Image_Slider_Changed(QSlider* slider); // the slider's value into its value field, then the update
    QCheckBox *Image_border_chk = nullptr, *Image_Gray_Scale_chk = nullptr, *Image_Sepia_chk = nullptr,
              *Image_Invert_chk = nullptr, *Image_FIV_chk = nullptr, *Image_FIH_chk = nullptr;
    QWidget* Image_Border_Box = nullptr;
    Color_Well* Image_bordr_clr = nullptr;
    Stepper_Field* Image_bor_Stepper = nullptr;
    QComboBox* Image_border_style = nullptr;
    QSlider *Rotate_slidr = nullptr, *Trsp_slidr = nullptr, *Hue_slidr = nullptr, *Sat_slidr = nullptr,
            *Brt_slidr = nullptr, *Con_slidr = nullptr, *shrp_slidr = nullptr, *ev_slidr = nullptr,
            *blr_slidr = nullptr;
    QLabel *Rotate_slidr_val = nullptr, *Trsp_slidr_val = nullptr, *Hue_slidr_val = nullptr, *Sat_slidr_val = nullptr,
           *Brt_slidr_val = nullptr, *Con_slidr_val = nullptr, *shrp_slidr_val = nullptr, *ev_slidr_val = nullptr,
           *blr_slidr_val = nullptr;
    static double sliderValue(const QSlider* slider); // sliders step in hundredths where their value is fractional
    static void setSliderValue(QSlider* slider, double value);

    // --- Signature page (TSLWindowController_Signature_Panel.cpp) ---
    void Show_Sign_Properties(const TSLGraphic& item); // the signature controls from the item (write-back muted)
    void Update_Sign_Graphics(const QString& key);
    void Sign_Browse_Btn();
    void Sign_Border_ChkBox();
    void Sign_Border_Changed();
    QCheckBox* Sign_border_chk = nullptr;
    QWidget* Sign_Border_Box = nullptr;
    Color_Well* Sign_bordr_clr = nullptr;
    Stepper_Field* Sign_bor_Stepper = nullptr;
    QComboBox* Sign_border_style = nullptr;
    QLineEdit* Sign_image_path = nullptr;

    // --- Barcode page (TSLWindowController_Barcode_Panel.cpp) ---
    void
    Open_Barcode_Window() override; // the canvas's current barcode into the settings dialog; OK spreads the settings
    void View_barcode_prop_Button() { Open_Barcode_Window(); }
    void Update_Barcode_Graphics(const TSLGraphic& source);
    QPushButton* View_barcode_prop_btn = nullptr;

    // --- Main menu (TSLWindowController_Menus.cpp) ---
    // Enables every menu entry that acts on the selection as the current side's canvas allows, titles the
    // rulers entry, and the align-to-grid button with them. Runs whenever one of their inputs changes.
    void validateMainMenu();
    QAction* menuAction(const QString& objectName) const; // a menu entry by its object name, e.g. "menu_Cut"
    void Select_All_Clicked();
    void Show_Hide_Ruler_Menu(); // the rulers entry: the same as clicking the rulers check box
    void Zoom_In_Clicked(); // the next larger (smaller) entry of the zoom table, on all three canvases
    void Zoom_Out_Clicked();
    void Zoom_Actual_Size_Clicked();

    // --- Opening a design named when the program starts (TSLWindowController_Menus.cpp) ---
    // Set before awakeFromNib: start-up opens this design through the design-file reader instead of
    // showing the start screen; a file the reader refuses gets its message, then the start screen.
    void setStartUpDesign(const QString& path) { startUpDesign_ = path; }
    void Open_Start_Up_Design();

    // --- Fields other windows read and write directly ---
    Card_Property Front_card_Prop;
    Card_Property Back_card_Prop;
    Card_Property Temp_card_Prop; // the scratch side's look: a copy of the edited side's, to try things on
    const QStringList pvc_card_arry; // names of the plastic card sizes, in table order
    const QStringList paper_card_arry; // names of the label stock sizes, in table order
    QList<QMap<QString, QString>> ListData; // rows of the card-size list: {"Extension": size name}
    Spreadsheet_Binding_Table bindingTable; // the spreadsheet binding table the design file stores
    Record_Source batchSource_; // the records of the coming batch run, as Check_Series_Or_Excel_Use_or_not found them

    QFont Text_font;
    QFont All_Text_font; // font and colour every new text item takes
    std::optional<QFont> All_Text_font_COPY; // last shown to the card page; none after a reset
    QString All_Text_font_value_COPY;
    QColor All_Text_clr = Qt::black;
    QColor All_Text_clr_COPY = Qt::black;

    QImage no_image, banner_image, promotion_pattern_image, sign_sample_img, fp_sample_img, barcode_sample_img;
    QImage wizard_pattern_image() const override { return wizard_pattern_image_; }
    QStringList plasticCardSizeNames() const override { return pvc_card_arry; }
    QStringList labelSizeNames() const override { return paper_card_arry; }
    QSizeF cardSizeOf(const QString& category, const QString& preset, int row) const override
    {
        return Get_My_card_Size(category, preset, row);
    }
    // The card-holder form of no side; its entries are placed on the side being edited.
    int openProfileWithoutSide() override;
    QString act_path_location; // the installed resources
    QString App_Name;

    // Canvases and their views, one per side.
    TSLGraphicView* _graphicView = nullptr;
    TSLGraphicView* _graphicView_BACK = nullptr;
    TSLGraphicView* _graphicView_TEMP = nullptr;
    TSLZoomingScrollView* _zoomingScrollView = nullptr;
    TSLZoomingScrollView* _zoomingScrollView_BACK = nullptr;
    TSLZoomingScrollView* _zoomingScrollView_TEMP = nullptr;
    TSLGrid* _grid = nullptr;
    double _zoomFactor = 1.0;

    // Outlets of the interface files.
    QWidget* first_view = nullptr;
    QWidget* second_view = nullptr;
    QWidget* temp_design_view = nullptr;
    QStackedWidget* myTargetView = nullptr;
    QLabel* Front_back_label = nullptr;
    QToolButton* Front_Card_btn = nullptr;
    QToolButton* Back_Side_btn = nullptr;
    QToolButton* Temp_Card_btn = nullptr;
    QCheckBox* Show_Ruler_chk = nullptr;
    QPushButton* User_Profile_btn = nullptr;
    QTabWidget* sett_tab = nullptr;
    QList<QWidget*> inspectorPages() const; // the fifteen pages in their fixed order
    QWidget *card_setting_tab = nullptr, *card_info_tab = nullptr, *card_size_tab = nullptr, *card_bkgd_tab = nullptr,
            *card_brdr_tab = nullptr, *line_tab = nullptr, *shape_tab = nullptr, *text_edtng_tab = nullptr,
            *text_prop_tab = nullptr, *image_tab = nullptr, *sign_tab = nullptr, *datasource_tab = nullptr,
            *aligmnt_tab = nullptr, *barcode_tab = nullptr, *Lock_tab = nullptr;
    QAction *New_btn = nullptr, *Open_btn = nullptr, *Save_btn = nullptr, *SaveAs_btn = nullptr;
    QAction *Undo_btn = nullptr, *Redo_btn = nullptr, *Cut_btn = nullptr, *Copy_btn = nullptr, *Paste_btn = nullptr,
            *Delete_btn = nullptr, *Begin_Front_btn = nullptr, *Send_Back_btn = nullptr, *Lock_btn = nullptr,
            *Unlock_btn = nullptr;
    QAction *Export_btn = nullptr, *Print_btn = nullptr, *Mail_btn = nullptr, *Series_btn = nullptr,
            *Help_btn = nullptr, *Exit_btn = nullptr;
    // Card page
    QLineEdit* card_name = nullptr;
    QComboBox* Sides_ComboBox = nullptr;
    QComboBox* Category_ComboBox = nullptr;
    QComboBox* Preset_ComboBox = nullptr;
    QTableWidget* ColList = nullptr;
    Stepper_Field* width_Stepper = nullptr; // millimetres; the stepper and its text field as one widget
    Stepper_Field* height_Stepper = nullptr;
    QButtonGroup* matrix_card_shape = nullptr; // row 0 rectangle, 1 rounded rectangle, 2 ellipse
    QComboBox* Card_hatch_style = nullptr;
    QComboBox* Card_image_layout = nullptr;
    QRadioButton *Card_solid_fill_rd = nullptr, *Card_gradient_fill_rd = nullptr, *Card_Style_fill_rd = nullptr,
                 *Card_Image_fill_rd = nullptr;
    QLabel* All_Text_font_value = nullptr;
    Color_Well* All_Text_clr_well = nullptr; // shows All_Text_clr
    Stepper_Field* Card_bor_Stepper = nullptr; // the stepper and its text field Card_bor_Text
    QComboBox* Card_border_style = nullptr;
    // Item pages
    QComboBox* shape_border_style = nullptr;
    QComboBox* shape_hatch_style = nullptr;
    QComboBox* Text_Date_style = nullptr;
    QComboBox* Text_Time_style = nullptr;
    QComboBox* Text_align_combo = nullptr;
    QComboBox* Text_case_combo = nullptr;
    QComboBox* Data_source_type = nullptr;
    QList<QToolButton*> toolButtons; // the palette, in tool-code order

private:
    struct Forms; // the generated interface classes
    std::unique_ptr<Forms> forms_;
    QPointer<TSLDocument> document_;
    int Selected_Control_Tool_ = 0;
    QImage wizard_pattern_image_;
    std::weak_ptr<TSLGraphic> Last_Selected_Graphic_; // weak: a deleted item is never shown or compared
    QString startUpDesign_;
    // Menu entries validated by a canvas command, and the rulers entry among them.
    std::vector<std::pair<QAction*, TSLCanvasCommand>> validatedMenuActions_;
    QAction* snapToGridAction_ = nullptr;
    bool ended_ = false;
    int endStatus_ = 0;
    int cardGeometrySteps_ = 0; // CardGeometryStep objects alive
    bool awoken_ = false;
    QFileSystemWatcher* seriesFolderWatcher_ = nullptr;
    // The bound workbook, followed so that its changes reach the design.
    void followWorkbook();
    QFileSystemWatcher* workbookWatcher_ = nullptr;
    QString workbookFollowed_; // the file workbookWatcher_ follows
    Workbook_Reread::Stamp workbookStamp_; // of the bound workbook as it was read
    // Reads the workbook into the binding table; tells of new data, or of a failure with the given words.
    bool takeWorkbookData(const QString& cannotRead);
    void tellOfWorkbook(const QString& text); // one notice at a time: a change meanwhile rewrites it
    std::shared_ptr<platform::LiveText> workbookNotice_; // while the notice is up
    void showSpreadsheetColumnOfSelection(); // the inspector's column box, after the titles moved
    QString workbookSheet_; // its worksheet, as chosen in the picker or kept in the design file
    Title_Row_Choice workbookTitleRow_; // where its titles are, as chosen in the picker or kept in the design file
    QFileSystemWatcher* backgroundFolderWatcher_ = nullptr;
    QString backgroundFolder() const; // the data folder's Background folder

    // TSLWindowController_Edit_Commands.cpp
    platform::UndoManager* shownSideUndo() const; // the undo of the side shown
    // While a colour panel is open its tries are one step; Cancel takes them back and leaves no step.
    void followColourPanels();
    void openColourStep();
    void closeColourStep(bool kept);
    struct ColourStep {
        platform::UndoManager* undo = nullptr; // the document's, alive as long as it is
        quint64 stateBefore = 0;
    };
    std::optional<ColourStep> colourStep_;
    // TSLWindowController_Sides.cpp
    void copyEditedSideToScratch(); // copies of the edited side's items become the scratch side, unrecorded
    void noteScratchAddition(const QString& key); // a status-bar note at the first item added to the preview
    std::size_t scratchItemsAtVisit_ = 0;
    bool scratchNoteShown_ = false;
    TSLGraphicList itemsForWriteBack() const; // the current canvas's selected items; none while write-back is muted
    // TSLWindowController_Write_Back.cpp
    void writeIntoSelection(const QString& key, const QVariant& value); // nothing for an invalid value
    void writeIntoSelection(const QVariantMap& values);

    // TSLWindowController_Card_Page.cpp
    void writeCardField(Card_Property& side, CardField field);

    // TSLWindowController_Menus.cpp
    void buildMainMenu();
    void addMenuCommand(QMenu* menu, const QString& name, const QString& text, TSLCanvasCommand command,
        void (TSLWindowController::*run)(), const QList<QKeySequence>& keys = {});
    void connectRulers();
    struct SideView {
        TSLGraphicView* canvas;
        TSLZoomingScrollView* view;
    };
    std::array<SideView, 3> sideViews() const; // front, back and scratch side, each canvas with its view

    // TSLWindowController_Interface.cpp
    void buildInterface();
    void loadInspectorPages();
    void connectInterface();
    void connectEditorCommands(); // export, data source, align and grid, backgrounds
    void connectSpreadsheetCommands(); // the spreadsheet windows and the import wizard
    void connectToolsAndInspector(); // the tool palette, the edit buttons and the content font
    void showItemPages(const TSLGraphic& item); // the pages of the item's kind, filled (write-back muted)
    void followCanvasSelection(TSLGraphicView* canvas); // the inspector shows one of the selected items
    void connectShapePage();
    void connectLinePage();
    void connectTextPage();
    void connectLibraryButtons();
    void setCurrentSideBackground(const QString& path);
    QPointer<QFontDialog> fontPanel; // the one font panel, shared by the text page and the card page
    void connectCardPage(); // the card page's outlets and actions
    void connectItemPanels(); // picture, signature and barcode pages
    void loadSamplePictures();
    void showTextColorInWell();
    void bindCanvases();
    void unbindCanvases();
    // The start screen; 1 when it was confirmed, Invitation_Wizard::kClosed when it was closed.
    int runStartScreen();
    // False when the start screen's way out ended the program (Exit, the changed design saved or left).
    bool goOnAfterStartScreen(int code);
    bool startAtWizard_ = false; // the next start screen opens at the wizard's first step
    // TSLWindowController_Profiles.cpp
    struct ProfileState {
        User_Profile_Class front, back;
        bool fill = false;
        QString excelPath;
        bool excelUse = false;
    };
    ProfileState profileState() const;
    void putProfileState(const ProfileState& state, bool withSpreadsheet);
    std::optional<ProfileState> pendingProfile_;
    // The items of a printable side with a copy of each one's fields, to put back as they were.
    struct SideItems {
        TSLGraphicList items;
        TSLGraphicList states;
    };
    SideItems sideItems(int side) const;
    void putSideItems(int side, const SideItems& items);
    void registerProfileUndo(int side, const SideItems& before);
    // TSLWindowController_Design_File.cpp
    void applyDesignContent(const DesignFileContent& content, const QString& path, const QString& flag);
    // Asks before writing over a file changed elsewhere: nothing when Overwrite was chosen, else the outcome.
    std::optional<SaveResult> askBeforeWritingOverChanges(bool show_msg, QString* failure);
    // Says why the design could not be saved and gives it back its old file name.
    SaveResult failedSave(const QString& oldPath, const QString& error, bool show_msg, QString* failure);
    Design_File_Claim designClaim_; // the lock beside the open design and what its file last held
    void setCardShapeFromRecord(const Card_Property& side);
    void refreshModified();
    bool changedOutsideUndo_ = false;
    bool savingElsewhere_ = false; // a copy of the design written to another file (a template) is no save

signals:
    // "TSLSelectedToolDidChange": the tool changed; observed by selectedToolDidChange.
    void TSLSelectedToolDidChangeNotification(QObject* sender);
    // The spreadsheet's records changed (the bound workbook read again): a run started now uses them, and a
    // window open on the design shows their count.
    void batchRecordsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
};
