#pragma once

#include "common/Globals.h"
#include "data/Series_Host.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <utility>
#include <vector>

#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace seriestest {

inline QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The texts of the message boxes shown, without the line feed the information box puts before its text.
template <typename Responder> std::vector<QString> messageTexts(const Responder& ui)
{
    std::vector<QString> out;
    for (const auto& m : ui.messages)
        out.push_back(m.text.startsWith(QLatin1Char('\n')) ? m.text.mid(1) : m.text);
    return out;
}

// Points the series folder at a fresh folder for one test and puts the old one back afterwards.
class SeriesFolder {
public:
    SeriesFolder()
        : kept_(Data_Folder_Path)
    {
        ::chmod(QFile::encodeName(root_.path()).constData(), 0755);
        Data_Folder_Path = root_.filePath(QStringLiteral("DataSet"));
        QDir().mkpath(Data_Folder_Path);
    }
    ~SeriesFolder() { Data_Folder_Path = kept_; }
    QString file(const QString& name) const { return QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")); }
    QByteArray bytes(const QString& name) const
    {
        QFile in(file(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    void put(const QString& name, const QByteArray& content) const
    {
        QFile out(file(name));
        out.open(QIODevice::WriteOnly);
        out.write(content);
    }
    QStringList files() const { return QDir(Data_Folder_Path).entryList(QDir::Files, QDir::Name); }

private:
    QString kept_;
    QTemporaryDir root_;
};

// Makes a folder unwritable for its lifetime. Permissions do not bind the superuser, so a test running as
// root also takes the identity of an ordinary user while it lasts.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder)
        : folder_(QFile::encodeName(folder))
    {
        ::chmod(folder_.constData(), 0555);
        if (::geteuid() == 0)
            switched_ = ::seteuid(65534) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (switched_ && ::seteuid(0) != 0)
            std::abort();
        ::chmod(folder_.constData(), 0755);
    }

private:
    QByteArray folder_;
    bool switched_ = false;
};

// A main window stand-in: the names it reports in use and the notices it was asked to show.
class FakeHost final : public Series_Host {
public:
    FakeHost() { Series_Host::setInstance(this); }
    ~FakeHost() override { Series_Host::setInstance(nullptr); }
    bool Check_Batch_File_In_Use_Validation(const QString& name) const override { return inUse.count(name) > 0; }
    void Show_Export_Notice(const QString& path, const QString& message) override
    {
        notices.emplace_back(path, message);
    }
    std::set<QString> inUse;
    std::vector<std::pair<QString, QString>> notices;
};

} // namespace seriestest
