// The barcode page hands the current barcode to the settings dialog; an OK spreads the dialog's settings
// over every selected item and gives the picture to the current one, a Cancel changes no item.
#include "editor/ItemPanelTestSupport.h"

#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Globals.h"
#include "model/TSLBarcode_Drawing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

using editortest::itemBytes;

class BarcodePanelTest : public editortest::ItemPanelTest {
protected:
    void SetUp() override
    {
        ItemPanelTest::SetUp();
        startUpEmpty();
    }
    TSLGraphicPtr addBarcode(const QString& key = TSLDocumentGraphicsKey)
    {
        return addItem(QStringLiteral("TSLBarcode"), QRectF(40, 40, 80, 40), key);
    }
    template <class Widget> static Widget* part(QDialog& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Scripts the dialog: the edits a person makes, then its own OK (1) or Cancel (0) button.
    void answerDialog(int result)
    {
        ui.modalRuns.push_back([result](QDialog& dialog) {
            auto* barcode = qobject_cast<Barcode_Dialog*>(&dialog);
            if (!barcode)
                return 0;
            part<QComboBox>(*barcode, "barcodeTypePopup")->setCurrentText(QStringLiteral("QR Code"));
            part<QPlainTextEdit>(*barcode, "dataText_2D")->setPlainText(QStringLiteral("Party at eight"));
            part<QLineEdit>(*barcode, "HeaderText")->setText(QStringLiteral("Welcome"));
            part<QComboBox>(*barcode, "align_hdr_combo")->setCurrentText(QStringLiteral("Center"));
            part<QComboBox>(*barcode, "align_ftr_combo")->setCurrentText(QStringLiteral("Right"));
            QTest::mouseClick(part<QCheckBox>(*barcode, "hideFooterCheckbox"), Qt::LeftButton, {}, QPoint(6, 8));
            QTest::mouseClick(part<QPushButton>(*barcode, result == 1 ? "OK_btn" : "Cancel_btn"), Qt::LeftButton);
            return barcode->result();
        });
    }
};

TEST_F(BarcodePanelTest, OkSpreadsTheSettingsOverTheSelectionAndThePictureToTheCurrentItem)
{
    const TSLGraphicPtr first = addBarcode();
    const TSLGraphicPtr unselected = addBarcode();
    const TSLGraphicPtr third = addBarcode();
    const TSLGraphicPtr back = addBarcode(TSLDocumentGraphicsKey_back);
    first->align_hdr_index = 0;
    third->align_ftr_index = 0;
    third->linear_font_val = QStringLiteral("kept data");
    third->two_d_font_val = QStringLiteral("kept 2-D data");
    select(window->_graphicView, { 0, 2 });
    window->_graphicView->setSelected_Graphic(first);
    window->Show_RHS_Properties(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);
    const QImage thirdPicture = third->_barcode_image;

    answerDialog(1);
    QTest::mouseClick(control<QPushButton>("View_barcode_prop_btn"), Qt::LeftButton);
    ASSERT_EQ(ui.dialogsRun.back(), QStringLiteral("Barcode_Gen"));

    const int qr = Barcode_Type_Titles().indexOf(QStringLiteral("QR Code"));
    for (const TSLGraphicPtr& item : { first, third }) {
        EXPECT_EQ(item->barcode_font_index, qr);
        EXPECT_EQ(item->linear_or_2d, 1);
        EXPECT_EQ(item->header_val, QStringLiteral("Welcome"));
        EXPECT_EQ(item->align_hdr_index, 1); // centred
        EXPECT_EQ(item->align_ftr_index, 2); // right
        EXPECT_EQ(item->show_hide_ftr, 1);
    }
    // The content is each barcode's own: only the one the dialog showed takes the typed value.
    EXPECT_EQ(first->two_d_font_val, QStringLiteral("Party at eight"));
    EXPECT_EQ(third->two_d_font_val, QStringLiteral("kept 2-D data"));
    EXPECT_EQ(third->linear_font_val, QStringLiteral("kept data"));
    ASSERT_FALSE(Barcode_output_image.isNull());
    EXPECT_EQ(first->_barcode_image, Barcode_output_image.image);
    // Its drawing, which exports and prints draw, is the same QR Code as its picture, not an earlier symbol.
    const TSLBarcode_Drawing* drawing = first->Barcode_drawing();
    ASSERT_NE(drawing, nullptr);
    EXPECT_NEAR(drawing->size().width() / drawing->size().height(),
        double(first->_barcode_image.width()) / first->_barcode_image.height(), 0.01);
    EXPECT_EQ(third->_barcode_image, thirdPicture);
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);
}

TEST_F(BarcodePanelTest, CancelChangesNoItem)
{
    const TSLGraphicPtr first = addBarcode();
    const TSLGraphicPtr second = addBarcode();
    select(window->_graphicView, { 0, 1 });
    window->_graphicView->setSelected_Graphic(first);
    window->Show_RHS_Properties(first);
    const QByteArray firstBefore = itemBytes(*first);
    const QByteArray secondBefore = itemBytes(*second);
    const QImage picture = first->_barcode_image;

    answerDialog(0);
    window->View_barcode_prop_Button();
    ASSERT_EQ(ui.dialogsRun.back(), QStringLiteral("Barcode_Gen"));
    EXPECT_EQ(itemBytes(*first), firstBefore);
    EXPECT_EQ(itemBytes(*second), secondBefore);
    EXPECT_EQ(first->_barcode_image, picture);
}

TEST_F(BarcodePanelTest, DialogShowsTheItemsSettingsAndPreviewsTheSymbol)
{
    const TSLGraphicPtr item = addBarcode();
    item->barcode_font_index = Barcode_Type_Titles().indexOf(QStringLiteral("EAN-13"));
    item->linear_or_2d = 0;
    item->linear_font_val = QStringLiteral("400638133393");
    item->footer_val = QStringLiteral("Tickets");
    item->align_ftr_index = 0;

    Barcode_Dialog* dialog = Barcode_Dialog::defaultInstance();
    QString shownData, shownFooter, shownAlign;
    BarcodePicture preview;
    ui.modalRuns.push_back([&](QDialog&) {
        shownData = part<QLineEdit>(*dialog, "dataText")->text();
        shownFooter = part<QLineEdit>(*dialog, "FooterText")->text();
        shownAlign = part<QComboBox>(*dialog, "align_ftr_combo")->currentText();
        preview = Barcode_Settings().barcodeImage;
        part<QLineEdit>(*dialog, "dataText")->setText(QStringLiteral("not digits"));
        return 0;
    });
    EXPECT_EQ(dialog->Open_Wnd(*item), 0);
    EXPECT_EQ(shownData, QStringLiteral("400638133393"));
    EXPECT_EQ(shownFooter, QStringLiteral("Tickets"));
    EXPECT_EQ(shownAlign, QStringLiteral("Left"));
    ASSERT_FALSE(preview.isNull());
    EXPECT_GT(preview.image.width(), preview.image.height() / 4);
    // The value typed before Cancel cannot be drawn: the handed-out picture says so, the item keeps its data.
    EXPECT_TRUE(Barcode_output_image.isNull());
    EXPECT_EQ(item->linear_font_val, QStringLiteral("400638133393"));
}

} // namespace
