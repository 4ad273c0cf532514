// A text item lays its text out once and draws that layout until something it was made from changes; a
// change must show at the next paint, never the layout of before.
#include "model/PictureProbes.h"

#include "model/TSLText.h"
#include "model/TSLTextLayoutCache.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pictureprobes;

namespace {

std::shared_ptr<TSLText> textItem()
{
    auto item = std::make_shared<TSLText>();
    item->_bounds = QRectF(10, 10, 200, 120);
    item->Text_contents().string = QStringLiteral("Many happy returns");
    item->Text_contents().font = QFont(QStringLiteral("DejaVu Sans"), 14);
    item->text_ctrl_font = QFont(QStringLiteral("DejaVu Sans"), 14);
    item->_isDrawingFill = false;
    item->_isDrawingStroke = false;
    return item;
}

QImage drawn(TSLText& item)
{
    return render(item, QSizeF(240, 160));
}

} // namespace

TEST(TSLTextLayoutCache, ARepaintLaysNothingOutAgain)
{
    auto item = textItem();
    const QImage first = drawn(*item);
    const quint64 made = TSLTextLayoutCache::layoutsMade();
    const QImage second = drawn(*item);
    EXPECT_EQ(TSLTextLayoutCache::layoutsMade(), made);
    EXPECT_TRUE(samePixels(first, second));
    // Moving the item keeps its layout: only the box's size matters to it.
    item->_bounds.translate(5, 5);
    drawn(*item);
    EXPECT_EQ(TSLTextLayoutCache::layoutsMade(), made);
}

TEST(TSLTextLayoutCache, EveryChangeToWhatTheLayoutIsMadeFromShowsAtTheNextPaint)
{
    struct Change {
        const char* name;
        std::function<void(TSLText&)> apply;
    };
    const Change changes[] = {
        { "text", [](TSLText& t) { t.Text_contents().string = QStringLiteral("Bon voyage"); } },
        { "font", [](TSLText& t) { t.text_ctrl_font = QFont(QStringLiteral("Liberation Serif"), 14); } },
        { "size", [](TSLText& t) { t.text_ctrl_font->setPointSizeF(22); } },
        { "bold", [](TSLText& t) { t.text_ctrl_font->setBold(true); } },
        { "kerning", [](TSLText& t) { t.text_kerning = 3.0f; } },
        { "alignment", [](TSLText& t) { t.text_alignmnet = 2; } },
        { "case", [](TSLText& t) { t.text_transfrom_case = 1; } },
        { "width", [](TSLText& t) { t._bounds.setWidth(60); } },
        { "height", [](TSLText& t) { t._bounds.setHeight(12); } },
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        auto item = textItem();
        item->_bounds.setHeight(change.name == std::string("height") ? 60 : 120);
        if (change.name == std::string("height"))
            item->Text_contents().string = QStringLiteral("first line\nsecond line");
        const QImage before = drawn(*item);
        const quint64 made = TSLTextLayoutCache::layoutsMade();
        change.apply(*item);
        const QImage after = drawn(*item);
        EXPECT_EQ(TSLTextLayoutCache::layoutsMade(), made + 1);
        EXPECT_FALSE(samePixels(before, after)) << "the old layout was drawn";
        // What a fresh item with the same values draws is what the changed one draws.
        auto fresh = textItem();
        fresh->_bounds = item->_bounds;
        fresh->Text_contents().string = item->Text_contents().string;
        fresh->text_ctrl_font = item->text_ctrl_font;
        fresh->text_kerning = item->text_kerning;
        fresh->text_alignmnet = item->text_alignmnet;
        fresh->text_transfrom_case = item->text_transfrom_case;
        EXPECT_TRUE(samePixels(after, drawn(*fresh)));
    }
}

TEST(TSLTextLayoutCache, ACopyLaysOutOnItsOwnAndDrawsTheSame)
{
    auto item = textItem();
    const QImage original = drawn(*item);
    auto copy = std::make_shared<TSLText>(*item); // a whole copy, as a snapshot for a worker thread takes
    const quint64 made = TSLTextLayoutCache::layoutsMade();
    EXPECT_TRUE(samePixels(drawn(*copy), original));
    EXPECT_EQ(TSLTextLayoutCache::layoutsMade(), made + 1);
    copy->text_ctrl_font = QFont(QStringLiteral("Liberation Serif"), 20);
    drawn(*copy);
    EXPECT_TRUE(samePixels(drawn(*item), original)) << "the original keeps its own layout";
}
