#pragma once

#include "model/TSLGraphic.h"

#include <functional>
#include <optional>

// A barcode item: it shows the picture last generated for it, or the sample picture until there is one.
// The picture is drawn at its own size in the bounds' top-left corner; resizing the item does not
// scale it. Sizes of pictures are their device-independent sizes (pixels over device pixel ratio).
class TSLBarcode : public TSLGraphic {
public:
    TSLBarcode() = default;
    explicit TSLBarcode(Bare bare)
        : TSLGraphic(bare)
    {
    }

    // A new barcode item centred on the point at the size of the picture it shows (the sample for a new
    // item). The given picture is not used: the item always shows what its record holds.
    static std::shared_ptr<TSLBarcode> initWithPosition(const QPointF& point, const QImage& contents);

    QString className() const override { return QStringLiteral("TSLBarcode"); }

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return false; }

    // Takes the picture to show afresh: the generated barcode, else the sample of the data folder.
    void barcode_image_var_assign();

    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;

    // Pixels the symbol's narrowest module spans on an output of pixelsPerPoint, as the item scales its
    // drawing into its bounds, across or, for a symbol in rows of modules, down where that is less; 0 when it
    // shows no drawn symbol.
    double modulePixels(double pixelsPerPoint) const;
    // Makes the drawing of an item's barcode from the settings and the value the item holds; none when
    // the value has no symbol. The barcode generator installs it; without one, items read back show their
    // stored picture.
    using DrawingMaker = std::function<std::shared_ptr<const TSLBarcode_Drawing>(const TSLGraphic&)>;
    static void setDrawingMaker(DrawingMaker maker);
    // A barcode read back gets its drawing from its own settings and value, so that each output draws it
    // at its own resolution, with or without a stored picture (which stays, as files have always kept it).
    // Only an item without a value keeps showing the sample.
    void restoreDerivedState() override;

    QImage _contents; // the picture on display

    // A shown symbol whose modules a picture of some resolution draws with fewer whole pixels than barcode
    // readers need to read it.
    struct Small_Modules {
        int drawn = 0; // whole pixels a module
        int needed = 0;
        bool widened = false; // narrower than a pixel: drawn with one, larger than the frame
    };
    // Nothing when the item is hidden, shows no symbol or is drawn large enough at dpi.
    std::optional<Small_Modules> modulesTooSmall(int dpi) const;

private:
    // The symbol drawn by the output's own painter, scaled into the bounds like the picture.
    void drawVector(QPainter& painter, const TSLBarcode_Drawing& drawing) const;
};
