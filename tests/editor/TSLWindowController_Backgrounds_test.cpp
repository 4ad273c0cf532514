// The background browser lists the png and jpg pictures of the data folder, and choosing one sets the
// background of the side being edited.
#include "editor/EditorWindowTestSupport.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Image_Library.h"
#include "model/CraftedPictures.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QImage>
#include <QListView>
#include <QScopeGuard>
#include <QTest>
#include <QTextDocument>

#include <algorithm>

using editortest::EditorWindowTest;

using BackgroundsTest = EditorWindowTest;

TEST_F(BackgroundsTest, ListsPngAndJpgOnlyAndChoosingSetsTheEditedSidesBackground)
{
    startUpEmpty();
    QDir folder(QDir(Resource_Path).filePath(QStringLiteral("Background")));
    const auto shipped = qScopeGuard([&folder] { // the program's own pictures are laid out again afterwards
        folder.removeRecursively();
        Prepare_Resource_Folder();
    });
    folder.removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("a.png")), "PNG"));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("B.JPG")), "JPG"));
    for (const char* other : { "c.jpeg", "d.txt", ".hidden" }) {
        QFile file(folder.filePath(QLatin1String(other)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // Broken files of the listed kinds: text named as a picture, and a damaged PNG.
    ASSERT_TRUE(picturefiles::write(folder.filePath(QStringLiteral("notes.png")), "not a picture"));
    ASSERT_TRUE(picturefiles::write(folder.filePath(QStringLiteral("cut.png")), picturefiles::damagedPng()));
    ASSERT_TRUE(picturefiles::write(folder.filePath(QStringLiteral("torn.jpg")), picturefiles::tornJpeg()));

    // The Backgrounds strip and the picture library list the same pictures and name each broken file once.
    auto* library = Image_Library::defaultInstance()->findChild<Browser_Picture_Model*>();
    ASSERT_NE(library, nullptr);
    const std::function<void()> listings[] = { [this] { window->Load_and_fill_backgrounds(); },
        [this] {
            Image_Library::defaultInstance()->control_or_BG = QStringLiteral("B");
            ui.modalRuns.push_back([](QDialog&) { return 0; });
            Image_Library::defaultInstance()->Open_Library_Window();
        } };
    const Browser_Picture_Model* models[] = { window->images, library };
    testing::internal::CaptureStderr();
    for (int listing = 0; listing < 2; ++listing) {
        for (int again = 0; again < 2; ++again)
            listings[listing]();
        QStringList names;
        for (const Browser_Picture_Object& item : models[listing]->items())
            names << item.imageTitle();
        names.sort();
        EXPECT_EQ(names.join(','), QStringLiteral("B.JPG,a.png,cut.png,torn.jpg")) << listing;
    }
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    const QString refusal = QStringLiteral("\" is not a picture that can be used");
    EXPECT_EQ(log.count(QStringLiteral("notes.png") + refusal), 1) << log.toStdString();

    // Beside them, pictures the checks refuse, a name made up as markup (a local picture over the screen if
    // read so) and one past any room: each thumbnail is read away from the window through the picture checks,
    // a refused one (the damaged PNG's too) is a "cannot be shown" tile, each tool tip the name, short and plain.
    QStringList refused = { QStringLiteral("cut.png") };
    const QStringList made = { QStringLiteral("<img src=file:a.png>.png"), QString(200, u'x') + ".png" };
    for (const picturefiles::Hostile_Picture& hostile : picturefiles::hostilePictures()) {
        ASSERT_TRUE(picturefiles::write(folder.filePath(QLatin1String(hostile.name)), hostile.bytes));
        refused << QLatin1String(hostile.name);
    }
    for (const QString& name : made)
        ASSERT_TRUE(picture.save(folder.filePath(name), "PNG"));
    for (int listing = 0; listing < 2; ++listing) {
        listings[listing]();
        const Browser_Picture_Model& model = *models[listing];
        ASSERT_EQ(model.rowCount(), 9) << listing;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex index = model.index(row);
            const QString name = index.data(Qt::DisplayRole).toString();
            const auto thumbnail = [&] { return index.data(Qt::DecorationRole).value<QImage>(); };
            ASSERT_TRUE(QTest::qWaitFor([&] { return !thumbnail().isNull(); }, 20000)) << qPrintable(name);
            EXPECT_EQ(thumbnail() == model.cannotBeShownTile(), refused.contains(name)) << qPrintable(name);
            QTextDocument tip;
            tip.setHtml(index.data(Qt::ToolTipRole).toString());
            EXPECT_EQ(tip.toPlainText(), Name_In_Notice(name)) << qPrintable(name);
            EXPECT_LE(tip.toPlainText().size(), kNoticeNameLength);
        }
    }
    for (const QString& name : refused.mid(1) + made)
        ASSERT_TRUE(folder.remove(name));

    // A damaged picture is refused by name when it is chosen, and the side keeps what it had.
    for (const char* broken : { "cut.png", "torn.jpg" }) {
        ui.messages.clear();
        const QList<Browser_Picture_Object>& listed = window->images->items();
        const auto chosen = std::ranges::find(listed, QString::fromLatin1(broken), &Browser_Picture_Object::image_Name);
        window->imageBrowserSelectionDidChange(int(chosen - listed.begin()));
        EXPECT_TRUE(window->Front_card_Prop.Card_BG_Image().isNull()) << broken;
        EXPECT_TRUE(ui.messages.size() == 1 && ui.messages.front().text.contains(broken + refusal)) << broken;
        ASSERT_TRUE(folder.remove(QLatin1String(broken)));
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->images->rowCount() == 2; }, 5000));

    window->Select_back_side();
    const int row = window->images->items().at(0).imageTitle() == QLatin1String("a.png") ? 0 : 1;
    window->imageBrowserSelectionDidChange(row);
    EXPECT_EQ(window->selected_image, folder.filePath(QStringLiteral("a.png")));
    EXPECT_EQ(window->Back_card_Prop.Card_BG_Image().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_TRUE(window->Front_card_Prop.Card_BG_Image().isNull());

    // Another program adds, renames and removes pictures behind the window's back, one of them written
    // slowly: the strip follows, and the chosen picture stays chosen.
    window->imageBrowser->setCurrentIndex(window->images->index(row));
    QFile slow(folder.filePath("d.png"));
    const std::function<bool()> changes[] = { [&] { return picture.save(folder.filePath("c.png"), "PNG"); },
        [&] { return folder.rename("c.png", "Z.png"); }, [&] { return folder.remove("B.JPG"); },
        [&] {
            // The writer goes on only once the window has been told of the new, still empty file: a window
            // that read the folder at once would find it empty.
            bool saved = false;
            const QObject writer;
            for (QFileSystemWatcher* watch : window->findChildren<QFileSystemWatcher*>())
                QObject::connect(watch, &QFileSystemWatcher::directoryChanged, &writer,
                    [&] { saved = saved || (picture.save(&slow, "PNG") && slow.flush()); });
            return slow.open(QIODevice::WriteOnly) && QTest::qWaitFor([&] { return saved; }, 20000);
        } };
    const char* shown[] = { "B.JPG,a.png,c.png", "B.JPG,a.png,Z.png", "a.png,Z.png", "a.png,Z.png,d.png" };
    const auto strip = [this] {
        QStringList names;
        for (const Browser_Picture_Object& item : window->images->items())
            names << item.imageTitle();
        return names.join(',');
    };
    for (int change = 0; change < 4; ++change) {
        ASSERT_TRUE(changes[change]()) << change;
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip() == QLatin1String(shown[change]); }, 5000))
            << strip().toStdString();
        EXPECT_EQ(window->imageBrowser->currentIndex().data().toString(), QStringLiteral("a.png"));
    }
}
