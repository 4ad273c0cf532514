// The design-file type installed for the desktop recognises the files the program writes.
#include "editor/DesignFileSamples.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

TEST(DesignFileMimeType, GlobAndMagicMatchWhatTheProgramWrites)
{
    QFile file(QDir(QStringLiteral(TESSALINE_TEST_SOURCE_DIR))
                   .filePath(QStringLiteral("../resources/desktop/tessaline-dcard.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString glob, magic, type;
    int firstOffset = -1, lastOffset = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("mime-type"))
            type = a.value(QLatin1String("type")).toString();
        else if (xml.name() == QLatin1String("glob"))
            glob = a.value(QLatin1String("pattern")).toString();
        else if (xml.name() == QLatin1String("match")) {
            magic = a.value(QLatin1String("value")).toString();
            const QStringList range = a.value(QLatin1String("offset")).toString().split(QLatin1Char(':'));
            firstOffset = range.value(0).toInt();
            lastOffset = range.value(1, range.value(0)).toInt();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(type, QStringLiteral("application/x-tessaline-dcard"));
    EXPECT_EQ(glob, QStringLiteral("*.") + design_file_EXT);
    ASSERT_FALSE(magic.isEmpty());

    // The signature sits inside the range the desktop looks at, whatever the design holds.
    for (const DesignFileContent& content : { DesignFileContent {}, designsamples::richDesign() }) {
        const QByteArray bytes = encodeDesignFile(content);
        const qsizetype at = bytes.indexOf(magic.toUtf8());
        EXPECT_GE(at, firstOffset);
        EXPECT_LE(at, lastOffset);
    }
}
