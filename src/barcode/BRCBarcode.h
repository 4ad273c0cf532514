#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QDataStream;

// A one-dimensional symbol: turns its content into a module string ('1' a bar module, '0' a space
// module), keeps its geometry in points and answers the texts and bar heights the renderer draws.
// Symbologies are subclasses that override the hooks below. Made in two steps, as the generator
// needs: construct, then initWithContent (a symbology may take options in between).
// Fonts and margins are read from the barcode settings object when they are needed.
class BRCBarcode {
public:
    BRCBarcode() = default;
    virtual ~BRCBarcode() = default;
    BRCBarcode(const BRCBarcode&) = delete;
    BRCBarcode& operator=(const BRCBarcode&) = delete;

    // Initialisers; false stands for no symbol (a null content).
    bool initWithContent(const QString& content);
    virtual bool initWithContent(const QString& content, bool printsCaption);
    // Sets content, caption flag and check digit and works out the width; bar width, height and font
    // size are left to the caller's later setters.
    virtual bool initWithContent(
        const QString& content, bool printsCaption, float barWidth, float height, float fontSize, qint8 checkDigit);

    virtual void setFooter(const QString& footer) { footer_ = footer; }
    virtual void setHeader(const QString& header) { header_ = header; }
    virtual void setContent(const QString& content) { content_ = content; }
    virtual void setHeight(float height) { height_ = height; }
    virtual void setWidth(float width) { width_ = width; }
    virtual void calculateWidth();
    virtual void setCheckDigit(qint8 checkDigit) { checkDigit_ = checkDigit; }
    virtual void setPrintsCaption(bool on) { printsCaption_ = on; }
    virtual void setPrintsHeader(bool on) { printsHeader_ = on; }
    virtual void setPrintsFooter(bool on) { printsFooter_ = on; }
    virtual void setBarWidth(float barWidth) { barWidth_ = barWidth; }

    virtual QString content() const { return content_; }
    virtual float height() const { return height_; }
    virtual float width() const { return width_; }
    virtual qint8 checkDigit() const { return checkDigit_; }
    virtual bool printsCaption() const { return printsCaption_; }
    virtual bool printsHeader() const { return printsHeader_; }
    virtual bool printsFooter() const { return printsFooter_; }
    virtual float barWidth() const { return barWidth_; }

    virtual bool isSizeValid() const { return true; }
    virtual void generateChecksum() { }
    // May put a given check character back after recomputing it, hence not const.
    virtual bool isContentValid();

    virtual QString initiator() const { return QString(); }
    virtual QString terminator() const { return QString(); }
    // The modules of one character; "" for a character the symbology cannot encode.
    virtual QString _encodeChar(char c) const;
    virtual QString barcode() const;
    QString completeBarcode() const;

    void setCaptionHeight(float inches) { captionHeight_ = inches; }
    void setHeaderHeight(float inches) { headerHeight_ = inches; }
    void setFooterHeight(float inches) { footerHeight_ = inches; }
    void setHeaderWidth(float points) { headerWidth_ = points; }
    void setFooterWidth(float points) { footerWidth_ = points; }
    float captionHeight() const { return captionHeight_; }
    float headerHeight() const { return headerHeight_; }
    float footerHeight() const { return footerHeight_; }
    float headerWidth() const { return headerWidth_; }
    float footerWidth() const { return footerWidth_; }

    // Store the size and measure the line height (and the header or footer width) with the settings'
    // value, header or footer font. Header and footer must be set before their sizes.
    void setCaptionFontSize(float size);
    void setHeaderFontSize(float size);
    void setFooterFontSize(float size);
    float caption_fontSize() const { return caption_fontSize_; }
    float header_fontSize() const { return header_fontSize_; }
    float footer_fontSize() const { return footer_fontSize_; }

    // Caption texts: the value under (or over) the bars and the digits left and right of them.
    virtual int digitsToLeft() const { return 0; }
    virtual int digitsToRight() const { return 0; }
    QString leftCaption() const;
    virtual QString rightCaption() const;
    virtual QString caption() const;
    QString header() const { return header_.isNull() ? QString(QLatin1String("")) : header_; }
    QString footer() const { return footer_.isNull() ? QString(QLatin1String("")) : footer_; }

    // Length in points of the bar run that ends at the module index: the height less the shown texts,
    // their margins and the top and bottom margins.
    virtual float barTop(int index) const;
    // Height in points above the common bottom line at which that run starts: 0, except for the bars
    // of four-state codes that have no lower part, which stand about the symbol's centre line.
    virtual float barBottom(int) const { return 0.0f; }
    // x of the first and of the last bar within the width, points.
    virtual float firstBar() const { return 0.0f; }
    virtual float lastBar() const { return width_ - barWidth_; }

    QString description() const;
    // Two barcodes are equal when their contents are.
    bool isEqual(const BRCBarcode& other) const { return content() == other.content(); }
    // A new symbol of the same class with the same content, caption flag, check character, bar width,
    // height and caption size, and its width worked out again.
    std::unique_ptr<BRCBarcode> copy() const;
    // Archive of content, caption flag, bar width, width, height, caption font size, caption height and
    // check character; initWithCoder answers false for a short or damaged archive.
    void encodeWithCoder(QDataStream& coder) const;
    bool initWithCoder(QDataStream& coder);

    // The content as 7-bit ASCII; false when it has no such form.
    static bool asciiForm(const QString& text, QByteArray* ascii);

protected:
    // An empty object of the same class, for copy.
    virtual std::unique_ptr<BRCBarcode> newInstance() const { return std::make_unique<BRCBarcode>(); }
    virtual const char* className() const { return "BRCBarcode"; }
    // The content's ASCII form, empty when it has none: the passes made before validity is asked.
    QByteArray asciiContent() const;

    QString footer_;
    QString header_;
    QString content_;
    float height_ = 0.0f;
    float width_ = 0.0f;
    qint8 checkDigit_ = 0;
    bool printsCaption_ = false;
    bool printsHeader_ = false;
    bool printsFooter_ = false;
    float barWidth_ = 0.0f;
    float captionHeight_ = 0.0f;
    float headerHeight_ = 0.0f;
    float footerHeight_ = 0.0f;
    float headerWidth_ = 0.0f;
    float footerWidth_ = 0.0f;
    float caption_fontSize_ = 0.0f;
    float header_fontSize_ = 0.0f;
    float footer_fontSize_ = 0.0f;
};
