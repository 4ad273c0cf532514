// The maker's other products and the share window in a person's hands: each product entry of the Help
// menu shows its product over the pattern; its buttons hand their links to the desktop and leave the
// window open, and OK closes it. The share window's network buttons open their pages.
#include "editor/EditorScenarioFixture.h"

#include "info/Promotion_Form.h"
#include "info/Promotion_Pattern.h"
#include "info/Share_It_Dlg.h"

#include <QLabel>
#include <QPalette>
#include <QUrl>

using editorscenario::EditorScenario;

namespace {

class PromotionScenario : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
    }
    QStringList opened() const
    {
        QStringList urls;
        for (const QUrl& url : ui.urlsOpened)
            urls << url.toString(QUrl::FullyEncoded);
        return urls;
    }
    static const Promotion_Product& product(const QString& kind)
    {
        for (const Promotion_Product& p : Promotion_Form::defaultInstance()->products()) {
            if (p.kind == kind)
                return p;
        }
        throw std::runtime_error("no such product");
    }
    static QString shownTitle(QDialog& dialog)
    {
        return dialog.findChild<QLabel*>(QStringLiteral("Software_title"))->text();
    }
};

bool isWindowBackground(const QColor& colour)
{
    return colour == QColor(241, 244, 250);
}

TEST_F(PromotionScenario, EachProductEntryShowsItsProductAndItsButtonsOpenItsLinks)
{
    for (const char* kind : { "S", "R", "B" }) {
        SCOPED_TRACE(kind);
        const Promotion_Product& shown = product(QLatin1String(kind));
        const struct {
            const char* button;
            QString opens;
        } buttons[] = { { "mail_btn", shown.mailLink }, { "contact_btn", shown.contactLink },
            { "order_btn", shown.orderLink }, { "youtube_btn", QStringLiteral("https://www.tessaline.example/videos") },
            { "support_id", QStringLiteral("mailto:support@tessaline.example") },
            { "website_1", QStringLiteral("https://www.tessaline.example/") } };
        ui.urlsOpened.clear();
        QStringList texts;
        QImage picture;
        std::vector<bool> openAfter;
        ui.modalRuns.push_back([&](QDialog& dialog) {
            dialog.show();
            for (const char* field : { "Software_title", "short_descp", "long_descp" })
                texts << dialog.findChild<QLabel*>(QLatin1String(field))->text();
            picture = dialog.findChild<Promotion_Pattern*>(QStringLiteral("bundle_image"))->image();
            openAfter = editorscenario::clickEachButton(dialog, buttons);
            editorscenario::clickChild(dialog, "ok_btn");
            return dialog.result();
        });
        trigger(QStringLiteral("menu_Promotion_") + QLatin1String(kind));

        ASSERT_EQ(ui.dialogsRun.back(), QStringLiteral("Promotion_Window"));
        EXPECT_EQ(Promotion_Form::defaultInstance()->software_type, QLatin1String(kind));
        EXPECT_EQ(texts, (QStringList { shown.title, shown.shortDescription, shown.longDescription }));
        EXPECT_EQ(picture, shown.picture);
        EXPECT_FALSE(picture.isNull());
        const QStringList urls = opened();
        ASSERT_EQ(urls.size(), int(std::size(buttons))) << "one link per click";
        for (std::size_t i = 0; i < std::size(buttons); ++i) {
            EXPECT_EQ(urls[int(i)], buttons[i].opens) << buttons[i].button;
            EXPECT_TRUE(openAfter[i]) << buttons[i].button;
        }
        EXPECT_EQ(Promotion_Form::defaultInstance()->result(), 1);
        EXPECT_FALSE(Promotion_Form::defaultInstance()->isVisible());
    }
}

TEST_F(PromotionScenario, TheMenuNamesTheThreeProducts)
{
    for (const char* kind : { "S", "R", "B" }) {
        QAction* entry = window->menuAction(QStringLiteral("menu_Promotion_") + QLatin1String(kind));
        ASSERT_NE(entry, nullptr) << kind;
        EXPECT_TRUE(entry->isEnabled());
        EXPECT_EQ(entry->text().remove(QLatin1Char('&')), product(QLatin1String(kind)).title + QStringLiteral("..."));
    }
}

