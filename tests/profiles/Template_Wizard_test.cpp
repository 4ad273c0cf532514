// The template gallery and the template-name window worked through their controls on a data folder of
// our making: which list shows which buttons, copy names, renames that never lose a file, and OK's result.
#include "common/Globals.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Card_Wizard.h"
#include "profiles/Export_Template_Window.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "profiles/Picture_Browser_View.h"
#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Profiles_Globals.h"
#include "profiles/Template_Wizard.h"
#include "support/TestSupport.h"
#include "ui_Card_Size_Chooser.h"
#include "ui_Card_Wizard.h"
#include "ui_Export_Template_Window.h"
#include "ui_Template_Wizard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class SizesHost final : public Invitation_Wizard_Host {
public:
    std::optional<QSizeF> documentSize, canvasSize;
    int profiles = 0;
    int Open_Log_File() override { return 0; }
    void Set_Card_Size_In_Control(double, double) override { }
    void Set_Document_Size(double w, double h) override { documentSize = QSizeF(w, h); }
    void SetDocumentCanvasSize(double w, double h) override { canvasSize = QSizeF(w, h); }
    QStringList plasticCardSizeNames() const override
    {
        return { QStringLiteral("CR80"), QStringLiteral(" "), QStringLiteral("CR79") };
    }
    QStringList labelSizeNames() const override
    {
        QStringList names;
        for (int n = 1452; n <= 1459; ++n)
            names << QStringLiteral("Label %1").arg(n);
        return names;
    }
    QSizeF cardSizeOf(const QString& category, const QString& preset, int row) const override
    {
        const QSizeF size = category == QLatin1String("PVC Card") ? QSizeF(85.6 + row, 54) : QSizeF(100 + row, 60);
        return preset == QLatin1String("H") ? size : size.transposed();
    }
    int openProfileWithoutSide() override { return ++profiles, 1; }
};

class TemplateTest : public testing::Test {
protected:
    testsupport::ScriptedResponder ui;
    SizesHost host;
    Template_Wizard* gallery = Template_Wizard::defaultInstance();
    QString savedResource = Resource_Path;

