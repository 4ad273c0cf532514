#pragma once

#include <QSizeF>
#include <QString>

#include <vector>

class TSLText;

// The invitation's texts on a card of any size: each spans the card's width inside a margin that follows
// the card's size, one under another, the column centred in the card's height. All are set smaller
// together, never below the smallest legible size, until the column fits.
namespace invitationlayout {

// Below this, type on a printed card can no longer be read comfortably.
constexpr double kSmallestLegiblePoints = 6.0;

struct Line {
    QString controlID; // "PARTY_TITLE" ... "PARTY_FROM"
    QString text;
};

// The wizard's answers as the texts of the card, in the order they are placed; empty answers give none.
// A date and a time make one text, "<date> at <time>"; a time alone "AT <time>".
std::vector<Line> lines(const QString& title, const QString& to, const QString& message, const QString& date,
    const QString& time, const QString& venue, const QString& from);

// Gives each text its frame on a card of the size (points) and its font size; false when the texts do
// not fit at a legible size, in which case they are left at that size, running past the card's bottom.
bool layOut(const std::vector<TSLText*>& texts, const QSizeF& card);

// Whether the wizard's answers fit a card of the size (points) at a legible size, set as the wizard
// places them.
bool fits(const std::vector<Line>& lines, const QSizeF& card);

} // namespace invitationlayout
