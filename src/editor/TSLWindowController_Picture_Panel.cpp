// The picture page: border, adjustments, effects and the picture file of the selected picture items.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/File_Functions.h"
#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "data/Read_Progress.h"
#include "editor/TSLWindowController_Forms.h"
#include "editor/Item_Border_Controls.h"
#include "model/PictureSource.h"
#include "model/TSLImage.h"
#include "platform/Geometry.h"
#include "platform/UiSeam.h"
#include "platform/RegularFile.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace {

// Sliders over fractional values step in hundredths; the rest in whole units.
const char* const kScale = "tessalineScale";

struct Adjustment {
    const char* key;
    QSlider* TSLWindowController::*slider;
    QLabel* TSLWindowController::*field;
    float TSLGraphic::*value;
    double initial;
    double scale;
};

const Adjustment adjustments[] = {
    { "rotate_image", &TSLWindowController::Rotate_slidr, &TSLWindowController::Rotate_slidr_val,
        &TSLGraphic::rotate_image, 0, 1 },
    { "img_trnsp_val", &TSLWindowController::Trsp_slidr, &TSLWindowController::Trsp_slidr_val,
        &TSLGraphic::img_trnsp_val, 100, 1 },
    { "hue_val", &TSLWindowController::Hue_slidr, &TSLWindowController::Hue_slidr_val, &TSLGraphic::hue_val, 0, 100 },
    { "sat_val", &TSLWindowController::Sat_slidr, &TSLWindowController::Sat_slidr_val, &TSLGraphic::sat_val, 1, 100 },
    { "brt_val", &TSLWindowController::Brt_slidr, &TSLWindowController::Brt_slidr_val, &TSLGraphic::brt_val, 0, 100 },
    { "con_val", &TSLWindowController::Con_slidr, &TSLWindowController::Con_slidr_val, &TSLGraphic::con_val, 1, 100 },
    { "srp_val", &TSLWindowController::shrp_slidr, &TSLWindowController::shrp_slidr_val, &TSLGraphic::srp_val, 0, 100 },
    { "ev_val", &TSLWindowController::ev_slidr, &TSLWindowController::ev_slidr_val, &TSLGraphic::ev_val, 0, 100 },
    { "blr_val", &TSLWindowController::blr_slidr, &TSLWindowController::blr_slidr_val, &TSLGraphic::blr_val, 0, 1 },
};

// The effect check boxes and the keys they write.
struct Effect {
    QCheckBox* TSLWindowController::*check;
    const char* key;
};

const Effect effects[] = { { &TSLWindowController::Image_Gray_Scale_chk, "gray_Scale" },
    { &TSLWindowController::Image_Sepia_chk, "Sepia" }, { &TSLWindowController::Image_Invert_chk, "invert_clr" },
    { &TSLWindowController::Image_FIV_chk, "flippedVertically" },
    { &TSLWindowController::Image_FIH_chk, "flippedHorizontally" } };

QString valueText(double value)
{
    return QString::number(value, 'g', 4);
}

} // namespace

double TSLWindowController::sliderValue(const QSlider* slider)
{
    const double scale = slider->property(kScale).toDouble();
    return slider->value() / (scale > 0 ? scale : 1.0);
}

void TSLWindowController::setSliderValue(QSlider* slider, double value)
{
    const double scale = slider->property(kScale).toDouble();
    slider->setValue(int(std::lround(value * (scale > 0 ? scale : 1.0))));
}

