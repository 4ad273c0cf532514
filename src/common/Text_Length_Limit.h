#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;

// The most characters a text item holds, whichever road its text comes in by: the inspector's text box,
// the box on the card, the greeting-text catalogue, a script.
constexpr int kTextItemMaximumLength = 250;

// Keeps what comes into a text box within the limit of a text item: of what an edit brings in (typed,
// pasted, inserted), the part beyond the limit is left out at once, whole characters as a person sees them,
// and a notice says so. What the text held before is never cut, so a longer text from a design file stays
// whole while it is edited; it only cannot grow, though what is selected may be typed over. Edits made while
// the box's signals are blocked (the program showing a text) are not policed.
class Text_Length_Limit final : public QObject {
    Q_OBJECT
public:
    // Made before anything else follows the box's changes, so that they all see the text within the limit.
    explicit Text_Length_Limit(QPlainTextEdit& box, int limit = kTextItemMaximumLength);

    // The notice of characters left out.
    static QString notice(int leftOut, int limit = kTextItemMaximumLength);

private:
    // Leaves out what the edit just made brought in beyond the limit, and tells of it.
    void keepWithin();

    QPlainTextEdit& box_;
    int limit_;
    QString before_; // the box's text before the edit
};
