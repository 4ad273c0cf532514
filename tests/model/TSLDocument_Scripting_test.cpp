// What scripts see of a document: elements by kind, inserting and removing them with the range errors,
// range and relative specifiers over the front list, item specifiers, and the 16-bit colour descriptors.
#include "model/TSLDocument_Scripting.h"

#include "model/Shape_Control.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"
#include "platform/KeyedArchive.h"
#include "platform/UndoManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using Specifier = TSLObjectSpecifier;

std::vector<TSLGraphic*> raw(const TSLGraphicList& list)
{
    std::vector<TSLGraphic*> result;
    for (const TSLGraphicPtr& item : list)
        result.push_back(item.get());
    return result;
}

std::optional<std::vector<int>> ints(std::initializer_list<int> values)
{
    return std::vector<int>(values);
}

// Front list [text A, shape B, line C, shape D].
class DocumentScripting : public ::testing::Test {
protected:
    TSLDocument document;
    TSLDocument_Scripting scripting { document };
    TSLGraphicPtr A = std::make_shared<TSLText>();
    TSLGraphicPtr B = std::make_shared<Shape_Control>();
    TSLGraphicPtr C = std::make_shared<TSLLine>();
    TSLGraphicPtr D = std::make_shared<Shape_Control>();

    void SetUp() override
    {
        for (const TSLGraphicPtr& item : { A, B, C, D })
            document.addInGraphics(item);
    }
};

} // namespace

TEST_F(DocumentScripting, ElementsByKindKeepFrontListOrder)
{
    EXPECT_EQ(raw(scripting.graphics()), raw({ A, B, C, D }));
    EXPECT_EQ(raw(scripting.rectangles()), raw({ B, D }));
    EXPECT_EQ(raw(scripting.circles()), raw({ B, D })); // all shapes are one kind
    EXPECT_EQ(raw(scripting.rectangles_round()), raw({ B, D }));
    EXPECT_EQ(raw(scripting.lines()), raw({ C }));
    EXPECT_EQ(raw(scripting.textAreas()), raw({ A }));
    EXPECT_TRUE(scripting.images().empty());
    const auto picture = std::make_shared<TSLImage>();
    document.insertGraphic(picture, 1);
    EXPECT_EQ(raw(scripting.images()), raw({ picture }));
    EXPECT_EQ(raw(scripting.elementsForKey(QStringLiteral("graphics_back"))), raw(document.graphics()));
    EXPECT_TRUE(scripting.elementsForKey(QStringLiteral("barcodes")).empty());
}

TEST_F(DocumentScripting, InsertingAnElementGoesJustInFrontOfItOrAtTheEnd)
{
    const auto inFront = std::make_shared<Shape_Control>();
    scripting.insertObjectInRectanglesAtIndex(inFront, 1);
    EXPECT_EQ(raw(document.graphics()), raw({ A, B, C, inFront, D }));

    const auto atEnd = std::make_shared<Shape_Control>();
    scripting.insertObjectInRectanglesAtIndex(atEnd, 3); // rectangles are now [B, inFront, D]
    EXPECT_EQ(raw(document.graphics()), raw({ A, B, C, inFront, D, atEnd }));

    const auto line = std::make_shared<TSLLine>();
    scripting.insertObjectInLinesAtIndex(line, 0);
    EXPECT_EQ(raw(document.graphics()), raw({ A, B, line, C, inFront, D, atEnd }));

    EXPECT_THROW(scripting.insertObjectInTextAreasAtIndex(std::make_shared<TSLText>(), 5), std::out_of_range);
    // The inserts are recorded for undo like any front-list change.
    EXPECT_TRUE(document.undoManager().canUndo());
}

TEST_F(DocumentScripting, RemovingAnElementTakesItOutOfTheFrontList)
{
    scripting.removeObjectFromRectanglesAtIndex(1);
    EXPECT_EQ(raw(document.graphics()), raw({ A, B, C }));
    scripting.removeObjectFromTextAreasAtIndex(0);
    EXPECT_EQ(raw(document.graphics()), raw({ B, C }));
    EXPECT_THROW(scripting.removeObjectFromLinesAtIndex(1), std::out_of_range);
    EXPECT_THROW(scripting.removeObjectFromImagesAtIndex(0), std::out_of_range);
    EXPECT_THROW(scripting.removeObjectFromCirclesAtIndex(-1), std::out_of_range);
    EXPECT_THROW(scripting.insertObjectInCirclesAtIndex(std::make_shared<Shape_Control>(), -1), std::out_of_range);
    EXPECT_EQ(raw(document.graphics()), raw({ B, C }));
}

