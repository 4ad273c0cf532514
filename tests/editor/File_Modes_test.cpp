// Every save's temporary file as it is the moment it is made, before a byte is in it: another user of the
// machine who may not read the finished file cannot read it while it is written either.
#include "editor/EditorWindowTestSupport.h"

#include "data/Series_File.h"
#include "data/SpreadsheetWriter.h"
#include "output/Card_Image_File.h"
#include "output/Preferences.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <functional>
#include <mutex>
#include <vector>

#include <sys/stat.h>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(07777);
}

class FileModesTest : public editortest::EditorWindowTest {
protected:
    struct Born {
        QString path;
        mode_t mode;
    };
    std::mutex lock;
    std::vector<Born> born;
    mode_t keptUmask = 0;
    QString folder;
    const QString keptResource = Resource_Path;
    const QString keptData = Data_Folder_Path;

    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        // Settings, series and templates of the test's own, gone with it.
        folder = testsupport::makeTempFolder(QStringLiteral("modes"));
        Resource_Path = folder + QStringLiteral("/data");
        Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
        QDir().mkpath(Data_Folder_Path);
        QDir().mkpath(Resource_Path + QStringLiteral("/Templates/User"));
        keptUmask = ::umask(022);
        platform::setTemporaryFileObserver([this](const QString& path, int handle) {
            struct stat info { };
            ::fstat(handle, &info);
            const std::lock_guard<std::mutex> guard(lock);
            born.push_back({ path, info.st_mode & 07777 });
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
    // The modes the temporary files of target were born with.
    std::vector<mode_t> bornFor(const QString& target)
    {
        const QFileInfo info(target);
        const QString prefix = QLatin1Char('.') + info.fileName() + QStringLiteral(".tessaline-");
        std::vector<mode_t> modes;
        const std::lock_guard<std::mutex> guard(lock);
        for (const Born& file : born)
            if (QFileInfo(file.path).absolutePath() == info.absolutePath()
                && QFileInfo(file.path).fileName().startsWith(prefix))
                modes.push_back(file.mode);
        return modes;
    }
};

TEST_F(FileModesTest, EveryTemporaryFileIsBornNoMoreOpenThanTheFileItBecomes)
{
    addShape({ 10, 10, 40, 20 });
    const QString templates = Resource_Path + QStringLiteral("/Templates/User/");
    const auto saveDesign = [this](const QString& path) {
        return [this, path] {
            Project_File_Name = path;
            return window->Save_project_file(false, false) == TSLWindowController::SaveResult::Saved;
        };
    };
    const auto saveSettings = [] {
        const auto settings = Preferences::sharedInstance();
        settings->setsend_email_Password(QStringLiteral("secret"));
        return settings->flush();
    };
    QImage card(40, 30, QImage::Format_ARGB32);
    card.fill(Qt::darkCyan);
    const struct {
        const char* save;
        QString target;
        mode_t before; // 0: no file yet
        mode_t umask;
        std::function<bool()> run;
        mode_t born;
        mode_t after;
    } rows[] = {
        { "design over a private one", folder + QStringLiteral("/mine.dcard"), 0600, 022,
            saveDesign(folder + QStringLiteral("/mine.dcard")), 0600, 0600 },
        { "design shared with a group", folder + QStringLiteral("/ours.dcard"), 0664, 022,
            saveDesign(folder + QStringLiteral("/ours.dcard")), 0644, 0664 },
        { "new design", folder + QStringLiteral("/new.dcard"), 0, 027,
            saveDesign(folder + QStringLiteral("/new.dcard")), 0640, 0640 },
        { "series", Series_File::path(QStringLiteral("Guests")), 0600, 022,
            [] {
                return Series_File::write(
                    QStringLiteral("Guests"), { QStringLiteral("Ada") }, Series_File::Values::AsGiven);
            },
            0600, 0600 },
        { "workbook", folder + QStringLiteral("/guests.xlsx"), 0600, 022,
            [this] {
                return SpreadsheetWriter::WriteWorkbook(folder + QStringLiteral("/guests.xlsx"),
                    { { QStringLiteral("Name") }, { QStringLiteral("Ada") } }, true);
            },
            0600, 0600 },
        { "template design", templates + QStringLiteral("Private.dcard"), 0600, 022,
            [this] { return window->Export_Template(QStringLiteral("Private")); }, 0600, 0600 },
        { "template picture", templates + QStringLiteral("Private.png"), 0600, 022,
            [this] { return window->Export_Template(QStringLiteral("Private")); }, 0600, 0600 },
        { "batch picture", folder + QStringLiteral("/Card_1.png"), 0600, 022,
            [&] { return Card_Image_File::writeForBatch(card, folder + QStringLiteral("/Card_1.png"), 72).isEmpty(); },
            0600, 0600 },
        { "batch picture shared with a group", folder + QStringLiteral("/Card_2.tiff"), 0660, 022,
            [&] { return Card_Image_File::writeForBatch(card, folder + QStringLiteral("/Card_2.tiff"), 72).isEmpty(); },
            0640, 0660 },
        { "settings others could read", Preferences::settingsFilePath(), 0644, 022, saveSettings, 0600, 0600 },
        { "new settings under an open umask", Preferences::settingsFilePath(), 0, 0, saveSettings, 0600, 0600 },
    };
    for (const auto& row : rows) {
        QFile::remove(row.target);
        if (row.before != 0) {
            QFile old(row.target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly)) << row.save;
            old.write("old");
            old.close();
            ASSERT_EQ(::chmod(QFile::encodeName(row.target).constData(), row.before), 0) << row.save;
        }
        {
            const std::lock_guard<std::mutex> guard(lock);
            born.clear();
        }
        ::umask(row.umask);
        EXPECT_TRUE(row.run()) << row.save;
        ::umask(022);
        const std::vector<mode_t> modes = bornFor(row.target);
        EXPECT_FALSE(modes.empty()) << row.save << ": no temporary file was seen";
        for (const mode_t mode : modes)
            EXPECT_EQ(mode, row.born) << row.save << std::oct << ": born " << mode << ", expected " << row.born;
        EXPECT_EQ(modeOf(row.target), row.after) << row.save << std::oct << ": finished as " << modeOf(row.target);
    }
}

} // namespace
