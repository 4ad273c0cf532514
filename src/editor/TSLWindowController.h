#pragma once

#include "data/Spreadsheet_Binding_Table.h"
#include "model/CardEditorServices.h"
#include "model/Card_Property.h"
#include "model/TSLGraphic.h"
#include "profiles/Invitation_Wizard_Host.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QStringList>

#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QUrl;
class TSLDocument;
class TSLGraphicView;
class TSLGrid;
class TSLZoomingScrollView;
struct DesignFileContent;

namespace Ui {
class DrawWindow;
}

// The one main window of the program, the card editor, and the hub every other window reaches through
// Main_App_wnd: its three canvases (front, back and the scratch side "TEMP"), the two card-side records,
// the card sizes, the design file and the start-up flow. The operations are split over several files by
// family; everything that needs no user answer runs without the window being shown, so tests drive it
// directly.
class TSLWindowController : public QMainWindow, public CardEditorServices, public Invitation_Wizard_Host {
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
    void Exit_App(); // the only way out: save question, then the end of the process

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
    Card_Property cardSideProperty(int frontOrBack) const override;
    int Selected_Control_Tool() const override { return Selected_Control_Tool_; }
    QString currentGraphicClass() const override;
    void Show_RHS_Properties(const std::shared_ptr<TSLGraphic>& item) override;
    void Undo_Redo_Button_state() override;
    QImage samplePicture(SamplePicture which) const override;
    QImage bannerImage() const override { return banner_image; }

    // --- Tools and edit commands (TSLWindowController_Tools.cpp) ---
    void setSelected_Control_Tool(int tool) { Selected_Control_Tool_ = tool; }
    void selectArrowTool();
    void Undo_Clicked();
    void Redo_Clicked();

    // --- Inspector and redrawing (TSLWindowController_Inspector.cpp) ---
    void Remove_All_Tab_Items();
    void card_prop_set(const QString& fillStyle); // the card page's fill radios for a fill code
    void Update_Card_Graphics(); // the card page into the current side's record
    void set_Front_BG_Image(const QString& path);
    void set_Back_BG_Image(const QString& path);
    void Refresh_Canvas();
    void changeViewController(int index); // 0 front, 1 back, 2 scratch side
    void setZoomFactor(double factor); // the zoom of all three canvases
    static QString fontValueText(const QFont& font); // "name ( size )" as the card page shows a font

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
    void Open_Start_Window();
    TSLGraphicView* currentGraphicView() const; // back canvas when Card_Front_Or_Back is not 0, else front

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
    void Preset_Changed(); // an orientation change chooses the category again

    // --- Choice boxes and small services (TSLWindowController_Choice_Boxes.cpp) ---
    void comboBoxSelectionDidChange(QComboBox* box);
    static QStringList Get_Files_Array_At_Path(const QString& path);
    static QString Convert_Path_From_URL(const QUrl& url);
    void Add_Excel_Col_Name_In_Combo(QComboBox* box);
    void Remove_Excel_Col_Name_In_Combo(QComboBox* box);

    // --- Design file (TSLWindowController_Design_File.cpp) ---
    SaveResult Save_project_file(bool save_as, bool show_msg);
    int Read_and_load_design_Log(const QString& path, const QString& log_or_template);
    int Open_Log_File() override;
    void Set_Log_Name_In_Title();
    void New_Btn_Clicked();
    void Open_Btn_Clicked();
    void Save_Btn_Clicked();
    void SaveAs_Btn_Clicked();

    // --- New card (TSLWindowController_New_Card.cpp) ---
    void New_Project_Setting_Reset();
    void New_Project();

    // --- Invitation texts (TSLWindowController_Invitation.cpp) ---
    void Fill_Party_Invidation_Details();

    // --- Fields other windows read and write directly ---
    Card_Property Front_card_Prop;
    Card_Property Back_card_Prop;
    const QStringList pvc_card_arry; // names of the plastic card sizes, in table order
    const QStringList paper_card_arry; // names of the label stock sizes, in table order
    QList<QMap<QString, QString>> ListData; // rows of the card-size list: {"Extension": size name}
    Spreadsheet_Binding_Table bindingTable; // the spreadsheet binding table the design file stores

    QFont Text_font;
    QFont All_Text_font; // font and colour every new text item takes
    std::optional<QFont> All_Text_font_COPY; // last shown to the card page; none after a reset
    QString All_Text_font_value_COPY;
    QColor All_Text_clr = Qt::black;
    QColor All_Text_clr_COPY = Qt::black;

    QImage no_image, banner_image, promotion_pattern_image, sign_sample_img, fp_sample_img, barcode_sample_img;
    QImage wizard_pattern_image() const override { return wizard_pattern_image_; }
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
    QDoubleSpinBox* width_Stepper = nullptr; // millimetres; the spin box is the stepper and its text field
    QDoubleSpinBox* height_Stepper = nullptr;
    QButtonGroup* matrix_card_shape = nullptr; // row 0 rectangle, 1 rounded rectangle, 2 ellipse
    QComboBox* Card_hatch_style = nullptr;
    QComboBox* Card_image_layout = nullptr;
    QRadioButton *Card_solid_fill_rd = nullptr, *Card_gradient_fill_rd = nullptr, *Card_Style_fill_rd = nullptr,
                 *Card_Image_fill_rd = nullptr;
    QLabel* All_Text_font_value = nullptr;
    QPushButton* All_Text_clr_well = nullptr; // shows All_Text_clr
    QSpinBox* Card_bor_Stepper = nullptr; // the stepper and its text field Card_bor_Text
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
    std::weak_ptr<TSLGraphic> Last_Selected_Graphic_;
    bool ended_ = false;
    int endStatus_ = 0;
    bool awoken_ = false;

    // TSLWindowController_Interface.cpp
    void buildInterface();
    void loadInspectorPages();
    void connectInterface();
    void loadSamplePictures();
    void showTextColorInWell();
    QList<QWidget*> inspectorPages() const; // the fifteen pages in their fixed order
    void bindCanvases();
    void unbindCanvases();
    // The start screen; 1 when it was confirmed.
    int runStartScreen();
    // TSLWindowController_Design_File.cpp
    void applyDesignContent(const DesignFileContent& content, const QString& path, const QString& flag);
    void setCardShapeFromRecord(const Card_Property& side);

protected:
    void closeEvent(QCloseEvent* event) override;
};
