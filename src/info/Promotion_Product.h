#pragma once

#include <QImage>
#include <QString>

#include <array>

// One of the maker's other products as the promotion window shows it: its texts, its picture and the
// three links behind the window's buttons. The links are built once, when the window is made.
struct Promotion_Product {
    QString kind; // "S", "R" or "B"
    QString title;
    QString shortDescription;
    QString longDescription;
    QImage picture; // empty when the picture is not installed
    QString mailLink;
    QString contactLink;
    QString orderLink;

    // The three products with their links; `appName` goes into the enquiry, the pictures are read from
    // `pictureFolder` ("promotion_S.png" and so on).
    static std::array<Promotion_Product, 3> makeAll(const QString& appName, const QString& pictureFolder);

    // The product's title for kind "S", "R" or "B", for the commands that open the window; empty for
    // another kind.
    static QString titleOf(const QString& kind);

    // The name of a product's picture among the installed resources.
    static QString pictureFileName(const QString& kind);

    // Makes a mail link out of plain text: trimmed, each line break written as "%0A%0A" and each blank as
    // "%20". Nothing else is encoded, so the text must hold no other character a link cannot carry.
    static QString encodeMailLink(const QString& text);
};
