#include "info/Maker_Links.h"

#include "platform/UiSeam.h"

#include <QUrlQuery>

namespace Maker_Links {

namespace {

const QString kSite = QStringLiteral("https://www.tessaline.example");

} // namespace

QUrl supportMail()
{
    return QUrl(QStringLiteral("mailto:support@tessaline.example"));
}

QUrl resellerMail()
{
    QUrl url(QStringLiteral("mailto:resellers@tessaline.example"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Reseller enquiry for Tessaline Card"));
    query.addQueryItem(QStringLiteral("body"),
        QStringLiteral("Hello,\n\nWe would like to offer Tessaline Card to our customers. Please tell us about "
                       "reseller terms.\n"));
    url.setQuery(query);
    return url;
}

QUrl website(int page)
{
    switch (page) {
    case 2:
        return QUrl(kSite + QStringLiteral("/products"));
    case 3:
        return QUrl(kSite + QStringLiteral("/faq"));
    default:
        return QUrl(kSite + QLatin1Char('/'));
    }
}

QUrl reviewPage()
{
    return QUrl(kSite + QStringLiteral("/review"));
}

QUrl commentsPage()
{
    return QUrl(kSite + QStringLiteral("/comments"));
}

QUrl videoChannel()
{
    return QUrl(kSite + QStringLiteral("/videos"));
}

QUrl sharePage(const QString& network)
{
    QUrl url(kSite + QStringLiteral("/share/") + network);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("u"), kSite + QLatin1Char('/'));
    url.setQuery(query);
    return url;
}

void open(const QUrl& url)
{
    platform::ui().openUrl(url);
}

} // namespace Maker_Links
