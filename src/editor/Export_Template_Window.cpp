#include "editor/Export_Template_Window.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "editor/Design_File_Format.h"
#include "ui_Export_Template_Window.h"

#include <QDir>
#include <QFileInfo>

Export_Template_Window& Export_Template_Window::defaultInstance()
{
    static Export_Template_Window* instance = new Export_Template_Window();
    return *instance;
}

Export_Template_Window::Export_Template_Window(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Export_Template_Window>())
{
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &Export_Template_Window::OK_Btn_Clicked);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &Export_Template_Window::Cancel_Btn_Clicked);
}

Export_Template_Window::~Export_Template_Window() = default;

void Export_Template_Window::reset()
{
    ui_->template_name->clear();
    export_template_name_.clear();
}

void Export_Template_Window::OK_Btn_Clicked()
{
    const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(ui_->template_name->text()));
    if (!isSafeFileName(name)) {
        Show_MessageBox(QStringLiteral("Please enter template name."));
        return;
    }
    const QString existing
        = QDir(Resource_Path).filePath(QStringLiteral("Templates/User/%1.%2").arg(name, design_file_EXT));
    if (QFileInfo::exists(existing)
        && Show_YES_NO_MessageBox(
               QStringLiteral("Template with this name already exists, Do you want to replace the existing template?"))
            != 1)
        return;
    export_template_name_ = name;
    done(1);
}

void Export_Template_Window::Cancel_Btn_Clicked()
{
    reset();
    done(0);
}
