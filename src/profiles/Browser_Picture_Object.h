#pragma once

#include <QString>

// One picture of a thumbnail browser: the file it shows, the name under its thumbnail and an identifier
// that stays the same while the browser reorders its items.
struct Browser_Picture_Object {
    QString path;
    QString image_Name;
    QString image_UID;

    static Browser_Picture_Object initWithImage_Path(const QString& path, const QString& name, const QString& uid)
    {
        return { path, name, uid };
    }
    void setPath(const QString& newPath) { path = newPath; }

    bool operator==(const Browser_Picture_Object&) const = default;
};
