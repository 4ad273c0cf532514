#pragma once

#include "platform/PropertyList.h"

#include <QDateTime>
#include <QString>

#include <limits>

namespace plistsamples {

// A property list with every type, edge values of each, nesting, empty containers and keys in an order
// that is not sorted. Dates carry whole seconds, which both formats keep.
inline platform::PlistValue everyType()
{
    using namespace platform;
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(static_cast<char>(i));

    PlistArray integers { 0, 1, 255, 256, 65535, 65536, qint64(4294967295LL), qint64(4294967296LL),
        qint64(5000000000LL), -1, -255, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max() };
    PlistArray reals { 0.0, -0.0, 0.1, -2.5, 3.141592653589793, 1e300, 5e-324, 2.2250738585072014e-308,
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 1.0 / 3.0 };
    PlistArray strings { QString::fromUtf8("plain ascii"), QStringLiteral(""), QString::fromUtf8("Grüße, Привет, 😀"),
        QString::fromUtf8("a < b && c > d; \"quoted\" 'single'"),
        QString::fromUtf8("line one\nline two\r\nline three\rtab\there"), QString::fromUtf8("exactly fifteen"),
        QString(300, QChar(u'x')), QString(20, QChar(0x4E2D)) };
    PlistArray datas { QByteArray(), allBytes, QByteArray(70000, '\x5A') };
    PlistArray dates { QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC),
        QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15), Qt::UTC),
        QDateTime(QDate(1969, 7, 20), QTime(20, 17, 40), Qt::UTC),
        QDateTime(QDate(1901, 12, 13), QTime(20, 45, 52), Qt::UTC) };

    PlistDict inner;
    inner.insert(QStringLiteral("zeta"), true);
    inner.insert(QStringLiteral("alpha"), false);
    inner.insert(QString::fromUtf8("ёж"), PlistArray {});
    inner.insert(QStringLiteral("Mid"), PlistDict {});
    // A single-element brace list of the same type would copy rather than nest: wrap each level.
    const PlistValue deep = PlistArray { PlistValue(PlistArray { PlistValue(PlistArray { QStringLiteral("deep") }) }) };
    inner.insert(QString::fromUtf8("😀 key"), deep);

    PlistDict root;
    root.insert(QStringLiteral("strings"), strings);
    root.insert(QStringLiteral("integers"), integers);
    root.insert(QStringLiteral("reals"), reals);
    root.insert(QStringLiteral("data"), datas);
    root.insert(QStringLiteral("dates"), dates);
    root.insert(QStringLiteral("inner"), inner);
    root.insert(QStringLiteral("booleans"), PlistArray { true, false, true });
    root.insert(QStringLiteral("empty array"), PlistArray {});
    root.insert(QStringLiteral("empty dict"), PlistDict {});
    PlistArray many;
    for (int i = 0; i < 300; ++i)
        many.push_back(QStringLiteral("item %1").arg(i));
    root.insert(QStringLiteral("many"), many);
    return root;
}

} // namespace plistsamples
