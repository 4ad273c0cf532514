// A write the system refuses part way (a full disk; here a file-size limit, which needs no root) keeps the
// old file whole, leaves nothing beside it, and the person reads the system's reason with the path. A write
// that succeeds removes beside it what a killed writer of ours left, and none of a person's copies, and its
// temporary file is born no more open than the file it becomes.
#include "editor/EditorWindowTestSupport.h"

#include "data/Series_File.h"
#include "data/SpreadsheetWriter.h"
#include "BatchTestSupport.h"
#include "output/Batch_Export.h"
#include "output/Card_Image_File.h"
#include "output/Email_Setting.h"
#include "output/Preferences.h"
#include "platform/RunLeftovers.h"
#include "support/TestSupport.h"

#include "ui_Email_Setting.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>

#include <csignal>
#include <set>

#include <sys/resource.h>
#include <sys/stat.h>

using editortest::EditorWindowTest;
using editortest::messageTexts;

namespace {

// Writes past `bytes` into any file fail with "File too large" while this lives; the signal the system
// would send instead is ignored, as a program on a full disk gets only the error.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small { bytes, saved_.rlim_max };
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_ {};
    void (*previous_)(int) = nullptr;
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList manyValues()
{
    QStringList values;
    for (int i = 0; i < 300; ++i)
        values << QStringLiteral("value %1").arg(i);
    return values;
}

} // namespace

class FullDiskTest : public EditorWindowTest {
protected:
    QString savedResource_ = Resource_Path;
    QString savedData_ = Data_Folder_Path;
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        Resource_Path = testsupport::makeTempFolder(QStringLiteral("full-disk"));
        Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
        QDir().mkpath(Data_Folder_Path);
        QDir().mkpath(Resource_Path + QStringLiteral("/Templates/User"));
        ui.messages.clear();
    }
    void TearDown() override
    {
        Resource_Path = savedResource_;
        Data_Folder_Path = savedData_;
        EditorWindowTest::TearDown();
    }
};

