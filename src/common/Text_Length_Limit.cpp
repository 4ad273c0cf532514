#include "common/Text_Length_Limit.h"

#include "common/Common_Functions.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

// The last place at or before `at`, and not before `from`, where what a person sees as one character (a
// flag, a letter with its accents, an emoji family, a syllable with its vowel sign) begins or ends.
int characterBoundaryBefore(const QString& text, int at, int from)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(at);
    if (!finder.isAtBoundary())
        at = int(finder.toPreviousBoundary());
    return std::max(from, at);
}

} // namespace

Text_Length_Limit::Text_Length_Limit(QPlainTextEdit& box, int limit)
    : QObject(&box)
    , box_(box)
    , limit_(limit)
    , before_(box.toPlainText())
{
    // The document does not always say where an edit was (a replacement in a box with its own text options
    // is told as the whole text replaced), so the edit is found by comparing the text before with after.
    connect(box.document(), &QTextDocument::contentsChanged, this, [this] {
        if (box_.signalsBlocked())
            before_ = box_.toPlainText(); // the program showing a text
    });
    connect(&box, &QPlainTextEdit::textChanged, this, &Text_Length_Limit::keepWithin);
}

void Text_Length_Limit::keepWithin()
{
    const QString text = box_.toPlainText();
    const QString before = std::exchange(before_, text);
    // What stays of the text before counts whole, however long; what came in fills the room left up to the
    // limit, and a replacement may always bring in as many characters as it took away.
    const qsizetype beyond = text.size() - std::max<qsizetype>(limit_, before.size());
    if (beyond <= 0)
        return;
    // What came in lies between what the text begins and ends with as before.
    const qsizetype from = std::mismatch(text.begin(), text.end(), before.begin(), before.end()).first - text.begin();
    const qsizetype same
        = std::mismatch(text.rbegin(), text.rend() - from, before.rbegin(), before.rend() - from).first - text.rbegin();
    const qsizetype to = text.size() - same;
    const int cutFrom = characterBoundaryBefore(text, int(to - beyond), int(from));
    {
        const QSignalBlocker quiet(&box_);
        QTextCursor cut(box_.document());
        cut.setPosition(cutFrom);
        cut.setPosition(int(to), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }
    Show_MessageBox(notice(int(to) - cutFrom, limit_));
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
