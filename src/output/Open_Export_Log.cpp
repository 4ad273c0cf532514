#include "output/Open_Export_Log.h"

#include "common/File_Functions.h"
#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "output/Preferences.h"
#include "platform/UiSeam.h"

#include "ui_Open_Export_Files.h"

#include <QFileInfo>

std::function<void(const QString&)> Open_Export_Log::opener = Open_File_With_Desktop;

Open_Export_Log& Open_Export_Log::defaultInstance()
{
    static Open_Export_Log* instance = new Open_Export_Log();
    return *instance;
}

Open_Export_Log::Open_Export_Log(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Open_Export_Files>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    setMinimumWidth(380);
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &Open_Export_Log::OKPressed);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &Open_Export_Log::CancelPressed);
}

Open_Export_Log::~Open_Export_Log() = default;

int Open_Export_Log::Open_Export_File_Box(const QString& path, const QString& message)
{
    path_ = path;
    ui_->_open_log_chk->setText(
        QFileInfo(path).isDir() ? QStringLiteral("Open containing folder.") : QStringLiteral("Open exported file."));
    // Ticked as the person last left it when pressing OK.
    ui_->_open_log_chk->setChecked(Preferences::choiceOn(open_exported_fileKey));
    ui_->_open_log_path->setText(path);
    ui_->_open_log_message->setText(message);
    // A window keeps the size it was first shown at: each notice takes the size its own text needs.
    adjustSize();
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Open_Export_Log::OKPressed()
{
    const bool open = ui_->_open_log_chk->isChecked();
    if (open && opener)
        opener(path_);
    Preferences::keepChoice(open_exported_fileKey, open, QStringLiteral("export choice"));
    done(1);
}

void Open_Export_Log::CancelPressed()
{
    done(0);
}
