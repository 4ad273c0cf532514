#include "data/View_Data_Series.h"

#include "data/SeriesTestSupport.h"
#include "data/Series_Value_Model.h"
#include "support/TestSupport.h"

#include "ui_View_Data_Series.h"

#include <QTest>

#include <gtest/gtest.h>

using seriestest::SeriesFolder;

TEST(ViewDataSeries, ShowsTrimmedValuesAndCountsTheCardsTheyMake)
{
    SeriesFolder folder;
    testsupport::ScriptedResponder ui;
    const struct {
        const char* name;
        const char* content; // nullptr: no file
        QStringList rows;
        const char* count;
    } cases[] = {
        { "Blanks", "  one \n\n\t two\n   \n🎉\n", { "one", "", "two", "", QString::fromUtf8("🎉") },
            "Total Rows : 5 (2 blank)" },
        { "Plain", "one\ntwo\n", { "one", "two" }, "Total Rows : 2" },
        { "Missing", nullptr, {}, "Total Rows : 0" },
        { "../Escape", nullptr, {}, "Total Rows : 0" },
    };
    View_Data_Series* viewer = View_Data_Series::defaultInstance();
    for (const auto& c : cases) {
        if (c.content)
            folder.put(QString::fromUtf8(c.name), c.content);
        viewer->file_name = QString::fromUtf8(c.name);
        bool shown = false;
        ui.modalRuns.push_back([&](QDialog& d) {
            auto& v = static_cast<View_Data_Series&>(d);
            shown = true;
            EXPECT_EQ(v.form().series_name->text(), QString::fromUtf8(c.name));
            EXPECT_EQ(v.form().list_count->text(), QString::fromUtf8(c.count));
            EXPECT_EQ(v.form().List->model()->rowCount(), c.rows.size());
            d.show();
            QTest::mouseClick(v.form().OK_btn, Qt::LeftButton);
            return d.result();
        });
        EXPECT_EQ(viewer->Open_Wnd(), 1) << c.name;
        EXPECT_TRUE(shown);
        EXPECT_EQ(viewer->ListData().rows(), c.rows) << c.name;
    }
    EXPECT_TRUE(ui.messages.empty());
}
