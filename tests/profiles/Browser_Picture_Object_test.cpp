// A browser entry answers the browser from its own fields: the path (also by key), the identifier, and the
// display name as both title and subtitle.
#include "profiles/Browser_Picture_Object.h"

#include <gtest/gtest.h>

TEST(BrowserPictureObject, AnswersTheBrowserFromItsFields)
{
    Browser_Picture_Object entry = Browser_Picture_Object::initWithImage_Path(
        QStringLiteral("/data/Templates/User/Party.png"), QStringLiteral("Party.png"), QStringLiteral("TEMP3.png"));
    EXPECT_EQ(entry.imageRepresentationType(), Browser_Picture_Object::RepresentationType::Path);
    EXPECT_EQ(entry.imageRepresentation(), QStringLiteral("/data/Templates/User/Party.png"));
    EXPECT_EQ(entry.imageUID(), QStringLiteral("TEMP3.png"));
    EXPECT_EQ(entry.imageTitle(), QStringLiteral("Party.png"));
    EXPECT_EQ(entry.imageSubtitle(), entry.imageTitle());
    EXPECT_TRUE(entry.image.isNull()); // the browser reads the file; the entry holds no picture

    entry.setPath(QStringLiteral("/data/Background/Sea.jpg"));
    EXPECT_EQ(entry.imageRepresentation(), QStringLiteral("/data/Background/Sea.jpg"));
    EXPECT_EQ(entry.valueForKey(QStringLiteral("path")).toString(), QStringLiteral("/data/Background/Sea.jpg"));
    EXPECT_FALSE(entry.valueForKey(QStringLiteral("image_Name")).isValid());
    EXPECT_EQ(entry.imageUID(), QStringLiteral("TEMP3.png"));
}
