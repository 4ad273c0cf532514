#pragma once

#include <QFont>
#include <QPlainTextEdit>

// The box a text item is typed into on the canvas: it lies over the item, shows the item's font and colour
// at the canvas's zoom, and widens and deepens with what is typed. Escape, or the keyboard focus leaving
// for another control, ends the edit; the canvas then writes the text into the item.
class TSLTextEditingView : public QPlainTextEdit {
    Q_OBJECT
public:
    // font and colour are the item's; pointsToPixels is the canvas's zoom factor.
    TSLTextEditingView(
        const QString& text, const QFont& font, const QColor& colour, double pointsToPixels, QWidget* parent);

    // Places the box at the item's top-left (pixels of the canvas) no smaller than the size, then grows it to
    // the text's extent, never past maxRight.
    void placeAt(const QRect& area, int maxRight);
    // The item's text when the edit began: ending the edit records the change from it as one undo step.
    QString originalText() const { return original_; }

signals:
    void editingFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void fitToText();

    QString original_;
    QRect minimum_;
    int maxRight_ = 0;
    bool finishing_ = false;
};
