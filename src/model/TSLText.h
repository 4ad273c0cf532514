#pragma once

#include "model/TSLGraphic.h"
#include "model/TSLTextLayoutCache.h"

#include <QVariant>

class QTextLayout;

// A block of text with one font, colour, alignment, case and kerning, over an optional fill and border.
// The characters live in the record's text storage; the storage's own attributes are not used in drawing.
class TSLText : public TSLGraphic {
public:
    TSLText() = default;
    explicit TSLText(Bare bare)
        : TSLGraphic(bare)
    {
    }

    QString className() const override { return QStringLiteral("TSLText"); }

    bool isDrawingFill() const override { return _isDrawingFill; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }
    bool canSetDrawingStroke() const override { return false; }
    QRectF drawingBounds() const override;

    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;

    // The text as it is drawn: the storage's characters (the seed text while there is no storage yet)
    // trimmed, then case-transformed. Reading it never creates the storage.
    QString displayedText() const;
    // The item's font; the built-in text font when the record has none (an archive without the key).
    QFont displayedFont() const;
    // The size the drawn text needs when wrapped at the item's current width. It measures exactly what
    // drawing lays out, and drawing changes nothing it reads, so the answer does not depend on whether the
    // item was drawn first.
    QSizeF naturalSize() const;
    void makeNaturalSize() override; // a locked item keeps its bounds
    // Widens the box to its longest line (its right edge not past the card's) and deepens it to all its
    // lines, so nothing typed is cut off; it never shrinks. A word wider than that widens it as a change of
    // card does (textSpanOnCard), moved in from the card's edge as far as it needs. A box that grows past
    // the card's bottom moves up as far as the card's top allows. A locked item keeps its bounds.
    void growToFitText(const QRectF& card);
    // The widest part of the drawn text that a line may not break inside, and its width in whole points.
    std::pair<QString, double> longestWord() const;
    // The width in whole points of `word` on one line in `font`, spaced as this text is.
    double wordWidth(const QString& word, const QFont& font) const;
    // Whether the drawn text does not fit its box, or reaches past the card's edges when a card is given
    // (lines or characters outside), so that drawing cuts it, or has a word wider than that card. The canvas marks such
    // a text; the outputs name the cards that have one.
    bool textIsCut(const QRectF& card = QRectF()) const;

    // --- Undo and scripting of the contents ---
    QSet<QString> keysForValuesToObserveForUndo() const override;
    QString presentablePropertyNameForKey(const QString& key) const override;
    QVariant valueForKey(const QString& key) const override;
    void setValueForKey(const QString& key, const QVariant& value) override;
    TSLTextStorage undoContents(); // an independent copy
    void setUndoContents(const TSLTextStorage& contents); // applied as a scripted change
    // The live storage. A script may edit it in place: the change is bracketed now and closed on the
    // calling thread's next event-loop pass, so it is recorded as one undoable step.
    TSLTextStorage& scriptingContents();
    void setScriptingContents(const QString& string); // keeps the storage's attributes
    void setScriptingContents(const TSLTextStorage& contents); // keeps the given attributes
    // A string stays a string; any other value becomes a text storage of its text form.
    static QVariant coerceValueForScriptingContents(const QVariant& value);
    void willChangeScriptingContents();
    void didChangeScriptingContents();

    QVariantMap properties() const override;

    QString contents_val;
    bool _contentsBeingChangedByScripting = false;
    bool _boundsBeingChangedToMatchContents = false;

private:
    // Guards the closing half of a scripted change that runs after the item may have gone. A copied item
    // gets a token of its own.
    struct LifeToken {
        std::shared_ptr<char> token = std::make_shared<char>();
        LifeToken() = default;
        LifeToken(const LifeToken&) { }
        LifeToken& operator=(const LifeToken&) { return *this; }
    };

    TSLTextLayoutCache::Inputs drawnLayoutInputs(const QString& text) const;
    bool layoutIsCut(const QTextLayout& layout, const QRectF& card) const;
    void drawCutMark(QPainter& painter, const QRectF& card) const;

    mutable TSLTextLayoutCache layoutCache_; // the drawn layout, kept until its text, font or box changes
    int scriptedChangeDepth_ = 0;
    TSLTextStorage contentsBeforeScriptedChange_;
    LifeToken lifeToken_;
};

// How wide a text's box is across a card `cardWidth` wide, and the margin it then keeps from each edge, so
// that its widest word, `word` points wide, lies whole: as wide as `width` or the word, within `margin` of the
// edges, less where the word needs the room. A word wider than the card takes all the room between the
// margins: it is broken there, and the text counts as cut.
struct TextSpan {
    double width;
    double margin;
};
TextSpan textSpanOnCard(double width, double word, double cardWidth, double margin);

// A new text's value and style: no fill, no border and, for the invitation texts the wizard places
// (control IDs with "PARTY_"), headings centred, the sender's line right-aligned, and the title and the
// marriage line in a bold italic serif.
void applyInvitationTextRules(TSLGraphic& text, const QString& value, const QString& ctrl_ID);
