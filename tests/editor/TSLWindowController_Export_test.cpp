// Exported card pictures are PNG whatever the file is called, measure the card, and a file that cannot be
// written is reported by name and leaves what was there before.
#include "editor/EditorWindowTestSupport.h"

#include "profiles/Export_Template_Window.h"
#include "model/Shape_Control.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QTemporaryDir>

using editortest::EditorWindowTest;
using editortest::messageTexts;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isPng(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArray::fromHex("89504e470d0a1a0a"));
}

QImage readPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace

class ExportTest : public EditorWindowTest {
protected:
    QTemporaryDir folder;
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        ui.messages.clear();
    }
    QString pathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QSize cardSize() const { return window->frontCanvasBounds().size().toSize(); } // the nearest whole pixels
};

TEST_F(ExportTest, CardImageIsWrittenInTheFormatItsExtensionNames)
{
    const TSLGraphicPtr shape = addShape(QRectF(20, 20, 60, 40));
    shape->_isDrawingFill = true;
    shape->_fillColor = QColor(200, 0, 0);
    window->export_card_side = QStringLiteral("F");
    const QString path = pathOf(QStringLiteral("card.jpeg"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older export");
    old.close();

    ASSERT_TRUE(window->Export_Single_File(path, false));
    EXPECT_TRUE(readAll(path).startsWith("\xFF\xD8\xFF")) << "JPEG data in a .jpeg file";
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), cardSize());
    const QColor inside = image.pixelColor(50, 40);
    EXPECT_GT(inside.red(), 150);
    EXPECT_LT(inside.green(), 60);
    EXPECT_TRUE(messageTexts(ui).isEmpty());
}

TEST_F(ExportTest, BothSidesGiveTwoFilesOrOneStackedPicture)
{
    window->export_card_side = QStringLiteral("BOTH");
    window->export_combined_image_chk = false;
    const QString path = pathOf(QStringLiteral("pair.png"));
    ASSERT_TRUE(window->Export_Single_File(path, false));
    EXPECT_EQ(readPng(path).size(), cardSize());
    EXPECT_EQ(readPng(pathOf(QStringLiteral("pair_Back.png"))).size(), cardSize());

    window->export_combined_image_chk = true;
    const QString combined = pathOf(QStringLiteral("combined.png"));
    ASSERT_TRUE(window->Export_Single_File(combined, false));
    EXPECT_EQ(readPng(combined).size(), QSize(cardSize().width(), cardSize().height() * 2));
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("combined_Back.png"))));
}

TEST_F(ExportTest, ACutTextIsNamedAndTheCardIsNotCalledWhole)
{
    const TSLGraphicPtr text = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    addItem(text, TSLDocumentGraphicsKey);
    window->export_card_side = QStringLiteral("F");
    for (const auto& [box, typed, shown] : // a box too narrow, then one past the card
        { std::tuple(QRectF(10, 10, 30, 12), "Dear guests, join us on the terrace", "Dear guests, join us on\u2026"),
            { QRectF(10, window->frontCanvasBounds().bottom() - 8, 200, 40), "Dear guests", "Dear guests" } }) {
        text->setBounds(box);
        text->Text_contents().string = QString::fromUtf8(typed);
        ui.modalRuns.push_back([](QDialog&) { return 0; }); // the notice, closed
        ASSERT_TRUE(window->Export_Single_File(pathOf(QStringLiteral("cut.png")), true));
        EXPECT_EQ(window->Export_File_Message,
            QStringLiteral("The card has been exported, but it is not whole.\n\nThe card is made with a text that does "
                           "not fit its box or the card and is cut (the canvas marks it): text \"%1\".")
                .arg(QString::fromUtf8(shown)));
    }
    // From the Export button the cut text is asked about before the file is chosen: No exports nothing.
    ui.messages.clear();
    ui.modalRuns.push_back([](QDialog&) { return 1; }); // the export window, as it opens
    window->Export_Button();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The text \"Dear guests\" does not fit its box")));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("Export the card anyway?")));
    EXPECT_TRUE(ui.fileRequests.empty());
}

