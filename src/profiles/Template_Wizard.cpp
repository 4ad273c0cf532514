#include "profiles/Template_Wizard.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "platform/CheckedSave.h"
#include "platform/UiSeam.h"
#include "profiles/Card_Size_Chooser.h"
#include "profiles/Export_Template_Window.h"
#include "profiles/Invitation_Wizard_Host.h"
#include "profiles/Picture_Folder.h"
#include "profiles/Picture_Grid_Panel.h"
#include "profiles/Profiles_Globals.h"

#include "ui_Card_Size_Chooser.h"
#include "ui_Template_Wizard.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace {

QString templatesFolder()
{
    return QDir(Resource_Path).filePath(QStringLiteral("Templates"));
}

QString userFolder()
{
    return QDir(templatesFolder()).filePath(QStringLiteral("User"));
}

// The design file that belongs to a preview: the same name with the extension "dcard".
QString designOf(const QString& preview)
{
    const QFileInfo info(preview);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".dcard"));
}

// Copies a template's file over any file at the target through the checked save.
bool copyReplacing(const QString& from, const QString& to, QString* error)
{
    constexpr qint64 largestTemplateFile = qint64(512) * 1024 * 1024;
    return platform::copyFileChecked(from, to, largestTemplateFile, error);
}

} // namespace

Template_Wizard::Template_Wizard(QWidget* parent)
    : Form_Dialog(parent)
{
    connect(ui_->cat_cmbo_bx, &QComboBox::currentIndexChanged, this, &Template_Wizard::comboBoxSelectionDidChange);
    connect(ui_->grid, &Picture_Grid_Panel::pictureChosen, this,
        [](const QString& path) { Selected_Template_Path = path; });
    connect(ui_->Delete_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Delete_Template_Click);
    connect(ui_->Copy_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Copy_Templatee_Click);
    connect(ui_->Rename_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Rename_Template_Click);
    connect(ui_->profile_btn, &QPushButton::clicked, this, &Template_Wizard::User_Profile_Click);
    connect(ui_->ok_btn, &QPushButton::clicked, this, &Template_Wizard::OK_Click);
    connect(ui_->sizes, &Card_Size_Chooser::rowChosen, this, [this] { sizeChosen_ = true; });
    connect(ui_->cancel_btn, &QPushButton::clicked, this, &Template_Wizard::CancelClick);
}

void Template_Wizard::setHost(Invitation_Wizard_Host* host)
{
    host_ = host;
    ui_->sizes->setHost(host);
}

int Template_Wizard::Open_Template_Window()
{
    return runModally([this] {
        {
            const QSignalBlocker quiet(ui_->cat_cmbo_bx);
            ui_->cat_cmbo_bx->setCurrentIndex(0);
        }
        ui_->sizes->reset();
        // The list opens on the card's own size, as the size window does.
        if (const QSizeF card = host_ ? host_->cardSizeInMillimetres() : QSizeF(); !card.isEmpty())
            ui_->sizes->showSize(card);
        sizeAtOpening_ = shownSize();
        sizeChosen_ = false;
        ui_->grid->clear();
        ui_->grid->setZoom(0.6);
        comboBoxSelectionDidChange();
    });
}

QSizeF Template_Wizard::shownSize() const
{
    const Ui::Card_Size_Chooser& size = ui_->sizes->form();
    return { size.width_Stepper->value(), size.height_Stepper->value() };
}

QSizeF Template_Wizard::chosenSize() const
{
    return shownSize() == sizeAtOpening_ && !sizeChosen_ ? QSizeF() : shownSize();
}

void Template_Wizard::comboBoxSelectionDidChange()
{
    if (ui_->cat_cmbo_bx->currentIndex() == 0) {
        Fill_Templates();
        Show_Hide_Template_Buttons(true);
    } else {
        Fill_Templates_User_Defined();
        Show_Hide_Template_Buttons(false);
    }
}

void Template_Wizard::Fill_Templates()
{
    fillFrom(templatesFolder(), false);
}

void Template_Wizard::Fill_Templates_User_Defined(const QString& selected)
{
    fillFrom(userFolder(), true, selected);
}

void Template_Wizard::fillFrom(const QString& folder, bool userList, const QString& selected)
{
    if (!QFileInfo(folder).isDir())
        return;
    ui_->grid->clear();
    const QDir dir(folder);
    for (const QString& name : Picture_Folder::pictureNames(folder)) {
        const QString uid = userList ? QStringLiteral("TEMP%1.png").arg(User_Defined_File++) : name;
        // The caption is the template's name; the picture's extension is no part of it.
        ui_->grid->addImageWithPath(dir.filePath(name), QFileInfo(name).completeBaseName(), uid);
    }
    ui_->grid->selectPath(selected);
}