TEST_F(DocumentScripting, RangeSpecifiersGiveElementIndexesBetweenTwoItems)
{
    const Specifier b = Specifier::indexSpecifier(QStringLiteral("rectangles"), 0);
    const Specifier d = Specifier::indexSpecifier(QStringLiteral("rectangles"), 1);
    EXPECT_EQ(
        scripting.indicesOfObjectsByEvaluatingObjectSpecifier(Specifier::rangeSpecifier(QStringLiteral("rectangles"), b, d)),
        ints({ 0, 1 }));
    // Ends given the wrong way round are swapped.
    EXPECT_EQ(
        scripting.indicesOfObjectsByEvaluatingObjectSpecifier(Specifier::rangeSpecifier(QStringLiteral("rectangles"), d, b)),
        ints({ 0, 1 }));
    // A list key gives front-list positions, every one between.
    EXPECT_EQ(
        scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(QStringLiteral("graphics"), b, d)),
        ints({ 1, 2, 3 }));
    // Missing ends: the list's first and last items.
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(
                  Specifier::rangeSpecifier(QStringLiteral("lines"), std::nullopt, d)),
        ints({ 0 }));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(
                  QStringLiteral("textAreas"), Specifier::indexSpecifier(QStringLiteral("lines"), 0), std::nullopt)),
        ints({}));
    // A range as the end of a range: its last item counts.
    const Specifier firstTwo
        = Specifier::rangeSpecifier(QStringLiteral("graphics"), Specifier::indexSpecifier(QStringLiteral("graphics"), 0), b);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(
                  Specifier::rangeSpecifier(QStringLiteral("graphics"), std::nullopt, firstTwo)),
        ints({ 0, 1 }));

    // What cannot be evaluated gives nothing.
    EXPECT_EQ(
        scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(QStringLiteral("barcodes"), b, d)),
        std::nullopt);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(
                  Specifier::rangeSpecifier(QStringLiteral("rectangles"), std::nullopt, std::nullopt)),
        std::nullopt);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(
                  QStringLiteral("rectangles"), Specifier::indexSpecifier(QStringLiteral("barcodes"), 0), d)),
        std::nullopt);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(
                  QStringLiteral("rectangles"), Specifier::indexSpecifier(QStringLiteral("rectangles"), 7), d)),
        std::nullopt);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingObjectSpecifier(b), std::nullopt); // index: the platform's
}

TEST_F(DocumentScripting, RelativeSpecifiersFindTheNextElementOfTheKind)
{
    const Specifier b = Specifier::indexSpecifier(QStringLiteral("rectangles"), 0);
    using P = Specifier::Position;
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingObjectSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("lines"), P::After, b)),
        ints({ 0 }));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("lines"), P::Before, b)),
        ints({}));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("rectangles"), P::After, b)),
        ints({ 1 })); // D, skipping the line
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("graphics"), P::Before, b)),
        ints({ 0 }));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(Specifier::relativeSpecifier(
                  QStringLiteral("graphics"), P::After, Specifier::indexSpecifier(QStringLiteral("graphics"), 3))),
        ints({}));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("lines"), P::After, std::nullopt)),
        std::nullopt);
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("ovals"), P::After, b)),
        std::nullopt);
}