void TSLWindowController::connectItemPanels()
{
    Forms& f = *forms_;
    Ui::Inspector_Image& image = f.image;
    Image_border_chk = image.Image_border_chk;
    Image_Border_Box = image.Image_Border_Box;
    Image_bordr_clr = image.Image_bordr_clr;
    Image_bor_Stepper = image.Image_bor_Stepper;
    Image_border_style = image.Image_border_style;
    Image_Gray_Scale_chk = image.Image_Gray_Scale_chk;
    Image_Sepia_chk = image.Image_Sepia_chk;
    Image_Invert_chk = image.Image_Invert_chk;
    Image_FIV_chk = image.Image_FIV_chk;
    Image_FIH_chk = image.Image_FIH_chk;
    Rotate_slidr = image.Rotate_slidr;
    Trsp_slidr = image.Trsp_slidr;
    Hue_slidr = image.Hue_slidr;
    Sat_slidr = image.Sat_slidr;
    Brt_slidr = image.Brt_slidr;
    Con_slidr = image.Con_slidr;
    shrp_slidr = image.shrp_slidr;
    ev_slidr = image.ev_slidr;
    blr_slidr = image.blr_slidr;
    Rotate_slidr_val = image.Rotate_slidr_val;
    Trsp_slidr_val = image.Trsp_slidr_val;
    Hue_slidr_val = image.Hue_slidr_val;
    Sat_slidr_val = image.Sat_slidr_val;
    Brt_slidr_val = image.Brt_slidr_val;
    Con_slidr_val = image.Con_slidr_val;
    shrp_slidr_val = image.shrp_slidr_val;
    ev_slidr_val = image.ev_slidr_val;
    blr_slidr_val = image.blr_slidr_val;

    Image_bor_Stepper->setRange(0, 100);
    Image_bor_Stepper->setDecimals(0);
    connect(Image_border_chk, &QCheckBox::clicked, this, &TSLWindowController::Image_Border_ChkBox);
    connect(Image_bor_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Image_Border_Changed);
    connect(Image_bordr_clr, &Color_Well::colorChanged, this,
        [this] { Update_Image_Graphics(QStringLiteral("strokeColor")); });
    connect(Image_border_style, &QComboBox::currentIndexChanged, this,
        [this] { Update_Image_Graphics(QStringLiteral("_stroke_border_type")); });
    for (const Effect& effect : effects) {
        const QString key = QLatin1String(effect.key);
        connect(this->*effect.check, &QCheckBox::clicked, this, [this, key] { Update_Image_Graphics(key); });
    }
    for (const Adjustment& adjustment : adjustments) {
        QSlider* slider = this->*adjustment.slider;
        slider->setProperty(kScale, adjustment.scale);
        connect(slider, &QSlider::valueChanged, this, [this, slider] { Image_Slider_Changed(slider); });
    }
    connect(image.Image_reset_btn, &QPushButton::clicked, this, &TSLWindowController::Image_reset_Button);

    Ui::Inspector_Signature& sign = f.signature;
    Sign_border_chk = sign.Sign_border_chk;
    Sign_Border_Box = sign.Sign_Border_Box;
    Sign_bordr_clr = sign.Sign_bordr_clr;
    Sign_bor_Stepper = sign.Sign_bor_Stepper;
    Sign_border_style = sign.Sign_border_style;
    Sign_image_path = sign.Sign_image_path;
    Sign_bor_Stepper->setRange(0, 100);
    Sign_bor_Stepper->setDecimals(0);
    connect(Sign_border_chk, &QCheckBox::clicked, this, &TSLWindowController::Sign_Border_ChkBox);
    connect(Sign_bor_Stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Sign_Border_Changed);
    connect(Sign_bordr_clr, &Color_Well::colorChanged, this,
        [this] { Update_Sign_Graphics(QStringLiteral("strokeColor")); });
    connect(Sign_border_style, &QComboBox::currentIndexChanged, this,
        [this] { Update_Sign_Graphics(QStringLiteral("_stroke_border_type")); });
    connect(sign.Sign_Browse_btn, &QPushButton::clicked, this, &TSLWindowController::Sign_Browse_Btn);

    View_barcode_prop_btn = f.barcode.View_barcode_prop_btn;
    connect(View_barcode_prop_btn, &QPushButton::clicked, this, &TSLWindowController::View_barcode_prop_Button);

    const bool muted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    Reset_Image_Editing_Controls();
    Not_Draw_Only_Prop_Change = muted;
}

void TSLWindowController::Show_Image_Properties(const TSLGraphic& item)
{
    if (Manual_image_path)
        Manual_image_path->setText(item._file_path);
    showItemBorder(
        { Image_border_chk, Image_Border_Box, Image_bordr_clr, Image_bor_Stepper, Image_border_style }, item);
    for (const Adjustment& adjustment : adjustments) {
        setSliderValue(this->*adjustment.slider, item.*adjustment.value);
        (this->*adjustment.field)->setText(valueText(item.*adjustment.value));
    }
    Image_Gray_Scale_chk->setChecked(item.gray_Scale);
    Image_Sepia_chk->setChecked(item.Sepia);
    Image_Invert_chk->setChecked(item.invert_clr);
    Image_FIV_chk->setChecked(item._isFlippedVertically);
    Image_FIH_chk->setChecked(item._isFlippedHorizontally);
    if (Manual_image_path)
        Manual_image_path->setText(item._file_path);
}

QVariant TSLWindowController::imagePageValue(const QString& key) const
{
    const QVariant border = itemBorderValue(
        { Image_border_chk, Image_Border_Box, Image_bordr_clr, Image_bor_Stepper, Image_border_style }, key);
    if (border.isValid())
        return border;
    for (const Effect& effect : effects)
        if (key == QLatin1String(effect.key))
            return (this->*effect.check)->isChecked();
    for (const Adjustment& adjustment : adjustments)
        if (key == QLatin1String(adjustment.key))
            return float(sliderValue(this->*adjustment.slider));
    if (key == QLatin1String("_file_path"))
        return Manual_image_path ? Manual_image_path->text() : QString();
    return QVariant();
}

