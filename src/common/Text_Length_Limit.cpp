#include "common/Text_Length_Limit.h"

#include "common/Common_Functions.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

// The document's characters as the box's text counts them (the document ends with one paragraph mark more).
int lengthOf(const QTextDocument& document)
{
    return std::max(0, document.characterCount() - 1);
}

} // namespace

Text_Length_Limit::Text_Length_Limit(QPlainTextEdit& box, int limit)
    : QObject(&box)
    , box_(box)
    , limit_(limit)
{
    connect(box.document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        if (box_.signalsBlocked())
            return; // the program showing a text
        edited_ = true;
        insertedEnd_ = position + added;
        inserted_ = added;
    });
    connect(&box, &QPlainTextEdit::textChanged, this, &Text_Length_Limit::keepWithin);
}

void Text_Length_Limit::keepWithin()
{
    if (!std::exchange(edited_, false))
        return;
    QTextDocument& document = *box_.document();
    const int length = lengthOf(document);
    // What stays of the text before counts whole, however long; what came in fills the room left up to the limit.
    const int kept = length - inserted_;
    const int room = std::max(0, limit_ - kept);
    if (inserted_ <= room)
        return;
    const QString text = box_.toPlainText();
    int cutFrom = insertedEnd_ - inserted_ + room;
    if (cutFrom > 0 && cutFrom < text.size() && text.at(cutFrom - 1).isHighSurrogate()
        && text.at(cutFrom).isLowSurrogate())
        --cutFrom; // a character goes whole, never half a pair
    const int leftOut = insertedEnd_ - cutFrom;
    {
        const QSignalBlocker quiet(&box_);
        QTextCursor cut(&document);
        cut.setPosition(cutFrom);
        cut.setPosition(insertedEnd_, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }
    Show_MessageBox(notice(leftOut, limit_));
}

QString Text_Length_Limit::notice(int leftOut, int limit)
{
    return leftOut == 1
        ? QStringLiteral("A text can have at most %1 characters: the last character typed or pasted was left out.")
              .arg(limit)
        : QStringLiteral("A text can have at most %1 characters: the last %2 characters typed or pasted were left out.")
              .arg(limit)
              .arg(leftOut);
}
