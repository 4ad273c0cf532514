#pragma once

#include "SeriesTestSupport.h"
#include "common/PleaseWait_Modeless.h"
#include "ZipTestSupport.h"
#include "data/SpreadsheetWriter.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

// What the spreadsheet window tests share: a series folder, a main-window stand-in, scripted answers, and
// workbooks written for the test.
namespace sheetwindowtest {

class SpreadsheetWindowTest : public ::testing::Test {
protected:
    // A workbook of the given rows on its one sheet.
    QString workbook(const SpreadsheetWriter::Rows& rows)
    {
        const QString path = testsupport::makeTempFolder(QStringLiteral("book")) + QStringLiteral("/book.xlsx");
        EXPECT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true)) << SpreadsheetWriter::lastError().toStdString();
        return path;
    }

    // Clicks a button where a person would: near its left end, on the box of a check box or radio button.
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(8, button->width() / 2), button->height() / 2));
    }

    // Clicks a table cell as a person does: the tick boxes of the column lists sit in their cells.
    static void clickCell(QTableView* table, int row, int column)
    {
        const QRect cell = table->visualRect(table->model()->index(row, column));
        QPoint at = cell.center();
        if (column == 0)
            at.setX(cell.left() + qMin(cell.width() / 2, 12));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    }

    // After any import the please-wait panel is gone and the pointer is the normal one again.
    static void expectNoWaitLeft()
    {
        EXPECT_FALSE(PleaseWait_Modeless::defaultInstance()->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    std::vector<QString> texts() const { return seriestest::messageTexts(ui); }

    seriestest::SeriesFolder folder;
    seriestest::FakeHost host;
    testsupport::ScriptedResponder ui;
};

} // namespace sheetwindowtest
