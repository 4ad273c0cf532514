#pragma once

#include <QString>
#include <QStringList>

class Record_Source;

// Record i goes to recipient i. When the bound sheet holds a column of e-mail addresses, that pairing can be
// checked before anything is sent: a sorted sheet or a guest added to one list only gives guests each other's
// cards, with their names and replies.
namespace Send_Mail_Pairs {

// The position of the sheet's column of e-mail addresses (more than half of its values, at least one, are
// addresses; of several, the one with the most); -1 when it has none.
int addressColumn(const Record_Source& source);

// What the person reads before such a run: the first pairs whose addresses differ and how many there are,
// and the addresses left without a card or the guests without a mail when the counts differ, each guest by
// the workbook's row; empty when every pair agrees or the sheet has no column of addresses. `records` is the
// run's number of records.
QString warning(const QStringList& recipients, const Record_Source& source, int records);

} // namespace Send_Mail_Pairs