TEST_F(FullDiskTest, EveryKindOfSaveKeepsTheOldFileOrClearsOnlyItsOwnLeftovers)
{
    const auto batchCard = [](const QString& extension) {
        return [extension](const QString& path) {
            std::atomic<bool> stop { false };
            Batch_Export exporter(stop);
            Record_Source source;
            source.useSeries = true;
            source.series.insert(QStringLiteral("names"), { QStringLiteral("Ann") });
            Batch_Snapshot::Side front { { batchtest::boundText(
                                             1, QStringLiteral("names"), 0, QRectF(10, 10, 200, 30)) },
                batchtest::creditCardSide(0) };
            const auto snapshot = Batch_Snapshot::take(front, front, false, source, Barcode_Gen());
            return exporter.run({ snapshot, QFileInfo(path).path(), extension, QStringLiteral("F"), false, 150, 1 })
                .failure;
        };
    };
    struct Case {
        const char* what;
        QString path;
        std::function<QString(const QString& path)> save; // what the person reads
    };
    const QString templates = Resource_Path + QStringLiteral("/Templates/User/");
    const Case cases[] = {
        { "design", Resource_Path + QStringLiteral("/party.dcard"),
            [this](const QString& path) {
                Project_File_Name = path;
                window->Save_project_file(false, true);
                return messageTexts(ui).join(QLatin1Char('\n'));
            } },
        { "large design", Resource_Path + QStringLiteral("/large.dcard"),
            [this](const QString& path) {
                for (int i = 0; i < 60; ++i) // beyond the buffer a save writes straight through
                    addShape(QRectF(i, i, 20, 20));
                Project_File_Name = path;
                window->Save_project_file(false, true);
                return messageTexts(ui).join(QLatin1Char('\n'));
            } },
        { "design under another name", Resource_Path + QStringLiteral("/renamed.dcard"),
            [this](const QString& path) {
                ui.fileAnswers.push_back(path);
                window->Save_project_file(true, true);
                return messageTexts(ui).join(QLatin1Char('\n'));
            } },
        { "settings", Resource_Path + QStringLiteral("/com.varnel.card.plist"),
            [this](const QString&) {
                Email_Setting& settings = Email_Setting::defaultInstance();
                settings.form()._send_mail_sender_mail->setText(QStringLiteral("ann@example.com"));
                settings.form()._send_mail_password->setText(QString(2000, QLatin1Char('p')));
                settings.form()._send_mail_smtp->setText(QStringLiteral("smtp.example.com"));
                settings.form()._send_mail_port->setText(QStringLiteral("465"));
                settings.form()._send_mail_to->clear(); // whatever a test before typed there
                settings.Save_Button();
                return messageTexts(ui).join(QLatin1Char('\n'));
            } },
        { "series", Data_Folder_Path + QStringLiteral("/Guests.txt"),
            [](const QString& path) {
                QString error;
                Series_File::write(QStringLiteral("Guests"), manyValues(), Series_File::Values::AsGiven, &error);
                return path + QStringLiteral(": ") + error; // the series window puts the path beside it
            } },
        { "template", templates + QStringLiteral("Party.dcard"),
            [this](const QString&) {
                window->Export_Template(QStringLiteral("Party"));
                return messageTexts(ui).join(QLatin1Char('\n'));
            } },
        { "batch PNG card", Resource_Path + QStringLiteral("/Card_1.png"), batchCard(QStringLiteral("png")) },
        { "batch JPEG card", Resource_Path + QStringLiteral("/Card_1.jpg"), batchCard(QStringLiteral("jpg")) },
        { "workbook", Resource_Path + QStringLiteral("/values.xlsx"),
            [](const QString& path) {
                SpreadsheetWriter::Rows rows;
                for (const QString& value : manyValues().mid(0, 100)) // parts short of the buffer
                    rows.append({ value, value });
                SpreadsheetWriter::WriteWorkbook(path, rows, true);
                return SpreadsheetWriter::lastError();
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        // A settings file the program can read, so that opening the settings keeps it.
        const QByteArray old("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict/></plist>\n");
        {
            QFile file(c.path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        const QStringList before = QDir(QFileInfo(c.path).path()).entryList(QDir::Files | QDir::Hidden);
        QString message;
        {
            // Room for the old file and the small files around it, not for the new one: short of the
            // buffer of 16 KiB that a save flushes only when it ends.
            const FileSizeLimit limit(1024);
            message = c.save(c.path);
        }
        EXPECT_EQ(contents(c.path), old);
        EXPECT_EQ(QDir(QFileInfo(c.path).path()).entryList(QDir::Files | QDir::Hidden), before);
        EXPECT_TRUE(message.contains(QLatin1String("File too large"))) << message.toStdString();
        EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
        EXPECT_FALSE(message.contains(QLatin1String("successfully"))) << message.toStdString();

        QDir dir = QFileInfo(c.path).dir();
        const QString hidden = dir.filePath(QLatin1Char('.') + QFileInfo(c.path).fileName());
        const QString leftover = hidden + QStringLiteral(".tessaline-42-0.part");
        const std::pair<QString, QByteArray> users[]
            = { { c.path + QStringLiteral(".Backup"), old }, { c.path + QStringLiteral(".OldOne"), old.left(20) },
                  { c.path + QStringLiteral(".ToDoMe"), QByteArray() }, { hidden + QStringLiteral(".42-0.part"), old },
                  { dir.filePath(QStringLiteral(".holiday.jpg.123-1.part")), old } };
        for (const auto& [file, bytes] : users) {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        }
        // Another file's temporary, left by a writer that was killed too, is that file's to clear; a batch
        // run clears its own folder of every dead writer's temporaries as it starts.
        const QString othersLeftover = dir.filePath(QStringLiteral(".other.txt.tessaline-42-0.part"));
        testsupport::LockingProcess killed({ leftover, othersLeftover });
        ASSERT_TRUE(killed.started());
        killed.kill();
        c.save(c.path);
        EXPECT_FALSE(QFileInfo::exists(leftover));
        EXPECT_NE(QFileInfo::exists(othersLeftover), QByteArray(c.what).startsWith("batch"));
        for (const auto& [file, bytes] : users)
            EXPECT_EQ(contents(file), bytes) << file.toStdString();
        EXPECT_NE(contents(c.path), old);
        for (const QString& file : dir.entryList({ QStringLiteral(".*.part") }, QDir::Files | QDir::Hidden))
            dir.remove(file); // the next case's folder as before
    }
}

// The list of an export's cards grows a line as each card is written: a line the disk refuses stops the run
// with the system's reason, rather than go on writing cards no list names.
TEST_F(FullDiskTest, AListLineTheDiskRefusesStopsTheExport)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names << QStringLiteral("Guest %1").arg(i);
    source.series.insert(QStringLiteral("names"), names);
    const Batch_Snapshot::Side front { { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 200, 30)) },
        batchtest::creditCardSide(0) };
    const QString folder = testsupport::makeTempFolder(QStringLiteral("list-refused"));
    std::atomic<bool> stop { false };
    Batch_Export_Result result;
    {
        const FileSizeLimit limit(32 * 1024); // each card fits, the list of them all does not
        result = Batch_Export(stop).run({ Batch_Snapshot::take(front, front, false, source, Barcode_Gen()), folder,
            QStringLiteral("png"), QStringLiteral("F"), false, 72, 2 });
    }
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.failure.contains(QLatin1String("File too large"))
        && result.failure.contains(QDir(folder).filePath(QStringLiteral(".Tessaline Card export list"))))
        << result.failure.toStdString();
    EXPECT_LT(result.written, 3000);
}

// Every save's temporary file as it is the moment it is made, before a byte is in it: another user whom the
// finished file keeps out cannot read it while it is written either.
TEST_F(FullDiskTest, EveryTemporaryFileIsBornNoMoreOpenThanTheFileItBecomes)
{
    std::vector<std::pair<QString, mode_t>> born; // the temporary file's name and mode
    platform::setTemporaryFileObserver([&born](const QString& path, int handle) {
        struct stat info { };
        ::fstat(handle, &info);
        born.emplace_back(QFileInfo(path).fileName(), info.st_mode & 07777);
    });
    const auto restore = qScopeGuard([kept = ::umask(022)] {
        platform::setTemporaryFileObserver({});
        ::umask(kept);
    });
    const QString folder = Resource_Path;
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
