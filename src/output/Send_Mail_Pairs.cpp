#include "output/Send_Mail_Pairs.h"

#include "common/Common_Functions.h"
#include "output/Mail_Globals.h"
#include "output/Record_Source.h"

#include <algorithm>

namespace {

constexpr int pairsNamed = 3;

QString valueAt(const Record_Source& source, int record, int column)
{
    return Trim_Str(source.spreadsheetValue(record, column).value_or(QString()));
}

// The column that names the guests, for the person to know whose card it is: the first titled with "name".
int nameColumn(const Record_Source& source, int addresses)
{
    for (int column = 1; column < source.titles.size(); ++column) {
        if (column != addresses && source.titles.at(column).contains(QLatin1String("name"), Qt::CaseInsensitive))
            return column;
    }
    return -1;
}

// Where the person finds a record: its row in the workbook, or its number when the workbook was not read.
QString rowOf(const Record_Source& source, int record)
{
    const int row = source.sheetRows.value(record);
    return row > 0 ? QStringLiteral("row %1").arg(row) : QStringLiteral("record %1").arg(record + 1);
}

QString counted(qsizetype n, const char* one, const char* many)
{
    return n == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(n);
}

// The first few of a list, and how many more.
QString firstOf(const QStringList& all, const QString& separator)
{
    QString text = all.mid(0, pairsNamed).join(separator);
    if (all.size() > pairsNamed)
        text += QStringLiteral(" and %1 more").arg(all.size() - pairsNamed);
    return text;
}

// The guests of the records from `first` on: the row, the name and the address of each.
QString guestsFrom(const Record_Source& source, int first, int records, int names, int addresses)
{
    QStringList guests;
    for (int record = first; record < records; ++record) {
        const QString name = names < 0 ? QString() : valueAt(source, record, names);
        const QString address = valueAt(source, record, addresses);
        guests << rowOf(source, record) + (name.isEmpty() ? QString() : QStringLiteral(", ") + name)
                + (address.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(address));
    }
    return firstOf(guests, QStringLiteral("; "));
}

} // namespace

int Send_Mail_Pairs::addressColumn(const Record_Source& source)
{
    if (!source.useSpreadsheet)
        return -1;
    int best = -1;
    qsizetype bestCount = 0;
    for (int column = 1; column < source.titles.size(); ++column) {
        qsizetype filled = 0;
        qsizetype addresses = 0;
        for (int record = 0; record < source.rows.size(); ++record) {
            const QString value = valueAt(source, record, column);
            filled += !value.isEmpty();
            addresses += !value.isEmpty() && parseMailAddress(value).has_value();
        }
        if (addresses * 2 > filled && addresses > bestCount) {
            best = column;
            bestCount = addresses;
        }
    }
    return best;
}

QString Send_Mail_Pairs::warning(const QStringList& recipients, const Record_Source& source, int records)
{
    const int column = addressColumn(source);
    if (column < 0)
        return QString();
    const int names = nameColumn(source, column);
    const qsizetype paired = std::min<qsizetype>(recipients.size(), records);
    QStringList pairs;
    qsizetype differ = 0;
    for (int i = 0; i < paired; ++i) {
        const QString own = valueAt(source, i, column);
        if (mailGuest(recipients.at(i)) == mailGuest(own))
            continue;
        if (++differ > pairsNamed)
            continue;
        const QString name = names < 0 ? QString() : valueAt(source, i, names);
        pairs << QStringLiteral("%1 would get the card of %2%3, whose address is %4.")
                     .arg(Trim_Str(recipients.at(i)), rowOf(source, i),
                         name.isEmpty() ? QString() : QStringLiteral(", ") + name,
                         own.isEmpty() ? QStringLiteral("empty") : own);
    }
    const qsizetype left = recipients.size() - records;
    if (differ == 0 && left == 0)
        return QString();
    QString text = QStringLiteral("Each address in To gets the card of the record in its place, but the sheet's "
                                  "\"%1\" column does not agree with To.")
                       .arg(source.titleOf(column));
    if (differ > 0) {
        text += QStringLiteral("\n\n%1 of the %2 addresses would get the card of another guest:")
                    .arg(differ)
                    .arg(paired);
        for (const QString& pair : pairs)
            text += QStringLiteral("\n- ") + pair;
        if (differ > pairsNamed)
            text += QStringLiteral("\n- and %1 more.").arg(differ - pairsNamed);
    }
    if (left != 0) {
        text += QStringLiteral("\n\nTo holds %1 and the sheet %2: ")
                    .arg(counted(recipients.size(), "1 address", "%1 addresses"),
                        counted(records, "1 guest", "%1 guests"));
        QStringList unpaired;
        for (qsizetype i = records; i < recipients.size(); ++i)
            unpaired << Trim_Str(recipients.at(i));
        text += left > 0
            ? counted(left, "the last address would get no card: ", "the last %1 addresses would get no card: ")
                + firstOf(unpaired, QStringLiteral(", "))
            : counted(-left, "the last guest would get no mail: ", "the last %1 guests would get no mail: ")
                + guestsFrom(source, int(recipients.size()), records, names, column);
        text += QLatin1Char('.');
    }
    return text + QStringLiteral("\n\nSend anyway?");
}
