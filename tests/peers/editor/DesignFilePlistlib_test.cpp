// Python's plistlib reads a design file as an XML property list of 63 + F + B elements, its sheet too.
#include "editor/DesignFileSamples.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(DesignFilePeer, PlistlibReadsTheDesignWithEveryElement)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    ASSERT_TRUE(testsupport::havePeer(python)) << "tools/deps.sh installs python3";
    DesignFileContent content = designsamples::richDesign();
    content.workbookSheet = QStringLiteral("Sunday"); // beside title 0, which readers pass over
    const QString path = testsupport::makeTempFolder(QStringLiteral("design-peer")) + QStringLiteral("/card.dcard");
    ASSERT_TRUE(writeDesignFile(path, encodeDesignFile(content)));
    const char* script = R"PY(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    head = f.read(64)
    f.seek(0)
    root = plistlib.load(f, fmt=plistlib.FMT_XML)
F = int(root[61]); B = int(root[62 + F])
print(len(root), F, B, root[0], root[17], root[19], root[57], root[59], root[60][1]['Column1'])
print(all(isinstance(x, bytes) for x in root[62:62 + F] + root[63 + F:]))
)PY";
    QString out, err;
    ASSERT_EQ(testsupport::runProgram(python, { QStringLiteral("-c"), QString::fromUtf8(script), path }, &out, &err), 0)
        << err.toStdString();
    const QStringList lines = out.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    const int F = int(content.frontItems.size());
    const int B = int(content.backItems.size());
    EXPECT_EQ(lines[0],
        QStringLiteral("%1 %2 %3").arg(63 + F + B).arg(F).arg(B)
            + QString::fromUtf8(" MORVENTALISPRENQUADEX Grüße party {242.65000000000001, 153.06999999999999} Y "
                                "['#[Sunday]', 'Name', 'Table'] Émile"));
    EXPECT_EQ(lines[1], QStringLiteral("True"));
}