TEST(DocumentScriptingEmpty, AnEmptyFrontListGivesEmptyResults)
{
    TSLDocument document;
    TSLDocument_Scripting scripting(document);
    const Specifier any = Specifier::indexSpecifier(QStringLiteral("graphics"), 0);
    EXPECT_EQ(
        scripting.indicesOfObjectsByEvaluatingRangeSpecifier(Specifier::rangeSpecifier(QStringLiteral("lines"), any, any)),
        ints({}));
    EXPECT_EQ(scripting.indicesOfObjectsByEvaluatingRelativeSpecifier(
                  Specifier::relativeSpecifier(QStringLiteral("lines"), Specifier::Position::After, any)),
        ints({}));
    // At the element count of an empty kind, an insert appends.
    const auto shape = std::make_shared<Shape_Control>();
    scripting.insertObjectInCirclesAtIndex(shape, 0);
    EXPECT_EQ(document.graphics().size(), 1u);
}

TEST_F(DocumentScripting, FrontListItemsAnswerTheirSpecifierThroughTheDocument)
{
    EXPECT_EQ(C->objectSpecifier(), QStringLiteral("graphics[2]"));
    EXPECT_EQ(scripting.specifierForGraphic(*D), Specifier::indexSpecifier(QStringLiteral("graphics"), 3));
    const auto E = std::make_shared<Shape_Control>();
    document.insertGraphic(E, 0);
    EXPECT_EQ(C->objectSpecifier(), QStringLiteral("graphics[3]"));
    EXPECT_EQ(E->objectSpecifier(), QStringLiteral("graphics[0]"));

    // An item that left the list, or one on the back list, has no specifier.
    document.removeGraphicAtIndex(0);
    EXPECT_THROW(E->objectSpecifier(), std::logic_error);
    EXPECT_FALSE(scripting.specifierForGraphic(*E));
    // Put back, it answers again.
    document.insertGraphic(E, 2);
    EXPECT_EQ(E->objectSpecifier(), QStringLiteral("graphics[2]"));
}

TEST(DocumentScriptingLifetime, ItemsForgetTheScriptingThatWent)
{
    TSLDocument document;
    const auto item = std::make_shared<Shape_Control>();
    document.addInGraphics(item);
    {
        TSLDocument_Scripting scripting(document);
        EXPECT_EQ(item->objectSpecifier(), QStringLiteral("graphics[0]"));
    }
    EXPECT_EQ(item->scriptingContainer(), nullptr);
    EXPECT_THROW(item->objectSpecifier(), std::logic_error);
}

TEST_F(DocumentScripting, MakingTheBaseKindMakesAShape)
{
    const TSLGraphicPtr made = scripting.newScriptingObjectOfClass(
        QStringLiteral("TSLGraphic"), { { QStringLiteral("bounds"), QRectF(1, 2, 30, 40) } });
    ASSERT_TRUE(made);
    EXPECT_EQ(made->className(), QStringLiteral("Shape_Control"));
    EXPECT_EQ(made->bounds(), QRectF(1, 2, 30, 40));
    EXPECT_EQ(
        scripting.newScriptingObjectOfClass(QStringLiteral("TSLLine"), {})->className(), QStringLiteral("TSLLine"));
    EXPECT_FALSE(scripting.newScriptingObjectOfClass(QStringLiteral("NSWindow"), {}));
    EXPECT_EQ(document.graphics().size(), 4u); // made, not inserted
}

namespace {

// Counts what observers (the canvases that redraw) are told.
class ChangeCounter : public TSLGraphicObserver {
public:
    QStringList keys;
    void graphicValueChanged(TSLGraphic&, const QString& key, const QVariant&, const QVariant&) override
    {
        keys << key;
    }
};

} // namespace

