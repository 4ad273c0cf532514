#pragma once

#include "common/Globals.h"
#include "support/TestSupport.h"

#include <QString>

// Points the data folder at a fresh folder for one test, so the settings file starts absent.
class FreshDataFolder {
public:
    explicit FreshDataFolder(const QString& name)
        : saved_(Resource_Path)
    {
        Resource_Path = testsupport::makeTempFolder(name);
    }
    ~FreshDataFolder() { Resource_Path = saved_; }
    QString settingsFile() const { return Resource_Path + QStringLiteral("/com.varnel.card.plist"); }

private:
    QString saved_;
};
