// The content font and colour of a side: chosen on the card page and pushed into every text item of the
// side being edited, for the property that changed only.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"

#include <QFontDialog>
#include <QLabel>

#include <exception>

void TSLWindowController::Content_Font_Clicked()
{
    // One non-modal panel, shared with the text page: whoever opened it last receives its choices.
    if (!fontPanel) {
        fontPanel = new QFontDialog(this);
        fontPanel->setOption(QFontDialog::NoButtons);
    }
    fontPanel->disconnect(this);
    {
        const QSignalBlocker mute(fontPanel);
        fontPanel->setCurrentFont(fontForPanel(All_Text_font));
    }
    connect(fontPanel, &QFontDialog::currentFontChanged, this, &TSLWindowController::changeAllTextFont);
    fontPanel->show();
    fontPanel->raise();
}

void TSLWindowController::changeAllTextFont(const QFont& font)
{
    try {
        All_Text_font = font;
        All_Text_font_value->setText(fontValueText(All_Text_font));
        Update_All_Card_Content();
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void TSLWindowController::Contect_Color_Clicked(const QColor& color)
{
    if (color.isValid())
        All_Text_clr = color;
    Update_All_Card_Content();
}

void TSLWindowController::Update_All_Card_Content()
{
    const TSLGraphicList& items = Card_Front_Or_Back != 0 ? Get_Back_Controls_Array() : Get_Front_Controls_Array();
    const bool colorChanged = All_Text_clr != All_Text_clr_COPY;
    const bool fontChanged = !All_Text_font_COPY || All_Text_font != *All_Text_font_COPY;
    for (const TSLGraphicPtr& item : items) {
        if (item->className() != QLatin1String("TSLText"))
            continue;
        // Through the setters: the texts' new colour and font can be undone.
        if (colorChanged)
            item->setTextColor(All_Text_clr);
        if (fontChanged)
            item->setTextFont(All_Text_font);
    }
    Update_Card_Graphics(CardField::Content);
}
