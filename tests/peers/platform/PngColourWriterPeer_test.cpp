// Our colour PNG files against Python's zlib: every chunk's check is right and the picture data inflates,
// its own check included, to one filter byte of the format's five and the pixels of every row (the pixels
// themselves are compared through the PNG library in the writer's own read-back table).
#include "platform/PngColourWriter.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const char* const kScript = R"PY(
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "signature"
at, idat, header = 8, b"", None
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    (check,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
    assert zlib.crc32(kind + body) == check, "chunk check of " + kind.decode()
    if kind == b"IHDR": header = struct.unpack(">IIBBBBB", body)
    if kind == b"IDAT": idat += body
    at += 12 + length
width, height, depth, colour = header[:4]
rows = zlib.decompress(idat)
channels = {2: 3, 6: 4}[colour]
assert len(rows) == height * (1 + width * channels), "row bytes"
assert all(rows[y * (1 + width * channels)] <= 4 for y in range(height)), "filter bytes"
print(width, height, channels)
)PY";

QImage sample(int width, int height, bool translucent)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(translucent ? Qt::transparent : Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 90, 200, translucent ? 140 : 255));
    painter.drawEllipse(QRectF(width * 0.1, height * 0.1, width * 0.7, height * 0.8));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, width, height), Qt::AlignCenter, QStringLiteral("Guest 12"));
    return image;
}

} // namespace

TEST(PngColourWriterPeer, PythonInflatesEveryFileWithItsChecks)
{
    if (!testsupport::havePeer(QStringLiteral("/usr/bin/python3")))
        GTEST_SKIP() << "/usr/bin/python3 is not installed";
    const QString folder = testsupport::makeTempFolder(QStringLiteral("png-peer"));
    struct Case {
        int width;
        int height;
        bool translucent;
        const char* expected;
    };
    const Case cases[] = {
        { 1012, 638, false, "1012 638 3" },
        { 301, 77, true, "301 77 4" },
        { 9000, 5, false, "9000 5 3" }, // rows beyond the reach of a reference one row back
        { 1, 1, false, "1 1 3" },
    };
    for (const Case& c : cases) {
        const QString path = QDir(folder).filePath(QStringLiteral("sample-%1.png").arg(c.width));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(platform::PngColourWriter::pngData(sample(c.width, c.height, c.translucent)));
        file.close();
        QString out;
        QString err;
        const int code = testsupport::runProgram(
            QStringLiteral("/usr/bin/python3"), { QStringLiteral("-c"), QString::fromUtf8(kScript), path }, &out, &err);
        EXPECT_EQ(code, 0) << c.width << ": " << err.toStdString();
        EXPECT_EQ(out.trimmed().toStdString(), c.expected);
    }
}
