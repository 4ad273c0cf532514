// Python reads the series files we write as plain UTF-8 lines, and we read the ones it writes.
#include "data/Series_File.h"

#include "data/SeriesTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using seriestest::SeriesFolder;
using seriestest::u;

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

QStringList awkwardValues()
{
    return { u("Zoë 🎉"), u("tab\tinside"), u("comma, \"quoted\""), u("  blanks around  "), u("日本語"),
        u("👨‍👩‍👧"), u("back\\slash") };
}

} // namespace

TEST(SeriesFilePeer, PythonReadsEveryValueWeWrite)
{
    ASSERT_TRUE(testsupport::havePeer(python)) << "tools/deps.sh installs python3";
    SeriesFolder folder;
    ASSERT_TRUE(Series_File::write(u("Guests"), awkwardValues(), Series_File::Values::AsGiven));
    // Each value on its own line, strict UTF-8, no byte-order mark, a line feed after the last one.
    const char* script = R"PY(
import sys
data = open(sys.argv[1], 'rb').read()
assert not data.startswith(b'\xef\xbb\xbf')
assert data.endswith(b'\n')
values = data.decode('utf-8', errors='strict').split('\n')[:-1]
sys.stdout.buffer.write('\x1f'.join(values).encode('utf-8'))
)PY";
    QString out, err;
    ASSERT_EQ(
        testsupport::runProgram(python, { u("-c"), QString::fromUtf8(script), folder.file(u("Guests")) }, &out, &err),
        0)
        << err.toStdString();
    EXPECT_EQ(out.split(QChar(0x1f)), awkwardValues());
}

TEST(SeriesFilePeer, WeReadWhatPythonWrites)
{
    ASSERT_TRUE(testsupport::havePeer(python)) << "tools/deps.sh installs python3";
    SeriesFolder folder;
    // Windows line ends, a blank line and no line feed after the last value.
    const char* script = R"PY(
import sys
open(sys.argv[1], 'w', encoding='utf-8', newline='').write('Zoë 🎉\r\n\r\n  two  \r\nlast')
)PY";
    QString err;
    ASSERT_EQ(testsupport::runProgram(
                  python, { u("-c"), QString::fromUtf8(script), folder.file(u("FromPython")) }, nullptr, &err),
        0)
        << err.toStdString();
    EXPECT_EQ(
        Series_File::readForEditing(u("FromPython")).value(), QStringList({ u("Zoë 🎉"), u(""), u("two"), u("last") }));
    EXPECT_EQ(
        Series_File::readBatch(u("FromPython")).value(), QStringList({ u("Zoë 🎉"), u(""), u("  two  "), u("last") }));
    EXPECT_EQ(Series_File::names(), QStringList({ u("FromPython") }));
}
