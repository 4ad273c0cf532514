// The barcode settings dialog driven as a person drives it: keys and clicks on the real widgets.
#include "GeneratorSamples.h"

#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLBarcode.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"
#include "ui_Barcode_Gen.h"

#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using barcodetest::inkIn;
using generatorsamples::kSamples;

namespace {

QByteArray itemBytes(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

class BarcodeDialogTest : public testing::Test {
protected:
    BarcodeDialogTest()
    {
        generatorsamples::settingsFor(QStringLiteral("Code 39"), QStringLiteral("0123"));
        dialog.Set_Barcode_Prop_To_Control(item);
        dialog.show();
        form().sett_tab->setCurrentIndex(0);
    }

    Ui::Barcode_Gen& form() { return dialog.form(); }
    const Barcode_Gen& gen() const { return Barcode_Settings(); }

    // Types text key by key; letters beyond ASCII go as key events that carry their text.
    static void typeText(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClicks(widget, QString(c));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Selects all of a one-line field and types the text, as a person replaces a value.
    static void retype(QLineEdit* field, const QString& text, bool enter = false)
    {
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
        if (enter)
            QTest::keyClick(field, Qt::Key_Return);
    }
    // Replaces the value in the data field shown, key by key.
    void typeValue(const QString& value)
    {
        const bool twoD = form().dataText->isHidden();
        QWidget* field = twoD ? static_cast<QWidget*>(form().dataText_2D) : form().dataText;
        field->setFocus();
        twoD ? form().dataText_2D->selectAll() : form().dataText->selectAll();
        typeText(field, value);
    }
    // Typing pauses: the preview follows once the pause is long enough, however late its timer fires.
    void pauseTyping()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog.waitsForTypingPause(); }, 20000));
    }
    static void choose(QComboBox* box, const QString& entry)
    {
        // One pick from the open list.
        box->setFocus();
        box->setCurrentIndex(box->findText(entry));
        ASSERT_EQ(box->currentText(), entry);
    }

    generatorsamples::SharedValuesGuard guard;
    testsupport::ScriptedResponder ui;
    TSLBarcode item;
    Barcode_Dialog dialog;
};

TEST_F(BarcodeDialogTest, SwitchingThroughEverySymbologyShowsItsPanelsAndAPicture)
{
    QComboBox* popup = form().barcodeTypePopup;
    for (int i = 0; i < popup->count(); ++i) {
        const auto& sample = kSamples[i];
        const QString value = QString::fromUtf8(sample.value);
        typeValue(value);
        pauseTyping();
        popup->setFocus();
        if (i > 0)
            QTest::keyClick(popup, Qt::Key_Down);
        ASSERT_EQ(popup->currentText(), QString::fromUtf8(sample.title));
        const bool twoD = Barcode_Type_Is_2D(popup->currentText());
        EXPECT_FALSE(gen().barcodeImage.isNull()) << sample.title;
        EXPECT_FALSE(form().barcodeImage->pixmap().isNull()) << sample.title;
        // Drawn at the screen's device pixels: across the middle of the symbol only ink and background.
        const QImage shown = form().barcodeImage->pixmap().toImage();
        EXPECT_EQ(shown.devicePixelRatio(), form().barcodeImage->devicePixelRatioF()) << sample.title;
        ASSERT_TRUE(gen().barcodeDrawing) << sample.title;
        const QRectF symbol = gen().barcodeDrawing->symbol;
        const double scale = shown.width() / gen().barcodeDrawing->size().width();
        int blended = 0;
        for (int x = int(symbol.left() * scale) + 1; x < int(symbol.right() * scale) - 1; ++x)
            blended += (shown.pixel(x, int(symbol.center().y() * scale)) & 0xffffff) % 0xffffff != 0;
        EXPECT_EQ(blended, 0) << sample.title;
        EXPECT_TRUE(form().barcode_error_label->isHidden()) << sample.title;
        EXPECT_EQ(form().linear_sett_box->isHidden(), twoD) << sample.title;
        EXPECT_EQ(form().sett_tab->indexOf(form().dpi_tab) >= 0, twoD) << sample.title;
        EXPECT_EQ(form().two_d_sett_box->isHidden(), popup->currentText() != QLatin1String("QR Code"));
        EXPECT_EQ(form().pdf_2d_sett_box->isHidden(), popup->currentText() != QLatin1String("PDF417"));
        EXPECT_EQ(form().dm_2d_sett_box->isHidden(), popup->currentText() != QLatin1String("DataMatrix"));
        const QStringList retail { "UPCA", "UPCE", "EAN-8", "EAN-13" };
        EXPECT_EQ(form().kerning_value_Checkbox->isEnabled(), twoD || !retail.contains(popup->currentText()));
    }
    // Back to a linear symbology: the resolution tab goes and the first tab is shown.
    form().sett_tab->setCurrentIndex(2);
    choose(popup, QStringLiteral("Code 39"));
    EXPECT_LT(form().sett_tab->indexOf(form().dpi_tab), 0);
    EXPECT_EQ(form().sett_tab->currentIndex(), 0);
}