void Template_Wizard::Show_Hide_Template_Buttons(bool hide)
{
    for (QPushButton* button : { ui_->Delete_temp_btn, ui_->Copy_temp_btn, ui_->Rename_temp_btn })
        button->setVisible(!hide);
}

QString Template_Wizard::existingChoice() const
{
    if (!Selected_Template_Path.isEmpty() && QFileInfo(Selected_Template_Path).isFile())
        return Selected_Template_Path;
    Show_MessageBox(QStringLiteral("Please select template."));
    return QString();
}

void Template_Wizard::OK_Click()
{
    if (Selected_Template_Path.isEmpty() || !QFileInfo(Selected_Template_Path).isFile()) {
        Show_MessageBox(QStringLiteral("Please select template."));
        return;
    }
    Card_Shape = 0;
    Selected_Template_Path = designOf(Selected_Template_Path);
    done(1);
}

// Cancel leaves the open card as it is, its outline too: only a template chosen with OK replaces it.
void Template_Wizard::CancelClick()
{
    Selected_Template_Path.clear();
    done(0);
}

void Template_Wizard::User_Profile_Click()
{
    if (host_)
        host_->openProfileWithoutSide();
}

void Template_Wizard::Delete_Template_Click()
{
    const QString chosen = existingChoice();
    if (chosen.isEmpty())
        return;
    const QString question = QStringLiteral("Do you want to delete the template \"%1\"?");
    if (Show_YES_NO_MessageBox(question.arg(QFileInfo(chosen).completeBaseName())) != 1)
        return;
    Delete_File(chosen);
    Delete_File(designOf(chosen));
    Fill_Templates_User_Defined();
}

QString Template_Wizard::Create_New_File_Path(const QString& path)
{
    const QFileInfo info(path);
    for (int n = 1;; ++n) {
        const QString candidate = info.dir().filePath(
            QStringLiteral("%1 (copy %2).%3").arg(info.completeBaseName()).arg(n).arg(info.suffix()));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

void Template_Wizard::Copy_Templatee_Click()
{
    const QString chosen = existingChoice();
    if (chosen.isEmpty())
        return;
    if (Show_YES_NO_MessageBox(QStringLiteral("Do you want to make copy of this template?")) != 1)
        return;
    // A copy is the preview and its design file together, or nothing: a lone preview would open no design.
    const QString copy = Create_New_File_Path(chosen);
    const bool hasDesign = QFileInfo::exists(designOf(chosen));
    QString error;
    if (!copyReplacing(chosen, copy, &error)
        || (hasDesign && !copyReplacing(designOf(chosen), designOf(copy), &error))) {
        QFile::remove(copy);
        Show_NSLog_Message(QStringLiteral("cannot copy template %1 to %2: %3").arg(chosen, copy, error));
        Show_MessageBox(QStringLiteral("The template could not be copied: %1").arg(error));
        return;
    }
    Fill_Templates_User_Defined(copy);
}

void Template_Wizard::Rename_Template_Click()
{
    const QString chosen = existingChoice();
    if (chosen.isEmpty())
        return;
    Export_Template_Window& names = Export_Template_Window::defaultInstance();
    names.setCurrentName(QFileInfo(chosen).completeBaseName());
    const int code = platform::ui().runModal(names);
    names.hide();
    if (code != 1 || names.templateName().isEmpty())
        return;
    // The name window took only a single file name, so the new files stay in the user's folder.
    const QString base = QDir(userFolder()).filePath(names.templateName());
    const QString picture = base + QStringLiteral(".png");
    if (picture == chosen)
        return;
    // Both copies first; the old files go only when both arrived, so a failed rename loses nothing. A
    // preview without a design file is renamed alone.
    const QString oldDesign = designOf(chosen);
    const QString newDesign = base + QStringLiteral(".dcard");
    const bool hasDesign = QFileInfo::exists(oldDesign);
    QString error;
    const bool copied
        = copyReplacing(chosen, picture, &error) && (!hasDesign || copyReplacing(oldDesign, newDesign, &error));
    if (!copied) {
        QFile::remove(picture);
        Show_MessageBox(QStringLiteral("The template could not be renamed: %1").arg(error));
        return;
    }
    Delete_File(chosen);
    // Renaming a jpg preview to its own name keeps the design file, which is both the old and the new one.
    if (hasDesign && QFileInfo(oldDesign) != QFileInfo(newDesign))
        Delete_File(oldDesign);
    Selected_Template_Path = picture;
    Fill_Templates_User_Defined(picture);
}
