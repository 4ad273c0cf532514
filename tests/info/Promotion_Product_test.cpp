// The maker's other products: the links behind the promotion window's buttons reach the mail program with
// every blank as "%20" and every line break as "%0A%0A", nothing else changed, and the pictures drawn for
// the products are found among the installed resources.
#include "info/Promotion_Product.h"

#include "platform/DataFolder.h"
#include "support/TestSupport.h"

#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Undoes the mail-link encoding, to compare a link with the text it was made from.
QString decoded(QString link)
{
    return link.replace(QStringLiteral("%0A%0A"), QStringLiteral("\n"))
        .replace(QStringLiteral("%20"), QStringLiteral(" "));
}

TEST(PromotionProduct, MailLinkEncodingChangesOnlyBlanksAndLineBreaks)
{
    const struct {
        const char* text;
        const char* link;
    } cases[] = {
        { "mailto:a@b.example?subject=Hello there", "mailto:a@b.example?subject=Hello%20there" },
        { "first line\nsecond line", "first%20line%0A%0Asecond%20line" },
        { "two\n\nbreaks", "two%0A%0A%0A%0Abreaks" },
        { "  \n  padded text \n ", "padded%20text" },
        { "100% & more?=#,.:", "100%%20&%20more?=#,.:" },
        { "\xc3\xa9t\xc3\xa9 caf\xc3\xa9", "\xc3\xa9t\xc3\xa9%20caf\xc3\xa9" },
        { "tab\tstays", "tab\tstays" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Promotion_Product::encodeMailLink(QString::fromUtf8(c.text)), QString::fromUtf8(c.link)) << c.text;
}

TEST(PromotionProduct, MailAndContactLinksAreEncodedMailtoLinksToTheProductsAddress)
{
    const auto products = Promotion_Product::makeAll(QStringLiteral("Cards and Tags"), QString());
    QSet<QString> kinds, titles, orders;
    for (const Promotion_Product& product : products) {
        SCOPED_TRACE(product.kind.toStdString());
        kinds << product.kind;
        titles << product.title;
        orders << product.orderLink;
        for (const QString& link : { product.mailLink, product.contactLink }) {
            EXPECT_TRUE(link.startsWith(QLatin1String("mailto:"))) << link.toStdString();
            EXPECT_FALSE(link.contains(QLatin1Char(' '))) << link.toStdString();
            EXPECT_FALSE(link.contains(QLatin1Char('\n'))) << link.toStdString();
            EXPECT_TRUE(link.contains(QLatin1String("%0A%0A"))) << "the body has two lines or more";
            EXPECT_EQ(link, link.trimmed());
            // The link carries the text it was made from, whole.
            EXPECT_EQ(Promotion_Product::encodeMailLink(decoded(link)), link);
            EXPECT_EQ(QUrl(link).toString(QUrl::FullyEncoded), link) << "the desktop receives the link unchanged";
        }
        const QString address = product.mailLink.section(QLatin1Char('?'), 0, 0);
        EXPECT_TRUE(address.endsWith(QLatin1String("@tessaline.example"))) << address.toStdString();
        EXPECT_TRUE(product.contactLink.startsWith(address + QStringLiteral("?subject=")));
        EXPECT_TRUE(product.mailLink.contains(QString(product.title).replace(QLatin1Char(' '), QStringLiteral("%20"))));
        EXPECT_TRUE(product.contactLink.startsWith(
            address + QStringLiteral("?subject=User%20Enquiry%20from%20App:%20Cards%20and%20Tags&body=")))
            << product.contactLink.toStdString();
        EXPECT_GE(product.contactLink.count(QStringLiteral("Cards%20and%20Tags")), 2) << "subject and body";
        EXPECT_TRUE(product.orderLink.startsWith(QLatin1String("https://www.tessaline.example/")));
        EXPECT_FALSE(product.shortDescription.isEmpty());
        EXPECT_FALSE(product.longDescription.isEmpty());
        EXPECT_EQ(Promotion_Product::titleOf(product.kind), product.title);
    }
    EXPECT_EQ(kinds, (QSet<QString> { QStringLiteral("S"), QStringLiteral("R"), QStringLiteral("B") }));
    EXPECT_EQ(titles.size(), 3);
    EXPECT_EQ(orders.size(), 3);
    EXPECT_TRUE(Promotion_Product::titleOf(QStringLiteral("X")).isEmpty());
    EXPECT_TRUE(Promotion_Product::titleOf(QStringLiteral("s")).isEmpty());
}

TEST(PromotionProduct, TwoLineTextKeepsAnEmptyLineBetweenItsLinesInTheMailProgram)
{
    const QString link = Promotion_Product::encodeMailLink(QStringLiteral("mailto:x@y.example?body=Hello\nBye"));
    // What the mail program shows: each "%0A" is one line break.
    const QString shown = QUrl::fromPercentEncoding(link.toUtf8());
    EXPECT_EQ(shown, QStringLiteral("mailto:x@y.example?body=Hello\n\nBye"));
}

TEST(PromotionProduct, PicturesAreTheInstalledDrawingsOrNoneWhenMissing)
{
    const auto installed = Promotion_Product::makeAll(QStringLiteral("T"), platform::installedResourceDir());
    for (const Promotion_Product& product : installed) {
        SCOPED_TRACE(product.kind.toStdString());
        ASSERT_FALSE(product.picture.isNull()) << "drawn at build time into the resources";
        EXPECT_EQ(product.picture.size(), QSize(256, 256));
        EXPECT_EQ(qAlpha(product.picture.pixel(0, 0)), 0) << "the pattern shows around the drawing";
        EXPECT_EQ(qAlpha(product.picture.pixel(128, 128)), 255) << "the drawing fills the middle";
    }
    EXPECT_NE(installed[0].picture, installed[1].picture);
    EXPECT_NE(installed[1].picture, installed[2].picture);

    const auto missing = Promotion_Product::makeAll(QStringLiteral("T"), testsupport::makeTempFolder("no_pictures"));
    for (const Promotion_Product& product : missing)
        EXPECT_TRUE(product.picture.isNull()) << product.kind.toStdString();
}

} // namespace
