// Paths that are no regular file (a FIFO, a link to one, a link to /dev/zero) never hold a reader and are
// skipped with a message naming them: the design, picture, library, series, import and settings readers.
#include "editor/EditorWindowTestSupport.h"

#include "data/Series_File.h"
#include "data/Series_Import_Sources.h"
#include "model/TSLSignature.h"
#include "output/Preferences.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Folder.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using editortest::EditorWindowTest;
using editortest::messageTexts;

namespace {

// Notices a reader waiting on the FIFO (a writer can open it only then) and lets it go on at once, so a
// reader that would block is reported instead of hanging the test.
class FifoWatch {
public:
    explicit FifoWatch(const QString& fifo)
        : path_(QFile::encodeName(fifo))
        , thread_([this] {
            while (!done_.load()) {
                const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    blocked_ = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        })
    {
    }
    ~FifoWatch()
    {
        done_ = true;
        thread_.join();
    }
    bool blocked() const { return blocked_.load(); }

private:
    QByteArray path_;
    std::atomic<bool> done_ { false };
    std::atomic<bool> blocked_ { false };
    std::thread thread_;
};

} // namespace

class UnreadablePathsTest : public EditorWindowTest {
protected:
    QString savedResource_ = Resource_Path;
    QString savedData_ = Data_Folder_Path;
    QString folder_;
    QString fifo_;
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        folder_ = testsupport::makeTempFolder(QStringLiteral("unreadable"));
        Resource_Path = folder_;
        Data_Folder_Path = folder_ + QStringLiteral("/DataSet");
        QDir().mkpath(Data_Folder_Path);
        fifo_ = folder_ + QStringLiteral("/pipe");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo_).constData(), 0600), 0);
        ui.messages.clear();
    }
    void TearDown() override
    {
        Resource_Path = savedResource_;
        Data_Folder_Path = savedData_;
        EditorWindowTest::TearDown();
    }
    QString link(const QString& name, const QString& target) const
    {
        const QString path = folder_ + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(QFile::link(target, path));
        return path;
    }
};

TEST_F(UnreadablePathsTest, EveryReaderSkipsWhatIsNoRegularFileWithoutWaiting)
{
    struct Case {
        const char* what;
        std::function<QString()> read; // the message naming the path; empty when there is none to show
        QString named;                 // the path the message must name; empty when the reader is silent
    };
    const QString design = link(QStringLiteral("party.dcard"), fifo_);
    const QString import = link(QStringLiteral("names.txt"), fifo_);
    const QString settings = link(QStringLiteral("com.varnel.card.plist"), fifo_);
    const QString signature = link(QStringLiteral("signature.png"), fifo_);
    const QString libraryPicture = link(QStringLiteral("LibraryImage/flowers.png"), fifo_);
    link(QStringLiteral("DataSet/Endless.txt"), QStringLiteral("/dev/zero"));
    const QString piped = link(QStringLiteral("DataSet/Piped.txt"), fifo_);
    const QString background = link(QStringLiteral("Background/Evil.png"), fifo_);
    const Case cases[] = {
        { "design", [&] {
             EXPECT_EQ(window->Read_and_load_design_Log(design, QStringLiteral("L")), 0);
             return messageTexts(ui).join(QLatin1Char('\n'));
         },
            design },
        { "text import", [&] { return Text_File_Values(import).error; }, import },
        { "settings", [&] {
             EXPECT_EQ(Preferences::sharedInstance()->send_email_SMTP_server(), QString());
             return QString();
         },
            QString() },
        { "signature", [&] {
             TSLSignature item;
             item.setFilePath(signature);
             EXPECT_TRUE(item._contents_img.isNull());
             return QString();
         },
            QString() },
        { "picture library", [&] {
             EXPECT_EQ(Picture_Folder::pictureNames(QFileInfo(libraryPicture).path()), QStringList());
             Browser_Picture_Model thumbnails;
             thumbnails.append(Browser_Picture_Object::initWithImage_Path(libraryPicture, QString(), QString()));
             EXPECT_EQ(thumbnails.data(thumbnails.index(0), Qt::DecorationRole).value<QImage>(),
                 thumbnails.cannotBeShownTile());
             window->Load_and_fill_backgrounds();
             for (const Browser_Picture_Object& shown : window->images->items())
                 EXPECT_NE(shown.path, background);
             return QString();
         },
            QString() },
        { "series folder", [&] {
             EXPECT_EQ(Series_File::names(), QStringList());
             return QString();
         },
            QString() },
        { "series appended to", [&] {
             Series_File::Writer writer;
             EXPECT_FALSE(writer.open(QStringLiteral("Piped"), Series_File::Writer::Mode::Append));
             return writer.errorString();
         },
            piped },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        QString message;
        {
            const FifoWatch watch(fifo_);
            message = c.read();
            EXPECT_FALSE(watch.blocked());
        }
        if (!c.named.isEmpty()) {
            EXPECT_TRUE(message.contains(c.named)) << message.toStdString();
            EXPECT_TRUE(message.contains(QLatin1String("is not a regular file"))) << message.toStdString();
        }
    }
}
