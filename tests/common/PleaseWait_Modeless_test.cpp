// The please-wait window: the small windows' colour, its message, and that it never blocks the window
// behind it.
#include "common/Long_SMS_Dlg.h"
#include "common/PleaseWait_Modeless.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

TEST(PleaseWaitModeless, ShowsItsMessageInTheSmallWindowColourWithoutBlocking)
{
    PleaseWait_Modeless* wait = PleaseWait_Modeless::defaultInstance();
    ASSERT_EQ(wait, PleaseWait_Modeless::defaultInstance());
    EXPECT_EQ(wait->window(), wait);
    EXPECT_EQ(wait->palette().color(QPalette::Window), QColor(241, 244, 250));
    ASSERT_NE(wait->modeless_msg_lbl(), nullptr);
    EXPECT_EQ(wait->modeless_msg_lbl()->objectName(), QStringLiteral("modeless_msg_lbl"));
    EXPECT_FALSE(wait->modeless_msg_lbl()->text().isEmpty());
    EXPECT_EQ(wait->windowModality(), Qt::NonModal);

    // While it is up, another window still takes clicks.
    QWidget behind;
    auto* button = new QPushButton(QStringLiteral("Go on"), &behind);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    behind.show();
    wait->showPainted(QStringLiteral("Reading the list..."));
    // Painted before the work that follows holds the event loop: on screen, not blank.
    ASSERT_TRUE(wait->windowHandle());
    EXPECT_TRUE(wait->windowHandle()->isExposed());
    EXPECT_EQ(wait->modeless_msg_lbl()->text(), QStringLiteral("Reading the list..."));
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    wait->hide();
}
