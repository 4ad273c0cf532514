#pragma once

#include "output/Record_Source.h"

// A guest list of `count` records for the barcode benchmarks: series "names" and "codes", each code its
// own invitation number with a table.
namespace benchguests {

inline Record_Source records(int count)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names, codes;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Guest number %1").arg(i + 1);
        codes << QStringLiteral("INV-%1-TABLE-%2").arg(100000 + i).arg(i % 40);
    }
    source.series.insert(QStringLiteral("names"), names);
    source.series.insert(QStringLiteral("codes"), codes);
    return source;
}

} // namespace benchguests
