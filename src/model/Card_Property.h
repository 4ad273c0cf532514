#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

namespace platform {
class KeyedArchive;
}

// One printable side of a card: its outline, border, background, size and the default text colour and font.
// Values are stored as given; the card page and the design file keep them consistent.
class Card_Property {
public:
    Card_Property(); // the new-card values
    struct Bare { };
    explicit Card_Property(Bare) { } // every field zero, no object, as an archive is read

    bool Card_border_chk() const { return Card_border_chk_; }
    void setCard_border_chk(bool value) { Card_border_chk_ = value; }
    bool Card_fill_chk() const { return Card_fill_chk_; }
    void setCard_fill_chk(bool value) { Card_fill_chk_ = value; }
    QColor Card_bordr_clr() const { return Card_bordr_clr_; }
    void setCard_bordr_clr(const QColor& value) { Card_bordr_clr_ = value; }
    QColor Card_fill_clr() const { return Card_fill_clr_; }
    void setCard_fill_clr(const QColor& value) { Card_fill_clr_ = value; }
    QColor Card_fill_Grd_1_clr() const { return Card_fill_Grd_1_clr_; }
    void setCard_fill_Grd_1_clr(const QColor& value) { Card_fill_Grd_1_clr_ = value; }
    QColor Card_fill_Grd_2_clr() const { return Card_fill_Grd_2_clr_; }
    void setCard_fill_Grd_2_clr(const QColor& value) { Card_fill_Grd_2_clr_ = value; }
    QColor Card_hatch_bk_clr() const { return Card_hatch_bk_clr_; }
    void setCard_hatch_bk_clr(const QColor& value) { Card_hatch_bk_clr_ = value; }
    qint32 Card_bor_Stepper() const { return Card_bor_Stepper_; }
    void setCard_bor_Stepper(qint32 value) { Card_bor_Stepper_ = value; }
    qint32 Card_grad_Stepper() const { return Card_grad_Stepper_; }
    void setCard_grad_Stepper(qint32 value) { Card_grad_Stepper_ = value; }
    qint32 Card_Cat_index() const { return Card_Cat_index_; }
    void setCard_Cat_index(qint32 value) { Card_Cat_index_ = value; }
    float Card_alpha_Stepper() const { return Card_alpha_Stepper_; }
    void setCard_alpha_Stepper(float value) { Card_alpha_Stepper_ = value; }
    QString Card_border_style() const { return Card_border_style_; }
    void setCard_border_style(const QString& value) { Card_border_style_ = value; }
    QString Card_fill_style() const { return Card_fill_style_; }
    void setCard_fill_style(const QString& value) { Card_fill_style_ = value; }
    QString Card_hatch_style() const { return Card_hatch_style_; }
    void setCard_hatch_style(const QString& value) { Card_hatch_style_ = value; }
    QString Card_Side() const { return Card_Side_; }
    void setCard_Side(const QString& value) { Card_Side_ = value; }
    QString Card_Side_Name() const { return Card_Side_Name_; }
    void setCard_Side_Name(const QString& value) { Card_Side_Name_ = value; }
    QString Card_Shape() const { return Card_Shape_; }
    void setCard_Shape(const QString& value) { Card_Shape_ = value; }
    QString Card_Name() const { return Card_Name_; }
    void setCard_Name(const QString& value) { Card_Name_ = value; }
    QString Card_Preset() const { return Card_Preset_; }
    void setCard_Preset(const QString& value) { Card_Preset_ = value; }
    QString Card_Category() const { return Card_Category_; }
    void setCard_Category(const QString& value) { Card_Category_ = value; }
    QString Card_Sub_Category() const { return Card_Sub_Category_; }
    void setCard_Sub_Category(const QString& value) { Card_Sub_Category_ = value; }
    QString Card_Create_Mode() const { return Card_Create_Mode_; }
    void setCard_Create_Mode(const QString& value) { Card_Create_Mode_ = value; }
    QString Card_BG_Image_Path() const { return Card_BG_Image_Path_; }
    void setCard_BG_Image_Path(const QString& value) { Card_BG_Image_Path_ = value; }
    QString Card_BG_Image_Layout() const { return Card_BG_Image_Layout_; }
    void setCard_BG_Image_Layout(const QString& value) { Card_BG_Image_Layout_ = value; }
    QImage Card_BG_Image() const { return Card_BG_Image_; }
    void setCard_BG_Image(const QImage& value) { Card_BG_Image_ = value; }
    QPointF Card_Location() const { return Card_Location_; }
    void setCard_Location(const QPointF& value) { Card_Location_ = value; }
    QSizeF Card_Size() const { return Card_Size_; }
    void setCard_Size(const QSizeF& value) { Card_Size_ = value; }
    QColor Card_Content_clr() const { return Card_Content_clr_; }
    void setCard_Content_clr(const QColor& value) { Card_Content_clr_ = value; }
    std::optional<QFont> Card_Content_font() const { return Card_Content_font_; }
    void setCard_Content_font(const std::optional<QFont>& value) { Card_Content_font_ = value; }

    // A separate record with every field of this one; colours and the picture are duplicated.
    Card_Property copyWithZone() const;
    void encodeWithCoder(platform::KeyedArchive& archive) const;
    static Card_Property initWithCoder(const platform::KeyedArchive& archive);

    bool operator==(const Card_Property& other) const;

private:
    bool Card_border_chk_ = false;
    bool Card_fill_chk_ = false;
    QColor Card_bordr_clr_;
    QColor Card_fill_clr_;
    QColor Card_fill_Grd_1_clr_;
    QColor Card_fill_Grd_2_clr_;
    QColor Card_hatch_bk_clr_;
    qint32 Card_bor_Stepper_ = 0;
    qint32 Card_grad_Stepper_ = 0;
    qint32 Card_Cat_index_ = 0;
    float Card_alpha_Stepper_ = 0.0f;
    QString Card_border_style_;
    QString Card_fill_style_;
    QString Card_hatch_style_;
    QString Card_Side_;
    QString Card_Side_Name_;
    QString Card_Shape_;
    QString Card_Name_;
    QString Card_Preset_;
    QString Card_Category_;
    QString Card_Sub_Category_;
    QString Card_Create_Mode_;
    QString Card_BG_Image_Path_;
    QString Card_BG_Image_Layout_;
    QImage Card_BG_Image_;
    QPointF Card_Location_;
    QSizeF Card_Size_;
    QColor Card_Content_clr_;
    std::optional<QFont> Card_Content_font_;
};
