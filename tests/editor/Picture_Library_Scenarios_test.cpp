// The picture library in a person's hands: the library tool puts the chosen clip-art on the card, the
// picture page's library button changes the selected picture, and the background buttons dress the side.
#include "editor/EditorScenarioFixture.h"

#include "model/TSLImage.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Image_Library.h"
#include "profiles/Picture_Grid_Panel.h"
#include "ui_Image_Library.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

using editorscenario::EditorScenario;

namespace {

class PictureLibraryScenario : public EditorScenario {
protected:
    QString clipArt;
    QString background;

    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
        clipArt = draw(QStringLiteral("LibraryImage/party/balloon.png"), Qt::red);
        background = draw(QStringLiteral("Background/stripes.png"), Qt::blue);
    }
    void TearDown() override
    {
        EditorScenario::TearDown();
        QFile::remove(clipArt);
        QFile::remove(background);
    }
    static QString draw(const QString& relative, QColor colour)
    {
        const QString path = QDir(Resource_Path).filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path, "PNG");
        return path;
    }
    // The library's modal run: picks the picture at `path` and presses OK, or presses Cancel.
    void answerLibrary(bool ok, const QString& path = QString())
    {
        ui.modalRuns.push_back([ok, path](QDialog& dialog) {
            auto& library = static_cast<Image_Library&>(dialog);
            // The picture's category first, as a person picks it from the list.
            const int category = library.form().cat_cmbo_bx->findData(QFileInfo(path).dir().dirName());
            if (!library.form().cat_cmbo_bx->isHidden() && category >= 0)
                library.form().cat_cmbo_bx->setCurrentIndex(category);
            for (int row = 0; row < library.form().grid->images->rowCount(); ++row) {
                library.form().grid->selectRow(row);
                if (library.form().grid->selectedPath() == path)
                    break;
            }
            QTest::mouseClick(ok ? library.form().ok_btn : library.form().cancel_btn, Qt::LeftButton);
            return library.result();
        });
    }
    std::shared_ptr<TSLImage> onlyPicture() const
    {
        std::shared_ptr<TSLImage> found;
        for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
            if (auto picture = std::dynamic_pointer_cast<TSLImage>(item))
                found = picture;
        return found;
    }
};

TEST_F(PictureLibraryScenario, TheLibraryToolPutsTheChosenClipArtOnTheCard)
{
    const std::size_t before = window->Get_Front_Controls_Array().size();
    answerLibrary(true, clipArt);
    QToolButton* tool = window->toolButtons.at(9);
    ASSERT_TRUE(tool->isEnabled());
    click(tool);
    ASSERT_EQ(window->Get_Front_Controls_Array().size(), before + 1);
    const auto picture = onlyPicture();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->_file_path, clipArt);

    answerLibrary(false);
    click(tool);
    EXPECT_EQ(window->Get_Front_Controls_Array().size(), before + 1) << "a cancelled library makes no item";
}

TEST_F(PictureLibraryScenario, ThePicturePagesLibraryButtonChangesTheSelectedPicture)
{
    answerLibrary(true, clipArt);
    click(window->toolButtons.at(9));
    const auto picture = onlyPicture();
    ASSERT_TRUE(picture);
    const QString second = draw(QStringLiteral("LibraryImage/party/cake.png"), Qt::green);
    answerLibrary(true, second);
    auto* button = window->findChild<QPushButton*>(QStringLiteral("Manual_Library_Browse_btn"));
    ASSERT_NE(button, nullptr);
    window->_graphicView->setSelected_Graphic(picture);
    picture->setBounds(QRectF(10, 10, 120, 30));
    button->click();
    EXPECT_EQ(picture->_file_path, second);
    EXPECT_EQ(picture->bounds(), QRectF(47.5, 10, 45, 30)) << "the new picture keeps its own proportions";
}

TEST_F(PictureLibraryScenario, TheBackgroundButtonsPutTheChosenPictureBehindTheCurrentSide)
{
    struct Case {
        const char* button;
        int side;
    };
    for (const Case& c : { Case { "Card_Bckgrnd_btn", 0 }, Case { "Card_Image_Library_btn", 1 } }) {
        Card_Front_Or_Back = c.side;
        answerLibrary(true, background);
        auto* button = window->findChild<QPushButton*>(QLatin1String(c.button));
        ASSERT_NE(button, nullptr) << c.button;
        button->click();
        const Card_Property& side = c.side == 0 ? window->Front_card_Prop : window->Back_card_Prop;
        EXPECT_EQ(side.Card_BG_Image_Path(), background) << c.button;
        EXPECT_EQ(side.Card_fill_style(), QStringLiteral("I")) << c.button;
        EXPECT_TRUE(side.Card_fill_chk()) << c.button;
    }
    Card_Front_Or_Back = 0;
}

} // namespace
