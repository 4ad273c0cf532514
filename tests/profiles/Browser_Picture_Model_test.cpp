#include "common/Screen_Pixmap.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Browser_View.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A model holding the pictures "a" to "e" (files need not exist for ordering).
void fill(Browser_Picture_Model& model, const QString& names = QStringLiteral("abcde"))
{
    for (const QChar name : names)
        model.append(Browser_Picture_Object::initWithImage_Path(
            QStringLiteral("/pictures/") + name + QStringLiteral(".png"), QString(name), QString(name)));
}

QString order(const Browser_Picture_Model& model)
{
    QString names;
    for (const auto& picture : model.items())
        names += picture.image_Name;
    return names;
}

QString moved(QList<int> rows, int destination)
{
    Browser_Picture_Model model;
    fill(model);
    model.moveItems(rows, destination);
    return order(model);
}

} // namespace

TEST(BrowserPictureModel, DraggedPicturesLandTogetherBeforeTheDropPlace)
{
    EXPECT_EQ(moved({ 0, 2 }, 4), QStringLiteral("bdace"));
    EXPECT_EQ(moved({ 2, 0 }, 4), QStringLiteral("bdace")) << "the pictures keep their list order";
    EXPECT_EQ(moved({ 3 }, 0), QStringLiteral("dabce"));
    EXPECT_EQ(moved({ 1 }, 5), QStringLiteral("acdeb"));
    EXPECT_EQ(moved({ 1, 4 }, 2), QStringLiteral("abecd"));
    EXPECT_EQ(moved({ 1 }, 1), QStringLiteral("abcde"));
    EXPECT_EQ(moved({ 1 }, 2), QStringLiteral("abcde"));
    // Rows outside the list and repeated rows move nothing extra; a far destination is the end.
    EXPECT_EQ(moved({ 0, 0, 9, -1 }, 99), QStringLiteral("bcdea"));
    EXPECT_EQ(moved({ 7 }, 0), QStringLiteral("abcde"));
}

TEST(BrowserPictureModel, RemovingRowsNeverLosesAPicture)
{
    Browser_Picture_Model model;
    fill(model);
    EXPECT_FALSE(model.removeRows(1, 3));
    EXPECT_EQ(order(model), QStringLiteral("abcde"));
    EXPECT_EQ(model.rowCount(), 5);
}

TEST(BrowserPictureModel, ItemsShowTheirNameAndKeepTheirPathAndIdentifier)
{
    Browser_Picture_Model model;
    fill(model, QStringLiteral("q"));
    const QModelIndex index = model.index(0, 0);
    EXPECT_EQ(index.data(Qt::DisplayRole).toString(), QStringLiteral("q"));
    EXPECT_EQ(index.data(Browser_Picture_Model::PathRole).toString(), QStringLiteral("/pictures/q.png"));
    EXPECT_EQ(index.data(Browser_Picture_Model::UidRole).toString(), QStringLiteral("q"));
    Browser_Picture_Object picture = model.items().first();
    picture.setPath(QStringLiteral("/elsewhere/q.png"));
    EXPECT_EQ(picture.path, QStringLiteral("/elsewhere/q.png"));
    EXPECT_EQ(picture.image_UID, QStringLiteral("q"));
}