TEST_F(PromotionScenario, AnotherKindKeepsWhatWasShownAndItsProductButtonsOpenNothing)
{
    const auto closeAtOnce = [](QDialog& dialog) {
        dialog.show();
        editorscenario::clickChild(dialog, "ok_btn");
        return dialog.result();
    };
    ui.modalRuns.push_back(closeAtOnce);
    window->Open_Promotion(QStringLiteral("R"));

    QString title;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show();
        title = shownTitle(dialog);
        for (const char* button : { "mail_btn", "contact_btn", "order_btn", "youtube_btn" })
            editorscenario::clickChild(dialog, button);
        editorscenario::clickChild(dialog, "ok_btn");
        return dialog.result();
    });
    ui.urlsOpened.clear();
    Promotion_Form::defaultInstance()->software_type = QStringLiteral("Q");
    EXPECT_EQ(Promotion_Form::defaultInstance()->Open_Promotion_Window(), 1);
    EXPECT_EQ(title, product(QStringLiteral("R")).title);
    EXPECT_EQ(opened(), QStringList { QStringLiteral("https://www.tessaline.example/videos") })
        << "only the video page, which belongs to no product";
}

TEST_F(PromotionScenario, TheCloseButtonOfTheWindowEndsWithZero)
{
    ui.modalRuns.push_back([](QDialog& dialog) {
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    });
    Promotion_Form::defaultInstance()->software_type = QStringLiteral("B");
    EXPECT_EQ(Promotion_Form::defaultInstance()->Open_Promotion_Window(), 0);
    EXPECT_TRUE(ui.urlsOpened.empty());
}

TEST_F(PromotionScenario, TheProductPictureSitsOnTheTiledPatternOnTheWindowsBackground)
{
    Promotion_Form* form = Promotion_Form::defaultInstance();
    EXPECT_TRUE(isWindowBackground(form->palette().color(QPalette::Window)));
    const QImage tile = window->promotion_pattern_image;
    ASSERT_FALSE(tile.isNull()) << "pattern_1 is installed";
    QImage drawn;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show();
        auto* view = dialog.findChild<Promotion_Pattern*>(QStringLiteral("bundle_image"));
        drawn = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        editorscenario::clickChild(dialog, "ok_btn");
        return dialog.result();
    });
    form->software_type = QStringLiteral("S");
    form->Open_Promotion_Window();
    ASSERT_FALSE(drawn.isNull());
    // Corners show the pattern as it tiles from the view's top left; the middle shows the product.
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3
            && std::abs(qBlue(a) - qBlue(b)) <= 3;
    };
    const QImage tileRgb = tile.convertToFormat(QImage::Format_RGB32);
    for (const QPoint at :
        { QPoint(1, 1), QPoint(drawn.width() - 2, drawn.height() - 2), QPoint(1, drawn.height() - 2) })
        EXPECT_TRUE(near(drawn.pixel(at), tileRgb.pixel(at.x() % tile.width(), at.y() % tile.height())))
            << at.x() << "," << at.y();
    const QPoint middle(drawn.width() / 2, drawn.height() / 2);
    EXPECT_FALSE(near(drawn.pixel(middle), tileRgb.pixel(middle.x() % tile.width(), middle.y() % tile.height())));
}

TEST_F(PromotionScenario, TheHelpMenuOpensTheShareWindowWhoseNetworkButtonsOpenTheirPages)
{
    Share_It_Dlg* share = Share_It_Dlg::defaultInstance();
    EXPECT_TRUE(isWindowBackground(share->palette().color(QPalette::Window)));
    const struct {
        const char* button;
        const char* opens;
    } networks[] = { { "gplus_btn", "https://www.tessaline.example/share/googleplus?" },
        { "facebook_btn", "https://www.tessaline.example/share/facebook?" },
        { "twitter_btn", "https://www.tessaline.example/share/twitter?" },
        { "fb_like_btn", "https://www.tessaline.example/share/facebook-like?" } };
    std::vector<bool> openAfter;
    ui.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show();
        openAfter = editorscenario::clickEachButton(dialog, networks);
        editorscenario::clickChild(dialog, "go_share_btn");
        openAfter.push_back(dialog.isVisible());
        editorscenario::clickChild(dialog, "ok_btn");
        return dialog.result();
    });
    trigger(QStringLiteral("menu_Share"));
    ASSERT_FALSE(ui.dialogsRun.empty());
    EXPECT_EQ(ui.dialogsRun.back(), QStringLiteral("Share_It_Dlg_Window"));
    EXPECT_EQ(share->result(), 1);
    EXPECT_FALSE(share->isVisible());
    const QStringList urls = opened();
    ASSERT_EQ(urls.size(), int(std::size(networks))) << "one page per network button, none for Share It";
    for (std::size_t i = 0; i < std::size(networks); ++i)
        EXPECT_TRUE(urls[int(i)].startsWith(QLatin1String(networks[i].opens))) << urls[int(i)].toStdString();
    EXPECT_EQ(std::count(openAfter.begin(), openAfter.end(), true), int(openAfter.size()));
}

} // namespace
