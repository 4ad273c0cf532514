#include "profiles/Export_Template_Window.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "profiles/Profiles_Globals.h"
#include "ui_Export_Template_Window.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>

namespace {

// Widens the window so that the title bar can show its title whole beside the window's own buttons; the
// title bar's font is the desktop's bold one or near it.
void roomForTitle(QWidget& window)
{
    QFont bold = QGuiApplication::font();
    bold.setBold(true);
    constexpr int titleBarButtons = 160;
    window.setMinimumWidth(
        std::max(window.minimumWidth(), QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + titleBarButtons));
}

} // namespace

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
    roomForTitle(*this);
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &Export_Template_Window::OK_Btn_Clicked);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &Export_Template_Window::Cancel_Btn_Clicked);
}

Export_Template_Window::~Export_Template_Window() = default;

bool isListedTemplateName(const QString& name)
{
    // The template lists leave out hidden files, as every file panel does.
    if (!name.startsWith(QLatin1Char('.')))
        return true;
    Show_MessageBox(QStringLiteral("A template name cannot begin with a dot: the template would not be listed."));
    return false;
}

void Export_Template_Window::reset()
{
    setWindowTitle(QStringLiteral("Export as Template"));
    roomForTitle(*this);
    ui_->template_name->clear();
    ui_->template_passed->clear();
    export_template_name_.clear();
}

void Export_Template_Window::setCurrentName(const QString& name)
{
    setWindowTitle(QStringLiteral("Rename Template"));
    roomForTitle(*this);
    ui_->template_name->setText(name);
    ui_->template_passed->setText(name);
    export_template_name_.clear();
}

void Export_Template_Window::OK_Btn_Clicked()
{
    if (const QString refusal = templateNameRefusal(ui_->template_name->text()); !refusal.isEmpty()) {
        Show_MessageBox(refusal);
        return;
    }
    const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(ui_->template_name->text()));
    if (!isListedTemplateName(name))
        return;
    const bool exists
        = QFileInfo(QDir(Resource_Path).filePath(QStringLiteral("Templates/User/%1.dcard").arg(name))).isFile();
    const QString current = Trim_Str(ui_->template_passed->text());
    if (current.isEmpty()) {
        if (exists
            && Show_YES_NO_MessageBox(QStringLiteral(
                   "Template with this name already exists, Do you want to replace the existing template?"))
                != 1)
            return;
    } else if (name != current && exists) {
        Show_MessageBox(QStringLiteral("Template with this name already exists."));
        return;
    }
    export_template_name_ = name;
    export_template_name = name;
    done(1);
}

void Export_Template_Window::Cancel_Btn_Clicked()
{
    reset();
    done(0);
}
