// The built-in templates made at build time are designs the editor reads: each preview has its design
// file, which decodes with items on the front, and the preview stacks the two sides.
#include "editor/Design_File_Format.h"
#include "profiles/Picture_Folder.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(BuiltinTemplates, EveryPreviewHasADesignTheEditorReads)
{
    const QDir folder(QDir(platform::installedResourceDir()).filePath(QStringLiteral("Templates")));
    const QStringList previews = Picture_Folder::pictureNames(folder.path());
    ASSERT_GE(previews.size(), 3);
    for (const QString& preview : previews) {
        const QString base = preview.left(preview.lastIndexOf(QLatin1Char('.')));
        QFile design(folder.filePath(base + QStringLiteral(".dcard")));
        ASSERT_TRUE(design.open(QIODevice::ReadOnly)) << base.toStdString();
        QString reason;
        const auto content = decodeDesignFile(design.readAll(), &reason);
        ASSERT_TRUE(content) << base.toStdString() << ": " << reason.toStdString();
        EXPECT_FALSE(content->frontItems.empty());
        const QImage picture(folder.filePath(preview));
        const QSizeF card = content->front.Card_Size();
        EXPECT_NEAR(picture.width(), card.width(), 1.0);
        EXPECT_NEAR(picture.height(), 2 * card.height(), 2.0);
    }
}

} // namespace