TEST_F(BarcodeDialogTest, FontsColoursAndMarginsChangeThePreview)
{
    retype(form().dataText, QStringLiteral("CARD"));
    pauseTyping();
    const QSizeF start = gen().barcodeImage.size;

    QTest::mouseClick(form().hdr_font_btn, Qt::LeftButton);
    ASSERT_NE(dialog.fontPanel(), nullptr);
    dialog.fontPanel()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    EXPECT_EQ(form().header_font_value->text(), QStringLiteral("DejaVu Sans ( 20.00 )"));
    const QSizeF bigHeader = gen().barcodeImage.size;
    EXPECT_GT(bigHeader.height(), start.height() + 5.0);

    form().barcode_clr->chooseColor(Qt::red);
    const QImage red = gen().barcodeImage.image;
    int redPixels = 0, blackPixels = 0;
    for (int x = 0; x < red.width(); ++x) {
        const QColor c = red.pixelColor(x, red.height() / 2); // a row through the bars
        redPixels += c.red() > 180 && c.green() < 80 ? 1 : 0;
        blackPixels += c.red() < 60 && c.green() < 60 ? 1 : 0;
    }
    EXPECT_GT(redPixels, red.width() / 10);
    EXPECT_EQ(blackPixels, 0);

    form().TB_mar_Stepper->setFocus();
    QTest::keyClick(form().TB_mar_Stepper, Qt::Key_Up);
    EXPECT_EQ(form().TB_mar_Text->text(), QStringLiteral("0.15"));
    EXPECT_NEAR(gen().barcodeImage.size.height(), bigHeader.height() + 2 * 0.05 * 28.346472, 0.01);

    const double wide = gen().barcodeImage.size.width();
    retype(form().LR_mar_Text, QStringLiteral("0"), true);
    EXPECT_NEAR(gen().barcodeImage.size.width(), wide - 15.0 - 2 * 2.8346472, 0.01);

    QTest::mouseClick(form().hideFooterCheckbox, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_LT(gen().barcodeImage.size.height(), bigHeader.height());
    QTest::mouseClick(form().captionCheckbox, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_FALSE(form().showinTopCheckbox->isEnabled());
}

TEST_F(BarcodeDialogTest, TwoDOptionsAndResolution)
{
    choose(form().barcodeTypePopup, QStringLiteral("QR Code"));
    retype(form().HeightText_2D, QStringLiteral("30"), true);
    EXPECT_NEAR(gen().image_2d.size.width(), 30.0, 0.5);
    choose(form().qr_version_ComboBox, QStringLiteral("V10"));
    EXPECT_EQ(form().HeightText_2D->text(), QStringLiteral("57"));
    EXPECT_EQ(QR_Version_Val, 10);
    EXPECT_NEAR(gen().image_2d.size.width(), 57.0, 0.5);
    // Header text edits in 2-D re-frame the picture: a wider header widens it.
    const double before = gen().barcodeImage.size.width();
    retype(form().HeaderText, QStringLiteral("A much longer header than the symbol is wide"));
    EXPECT_GT(gen().barcodeImage.size.width(), before + 50.0);

    form().sett_tab->setCurrentWidget(form().dpi_tab);
    choose(form().DPI_ComboBox, QStringLiteral("Custom"));
    EXPECT_FALSE(form().dpi_Text->isHidden());
    retype(form().dpi_Text, QStringLiteral("300"), true);
    EXPECT_EQ(USED_DPI_VALUE, 300);
    EXPECT_NEAR(gen().image_2d.scale() * 72.0, 300.0, 10.0);
    retype(form().dpi_Text, QStringLiteral("5000"), true);
    EXPECT_EQ(form().dpi_Text->text(), QStringLiteral("2400"));
    EXPECT_EQ(USED_DPI_VALUE, 2400);

    choose(form().barcodeTypePopup, QStringLiteral("DataMatrix"));
    choose(form().dm_format_ComboBox, QStringLiteral("C16X48"));
    EXPECT_EQ(form().dm_widthStepper_2D->value(), 96);
    EXPECT_EQ(form().dm_HeightStepper_2D->value(), 32);
    form().dm_moduleStepper_2D->setFocus();
    QTest::keyClick(form().dm_moduleStepper_2D, Qt::Key_Up);
    EXPECT_EQ(form().dm_widthStepper_2D->value(), 144);
}

TEST_F(BarcodeDialogTest, HelpButtonsAndAnEmptyValueSpeak)
{
    QTest::mouseClick(form().qr_version_help_btn, Qt::LeftButton);
    EXPECT_EQ(Cutom_Msg_Title, QStringLiteral("Version :"));
    ASSERT_FALSE(ui.dialogsRun.empty());
    retype(form().dataText, QString());
    choose(form().barcodeTypePopup, QStringLiteral("Code 128"));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.messages.back().text.contains(QStringLiteral("Please enter barcode value")));
    EXPECT_TRUE(gen().barcodeImage.isNull());
    EXPECT_FALSE(form().barcode_error_label->isHidden());

    // OK with no value, or one the symbology cannot draw, keeps the dialog open; with a value it closes.
    QTest::mouseClick(form().OK_btn, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    choose(form().barcodeTypePopup, QStringLiteral("EAN-13"));
    retype(form().dataText, QStringLiteral("RSVP"));
    QTest::mouseClick(form().OK_btn, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(form().barcode_error_label->isHidden());
    choose(form().barcodeTypePopup, QStringLiteral("Code 128"));
    retype(form().dataText, QStringLiteral("RSVP"));
    QTest::mouseClick(form().OK_btn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(Barcode_output_image.image.cacheKey(), gen().barcodeImage.image.cacheKey());
    // With the drawing the item shows at each output's resolution.
    ASSERT_NE(Barcode_output_drawing, nullptr);
    EXPECT_FALSE(Barcode_output_drawing->size().isEmpty());
}

TEST_F(BarcodeDialogTest, CancelChangesNoItemAndOkedSettingsComeBackAfterReopening)
{
    item.linear_font_val = QStringLiteral("KEEP");
    const QByteArray before = itemBytes(item);
    auto edit = [this](QDialog&) {
        retype(form().dataText, QStringLiteral("CHANGED"));
        retype(form().HeaderText, QStringLiteral("Dear guest"));
        QTest::mouseClick(form().hideFooterCheckbox, Qt::LeftButton, {}, QPoint(6, 8));
        form().bar_hdr_clr->chooseColor(Qt::darkGreen);
        choose(form().align_hdr_combo, QStringLiteral("Left"));
        form().HeightStepper->setFocus();
        QTest::keyClick(form().HeightStepper, Qt::Key_Up);
        choose(form().Data_source_type, QStringLiteral("Excel"));
        return 0;
    };
    ui.modalRuns.push_back(edit);
    EXPECT_EQ(dialog.Open_Wnd(item), 0);
    EXPECT_EQ(itemBytes(item), before);

    ui.modalRuns.push_back([&](QDialog& d) { return edit(d) + 1; });
    EXPECT_EQ(dialog.Open_Wnd(item), 1);
    EXPECT_EQ(item.linear_font_val, QStringLiteral("CHANGED"));
    EXPECT_EQ(item.align_hdr_index, 0);
    EXPECT_EQ(item.data_source_type, 2);

    // The design is saved and opened again: the reopened item shows the same settings.
    const auto archive = platform::KeyedArchive::fromBytes(itemBytes(item));
    ASSERT_TRUE(archive);
    const auto reopened = TSLGraphic::initWithCoder(*archive);
    ASSERT_TRUE(reopened);
    generatorsamples::settingsFor(QStringLiteral("EAN-13"), QStringLiteral("1"));
    dialog.Set_Barcode_Prop_To_Control(*reopened);
    EXPECT_EQ(form().dataText->text(), QStringLiteral("CHANGED"));
    EXPECT_EQ(form().HeaderText->text(), QStringLiteral("Dear guest"));
    EXPECT_TRUE(form().hideFooterCheckbox->isChecked());
    EXPECT_EQ(form().bar_hdr_clr->color(), QColor(Qt::darkGreen));
    EXPECT_EQ(form().align_hdr_combo->currentText(), QStringLiteral("Left"));
    EXPECT_EQ(form().HeightText->text(), QStringLiteral("0.7"));
    TSLBarcode again;
    Barcode_Settings().Store_Barcode_Prop_In_Item(again);
    again.data_source_type = reopened->data_source_type;
    again._barcode_image = reopened->_barcode_image;
    EXPECT_EQ(itemBytes(again), itemBytes(*reopened));
}

TEST(BarcodeBatchRoad, RunsOnAWorkerThreadWithoutTouchingTheDialog)
{
    generatorsamples::SharedValuesGuard guard;
    Barcode_Dialog dialog;
    TSLBarcode shown;
    shown.linear_font_val = QStringLiteral("SHOWN");
    generatorsamples::settingsFor(QStringLiteral("Code 39"), QStringLiteral("SHOWN"));
    dialog.Set_Barcode_Prop_To_Control(shown);
    Barcode_Settings().goButtonActionPerformed();
    dialog.show();
    const QString shownData = dialog.form().dataText->text();
    const int shownType = dialog.form().barcodeTypePopup->currentIndex();
    const qint64 shownPreview = dialog.form().barcodeImage->pixmap().cacheKey();

    std::vector<TSLBarcode> records(3);
    const char* titles[] = { "QR Code", "EAN-13", "Code 128" };
    const char* values[] = { "Guest 1", "400638133393", "" };
    for (int i = 0; i < 3; ++i) {
        records[i].barcode_font_index = static_cast<int>(Barcode_Type_Titles().indexOf(QLatin1String(titles[i])));
        records[i].linear_or_2d = i == 0 ? 1 : 0;
        records[i].dpi_val_index = static_cast<int>(Barcode_DPI_Entries().indexOf(QStringLiteral("300")));
    }
    std::vector<BarcodePicture> pictures;
    USED_DPI_VALUE = 450; // the dialog's thread keeps its own 2-D values
    int workerDpi = 0;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            Barcode_Settings().Set_Barcode_Prop_To_Control(records[i]);
            pictures.push_back(Barcode_Settings().Get_Image_From_Val(
                QString::fromLatin1(values[i]), records[i].header_val, records[i].footer_val));
        }
        workerDpi = USED_DPI_VALUE;
    });
    worker.join();

    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_FALSE(pictures[0].isNull());
    EXPECT_FALSE(pictures[1].isNull());
    EXPECT_TRUE(pictures[2].isNull()) << "an empty record value has no symbol";
    EXPECT_EQ(workerDpi, 300);
    EXPECT_EQ(USED_DPI_VALUE, 450);
    EXPECT_EQ(dialog.form().dataText->text(), shownData);
    EXPECT_EQ(dialog.form().barcodeTypePopup->currentIndex(), shownType);
    EXPECT_EQ(dialog.form().barcodeImage->pixmap().cacheKey(), shownPreview);
}

} // namespace

