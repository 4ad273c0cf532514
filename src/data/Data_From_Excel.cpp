#include "data/Data_From_Excel.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/Binding_Table_Model.h"
#include "platform/UiSeam.h"
#include "ui_Data_From_Excel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>

Data_From_Excel* Data_From_Excel_Window = nullptr;

Data_From_Excel* Data_From_Excel::defaultInstance()
{
    // Lives for the whole run, like every dialog of the program; created on first use on the GUI thread.
    static Data_From_Excel* instance = new Data_From_Excel();
    return instance;
}

Data_From_Excel::Data_From_Excel(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Data_From_Excel>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    model_ = new Binding_Table_Model(this);
    model_->setTable(table_);
    ui_->ColList->setModel(model_);
    ui_->ColList->horizontalHeader()->setDefaultSectionSize(100);
    ui_->ColList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui_->ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui_->ColList->verticalHeader()->setVisible(false); // column 0 already numbers the records
    connect(ui_->OK_btn, &QPushButton::clicked, this, &Data_From_Excel::OK_Click);
    connect(model_, &QAbstractItemModel::modelReset, this, &Data_From_Excel::showCounts);
    Data_From_Excel_Window = this;
}

Data_From_Excel::~Data_From_Excel() = default;

void Data_From_Excel::setTable(Spreadsheet_Binding_Table* table, QObject* owner)
{
    disconnect(ownerGone_);
    table_ = table ? table : &ownTable_;
    model_->setTable(table_);
    if (owner && table)
        ownerGone_ = connect(owner, &QObject::destroyed, this, [this] { setTable(nullptr); });
}

QTableView* Data_From_Excel::ColList() const
{
    return ui_->ColList;
}

void Data_From_Excel::showCounts()
{
    ui_->rows_count->setText(QString::number(table_->rowCount()));
    ui_->column_count->setText(QString::number(table_->columnCount()));
}

int Data_From_Excel::Open_Wnd()
{
    reloadTable();
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

void Data_From_Excel::OK_Click()
{
    // A cell still being typed into belongs to the table before the window closes.
    if (QWidget* editor = ui_->ColList->focusWidget(); editor && editor != ui_->ColList)
        ui_->ColList->setFocus();
    done(1);
}

void Data_From_Excel::Create_List_By_Array(const QStringList& values, int count)
{
    table_->Create_List_By_Array(values, count);
    reloadTable();
}

void Data_From_Excel::Create_Value_List(const QString& text)
{
    table_->Create_Value_List(text);
    reloadTable();
}

void Data_From_Excel::Mark_List_New_Selection(int row)
{
    if (row < 0 || row >= table_->rowCount())
        return;
    ui_->ColList->selectionModel()->select(
        model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void Data_From_Excel::reloadTable()
{
    model_->reload();
}
