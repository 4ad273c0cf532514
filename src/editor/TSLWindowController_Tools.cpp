// The tool palette: the tool code, the item kind it creates, and the creation of that item on the side
// being edited as soon as a creation tool is chosen.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/PictureSource.h"
#include "model/TSLText.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <cmath>

void TSLWindowController::connectToolsAndInspector()
{
    // The tools are in no button group: in one Qt clicks each button the arrow keys move the focus to, and a
    // tool creates its item when it is clicked. Tab and the arrow keys move the focus from tool to tool;
    // Space chooses the one focused. The palette shows the current tool through showCurrentTool.
    void (TSLWindowController::*const actions[])()
        = { &TSLWindowController::Arrow_Tool_Clicked, &TSLWindowController::Line_Tool_Clicked,
              &TSLWindowController::Text_Tool_Clicked, &TSLWindowController::Rect_Tool_Clicked,
              &TSLWindowController::Circle_Tool_Clicked, &TSLWindowController::Round_Rect_Tool_Clicked,
              &TSLWindowController::Triangle_Tool_Clicked, &TSLWindowController::Diamond_Tool_Clicked,
              &TSLWindowController::Image_Tool_Clicked, &TSLWindowController::Image_Library_Tool_Clicked,
              &TSLWindowController::Barcode_Tool_Clicked, &TSLWindowController::Signature_Tool_Clicked,
              &TSLWindowController::Fingure_Print_Tool_Clicked, &TSLWindowController::Star_Tool_Clicked,
              &TSLWindowController::Double_Star_Tool_Clicked, &TSLWindowController::Polygon_Tool_Clicked };
    for (int code = 0; code < toolButtons.size() && code < int(std::size(actions)); ++code) {
        QToolButton* button = toolButtons[code];
        button->setCheckable(true);
        connect(button, &QToolButton::clicked, this, actions[code]);
    }
    connect(this, &TSLWindowController::TSLSelectedToolDidChangeNotification, this,
        &TSLWindowController::selectedToolDidChange);

    const struct {
        QAction* button;
        void (TSLWindowController::*action)();
    } edits[] = { { Cut_btn, &TSLWindowController::Cut_Clicked }, { Copy_btn, &TSLWindowController::Copy_Clicked },
        { Paste_btn, &TSLWindowController::Paste_Clicked }, { Delete_btn, &TSLWindowController::Delete_Clicked },
        { Begin_Front_btn, &TSLWindowController::Begin_Front_Clicked },
        { Send_Back_btn, &TSLWindowController::Send_Back_Clicked }, { Lock_btn, &TSLWindowController::Lock_Clicked },
        { Unlock_btn, &TSLWindowController::Unlock_Clicked } };
    for (const auto& edit : edits)
        connect(edit.button, &QAction::triggered, this, edit.action);

    // The kind code of the shown item: not for the user's eyes, read by the data-source switch.
    sel_control_name = new QLineEdit(sett_tab);
    sel_control_name->setObjectName(QStringLiteral("sel_control_name"));
    sel_control_name->setVisible(false);
    data_source_title = forms_->dataSource.datasource_tab_title;

    // The content font and colour: the button beside the font's name opens the font panel.
    connect(forms_->cardBackground.Content_Font_btn, &QPushButton::clicked, this,
        &TSLWindowController::Content_Font_Clicked);
    connect(All_Text_clr_well, &Color_Well::colorChanged, this, &TSLWindowController::Contect_Color_Clicked);
}

void TSLWindowController::Arrow_Tool_Clicked()
{
    Selected_Control_Tool_ = 0;
    Select_tool_action();
}
void TSLWindowController::Line_Tool_Clicked()
{
    Selected_Control_Tool_ = 1;
    Select_tool_action();
}
void TSLWindowController::Text_Tool_Clicked()
{
    Selected_Control_Tool_ = 2;
    Select_tool_action();
}
void TSLWindowController::Rect_Tool_Clicked()
{
    Selected_Control_Tool_ = 3;
    Select_tool_action();
}
void TSLWindowController::Circle_Tool_Clicked()
{
    Selected_Control_Tool_ = 4;
    Select_tool_action();
}
void TSLWindowController::Round_Rect_Tool_Clicked()
{
    Selected_Control_Tool_ = 5;
    Select_tool_action();
}
void TSLWindowController::Triangle_Tool_Clicked()
{
    Selected_Control_Tool_ = 6;
    Select_tool_action();
}
void TSLWindowController::Diamond_Tool_Clicked()
{
    Selected_Control_Tool_ = 7;
    Select_tool_action();
}
void TSLWindowController::Image_Tool_Clicked()
{
    Selected_Control_Tool_ = 8;
    Select_tool_action();
}
void TSLWindowController::Image_Library_Tool_Clicked()
{
    Selected_Control_Tool_ = 9;
    Select_tool_action();
}
void TSLWindowController::Barcode_Tool_Clicked()
{
    Selected_Control_Tool_ = 10;
    Select_tool_action();
}
void TSLWindowController::Signature_Tool_Clicked()
{
    Selected_Control_Tool_ = 11;
    Select_tool_action();
}
void TSLWindowController::Fingure_Print_Tool_Clicked()
{
    Selected_Control_Tool_ = 12;
    Select_tool_action();
}
void TSLWindowController::Star_Tool_Clicked()
{
    Selected_Control_Tool_ = 13;
    Select_tool_action();
}
void TSLWindowController::Double_Star_Tool_Clicked()
{
    Selected_Control_Tool_ = 14;
    Select_tool_action();
}
void TSLWindowController::Polygon_Tool_Clicked()
{
    Selected_Control_Tool_ = 15;
    Select_tool_action();
}

