#pragma once

// The generated interface classes of the main window: its frame and one form per inspector page.
// Only the main window's own files include this.
#include "editor/TSLWindowController.h"
#include "ui_DrawWindow.h"
#include "ui_Inspector_Alignment.h"
#include "ui_Inspector_Barcode.h"
#include "ui_Inspector_Card_Background.h"
#include "ui_Inspector_Card_Border.h"
#include "ui_Inspector_Card_Info.h"
#include "ui_Inspector_Card_Setting.h"
#include "ui_Inspector_Card_Size.h"
#include "ui_Inspector_Data_Source.h"
#include "ui_Inspector_Image.h"
#include "ui_Inspector_Line.h"
#include "ui_Inspector_Lock.h"
#include "ui_Inspector_Shape.h"
#include "ui_Inspector_Signature.h"
#include "ui_Inspector_Text_Editing.h"
#include "ui_Inspector_Text_Properties.h"

struct TSLWindowController::Forms {
    Ui::DrawWindow window;
    Ui::Inspector_Card_Setting cardSetting;
    Ui::Inspector_Card_Info cardInfo;
    Ui::Inspector_Card_Size cardSize;
    Ui::Inspector_Card_Background cardBackground;
    Ui::Inspector_Card_Border cardBorder;
    Ui::Inspector_Line line;
    Ui::Inspector_Shape shape;
    Ui::Inspector_Text_Editing textEditing;
    Ui::Inspector_Text_Properties textProperties;
    Ui::Inspector_Image image;
    Ui::Inspector_Signature signature;
    Ui::Inspector_Data_Source dataSource;
    Ui::Inspector_Alignment alignment;
    Ui::Inspector_Barcode barcode;
    Ui::Inspector_Lock lock;
};