namespace {

// The main window's part the series viewer button asks of it: which series there are, and showing one.
class SeriesEditor : public CardEditorServices {
public:
    QFont defaultTextFont() const override { return builtInTextFont(); }
    QColor defaultTextColor() const override { return Qt::black; }
    QPointF nextCascadePoint(const QString&) override { return {}; }
    QRectF frontCanvasBounds() const override { return {}; }
    void refreshCanvas() override { }
    QStringList seriesNames() const override { return { QStringLiteral("Guests"), QStringLiteral("Tables") }; }
    QString firstValueOfSeries(const QString& name) const override { return name + QStringLiteral("-1"); }
    void showSeriesValues(const QString& name) override { shown << name; }
    QStringList shown;
};

} // namespace

TEST_F(BarcodeDialogTest, SeriesViewerButtonShowsTheChosenSeriesOrAsksForOne)
{
    SeriesEditor editor;
    setEditorServices(&editor);
    ASSERT_FALSE(form().view_series_btn->isHidden());

    choose(form().Data_source_type, QStringLiteral("Series"));
    form().Batch_Series->setCurrentIndex(-1);
    QTest::mouseClick(form().view_series_btn, Qt::LeftButton);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text.trimmed(), QStringLiteral("Please select the series."));
    EXPECT_TRUE(editor.shown.isEmpty());

    choose(form().Batch_Series, QStringLiteral("Tables"));
    QTest::mouseClick(form().view_series_btn, Qt::LeftButton);
    EXPECT_EQ(editor.shown, QStringList { QStringLiteral("Tables") });
    setEditorServices(nullptr);
}