void TSLWindowController::Select_tool_action()
{
    // The creation runs in the handler, before the redraw, so the inspector then shows the new item.
    emit TSLSelectedToolDidChangeNotification(this);
    Refresh_Canvas();
    if (TSLGraphicView* canvas = currentGraphicView())
        Show_RHS_Properties(canvas->Selected_Graphic());
}

QSizeF TSLWindowController::naturalSizeOfNewText(double cardWidth)
{
    // Measured on an item made as the tool makes it, so font and text are the ones the new box shows; the
    // box is as wide as its text, up to the card's width, so the text is not broken over short lines.
    const TSLGraphicPtr probe = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    auto* text = dynamic_cast<TSLText*>(probe.get());
    if (!text)
        return { 50, 50 };
    probe->setBounds(QRectF(0, 0, cardWidth > 0 ? cardWidth : 1000, 50));
    const QSizeF natural = text->naturalSize();
    return { std::max(natural.width(), 10.0), std::max(natural.height(), 10.0) };
}

QSizeF TSLWindowController::sizeOfNewPicture(const QSize& pixels, const QSizeF& card)
{
    if (!pixels.isValid() || pixels.isEmpty())
        return { 50, 50 };
    // Room for the picture and for the card around it; a small picture keeps its size, one pixel a point.
    const QSizeF room(std::max(card.width() * 0.6, 10.0), std::max(card.height() * 0.6, 10.0));
    const double scale = std::min({ 1.0, room.width() / pixels.width(), room.height() / pixels.height() });
    return { std::max(1.0, std::round(pixels.width() * scale)), std::max(1.0, std::round(pixels.height() * scale)) };
}

void TSLWindowController::showCurrentTool()
{
    for (int code = 0; code < toolButtons.size(); ++code)
        toolButtons[code]->setChecked(code == Selected_Control_Tool_);
}

void TSLWindowController::selectArrowTool()
{
    Selected_Control_Tool_ = 0;
    showCurrentTool();
    emit TSLSelectedToolDidChangeNotification(this);
}

void TSLWindowController::selectedToolDidChange(QObject* /*sender*/)
{
    const int tool = Selected_Control_Tool_;
    showCurrentTool();

    QRectF rect(0, 0, 50, 50);
    QString graphicClass = currentGraphicClass();
    if (graphicClass == QLatin1String("TSLImage")) {
        if (tool == 8 && !Browse_User_Image_Manually())
            return;
        if (tool == 9) {
            if (Open_Image_Library_Window(QStringLiteral("C")) == 1) {
                Library_Selected_Image = lib_window_sel_file;
                Show_NSLog_Message(Library_Selected_Image);
            } else {
                graphicClass.clear();
            }
        }
    }
    if (graphicClass == QLatin1String("TSLImage") && !Library_Selected_Image.isEmpty()) {
        // The box takes the picture's upright shape, as its pixels will be drawn.
        const PictureSource::Check picture = checkPicture(Library_Selected_Image);
        if (!picture.usable() || picture.pixels.isEmpty()) {
            acceptPicture(Library_Selected_Image);
            return;
        }
        rect.setSize(sizeOfNewPicture(picture.pixels, frontCanvasBounds().size()));
    }
    if (graphicClass == QLatin1String("TSLBarcode") && tool == 10)
        rect.setSize(QSizeF(120, 60));
    if (graphicClass == QLatin1String("TSLSignature") && tool == 11)
        rect.setSize(QSizeF(100, 50));
    if (graphicClass == QLatin1String("TSLText"))
        rect.setSize(naturalSizeOfNewText(frontCanvasBounds().width()));
    if (graphicClass.isEmpty())
        return;
    TSLGraphicView* canvas = currentGraphicView();
    if (!canvas)
        return;
    const QString side = canvas == _graphicView_BACK ? QStringLiteral("B") : QStringLiteral("F");
    canvas->createGraphicOfClass(graphicClass, nullptr, true, rect, side, QString(), QString());
}

QString TSLWindowController::currentGraphicClass() const
{
    return graphicClassForTool(Selected_Control_Tool_);
}
