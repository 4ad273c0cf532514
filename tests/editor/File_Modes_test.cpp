// Every save's temporary file as it is the moment it is made, before a byte is in it: another user whom the
// finished file keeps out cannot read it while it is written either.
#include "editor/EditorWindowTestSupport.h"

#include "data/Series_File.h"
#include "data/SpreadsheetWriter.h"
#include "output/Card_Image_File.h"
#include "output/Preferences.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>

#include <sys/stat.h>

namespace {

class FileModesTest : public editortest::EditorWindowTest {
protected:
    std::vector<std::pair<QString, mode_t>> born; // the temporary file's name and mode
    const QString keptResource = Resource_Path;
    const QString keptData = Data_Folder_Path;
    const mode_t keptUmask = ::umask(022);
    QString folder;

    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        // Settings, series and templates of the test's own.
        folder = Resource_Path = testsupport::makeTempFolder(QStringLiteral("modes"));
        Data_Folder_Path = folder + QStringLiteral("/DataSet");
        QDir().mkpath(Data_Folder_Path);
        QDir().mkpath(folder + QStringLiteral("/Templates/User"));
        platform::setTemporaryFileObserver([this](const QString& path, int handle) {
            struct stat info { };
            ::fstat(handle, &info);
            born.emplace_back(QFileInfo(path).fileName(), info.st_mode & 07777);
        });
    }
    void TearDown() override
    {
        platform::setTemporaryFileObserver({});
        ::umask(keptUmask);
        Resource_Path = keptResource;
        Data_Folder_Path = keptData;
        EditorWindowTest::TearDown();
    }
};

TEST_F(FileModesTest, EveryTemporaryFileIsBornNoMoreOpenThanTheFileItBecomes)
{
    addShape({ 10, 10, 40, 20 });
    const auto design = [this](const QString& path) {
        Project_File_Name = path;
        return window->Save_project_file(false, false) == TSLWindowController::SaveResult::Saved;
    };
    const auto settings = [](const QString&) {
        const auto preferences = Preferences::sharedInstance();
        preferences->setsend_email_Password(QStringLiteral("secret"));
        return preferences->flush();
    };
    const auto batchPicture = [](const QString& path) {
        QImage card(40, 30, QImage::Format_ARGB32);
        card.fill(Qt::darkCyan);
        return Card_Image_File::writeForBatch(card, path, 72).isEmpty();
    };
    const auto template_ = [this](const QString&) { return window->Export_Template(QStringLiteral("Private")); };
    const struct {
        QString target;
        mode_t before; // 0: no file there yet
        mode_t umask;
        std::function<bool(const QString&)> save;
        mode_t born;
        mode_t after;
    } rows[] = {
        { folder + QStringLiteral("/mine.dcard"), 0600, 022, design, 0600, 0600 },
        { folder + QStringLiteral("/ours.dcard"), 0664, 022, design, 0644, 0664 }, // shared with a group
        { folder + QStringLiteral("/new.dcard"), 0, 027, design, 0640, 0640 },
        { Series_File::path(QStringLiteral("Guests")), 0600, 022,
            [](const QString&) {
                return Series_File::write(
                    QStringLiteral("Guests"), { QStringLiteral("Ada") }, Series_File::Values::AsGiven);
            },
            0600, 0600 },
        { folder + QStringLiteral("/guests.xlsx"), 0600, 022,
            [](const QString& path) {
                return SpreadsheetWriter::WriteWorkbook(path, { { QStringLiteral("Ada") } }, false);
            },
            0600, 0600 },
        { folder + QStringLiteral("/Templates/User/Private.dcard"), 0600, 022, template_, 0600, 0600 },
        { folder + QStringLiteral("/Templates/User/Private.png"), 0600, 022, template_, 0600, 0600 },
        { folder + QStringLiteral("/Card_1.png"), 0600, 022, batchPicture, 0600, 0600 },
        { folder + QStringLiteral("/Card_2.png"), 0660, 022, batchPicture, 0640, 0660 },
        { Preferences::settingsFilePath(), 0644, 022, settings, 0600, 0600 },
        { Preferences::settingsFilePath(), 0, 0, settings, 0600, 0600 }, // an open umask
    };
    for (const auto& row : rows) {
        const std::string name
            = (QFileInfo(row.target).fileName() + QStringLiteral(" umask 0") + QString::number(row.umask, 8))
                  .toStdString();
        QFile::remove(row.target);
        if (row.before != 0) {
            ASSERT_TRUE(QFile(row.target).open(QIODevice::WriteOnly)) << name;
            ASSERT_EQ(::chmod(QFile::encodeName(row.target).constData(), row.before), 0) << name;
        }
        born.clear();
        ::umask(row.umask);
        EXPECT_TRUE(row.save(row.target)) << name;
        ::umask(022);
        // Every temporary file of the target was born with the row's mode, and there was one.
        const QString temporary = QLatin1Char('.') + QFileInfo(row.target).fileName() + QStringLiteral(".tessaline-");
        std::set<mode_t> modes;
        for (const auto& [file, mode] : born)
            if (file.startsWith(temporary))
                modes.insert(mode);
        EXPECT_EQ(modes, std::set<mode_t> { row.born }) << name << ", in decimal";
        EXPECT_EQ(testsupport::fileMode(row.target), row.after)
            << name << std::oct << ": finished as " << testsupport::fileMode(row.target);
    }
}

} // namespace
