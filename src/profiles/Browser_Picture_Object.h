#pragma once

#include <QImage>
#include <QString>
#include <QVariant>

// One picture of a thumbnail browser: the file it shows, the name under its thumbnail and an identifier
// that stays the same while the browser reorders its items. The browser reads the thumbnail from the path;
// the entries the program makes leave image empty.
struct Browser_Picture_Object {
    QString path;
    QImage image;
    QString image_Name;
    QString image_UID;

    // How a browser is to read an entry's picture: from the file at its path.
    enum class RepresentationType { Path };

    static Browser_Picture_Object initWithImage_Path(const QString& path, const QString& name, const QString& uid)
    {
        Browser_Picture_Object entry;
        entry.path = path;
        entry.image_Name = name;
        entry.image_UID = uid;
        return entry;
    }
    void setPath(const QString& newPath) { path = newPath; }

    // What a browser asks of an entry: title and subtitle are both the display name.
    RepresentationType imageRepresentationType() const { return RepresentationType::Path; }
    QString imageRepresentation() const { return path; }
    QString imageUID() const { return image_UID; }
    QString imageTitle() const { return image_Name; }
    QString imageSubtitle() const { return image_Name; }
    // Owners read the chosen entry's file by the key "path"; no other key is offered.
    QVariant valueForKey(const QString& key) const
    {
        return key == QLatin1String("path") ? QVariant(path) : QVariant();
    }

    bool operator==(const Browser_Picture_Object&) const = default;
};
