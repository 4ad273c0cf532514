#include "model/Card_Property.h"

#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "platform/KeyedArchive.h"

Card_Property::Card_Property()
    : Card_border_chk_(false)
    , Card_fill_chk_(false)
    , Card_bordr_clr_(QColor(Qt::black))
    , Card_fill_clr_(QColor(Qt::white))
    , Card_fill_Grd_1_clr_(QColor(Qt::white))
    , Card_fill_Grd_2_clr_(QColor(Qt::white))
    , Card_hatch_bk_clr_(QColor(Qt::white))
    , Card_bor_Stepper_(1)
    , Card_grad_Stepper_(0)
    , Card_Cat_index_(0)
    , Card_alpha_Stepper_(1.0f)
    , Card_border_style_(QStringLiteral("S"))
    , Card_fill_style_(QStringLiteral("S"))
    , Card_hatch_style_(QStringLiteral(""))
    , Card_Side_(QStringLiteral("2"))
    , Card_Side_Name_(QStringLiteral("F"))
    , Card_Shape_(QStringLiteral("R"))
    , Card_Name_(QStringLiteral("Untitled"))
    , Card_Preset_(QStringLiteral("Horizontal"))
    , Card_Category_(QStringLiteral("PVC Card"))
    , Card_Sub_Category_(QStringLiteral("CR80-Credit Card Size"))
    , Card_Create_Mode_(QStringLiteral("W"))
    , Card_BG_Image_Path_(QStringLiteral(""))
    , Card_BG_Image_Layout_(QStringLiteral("Stretch"))
    , Card_BG_Image_(QImage())
    , Card_Location_(QPointF())
    , Card_Size_(QSizeF(0, 0))
    , Card_Content_clr_(QColor(Qt::black))
    , Card_Content_font_(fontForPostScriptName(Text_Ctrl_Font, 14.0))
{
}

Card_Property Card_Property::copyWithZone() const
{
    Card_Property copy = *this;
    // QImage shares pixels until written; detach so the copy owns its own picture.
    copy.Card_BG_Image_ = Card_BG_Image_.copy();
    return copy;
}

void Card_Property::encodeWithCoder(platform::KeyedArchive& archive) const
{
    archive.setClassName(QStringLiteral("Card_Property"));
    archive.encodeBool(QStringLiteral("Card_border_chk"), Card_border_chk_);
    archive.encodeBool(QStringLiteral("Card_fill_chk"), Card_fill_chk_);
    archive.encodeInt32(QStringLiteral("Card_bor_Stepper"), Card_bor_Stepper_);
    archive.encodeInt32(QStringLiteral("Card_grad_Stepper"), Card_grad_Stepper_);
    archive.encodeInt32(QStringLiteral("Card_Cat_index"), Card_Cat_index_);
    archive.encodeFloat(QStringLiteral("Card_alpha_Stepper"), Card_alpha_Stepper_);
    archive.encodeColor(QStringLiteral("Card_bordr_clr"), Card_bordr_clr_);
    archive.encodeColor(QStringLiteral("Card_fill_clr"), Card_fill_clr_);
    archive.encodeColor(QStringLiteral("Card_fill_Grd_1_clr"), Card_fill_Grd_1_clr_);
    archive.encodeColor(QStringLiteral("Card_fill_Grd_2_clr"), Card_fill_Grd_2_clr_);
    archive.encodeColor(QStringLiteral("Card_hatch_bk_clr"), Card_hatch_bk_clr_);
    archive.encodeString(QStringLiteral("Card_border_style"), Card_border_style_);
    archive.encodeString(QStringLiteral("Card_fill_style"), Card_fill_style_);
    archive.encodeString(QStringLiteral("Card_hatch_style"), Card_hatch_style_);
    archive.encodeString(QStringLiteral("Card_Side"), Card_Side_);
    archive.encodeString(QStringLiteral("Card_Side_Name"), Card_Side_Name_);
    archive.encodeString(QStringLiteral("Card_Shape"), Card_Shape_);
    archive.encodeString(QStringLiteral("Card_Name"), Card_Name_);
    archive.encodeString(QStringLiteral("Card_Preset"), Card_Preset_);
    archive.encodeString(QStringLiteral("Card_Category"), Card_Category_);
    archive.encodeString(QStringLiteral("Card_Sub_Category"), Card_Sub_Category_);
    archive.encodeString(QStringLiteral("Card_Create_Mode"), Card_Create_Mode_);
    archive.encodeString(QStringLiteral("Card_BG_Image_Path"), Card_BG_Image_Path_);
    archive.encodeString(QStringLiteral("Card_BG_Image_Layout"), Card_BG_Image_Layout_);
    archive.encodeImage(QStringLiteral("Card_BG_Image"), Card_BG_Image_);
    archive.encodePoint(QStringLiteral("Card_Location"), Card_Location_);
    archive.encodeSize(QStringLiteral("Card_Size"), Card_Size_);
    archive.encodeColor(QStringLiteral("Card_Content_clr"), Card_Content_clr_);
    archive.encodeFont(QStringLiteral("Card_Content_font"), Card_Content_font_);
}