// Typing shows once it pauses, as Encode would; another symbology takes the value wherever it can draw it.
TEST_F(BarcodeDialogTest, TypingShowsAfterAPauseAndAnotherSymbologyKeepsTheValueWhereverItFits)
{
    const char* rows[][4] = { { "Code 128", "HELLO-42", "QR Code", "HELLO-42" },
        { "QR Code", "Seat 12", "Code 128", "Seat 12" }, { "PDF417", "RSVP 0042", "EAN-13", "KEPT" },
        { "QR Code", "Grüße", "Code 39", "KEPT" } }; // from, typed, to, then shown
    for (const auto& row : rows) {
        TSLBarcode loaded;
        loaded.barcode_font_index = static_cast<int>(Barcode_Type_Titles().indexOf(QString::fromUtf8(row[0])));
        loaded.linear_or_2d = Barcode_Type_Is_2D(QString::fromUtf8(row[0])) ? 1 : 0;
        loaded.linear_font_val = loaded.two_d_font_val = QStringLiteral("KEPT");
        dialog.Set_Barcode_Prop_To_Control(loaded);
        const qint64 shown = form().barcodeImage->pixmap().cacheKey();
        typeValue(QString::fromUtf8(row[1]));
        EXPECT_EQ(form().barcodeImage->pixmap().cacheKey(), shown) << row[0] << ": drawn key by key";
        pauseTyping();
        const QImage followed = gen().barcodeImage.image;
        QTest::mouseClick(form().encode_btn, Qt::LeftButton);
        EXPECT_EQ(gen().barcodeImage.image, followed) << row[0];
        choose(form().barcodeTypePopup, QString::fromUtf8(row[2]));
        EXPECT_EQ(gen().currentData(), QString::fromUtf8(row[3])) << row[0] << " to " << row[2];
    }
}

TEST_F(BarcodeDialogTest, TheValueOfAnItemBoundToASourceCannotBeTyped)
{
    const QStringList names { "Manual", "Series", "Excel" };
    for (const int source : { 1, 2, 0 }) { // the item opened, then another source chosen in the dialog
        item.data_source_type = source;
        dialog.Set_Barcode_Prop_To_Control(item);
        EXPECT_EQ(form().dataText->isReadOnly() + form().dataText_2D->isReadOnly(), source ? 2 : 0) << source;
        choose(form().Data_source_type, names.at(source ? 0 : 1));
        EXPECT_EQ(form().dataText->isReadOnly() + form().dataText_2D->isReadOnly(), source ? 0 : 2) << source;
    }
}