TEST_F(ExportTest, FailedWriteKeepsTheOldFileAndNamesTheFileThatFailed)
{
    const QString path = pathOf(QStringLiteral("kept.png"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old picture");
    old.close();
    QString error;
    EXPECT_FALSE(TSLWindowController::Save_gen_image(QImage(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("the old picture"));

    // The back file's place is taken by a folder: the front is still written, and the export reports the
    // back file and no success.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("two_Back.png")));
    window->export_card_side = QStringLiteral("BOTH");
    window->export_combined_image_chk = false;
    const QString front = pathOf(QStringLiteral("two.png"));
    EXPECT_FALSE(window->Export_Single_File(front, true));
    EXPECT_TRUE(isPng(readAll(front)));
    const QStringList texts = messageTexts(ui);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("two_Back.png")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Card has been exported successfully.")));
}

TEST_F(ExportTest, TemplateExportWritesBothFilesAndKeepsTheDesignName)
{
    Project_File_Name = pathOf(QStringLiteral("mine.dcard"));
    const QString title = window->windowTitle();
    ASSERT_TRUE(window->Export_Template(QStringLiteral("Party")));
    const QDir user(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    EXPECT_TRUE(QFile::exists(user.filePath(QStringLiteral("Party.dcard"))));
    const QImage picture = readPng(user.filePath(QStringLiteral("Party.png")));
    EXPECT_EQ(picture.size(), QSize(cardSize().width(), cardSize().height() * 2));
    EXPECT_EQ(Project_File_Name, pathOf(QStringLiteral("mine.dcard")));
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(messageTexts(ui), QStringList { QStringLiteral("Template exported successfully.") });
}

TEST_F(ExportTest, TemplateNameCannotLeaveTheTemplateFolder)
{
    // A file beside the template folder that a name of ".." would have replaced.
    const QString outside = QDir(Resource_Path).filePath(QStringLiteral("Templates/...png"));
    const QDir user(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    QDir().mkpath(user.path());
    const QStringList before = user.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // An empty name is asked for; a name that is a path is refused saying what a name may not hold.
    for (const QString& name : { QStringLiteral(".."), QStringLiteral("   "), QStringLiteral("."),
             QStringLiteral("../Party"), QStringLiteral("cards/Party") }) {
        ui.messages.clear();
        EXPECT_FALSE(window->Export_Template(name)) << name.toStdString();
        const QString expected = name.trimmed().isEmpty() ? QStringLiteral("Please enter template name.")
                                                          : QStringLiteral("The template name \"%1\" cannot be used: a "
                                                                           "name may not contain \"/\" or \"\\\" and "
                                                                           "may not be \".\" or \"..\".")
                                                                .arg(name);
        EXPECT_EQ(messageTexts(ui), QStringList { expected });
    }
    // A name that begins with a dot would be saved but never listed.
    {
        ui.messages.clear();
        EXPECT_FALSE(window->Export_Template(QStringLiteral(".hidden")));
        EXPECT_EQ(messageTexts(ui),
            QStringList {
                QStringLiteral("A template name cannot begin with a dot: the template would not be listed.") });
    }
    EXPECT_EQ(user.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_FALSE(QFile::exists(outside));

    // A name with separators is cleaned into one inside the folder, never a path.
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& window = static_cast<Export_Template_Window&>(dialog);
        window.findChild<QLineEdit*>(QStringLiteral("template_name"))->setText(QStringLiteral("../../Evil"));
        window.OK_Btn_Clicked();
        return window.result();
    });
    window->Export_As_Template_Clicked();
    const QStringList made
        = QDir(QDir(Resource_Path).filePath(QStringLiteral("Templates/User"))).entryList(QDir::Files);
    for (const QString& name : made)
        EXPECT_FALSE(name.contains(QLatin1Char('/')));
    EXPECT_FALSE(QFile::exists(QDir(Resource_Path).filePath(QStringLiteral("Evil.dcard"))));
    EXPECT_FALSE(QFile::exists(QDir(Resource_Path).filePath(QStringLiteral("Templates/Evil.dcard"))));
}

// A person picks the side in the export window and the file in the save panel: the back alone is written
// beside the chosen name with "_Back"; a card printed on its front only offers no back at all. The window
// opens on 300 dpi, then on the resolution chosen last, and names a barcode too small for one pixel a module,
// before the export and after it.
TEST_F(ExportTest, TheExportWindowOffersTheSidesTheCardHasAndTheBackAloneIsNamedWithBack)
{
    const struct {
        int sides; // entry of the sides box: 0 both, 1 front only
        const char* click;
        bool backOffered;
        QStringList written;
        const char *opened, *dpi; // resolution shown, then chosen
        bool tooSmall; // the back's barcode at that resolution
    } cases[] = {
        { 0, "side_back_rd", true, { "Card_Back.png" }, "300", "72", true },
        { 0, "side_both_rd", true, { "Card.png", "Card_Back.png" }, "72", "300", false },
        { 1, "side_back_rd", false, { "Card.png" }, "300", "72", false }, // the click on a disabled button does nothing
        { 1, "side_both_rd", false, { "Card.png" }, "72", "72", false },
    };
    const TSLGraphicPtr barcode = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode"));
    barcode->setBounds(QRectF(20, 20, 60, 30));
    window->makeBarcodeSymbol(*barcode);
    addItem(barcode, TSLDocumentGraphicsKey_back);
    for (const auto& c : cases) {
        QTemporaryDir target;
        ui.messages.clear();
        QString opened;
        window->Sides_ComboBox->setCurrentIndex(c.sides);
        bool backOffered = false;
        ui.modalRuns.push_back([&](QDialog& dialog) {
            dialog.show();
            auto* back = dialog.findChild<QRadioButton*>(QStringLiteral("side_back_rd"));
            backOffered
                = back->isEnabled() && dialog.findChild<QRadioButton*>(QStringLiteral("side_both_rd"))->isEnabled();
            QTest::mouseClick(
                dialog.findChild<QRadioButton*>(QLatin1String(c.click)), Qt::LeftButton, {}, QPoint(8, 8));
            auto* dpi = dialog.findChild<QComboBox*>(QStringLiteral("saveDPIText"));
            opened = dpi->currentText();
            dpi->setCurrentIndex(dpi->findText(QLatin1String(c.dpi)));
            QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
            return dialog.result();
        });
        ui.fileAnswers.push_back(QDir(target.path()).filePath(QStringLiteral("Card.png")));
        ui.modalRuns.push_back([](QDialog&) { return 0; }); // the export-finished notice
        window->Export_Button();
        EXPECT_EQ(backOffered, c.backOffered) << c.click;
        EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), c.written) << c.click;
        EXPECT_EQ(window->Export_File_Path, QDir(target.path()).filePath(c.written.first())) << c.click;
        EXPECT_EQ(opened, QLatin1String(c.opened));
        EXPECT_EQ(messageTexts(ui).join(QLatin1Char(' ')).contains(QStringLiteral("too small")), c.tooSmall) << c.dpi;
        EXPECT_EQ(window->Export_File_Message.contains(QStringLiteral("barcode drawn too small")), c.tooSmall) << c.dpi;
    }
}
