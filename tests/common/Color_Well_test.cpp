#include "common/Color_Well.h"

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(ColorWell, SetColorIsSilentAndChoicesAreReportedOnce)
{
    Color_Well well;
    QSignalSpy spy(&well, &Color_Well::colorChanged);

    well.setColor(QColor(10, 20, 30));
    EXPECT_EQ(well.color(), QColor(10, 20, 30));
    EXPECT_EQ(spy.count(), 0);

    well.chooseColor(QColor(200, 0, 0));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().at(0).value<QColor>(), QColor(200, 0, 0));
    well.chooseColor(QColor(200, 0, 0)); // the same colour again changes nothing
    well.chooseColor(QColor());
    EXPECT_EQ(spy.count(), 0);
}

TEST(ColorWell, PressingOpensAPanelWhosePicksReachTheWellAndItShowsTheColour)
{
    Color_Well well;
    well.resize(60, 30);
    well.setColor(Qt::blue);
    QSignalSpy spy(&well, &Color_Well::colorChanged);

    QTest::mouseClick(&well, Qt::LeftButton);
    auto* panel = well.findChild<QColorDialog*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isModal()) << "nothing else changes while colours are tried";
    EXPECT_EQ(panel->currentColor(), QColor(Qt::blue));
    panel->setCurrentColor(QColor(0, 128, 0));
    ASSERT_GE(spy.count(), 1);
    EXPECT_EQ(well.color(), QColor(0, 128, 0));
    panel->accept();

    const QImage shot = well.grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0, 128, 0));
}
