// The signature page: border and picture file of the selected signature and fingerprint items.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "editor/Item_Border_Controls.h"
#include "platform/UiSeam.h"

#include <QCheckBox>
#include <QLineEdit>

void TSLWindowController::Show_Sign_Properties(const TSLGraphic& item)
{
    showItemBorder({ Sign_border_chk, Sign_Border_Box, Sign_bordr_clr, Sign_bor_Stepper, Sign_border_style }, item);
    // Every write-back stores the path field into the items, so it must hold the shown item's own path:
    // left as it was, a border change would wipe (or swap) the picture of a signature.
    Sign_image_path->setText(item._file_path);
}

void TSLWindowController::Update_Sign_Graphics(const QString& key)
{
    QVariant value = itemBorderValue(
        { Sign_border_chk, Sign_Border_Box, Sign_bordr_clr, Sign_bor_Stepper, Sign_border_style }, key);
    if (key == QLatin1String("_file_path"))
        value = Sign_image_path->text();
    writeIntoSelection(key, value);
}

void TSLWindowController::Sign_Browse_Btn()
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Open;
    request.filter = QStringLiteral("PNG pictures (*.png *.PNG)");
    const QString path = platform::ui().chooseFile(request);
    if (path.isEmpty())
        return;
    Sign_image_path->setText(path);
    Update_Sign_Graphics(QStringLiteral("_file_path"));
}

void TSLWindowController::Sign_Border_ChkBox()
{
    SetObjEnabled(Sign_Border_Box, Sign_border_chk->isChecked());
    Update_Sign_Graphics(QStringLiteral("drawingStroke"));
}

void TSLWindowController::Sign_Border_Changed()
{
    Update_Sign_Graphics(QStringLiteral("strokeWidth"));
}