    void SetUp() override
    {
        Resource_Path = testsupport::makeTempFolder(QStringLiteral("templates"));
        QDir().mkpath(user(QString()));
        gallery->setHost(&host);
        Selected_Template_Path.clear();
    }
    void TearDown() override
    {
        gallery->setHost(nullptr);
        Resource_Path = savedResource;
    }
    static QString user(const QString& name) { return Resource_Path + QStringLiteral("/Templates/User/") + name; }
    static QString builtIn(const QString& name) { return Resource_Path + QStringLiteral("/Templates/") + name; }
    static void write(const QString& path, const QByteArray& bytes = "design")
    {
        if (path.endsWith(QLatin1String(".png")) || path.endsWith(QLatin1String(".jpg"))) {
            QImage image(20, 20, QImage::Format_RGB32);
            image.fill(Qt::red);
            ASSERT_TRUE(image.save(path, "PNG"));
            return;
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int open(const std::function<int(Template_Wizard&)>& user)
    {
        ui.modalRuns.push_back([user](QDialog& dialog) {
            dialog.show();
            return user(static_cast<Template_Wizard&>(dialog));
        });
        return gallery->Open_Template_Window();
    }
    static void choose(Template_Wizard& window, const QString& path)
    {
        for (int row = 0; row < window.form().grid->images->rowCount(); ++row) {
            window.form().grid->selectRow(row);
            if (window.form().grid->selectedPath() == path)
                return;
        }
        ADD_FAILURE() << "not shown: " << path.toStdString();
    }
    static int press(QPushButton* button, const QDialog& window)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return window.isVisible() ? -1 : window.result();
    }
    // Party.png and its design among the user's templates, copied with the Copy button and Yes.
    void copyPartyTemplate()
    {
        write(user(QStringLiteral("Party.png")));
        write(user(QStringLiteral("Party.dcard")), "party design");
        ui.messageAnswers.push_back(1);
        open([&](Template_Wizard& window) {
            window.form().cat_cmbo_bx->setCurrentIndex(1);
            choose(window, user(QStringLiteral("Party.png")));
            QTest::mouseClick(window.form().Copy_temp_btn, Qt::LeftButton);
            return press(window.form().cancel_btn, window);
        });
    }
    // Answers the rename window's modal run with a typed name; called from within the gallery's own run.
    void answerRename(const QString& name)
    {
        ui.modalRuns.push_back([name](QDialog& dialog) {
            auto& names = static_cast<Export_Template_Window&>(dialog);
            names.form().template_name->setText(name);
            names.setResult(0);
            names.OK_Btn_Clicked();
            return names.isVisible() || names.result() != 1 ? 0 : 1;
        });
    }
};

TEST_F(TemplateTest, OnlyTheUsersListOffersDeleteCopyAndRenameAndItsIdentifiersAreNeverReused)
{
    write(builtIn(QStringLiteral("Party.png")));
    write(user(QStringLiteral("Mine.png")));
    write(user(QStringLiteral("Other.png")));
    bool builtInHidden = false, userShown = false;
    QStringList uids, captions;
    open([&](Template_Wizard& window) {
        builtInHidden = window.form().Delete_temp_btn->isHidden() && window.form().Copy_temp_btn->isHidden()
            && window.form().Rename_temp_btn->isHidden();
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        userShown = !window.form().Delete_temp_btn->isHidden() && !window.form().Rename_temp_btn->isHidden();
        window.form().cat_cmbo_bx->setCurrentIndex(0);
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        for (const Browser_Picture_Object& item : window.form().grid->images->items()) {
            uids << item.image_UID;
            captions << item.image_Name;
        }
        return press(window.form().cancel_btn, window);
    });
    captions.sort();
    EXPECT_EQ(captions, (QStringList { QStringLiteral("Mine"), QStringLiteral("Other") })) << "named, not file names";
    EXPECT_TRUE(builtInHidden);
    EXPECT_TRUE(userShown);
    ASSERT_EQ(uids.size(), 2);
    EXPECT_NE(uids[0], uids[1]);
    EXPECT_TRUE(uids[0].startsWith(QLatin1String("TEMP")));
    EXPECT_GE(uids[0].mid(4).chopped(4).toULongLong(), 2u) << "the first refill used two identifiers already";
}

TEST_F(TemplateTest, CopyTakesTheNextFreeCopyNameForPictureAndDesign)
{
    write(user(QStringLiteral("Party (copy 1).png")));
    copyPartyTemplate();
    EXPECT_TRUE(QFile::exists(user(QStringLiteral("Party (copy 2).png"))));
    EXPECT_EQ(read(user(QStringLiteral("Party (copy 2).dcard"))), QByteArray("party design"));
    EXPECT_EQ(Template_Wizard::Create_New_File_Path(user(QStringLiteral("Party (copy 1).png"))),
        user(QStringLiteral("Party (copy 1) (copy 1).png")));
}

TEST_F(TemplateTest, AFailedCopyIsReportedAndLeavesNoLonePreview)
{
    QDir().mkpath(user(QStringLiteral("Party (copy 1).dcard"))); // the copy's design file cannot be written
    copyPartyTemplate();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.messages.back().text.trimmed().startsWith(QStringLiteral("The template could not be copied: ")))
        << ui.messages.back().text.toStdString();
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Party (copy 1).png"))));
    EXPECT_EQ(read(user(QStringLiteral("Party.dcard"))), QByteArray("party design"));
}

TEST_F(TemplateTest, RenameMovesBothFilesAndRefusesAnotherTemplatesName)
{
    write(user(QStringLiteral("Party.png")));
    write(user(QStringLiteral("Party.dcard")), "party design");
    write(user(QStringLiteral("Taken.dcard")), "taken");
    open([&](Template_Wizard& window) {
        answerRename(QStringLiteral("Taken"));
        answerRename(QStringLiteral("  *Feast?  "));
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        choose(window, user(QStringLiteral("Party.png")));
        QTest::mouseClick(window.form().Rename_temp_btn, Qt::LeftButton); // onto another template: refused
        QTest::mouseClick(window.form().Rename_temp_btn, Qt::LeftButton);
        return press(window.form().cancel_btn, window);
    });
    bool refused = false;
    for (const auto& message : ui.messages)
        refused |= message.text.trimmed() == QLatin1String("Template with this name already exists.");
    EXPECT_TRUE(refused);
    EXPECT_EQ(read(user(QStringLiteral("Taken.dcard"))), QByteArray("taken"));
    EXPECT_EQ(read(user(QStringLiteral("Feast.dcard"))), QByteArray("party design"));
    EXPECT_TRUE(QFile::exists(user(QStringLiteral("Feast.png"))));
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Party.png"))));
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Party.dcard"))));
}

