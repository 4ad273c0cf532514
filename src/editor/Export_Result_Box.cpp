#include "editor/Export_Result_Box.h"

#include "ui_Open_Export_Files.h"

#include <QFileInfo>

Export_Result_Box& Export_Result_Box::defaultInstance()
{
    static Export_Result_Box* instance = new Export_Result_Box();
    return *instance;
}

Export_Result_Box::Export_Result_Box(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Open_Export_Files>())
{
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, [this] { done(1); });
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, [this] { done(0); });
}

Export_Result_Box::~Export_Result_Box() = default;

void Export_Result_Box::show(const QString& path, const QString& message)
{
    ui_->_open_log_chk->setText(
        QFileInfo(path).isDir() ? QStringLiteral("Open containing folder.") : QStringLiteral("Open exported file."));
    ui_->_open_log_path->setText(path);
    ui_->_open_log_message->setText(message);
}

bool Export_Result_Box::openRequested() const
{
    return ui_->_open_log_chk->isChecked();
}
