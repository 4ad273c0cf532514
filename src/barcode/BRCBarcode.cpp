#include "barcode/BRCBarcode.h"

#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Text.h"

#include <QDataStream>

bool BRCBarcode::asciiForm(const QString& text, QByteArray* ascii)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
        bytes.append(static_cast<char>(c.unicode()));
    }
    if (ascii)
        *ascii = bytes;
    return true;
}

QByteArray BRCBarcode::asciiContent() const
{
    QByteArray ascii;
    return asciiForm(content_, &ascii) ? ascii : QByteArray();
}

bool BRCBarcode::initWithContent(const QString& content)
{
    return initWithContent(content, true);
}

bool BRCBarcode::initWithContent(const QString& content, bool printsCaption)
{
    return initWithContent(content, printsCaption, 0.936f, 36.0f, 6.0f, -1);
}

bool BRCBarcode::initWithContent(const QString& content, bool printsCaption, float, float, float, qint8 checkDigit)
{
    if (content.isNull())
        return false;
    setContent(content);
    setPrintsCaption(printsCaption);
    calculateWidth();
    setCheckDigit(checkDigit);
    return true;
}

void BRCBarcode::calculateWidth()
{
    width_ = static_cast<float>(completeBarcode().size()) * barWidth_;
}

bool BRCBarcode::isContentValid()
{
    // A symbol without data reads back as nothing a person typed.
    QByteArray ascii;
    if (content_.isEmpty() || !asciiForm(content_, &ascii))
        return false;
    for (const char c : ascii) {
        if (_encodeChar(c).isEmpty())
            return false;
    }
    return true;
}

QString BRCBarcode::_encodeChar(char) const
{
    return QStringLiteral("1010");
}

QString BRCBarcode::barcode() const
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii))
        return QString();
    QString modules;
    for (const char c : ascii)
        modules += _encodeChar(c);
    if (checkDigit_ != -1)
        modules += _encodeChar(static_cast<char>(checkDigit_));
    return modules;
}

QString BRCBarcode::completeBarcode() const
{
    return initiator() + barcode() + terminator();
}

void BRCBarcode::setCaptionFontSize(float size)
{
    caption_fontSize_ = size;
    captionHeight_ = static_cast<float>(Barcode_Line_Height_Inches(Barcode_Settings().value_font));
}

void BRCBarcode::setHeaderFontSize(float size)
{
    header_fontSize_ = size;
    const QFont& font = Barcode_Settings().header_font;
    headerHeight_ = static_cast<float>(Barcode_Line_Height_Inches(font));
    headerWidth_ = static_cast<float>(Barcode_Measure_Text(header_, font).width);
}

void BRCBarcode::setFooterFontSize(float size)
{
    footer_fontSize_ = size;
    const QFont& font = Barcode_Settings().footer_font;
    footerHeight_ = static_cast<float>(Barcode_Line_Height_Inches(font));
    footerWidth_ = static_cast<float>(Barcode_Measure_Text(footer_, font).width);
}

QString BRCBarcode::leftCaption() const
{
    return content_.left(qMax(0, digitsToLeft()));
}

QString BRCBarcode::rightCaption() const
{
    return content_.right(qMax(0, digitsToRight()));
}

QString BRCBarcode::caption() const
{
    const int left = digitsToLeft();
    const int right = digitsToRight();
    if (left == 0 && right == 0)
        return content_;
    const qsizetype length = content_.size() - left - right;
    return length > 0 ? content_.mid(left, length) : QString(QLatin1String(""));
}

float BRCBarcode::barTop(int) const
{
    const Barcode_Gen& settings = Barcode_Settings();
    float top = height_;
    if (printsCaption_)
        top -= captionHeight_ * 72.0f + settings.value_margin;
    if (printsHeader_)
        top -= headerHeight_ * 72.0f + settings.header_margin;
    if (printsFooter_)
        top -= footerHeight_ * 72.0f + settings.footer_margin;
    return top - 2.0f * settings.TB_margin;
}

QString BRCBarcode::description() const
{
    return QStringLiteral(
        "\n\tBarcode Class: %1\n\tContent: %2\n\tCheck Digit:%3\n\tWidth:%4\n\tHeight:%5\n\tBar Width:%6"
        "\n\tCaption Font Size:%7\n\tCaption Height:%8")
        .arg(QLatin1String(className()), content(),
            checkDigit_ >= 0 ? QString(QChar(static_cast<char16_t>(checkDigit_))) : QString())
        .arg(width_, 0, 'f', 6)
        .arg(height_, 0, 'f', 6)
        .arg(barWidth_, 0, 'f', 6)
        .arg(caption_fontSize_, 0, 'f', 6)
        .arg(captionHeight_, 0, 'f', 6);
}

std::unique_ptr<BRCBarcode> BRCBarcode::copy() const
{
    auto twin = newInstance();
    if (!twin->initWithContent(content(), printsCaption_, barWidth_, height_, caption_fontSize_, checkDigit_))
        return nullptr;
    // The initialiser leaves sizes to later setters; without them the twin would have no width.
    twin->setBarWidth(barWidth_);
    twin->setHeight(height_);
    twin->caption_fontSize_ = caption_fontSize_;
    twin->captionHeight_ = captionHeight_;
    twin->calculateWidth();
    return twin;
}

void BRCBarcode::encodeWithCoder(QDataStream& coder) const
{
    coder.setFloatingPointPrecision(QDataStream::SinglePrecision);
    coder << content() << static_cast<qint8>(printsCaption_) << barWidth_ << width_ << height_ << caption_fontSize_
          << captionHeight_ << checkDigit_;
}

bool BRCBarcode::initWithCoder(QDataStream& coder)
{
    QString content;
    qint8 printsCaption = 0;
    float barWidth = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float fontSize = 0.0f;
    float captionHeight = 0.0f;
    qint8 checkDigit = -1;
    coder.setFloatingPointPrecision(QDataStream::SinglePrecision);
    coder >> content >> printsCaption >> barWidth >> width >> height >> fontSize >> captionHeight >> checkDigit;
    if (coder.status() != QDataStream::Ok || content.isNull())
        return false;
    setContent(content);
    printsCaption_ = printsCaption != 0;
    barWidth_ = barWidth;
    width_ = width;
    height_ = height;
    caption_fontSize_ = fontSize;
    captionHeight_ = captionHeight;
    checkDigit_ = checkDigit;
    return true;
}