TEST_F(TemplateTest, NamesShowWholeWhenTheyFitAndCopyAndRenameKeepTheNewTemplateChosenInView)
{
    const char* const names[]
        = { "Ren", "Party time", "Invitation to the long summer garden party at the lake", "Party" };
    for (int n = 1; n <= 10; ++n)
        write(user(QStringLiteral("Other %1.png").arg(n)));
    for (const char* name : names)
        write(user(QLatin1String(name) + QStringLiteral(".png")));
    QStringList chosen, shown; // after choosing each name, then Copy and Rename: the choice when in view, its caption
    ui.messageAnswers.push_back(1);
    open([&](Template_Wizard& window) {
        answerRename(QStringLiteral("Feast"));
        const Picture_Browser_View& view = *window.form().grid->imageBrowser;
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        QTest::keyClick(window.form().grid->_zoom_slider, Qt::Key_Home);
        for (int step = 0; step < 6; ++step) {
            if (step < 4)
                choose(window, user(QLatin1String(names[step]) + QStringLiteral(".png")));
            else
                QTest::mouseClick(
                    step == 4 ? window.form().Copy_temp_btn : window.form().Rename_temp_btn, Qt::LeftButton);
            const bool inView = view.viewport()->rect().contains(view.visualRect(view.currentIndex()));
            chosen << (inView ? Selected_Template_Path : QString());
            shown << view.shownCaption(view.currentIndex().row());
        }
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(shown.mid(0, 2) << shown.value(3), QStringList({ "Ren", "Party time", "Party" }))
        << "at the smallest zoom";
    EXPECT_TRUE(QRegularExpression("^Invit.+\u2026.+ lake$").match(shown.value(2)).hasMatch())
        << shown.value(2).toStdString();
    EXPECT_EQ(
        chosen.mid(4), QStringList({ user(QStringLiteral("Party (copy 1).png")), user(QStringLiteral("Feast.png")) }));
}

TEST_F(TemplateTest, RenamingAJpgPreviewToItsOwnNameKeepsTheDesign)
{
    write(user(QStringLiteral("Party.jpg")));
    write(user(QStringLiteral("Party.dcard")), "party design");
    open([&](Template_Wizard& window) {
        answerRename(QStringLiteral("Party"));
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        choose(window, user(QStringLiteral("Party.jpg")));
        QTest::mouseClick(window.form().Rename_temp_btn, Qt::LeftButton);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_TRUE(QFile::exists(user(QStringLiteral("Party.png"))));
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Party.jpg"))));
    EXPECT_EQ(read(user(QStringLiteral("Party.dcard"))), QByteArray("party design"));
}

TEST_F(TemplateTest, AFailedRenameLeavesTheOldTemplateWhole)
{
    write(user(QStringLiteral("Party.png")));
    write(user(QStringLiteral("Party.dcard")), "party design");
    // A folder where the new design file would go: its copy cannot be made.
    QDir().mkpath(user(QStringLiteral("Blocked.dcard")));
    open([&](Template_Wizard& window) {
        answerRename(QStringLiteral("Blocked"));
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        choose(window, user(QStringLiteral("Party.png")));
        QTest::mouseClick(window.form().Rename_temp_btn, Qt::LeftButton);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_EQ(ui.messages.back().text.trimmed(),
        QStringLiteral("The template could not be renamed: Filename refers to a directory"));
    EXPECT_TRUE(QFile::exists(user(QStringLiteral("Party.png"))));
    EXPECT_EQ(read(user(QStringLiteral("Party.dcard"))), QByteArray("party design"));
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Blocked.png"))));
}

TEST_F(TemplateTest, DeleteAsksAndRemovesBothFiles)
{
    write(user(QStringLiteral("Old.png")));
    write(user(QStringLiteral("Old.dcard")));
    ui.messageAnswers = { 0, 1 };
    bool keptAfterNo = false;
    open([&](Template_Wizard& window) {
        window.form().cat_cmbo_bx->setCurrentIndex(1);
        choose(window, user(QStringLiteral("Old.png")));
        QTest::mouseClick(window.form().Delete_temp_btn, Qt::LeftButton);
        keptAfterNo = QFile::exists(user(QStringLiteral("Old.dcard")));
        QTest::mouseClick(window.form().Delete_temp_btn, Qt::LeftButton);
        return press(window.form().cancel_btn, window);
    });
    EXPECT_TRUE(keptAfterNo);
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Old.png"))));
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("Old.dcard"))));
    EXPECT_EQ(ui.messages[0].text.trimmed(), QStringLiteral("Do you want to delete the template \"Old\"?"));
}

TEST_F(TemplateTest, OkReturnsTheDesignBesideThePreviewAndCancelKeepsTheOutline)
{
    write(builtIn(QStringLiteral("Lonely.png"))); // a preview without a design file
    Card_Shape = 2;
    int code = open([&](Template_Wizard& window) {
        choose(window, builtIn(QStringLiteral("Lonely.png")));
        return press(window.form().ok_btn, window);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Selected_Template_Path, builtIn(QStringLiteral("Lonely.dcard")));
    EXPECT_EQ(Card_Shape, 0);
    Card_Shape = 1;
    code = open([&](Template_Wizard& window) { return press(window.form().cancel_btn, window); });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Selected_Template_Path.isEmpty());
    EXPECT_EQ(Card_Shape, 1) << "the open card keeps its outline";
}

TEST_F(TemplateTest, TheNameWindowKeepsNamesToOneFileInTheUsersFolder)
{
    write(user(QStringLiteral("Party.dcard")));
    write(user(QStringLiteral("Picture Only.png")));
    Export_Template_Window& names = Export_Template_Window::defaultInstance();
    const struct {
        const char* current;
        const char* typed;
        bool accepted;
        const char* kept;
    } cases[] = { { "Party", "Party", true, "Party" }, { "Party", "Picture Only", true, "Picture Only" },
        { "Other", "Party", false, "" }, { "", "../outside", false, "" }, { "", "   ", false, "" },
        { "", " *Feast? ", true, "Feast" } };
    for (const auto& c : cases) {
        names.reset();
        if (*c.current)
            names.setCurrentName(QLatin1String(c.current));
        names.form().template_name->setText(QLatin1String(c.typed));
        names.show();
        EXPECT_EQ(
            names.windowTitle(), *c.current ? QLatin1String("Rename Template") : QLatin1String("Export as Template"));
        EXPECT_GE(names.width(), names.fontMetrics().horizontalAdvance(names.windowTitle()) + 120) << c.typed;
        names.setResult(0);
        names.OK_Btn_Clicked();
        const bool accepted = !names.isVisible() && names.result() == 1;
        names.hide();
        EXPECT_EQ(accepted, c.accepted) << c.typed;
        if (c.accepted) {
            EXPECT_EQ(export_template_name, QLatin1String(c.kept)) << c.typed;
        }
    }
}

TEST_F(TemplateTest, TheCardWizardResizesTheDesignAndCancelKeepsTheOutline)
{
    Card_Wizard* wizard = Card_Wizard::defaultInstance();
    wizard->setHost(&host);
    QStringList labels;
    double labelWidth = 0;
    Ui::Card_Size_Chooser& sizes = wizard->form().sizes->form();
    ui.modalRuns.push_back([&](QDialog&) {
        sizes.Category_ComboBox->setCurrentIndex(1);
        for (int row = 0; row < sizes.ColList->rowCount(); ++row)
            labels << sizes.ColList->item(row, 0)->text();
        labelWidth = sizes.width_Stepper->value();
        sizes.Category_ComboBox->setCurrentIndex(0);
        sizes.ColList->selectRow(1); // the blank name was skipped: row 1 is CR79
        // A radio button takes clicks on its circle and caption only, not on the rest of its row.
        QAbstractButton* oval = wizard->form().matrix_card_shape->button(2);
        QTest::mouseClick(oval, Qt::LeftButton, {}, QPoint(6, oval->height() / 2));
        wizard->OK_Click();
        return wizard->result();
    });
    EXPECT_EQ(wizard->Open_Wnd(), 1);
    EXPECT_EQ(labels.size(), 8);
    EXPECT_DOUBLE_EQ(labelWidth, 100);
    EXPECT_EQ(Card_Shape, 2);
    ASSERT_TRUE(host.documentSize);
    EXPECT_NEAR(host.documentSize->width(), 86.6 * 2.834645669291, 1e-6);
    EXPECT_NEAR(host.documentSize->height(), 54 * 2.834645669291, 1e-6);
    EXPECT_EQ(host.canvasSize, host.documentSize);

    ui.modalRuns.push_back([&](QDialog&) {
        wizard->CancelClick();
        return wizard->result();
    });
    EXPECT_EQ(wizard->Open_Wnd(), 0);
    EXPECT_EQ(Card_Shape, 2) << "Cancel changes nothing";
    wizard->setHost(nullptr);
}

} // namespace