Card_Property Card_Property::initWithCoder(const platform::KeyedArchive& archive)
{
    Card_Property side { Bare {} };
    side.Card_border_chk_ = archive.decodeBool(QStringLiteral("Card_border_chk"));
    side.Card_fill_chk_ = archive.decodeBool(QStringLiteral("Card_fill_chk"));
    side.Card_bor_Stepper_ = archive.decodeInt32(QStringLiteral("Card_bor_Stepper"));
    side.Card_grad_Stepper_ = archive.decodeInt32(QStringLiteral("Card_grad_Stepper"));
    side.Card_Cat_index_ = archive.decodeInt32(QStringLiteral("Card_Cat_index"));
    side.Card_alpha_Stepper_ = archive.decodeFloat(QStringLiteral("Card_alpha_Stepper"));
    side.Card_bordr_clr_ = archive.decodeColor(QStringLiteral("Card_bordr_clr"));
    side.Card_fill_clr_ = archive.decodeColor(QStringLiteral("Card_fill_clr"));
    side.Card_fill_Grd_1_clr_ = archive.decodeColor(QStringLiteral("Card_fill_Grd_1_clr"));
    side.Card_fill_Grd_2_clr_ = archive.decodeColor(QStringLiteral("Card_fill_Grd_2_clr"));
    side.Card_hatch_bk_clr_ = archive.decodeColor(QStringLiteral("Card_hatch_bk_clr"));
    side.Card_border_style_ = archive.decodeString(QStringLiteral("Card_border_style"));
    side.Card_fill_style_ = archive.decodeString(QStringLiteral("Card_fill_style"));
    side.Card_hatch_style_ = archive.decodeString(QStringLiteral("Card_hatch_style"));
    side.Card_Side_ = archive.decodeString(QStringLiteral("Card_Side"));
    side.Card_Side_Name_ = archive.decodeString(QStringLiteral("Card_Side_Name"));
    side.Card_Shape_ = archive.decodeString(QStringLiteral("Card_Shape"));
    side.Card_Name_ = archive.decodeString(QStringLiteral("Card_Name"));
    side.Card_Preset_ = archive.decodeString(QStringLiteral("Card_Preset"));
    side.Card_Category_ = archive.decodeString(QStringLiteral("Card_Category"));
    side.Card_Sub_Category_ = archive.decodeString(QStringLiteral("Card_Sub_Category"));
    side.Card_Create_Mode_ = archive.decodeString(QStringLiteral("Card_Create_Mode"));
    side.Card_BG_Image_Path_ = archive.decodeString(QStringLiteral("Card_BG_Image_Path"));
    side.Card_BG_Image_Layout_ = archive.decodeString(QStringLiteral("Card_BG_Image_Layout"));
    side.Card_BG_Image_ = archive.decodeImage(QStringLiteral("Card_BG_Image"));
    side.Card_Location_ = archive.decodePoint(QStringLiteral("Card_Location"));
    side.Card_Size_ = archive.decodeSize(QStringLiteral("Card_Size"));
    side.Card_Content_clr_ = archive.decodeColor(QStringLiteral("Card_Content_clr"));
    side.Card_Content_font_ = archive.decodeFont(QStringLiteral("Card_Content_font"));
    return side;
}

bool Card_Property::operator==(const Card_Property& other) const
{
    return Card_border_chk_ == other.Card_border_chk_ && Card_fill_chk_ == other.Card_fill_chk_
        && Card_bordr_clr_ == other.Card_bordr_clr_ && Card_fill_clr_ == other.Card_fill_clr_
        && Card_fill_Grd_1_clr_ == other.Card_fill_Grd_1_clr_ && Card_fill_Grd_2_clr_ == other.Card_fill_Grd_2_clr_
        && Card_hatch_bk_clr_ == other.Card_hatch_bk_clr_ && Card_bor_Stepper_ == other.Card_bor_Stepper_
        && Card_grad_Stepper_ == other.Card_grad_Stepper_ && Card_Cat_index_ == other.Card_Cat_index_
        && Card_alpha_Stepper_ == other.Card_alpha_Stepper_ && Card_border_style_ == other.Card_border_style_
        && Card_fill_style_ == other.Card_fill_style_ && Card_hatch_style_ == other.Card_hatch_style_
        && Card_Side_ == other.Card_Side_ && Card_Side_Name_ == other.Card_Side_Name_
        && Card_Shape_ == other.Card_Shape_ && Card_Name_ == other.Card_Name_ && Card_Preset_ == other.Card_Preset_
        && Card_Category_ == other.Card_Category_ && Card_Sub_Category_ == other.Card_Sub_Category_
        && Card_Create_Mode_ == other.Card_Create_Mode_ && Card_BG_Image_Path_ == other.Card_BG_Image_Path_
        && Card_BG_Image_Layout_ == other.Card_BG_Image_Layout_ && Card_BG_Image_ == other.Card_BG_Image_
        && Card_Location_ == other.Card_Location_ && Card_Size_ == other.Card_Size_
        && Card_Content_clr_ == other.Card_Content_clr_ && Card_Content_font_ == other.Card_Content_font_;
}