TEST_F(DocumentScripting, ScriptedChangesAreObservedAndUndoneInOneStep)
{
    const struct {
        const char* what;
        std::function<QString(TSLGraphic&)> change;
        QStringList keys; // what a canvas is told, in order
    } changes[] = {
        { "fill colour of an unfilled shape", [](TSLGraphic& g) { return g.setScriptingFillColor(QColor(10, 20, 30)); },
            { QStringLiteral("drawingFill"), QStringLiteral("fillColor") } },
        { "no fill", [](TSLGraphic& g) { return g.setScriptingFillColor(std::nullopt); }, {} },
        { "stroke colour", [](TSLGraphic& g) { return g.setScriptingStrokeColor(QColor(200, 0, 0)); },
            { QStringLiteral("strokeColor") } },
        { "stroke width", [](TSLGraphic& g) { return g.setScriptingStrokeWidth(7.5); },
            { QStringLiteral("strokeWidth") } },
        { "no stroke", [](TSLGraphic& g) { return g.setScriptingStrokeWidth(std::nullopt); },
            { QStringLiteral("drawingStroke") } },
        { "x position",
            [](TSLGraphic& g) {
                g.setXPosition(44);
                return QString();
            },
            { QStringLiteral("bounds") } },
        { "height",
            [](TSLGraphic& g) {
                g.setHeight(91);
                return QString();
            },
            { QStringLiteral("bounds") } },
    };
    for (const auto& entry : changes) {
        TSLGraphic& shape = *B;
        shape._isDrawingFill = false;
        shape._isDrawingStroke = true;
        shape.setBounds(QRectF(5, 6, 40, 30));
        QCoreApplication::processEvents(); // the set-up is an earlier event
        document.undoManager().removeAllActions();
        platform::KeyedArchive before;
        shape.encodeWithCoder(before);

        ChangeCounter counter;
        shape.addObserver(&counter);
        EXPECT_EQ(entry.change(shape), QString()) << entry.what;
        shape.removeObserver(&counter);
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.keys, entry.keys) << entry.what;
        if (entry.keys.isEmpty())
            continue; // nothing changed, nothing to undo
        ASSERT_TRUE(document.undoManager().canUndo()) << entry.what;
        document.undoManager().undo();
        platform::KeyedArchive after;
        shape.encodeWithCoder(after);
        EXPECT_EQ(after.toBytes(), before.toBytes()) << entry.what;
        EXPECT_FALSE(document.undoManager().canUndo()) << entry.what; // one step for the whole change
    }

    // What a kind cannot have is refused and changes nothing.
    C->_strokeColor = Qt::black;
    EXPECT_FALSE(C->setScriptingFillColor(QColor(Qt::red)).isEmpty());
    EXPECT_FALSE(C->isDrawingFill());
}

TEST(ScriptingColours, SixteenBitDescriptorsConvertBothWays)
{
    const auto descriptor = [](quint16 r, quint16 g, quint16 b) {
        const quint16 values[3] = { r, g, b }; // the machine's byte order
        return TSLScriptingDescriptor { "cRGB", QByteArray(reinterpret_cast<const char*>(values), 6) };
    };
    const std::optional<QColor> colour
        = TSLDocument_Scripting::scriptingRGBColorWithDescriptor(descriptor(65535, 0, 32768));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->rgba64().red(), 65535);
    EXPECT_EQ(colour->rgba64().green(), 0);
    EXPECT_EQ(colour->rgba64().blue(), 32768);
    EXPECT_NEAR(colour->blueF(), 32768.0 / 65535.0, 1e-6);
    EXPECT_EQ(colour->alphaF(), 1.0f);

    const auto components = [](const TSLScriptingDescriptor& d) {
        std::vector<quint16> values(3);
        std::memcpy(values.data(), d.data.constData(), 6);
        return values;
    };
    const TSLScriptingDescriptor half = TSLDocument_Scripting::scriptingRGBColorDescriptor(1.0, 0.0, 0.5);
    EXPECT_EQ(half.type, QByteArray("cRGB"));
    ASSERT_EQ(half.data.size(), 6);
    EXPECT_EQ(components(half), (std::vector<quint16> { 65535, 0, 32767 })); // 32767.5 truncated
    // A colour read from a descriptor goes back to the same numbers, alpha dropped.
    QColor translucent = *colour;
    translucent.setAlphaF(0.25f);
    EXPECT_EQ(components(TSLDocument_Scripting::scriptingRGBColorDescriptor(translucent)),
        (std::vector<quint16> { 65535, 0, 32768 }));

    EXPECT_FALSE(TSLDocument_Scripting::scriptingRGBColorWithDescriptor({ "cRGB", QByteArray(5, '\0') }));
    EXPECT_FALSE(TSLDocument_Scripting::scriptingRGBColorWithDescriptor({ "cRGB", QByteArray(8, '\0') }));
    EXPECT_FALSE(TSLDocument_Scripting::scriptingRGBColorWithDescriptor({ "TEXT", descriptor(1, 2, 3).data }));
}
