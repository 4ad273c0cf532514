#include "info/Promotion_Product.h"

#include "common/Common_Functions.h"
#include "platform/RegularFile.h"

#include <QDir>

namespace {

// What the program says about each product; the addresses are placeholders under the reserved
// ".example" domain until the products are published.
struct ProductText {
    const char* kind;
    const char* title;
    const char* shortDescription;
    const char* longDescription;
    const char* address;
    const char* orderPage;
};

constexpr ProductText kProducts[] = {
    { "S", "Tessaline Sticker Studio", "Round stickers, labels and seals for every parcel and jar.",
        "Draw stickers with frames, badges and ribbons, fill them from a list of names and print whole sheets "
        "at once. Every sticker keeps its own colours, so a sheet can hold a label for each guest.",
        "stickers@tessaline.example", "https://www.tessaline.example/order/sticker-studio" },
    { "R", "Tessaline Recipe Keeper", "Recipe cards for your kitchen and for your friends.",
        "Write your recipes once and print them as cards, booklets or a page for the fridge. Ingredients are "
        "scaled for any number of plates, and a photo of the dish sits beside the steps.",
        "recipes@tessaline.example", "https://www.tessaline.example/order/recipe-keeper" },
    { "B", "Tessaline Bookmark Maker", "Bookmarks with quotes, photos and tassels.",
        "Lay out tall bookmarks with a favourite line, a photo or a pattern, front and back, and print them "
        "eight to a sheet. A punched hole for the tassel is marked on every one.",
        "bookmarks@tessaline.example", "https://www.tessaline.example/order/bookmark-maker" },
};

QString makeMailLink(const QString& address, const QString& subject, const QString& body)
{
    return Promotion_Product::encodeMailLink(
        QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + subject + QStringLiteral("&body=") + body);
}

} // namespace

QString Promotion_Product::encodeMailLink(const QString& text)
{
    QString link = Trim_Str(text);
    link = Replace_char_in_string(link, QStringLiteral("\n"), QStringLiteral("%0A%0A"));
    return Replace_char_in_string(link, QStringLiteral(" "), QStringLiteral("%20"));
}

QString Promotion_Product::titleOf(const QString& kind)
{
    for (const ProductText& text : kProducts) {
        if (kind == QLatin1String(text.kind))
            return QLatin1String(text.title);
    }
    return QString();
}

QString Promotion_Product::pictureFileName(const QString& kind)
{
    return QStringLiteral("promotion_%1.png").arg(kind);
}

std::array<Promotion_Product, 3> Promotion_Product::makeAll(const QString& appName, const QString& pictureFolder)
{
    std::array<Promotion_Product, 3> products;
    for (std::size_t i = 0; i < products.size(); ++i) {
        const ProductText& text = kProducts[i];
        Promotion_Product& product = products[i];
        product.kind = QLatin1String(text.kind);
        product.title = QLatin1String(text.title);
        product.shortDescription = QLatin1String(text.shortDescription);
        product.longDescription = QLatin1String(text.longDescription);
        // A picture that is not installed leaves the product without one.
        product.picture = platform::readPictureFile(QDir(pictureFolder).filePath(pictureFileName(product.kind)));
        const QString address = QLatin1String(text.address);
        product.mailLink = makeMailLink(address, QStringLiteral("Tell me more about ") + product.title,
            QStringLiteral("Hello,\nPlease send me more about %1.\nThank you.").arg(product.title));
        product.contactLink = makeMailLink(address, QStringLiteral("User Enquiry from App: ") + appName,
            QStringLiteral("Hello,\nI am writing to you from %1.\n").arg(appName));
        product.orderLink = QLatin1String(text.orderPage);
    }
    return products;
}
