#pragma once

#include "data/Read_Progress.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class Part_Sink;
namespace platform {
class ReadBudget;
}

// A workbook package read in place: its directory is listed and each part is inflated block by block
// into a scanner, never unpacked to disk. Every entry and each part's declared size are charged to the
// caller's budget before it is inflated, and no part inflates past what it declares.
class Workbook_Archive {
public:
    enum class Outcome { Read, Missing, Refused, Cancelled };

    Workbook_Archive();
    ~Workbook_Archive();
    Workbook_Archive(const Workbook_Archive&) = delete;
    Workbook_Archive& operator=(const Workbook_Archive&) = delete;

    // Opens a regular file of at most kMaxFileBytes (never blocking on a pipe or device) and lists it.
    bool open(const QString& path, platform::ReadBudget& budget, QString* error);
    const QStringList& entryNames() const { return names_; }
    std::int64_t fileSize() const { return fileSize_; }
    // The place of the entry of that name, case ignored as spreadsheet programs ignore it; -1 when there is
    // none. Every look-up of a part goes through here. Two entries of one name are refused by open().
    qsizetype indexOf(const QString& name) const;
    // Declared inflated size of an entry; -1 when there is none of that name.
    std::int64_t declaredSize(const QString& name) const;

    // Inflates the entry into the sink and finishes it. Missing when there is none of that name.
    Outcome read(
        const QString& name, Part_Sink& scanner, platform::ReadBudget& budget, Read_Control* control, QString* error);

    static constexpr std::int64_t kMaxFileBytes = std::int64_t(1) << 30;
    static constexpr int kMaxEntries = 65536;

private:
    struct Zip;
    std::unique_ptr<Zip> zip_;
    QStringList names_;
    std::int64_t fileSize_ = 0;
};
