#include "data/View_Data_Series.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/Series_File.h"
#include "data/Series_Value_Model.h"
#include "platform/UiSeam.h"

#include "ui_View_Data_Series.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>

View_Data_Series* View_Data_Series::defaultInstance()
{
    static View_Data_Series* instance = new View_Data_Series();
    return instance;
}

View_Data_Series::View_Data_Series(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::View_Data_Series>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    ListData_ = new Series_Value_Model(QStringLiteral("Extension"), QStringLiteral("Value"), this);
    ui_->List->setModel(ListData_);
    ui_->List->horizontalHeader()->setStretchLastSection(true);
    ui_->List->verticalHeader()->setDefaultSectionSize(ui_->List->fontMetrics().height() + 6);
    connect(ui_->OK_btn, &QPushButton::clicked, this, &View_Data_Series::OK_Btn_Clicked);
}

View_Data_Series::~View_Data_Series() = default;

int View_Data_Series::Open_Wnd()
{
    ui_->series_name->setText(file_name);
    ListData_->clear();
    Load_file_Func(file_name);
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void View_Data_Series::Load_file_Func(const QString& name)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString reason;
    const std::optional<QStringList> values = Series_File::readForEditing(name, &reason);
    if (values)
        ListData_->append(*values);
    Update_batch_List_Count();
    QGuiApplication::restoreOverrideCursor();
    // A missing series shows as an empty list; one that is there but cannot be read says why.
    if (!values && QFileInfo::exists(Series_File::path(name)))
        Show_MessageBox(QStringLiteral("The series \"%1\" cannot be opened. %2").arg(name, reason));
}

void View_Data_Series::Create_Avail_List(const QString& value)
{
    const QString trimmed = Trim_Str(value);
    if (!trimmed.isEmpty())
        ListData_->append(trimmed);
}

void View_Data_Series::Update_batch_List_Count()
{
    ui_->list_count->setText(ListData_->rowCountText());
}

void View_Data_Series::OK_Btn_Clicked()
{
    done(1);
}