void TSLWindowController::Update_Image_Graphics(const QString& key)
{
    writeIntoSelection(key, imagePageValue(key));
}

bool TSLWindowController::Browse_User_Image_Manually()
{
    const QString path = Choose_Picture_File();
    if (path.isEmpty()) {
        Library_Selected_Image.clear();
        return false;
    }
    if (!acceptPicture(path))
        return false;
    Library_Selected_Image = path;
    if (Manual_image_path)
        Manual_image_path->setText(path);
    return true;
}

PictureSource::Check TSLWindowController::checkPicture(const QString& path)
{
    // The last file checked, in its state then: placing a picture asks again right after it was chosen.
    static QByteArray checkedKey;
    static PictureSource::Check checked;
    const QByteArray key = PictureSource::forFile(path).key();
    if (!key.isEmpty() && key == checkedKey)
        return checked;
    PictureSource::Check picture;
    Read_Control control;
    runReadWithProgress(QStringLiteral("Reading the picture \"%1\"").arg(Name_In_Notice(QFileInfo(path).fileName())),
        QFileInfo(path).size(), control, [&picture, &path] { picture = PictureSource::check(path); });
    if (control.cancel.load())
        return {}; // no size: nothing is placed
    checkedKey = key;
    checked = picture;
    return picture;
}

bool TSLWindowController::acceptPicture(const QString& path)
{
    // A picture that cannot be decoded would make an item that only shows its border and still catches
    // clicks: it is refused by name where the person chose it.
    const PictureSource::Check picture = checkPicture(path);
    if (picture.usable() && !picture.pixels.isEmpty())
        return true;
    if (!picture.refusal.isEmpty())
        Show_MessageBox(picture.refusal);
    Library_Selected_Image.clear();
    return false;
}

void TSLWindowController::Manual_Image_Browse_Btn()
{
    // Every selected picture reads the new file (a picture item loads it when its path changes), so none is
    // left with a path whose picture it does not show.
    if (Browse_User_Image_Manually())
        replaceSelectedPictures();
}

void TSLWindowController::replaceSelectedPictures()
{
    const QVariant path = imagePageValue(QStringLiteral("_file_path"));
    for (const TSLGraphicPtr& item : itemsForWriteBack()) {
        const QRectF frame = item->bounds();
        item->setValueForKey(QStringLiteral("_file_path"), path);
        // A new picture is never stretched: like one placed new, it keeps its own proportions.
        const auto* picture = dynamic_cast<const TSLImage*>(item.get());
        const QRectF fitted = picture ? platform::fittedRect(picture->naturalSize(), frame) : QRectF();
        if (!item->ctrl_is_locked && !fitted.isEmpty())
            item->setBounds(fitted);
    }
    Refresh_Canvas();
}

void TSLWindowController::Image_reset_Button()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")) != 1)
        return;
    Reset_Image_Editing_Controls();
    // The reset is one change of the adjustments and effects, undone in one step.
    QVariantMap values;
    for (const Adjustment& adjustment : adjustments)
        values.insert(QLatin1String(adjustment.key), imagePageValue(QLatin1String(adjustment.key)));
    for (const Effect& effect : effects)
        values.insert(QLatin1String(effect.key), imagePageValue(QLatin1String(effect.key)));
    writeIntoSelection(values);
}

void TSLWindowController::Reset_Image_Editing_Controls()
{
    // The sliders report each change; the update runs once, after all of them.
    const bool muted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    for (const Adjustment& adjustment : adjustments) {
        setSliderValue(this->*adjustment.slider, adjustment.initial);
        (this->*adjustment.field)->setText(valueText(adjustment.initial));
    }
    for (const Effect& effect : effects)
        (this->*effect.check)->setChecked(false);
    Not_Draw_Only_Prop_Change = muted;
}

void TSLWindowController::Image_Border_ChkBox()
{
    SetObjEnabled(Image_Border_Box, Image_border_chk->isChecked());
    Update_Image_Graphics(QStringLiteral("drawingStroke"));
}

void TSLWindowController::Image_Border_Changed()
{
    Update_Image_Graphics(QStringLiteral("strokeWidth"));
}

void TSLWindowController::Image_Slider_Changed(QSlider* slider)
{
    for (const Adjustment& adjustment : adjustments) {
        if (this->*adjustment.slider == slider) {
            (this->*adjustment.field)->setText(valueText(sliderValue(slider)));
            Update_Image_Graphics(QLatin1String(adjustment.key));
        }
    }
}