TEST(BrowserPictureModel, ThumbnailsFitTheirBoxAndBadFilesShowTheyCannotBeShown)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("thumbnails"));
    QImage wide(4000, 1000, QImage::Format_RGB32); // a photo's pixels, more than a shown list waits for
    wide.fill(Qt::darkCyan);
    ASSERT_TRUE(wide.save(folder + QStringLiteral("/wide.png")));
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::magenta);
    ASSERT_TRUE(small.save(folder + QStringLiteral("/small.jpg")));
    QFile broken(folder + QStringLiteral("/broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG but not really");
    broken.close();

    Browser_Picture_Model model;
    for (const QString& name :
        { QStringLiteral("wide.png"), QStringLiteral("small.jpg"), QStringLiteral("broken.png") })
        model.append(Browser_Picture_Object::initWithImage_Path(folder + QLatin1Char('/') + name, name, name));

    const QImage wideThumb = model.index(0, 0).data(Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(wideThumb.size(), QSize(128, 32));
    EXPECT_EQ(wideThumb.pixelColor(64, 16), QColor(Qt::darkCyan));
    const QImage smallThumb = model.index(1, 0).data(Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(smallThumb.size(), QSize(40, 30)) << "small pictures are not blown up";
    EXPECT_EQ(model.index(2, 0).data(Qt::DecorationRole).value<QImage>(), model.cannotBeShownTile());
    EXPECT_EQ(model.index(2, 0).data(Qt::DisplayRole).toString(), QStringLiteral("broken.png"));
    // At every screen ratio a thumbnail has its box's device pixels and takes the box's room.
    for (const qreal ratio : { 1.0, 1.5, 2.0 }) {
        Browser_Picture_Model dense;
        dense.setDevicePixelRatio(ratio);
        dense.append(Browser_Picture_Object::initWithImage_Path(folder + QStringLiteral("/wide.png"), {}, {}));
        const QImage thumb = dense.index(0, 0).data(Qt::DecorationRole).value<QImage>();
        EXPECT_EQ(thumb.size(), QSize(128, 32) * ratio);
        EXPECT_EQ(thumb.deviceIndependentSize(), QSizeF(128, 32));
        EXPECT_EQ(fittedScreenPixmap(thumb, QSize(64, 64), ratio).size(), QSize(64, 16) * ratio) << "labels too";
    }
    // The thumbnails of a list shown in a view are read off the window's thread.
    Browser_Picture_Model shown;
    Picture_Browser_View view;
    view.setModel(&shown);
    ASSERT_TRUE(shown.appendPicture(folder + QStringLiteral("/wide.png"), QStringLiteral("wide"), {}));
    const auto thumb = [&] { return shown.index(0, 0).data(Qt::DecorationRole).value<QImage>(); };
    EXPECT_TRUE(thumb().isNull()) << "painting never waits for the file";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !thumb().isNull(); }, 20000));
    EXPECT_EQ(thumb().size(), QSize(128, 32));
}

TEST(BrowserPictureModel, DragCarriesOnlyRowsThatThisModelAccepts)
{
    Browser_Picture_Model model;
    Browser_Picture_Model other;
    fill(model);
    fill(other);
    std::unique_ptr<QMimeData> data(model.mimeData({ model.index(3, 0), model.index(1, 0) }));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), QStringList { Browser_Picture_Model::rowsMimeType() });
    EXPECT_FALSE(data->hasText());
    EXPECT_FALSE(data->hasUrls());
    EXPECT_EQ(model.rowsFromMimeData(data.get()), (QList<int> { 3, 1 }));
    EXPECT_TRUE(other.rowsFromMimeData(data.get()).isEmpty());

    QMimeData forged;
    forged.setData(Browser_Picture_Model::rowsMimeType(), "garbage");
    EXPECT_TRUE(model.rowsFromMimeData(&forged).isEmpty());
}

TEST(PictureBrowserView, DroppingReordersAndRefusesEverythingElse)
{
    Browser_Picture_Model model;
    fill(model);
    Picture_Browser_View view;
    view.setModel(&model);
    view.resize(800, 400); // one line of five
    view.show();
    QApplication::processEvents();
    view.doItemsLayout();

    const QRect first = view.visualRect(model.index(0, 0));
    const QRect third = view.visualRect(model.index(2, 0));
    ASSERT_TRUE(first.isValid() && third.isValid());
    EXPECT_EQ(view.dropRowAt(first.center() - QPoint(10, 0)), 0);
    EXPECT_EQ(view.dropRowAt(third.center() + QPoint(10, 0)), 3);
    EXPECT_EQ(view.dropRowAt(QPoint(790, first.center().y())), 5);

    // "d" dragged onto the left half of "a" goes first.
    std::unique_ptr<QMimeData> rows(model.mimeData({ model.index(3, 0) }));
    const QPoint target = first.center() - QPoint(10, 0);
    QDragEnterEvent enter(target, Qt::MoveAction, rows.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(target), Qt::MoveAction, rows.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(order(model), QStringLiteral("dabce"));

    // A file dropped from outside is not taken.
    QMimeData outside;
    outside.setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/x.png")) });
    QDragEnterEvent offer(first.center(), Qt::CopyAction | Qt::MoveAction, &outside, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &offer);
    EXPECT_FALSE(offer.isAccepted());
    QDropEvent foreign(
        QPointF(first.center()), Qt::CopyAction | Qt::MoveAction, &outside, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &foreign);
    EXPECT_FALSE(foreign.isAccepted());
    EXPECT_EQ(order(model), QStringLiteral("dabce"));
    EXPECT_EQ(model.rowCount(), 5);
}
