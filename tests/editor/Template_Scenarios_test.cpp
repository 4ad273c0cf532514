// Templates in a person's hands: the design saved as a template shows up among "My Templates" in the
// gallery, and choosing it there opens it as a new, unnamed design; a built-in template opens the same way.
#include "editor/EditorScenarioFixture.h"

#include "profiles/Browser_Picture_Model.h"
#include "profiles/Export_Template_Window.h"
#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Template_Wizard.h"
#include "ui_Template_Wizard.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

using editorscenario::EditorScenario;

namespace {

class TemplateScenario : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startWithWizard(QStringLiteral("Noor"));
    }
    // The gallery's run: shows the list, picks the preview whose name starts with `name`, presses OK.
    void answerGallery(int list, const QString& name)
    {
        ui.modalRuns.push_back([list, name](QDialog& dialog) {
            auto& gallery = static_cast<Template_Wizard&>(dialog);
            gallery.form().cat_cmbo_bx->setCurrentIndex(list);
            for (int row = 0; row < gallery.form().grid->images->rowCount(); ++row) {
                gallery.form().grid->selectRow(row);
                if (QFileInfo(gallery.form().grid->selectedPath()).fileName().startsWith(name))
                    break;
            }
            QTest::mouseClick(gallery.form().ok_btn, Qt::LeftButton);
            return gallery.result();
        });
    }
};

TEST_F(TemplateScenario, ASavedTemplateOpensFromTheGalleryAsANewDesign)
{
    const std::size_t items = window->Get_Front_Controls_Array().size();
    ASSERT_GT(items, 0u);
    ui.modalRuns.push_back([](QDialog& dialog) {
        auto& names = static_cast<Export_Template_Window&>(dialog);
        names.findChild<QLineEdit*>(QStringLiteral("template_name"))->setText(QStringLiteral("Noor's Party"));
        names.OK_Btn_Clicked();
        return names.result();
    });
    trigger(QStringLiteral("menu_Export_As_Template"));
    ASSERT_TRUE(QFile::exists(QDir(Resource_Path).filePath(QStringLiteral("Templates/User/Noor's Party.dcard"))));

    trigger(QStringLiteral("New_btn"));
    ASSERT_EQ(window->Get_Front_Controls_Array().size(), 0u);
    answerGallery(1, QStringLiteral("Noor's Party"));
    trigger(QStringLiteral("menu_New_From_Template"));
    EXPECT_EQ(window->Get_Front_Controls_Array().size(), items);
    EXPECT_TRUE(Project_File_Name.isEmpty()) << "a template is not the design's file";
}

TEST_F(TemplateScenario, ABuiltInTemplateOpensWithItsTexts)
{
    answerGallery(0, QStringLiteral("Thank You"));
    trigger(QStringLiteral("menu_New_From_Template"));
    bool found = false;
    for (const TSLGraphicPtr& item : window->Get_Front_Controls_Array())
        found |= item->Text_Value == QLatin1String("Thank You");
    EXPECT_TRUE(found);
}

} // namespace
