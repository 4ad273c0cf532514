#include "data/BatchWizard.h"

#include "common/Common_Functions.h"
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "data/Generate_List.h"
#include "data/Series_File.h"
#include "data/Series_Host.h"
#include "data/Series_Value_Model.h"
#include "data/SpreadsheetWriter.h"
#include "data/Update_Ex_Num.h"
#include "data/Load_Num_Info.h"
#include "platform/UiSeam.h"

#include "ui_BatchWizard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

BatchWizard* BatchWizard_Window = nullptr;
std::function<int(int, int)> BatchWizard::importWizard;
std::function<bool(const QString&, const QStringList&)> BatchWizard::workbookWriter;

namespace {

const QString inUseForDelete
    = QStringLiteral("Batch Processing Series can't be delete because it is currently in use.");
const QString fileError = QStringLiteral("Error in file accessing.");

void setUpTable(QTableView* table, Series_Value_Model* model)
{
    table->setModel(model);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
}

// Puts the wait cursor up for one file operation.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

BatchWizard* BatchWizard::defaultInstance()
{
    static BatchWizard* instance = new BatchWizard();
    return instance;
}

BatchWizard::BatchWizard(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::BatchWizard>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    BatchWizard_Window = this;
    ListData_ = new Series_Value_Model(QStringLiteral("Extension"), QStringLiteral("Series"), this);
    ListData_value_ = new Series_Value_Model(QStringLiteral("Header"), QStringLiteral("Value"), this);
    setUpTable(ui_->List, ListData_);
    setUpTable(ui_->List_value, ListData_value_);
    ui_->update_list_name->hide();
    connectButtons();
    Show_hide_Last_screen(true);
    Show_hide_first_screen(false);
}

BatchWizard::~BatchWizard()
{
    if (BatchWizard_Window == this)
        BatchWizard_Window = nullptr;
}

void BatchWizard::connectButtons()
{
    Ui::BatchWizard& w = *ui_;
    connect(w.AddNew_btn, &QPushButton::clicked, this, &BatchWizard::AddNew_Btn_Clicked);
    connect(w.Update_btn, &QPushButton::clicked, this, &BatchWizard::Update_Btn_Clicked);
    connect(w.Delete_List_btn, &QPushButton::clicked, this, &BatchWizard::Delete_List_Btn_Clicked);
    connect(w.Import_btn, &QPushButton::clicked, this, &BatchWizard::Import_Btn_Clicked);
    connect(w.CreateSeries_btn, &QPushButton::clicked, this, &BatchWizard::CreateSeries_Btn_Clicked);
    connect(w.Help_btn, &QPushButton::clicked, this, &BatchWizard::Help_Btn_Clicked);
    connect(w.Close_btn, &QPushButton::clicked, this, &BatchWizard::Close_Btn_Clicked);
    connect(w.Import_Value_btn, &QPushButton::clicked, this, &BatchWizard::Import_Value_Btn_Clicked);
    connect(w.Series_Value_btn, &QPushButton::clicked, this, &BatchWizard::Series_Value_Btn_Clicked);
    connect(w.Delete_Rows_btn, &QPushButton::clicked, this, &BatchWizard::Delete_Rows_Btn_Clicked);
    connect(w.Export_Value_btn, &QPushButton::clicked, this, &BatchWizard::Export_Value_Btn_Clicked);
    connect(w.Save_btn, &QPushButton::clicked, this, &BatchWizard::Save_Btn_Clicked);
    connect(w.Back_btn, &QPushButton::clicked, this, &BatchWizard::Back_Btn_Clicked);
    connect(w.Help_2_btn, &QPushButton::clicked, this, &BatchWizard::Help_Btn_Clicked);
    connect(w.Close_2_btn, &QPushButton::clicked, this, &BatchWizard::Close_Btn_Clicked);
    connect(w.List, &QTableView::doubleClicked, this, [this] { doubleClickInTable(ui_->List); });
    connect(w.List_value, &QTableView::doubleClicked, this, [this] { doubleClickInTable(ui_->List_value); });
}

QTableView* BatchWizard::List() const
{
    return ui_->List;
}

QTableView* BatchWizard::List_value() const
{
    return ui_->List_value;
}

void BatchWizard::enableImports()
{
    ui_->Import_btn->setEnabled(bool(importWizard));
    ui_->Import_Value_btn->setEnabled(bool(importWizard));
    ui_->Save_Ext_ComboBox->clear();
    if (workbookWriter)
        ui_->Save_Ext_ComboBox->addItem(QStringLiteral("xlsx"));
    ui_->Save_Ext_ComboBox->addItem(QStringLiteral("txt"));
    ui_->Save_Ext_ComboBox->setCurrentIndex(0);
}

int BatchWizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    enableImports();
    Show_hide_Last_screen(true);
    Show_hide_first_screen(false);
    Fill_List();
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

// --- Lists ---

void BatchWizard::Create_Avail_List(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (trimmed.isEmpty())
        return;
    ListData_->append(trimmed);
    Update_batch_List_Count();
}

void BatchWizard::Create_Value_List(const QString& value)
{
    const QString trimmed = Trim_Str(value);
    if (trimmed.isEmpty())
        return;
    takeOverListOnArrival();
    ListData_value_->append(trimmed);
    Update_Value_List_Count();
}

void BatchWizard::Create_Value_Lists(const QStringList& values)
{
    // Each value trimmed; a blank one between others stays, as the blank record a run makes of it, while
    // blank ones at either end go, as the batch reader trims a series' text.
    QStringList kept;
    kept.reserve(values.size());
    qsizetype blankTail = 0;
    for (const QString& value : values) {
        QString trimmed = Trim_Str(value);
        if (trimmed.isEmpty() && kept.isEmpty())
            continue;
        blankTail = trimmed.isEmpty() ? blankTail + 1 : 0;
        kept << std::move(trimmed);
    }
    kept.resize(kept.size() - blankTail);
    takeOverListOnArrival();
    ListData_value_->append(kept);
    Update_Value_List_Count();
}

void BatchWizard::takeOverListOnArrival()
{
    if (std::exchange(replaceOnArrival_, false))
        ListData_value_->clear();
}

void BatchWizard::Fill_List()
{
    ListData_->clear();
    Update_batch_List_Count();
    const QStringList names = Series_File::names();
    for (const QString& name : names)
        Create_Avail_List(name);
}

QString BatchWizard::Get_List_Name_Text(int row) const
{
    return Trim_Str(ListData_->value(row).value_or(QString()));
}

QString BatchWizard::Get_Value_Text(int row) const
{
    return Trim_Str(ListData_value_->value(row).value_or(QString()));
}

void BatchWizard::Update_batch_List_Count()
{
    ui_->batch_list_count->setText(QStringLiteral("Total List : %1").arg(ListData_->count()));
}

void BatchWizard::Update_Value_List_Count()
{
    ui_->batch_value_count->setText(ListData_value_->rowCountText());
}

void BatchWizard::Mark_List_New_Selection(int row)
{
    ui_->List->clearSelection();
    if (row >= 0 && row < ListData_->count())
        ui_->List->selectRow(row);
}

void BatchWizard::Mark_List_New_Selection_Value(int row)
{
    ui_->List_value->clearSelection();
    if (row >= 0 && row < ListData_value_->count())
        ui_->List_value->selectRow(row);
}

QList<int> BatchWizard::selectedRows(const QTableView* table)
{
    QList<int> rows;
    if (!table->selectionModel())
        return rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int BatchWizard::lastSelectedRow(const QTableView* table)
{
    const QList<int> rows = selectedRows(table);
    if (rows.isEmpty())
        return -1;
    const QModelIndex current = table->selectionModel()->currentIndex();
    if (current.isValid() && rows.contains(current.row()))
        return current.row();
    return rows.last();
}

// --- Screens ---

void BatchWizard::Show_hide_first_screen(bool hide)
{
    if (!hide) {
        ui_->screens->setCurrentWidget(ui_->first_screen);
        ui_->update_list_name->clear();
    }
}

void BatchWizard::Show_hide_Last_screen(bool hide)
{
    if (!hide)
        ui_->screens->setCurrentWidget(ui_->second_screen);
}

void BatchWizard::AddNew_Btn_Clicked()
{
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    ui_->batch_list_name->setText(QStringLiteral("Untitled"));
    ui_->update_list_name->clear();
    ListData_value_->clear();
    Update_Value_List_Count();
    markValuesSaved();
    ui_->batch_list_name->setFocus();
    ui_->batch_list_name->selectAll();
}

void BatchWizard::Back_Btn_Clicked()
{
    if (!valuesMayBeLeft())
        return;
    Show_hide_Last_screen(true);
    Show_hide_first_screen(false);
}

void BatchWizard::Close_Btn_Clicked()
{
    if (valuesMayBeLeft())
        done(0);
}

bool BatchWizard::hasUnsavedValues() const
{
    return ui_->screens->currentWidget() == ui_->second_screen && ListData_value_->rows() != savedValues_;
}

void BatchWizard::markValuesSaved()
{
    savedValues_ = ListData_value_->rows();
}

bool BatchWizard::valuesMayBeLeft()
{
    if (!hasUnsavedValues())
        return true;
    switch (Show_Save_Question(
        QStringLiteral("Do you want to save changes to the series \"%1\"?").arg(ui_->batch_list_name->text()))) {
    case platform::SaveAnswerDontSave:
        markValuesSaved();
        return true;
    case platform::SaveAnswerSave:
        return Save_Btn_Clicked();
    default:
        return false;
    }
}

void BatchWizard::Help_Btn_Clicked()
{
    Open_Help_File();
}

// --- Opening a series ---

bool BatchWizard::Batch_List_Selection_Validation()
{
    if (ListData_->count() == 0) {
        Show_MessageBox(QStringLiteral("Available list is empty."));
        return false;
    }
    const int row = lastSelectedRow(ui_->List);
    if (row < 0 || Get_List_Name_Text(row).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select a record from the available list to continue."));
        ui_->List->setFocus();
        return false;
    }
    return true;
}

void BatchWizard::On_Update()
{
    if (!Batch_List_Selection_Validation())
        return;
    const QString name = Get_List_Name_Text(lastSelectedRow(ui_->List));
    const QString path = Series_File::path(name);
    // The series must be there and writable, or its changes could not be saved. Opened for reading and
    // writing without truncation, then closed at once.
    QFile probe(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        Show_MessageBox(fileError);
        return;
    }
    probe.close();
    // A series that cannot be read is never shown as an empty list that Save would write over it.
    QString reason;
    std::optional<QStringList> values;
    {
        WaitCursor wait;
        values = Series_File::readForEditing(name, &reason);
    }
    if (!values) {
        Show_MessageBox(QStringLiteral("The series \"%1\" cannot be opened. %2").arg(name, reason));
        return;
    }
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    ui_->batch_list_name->setText(name);
    ui_->update_list_name->setText(name);
    ListData_value_->clear();
    takeOverListOnArrival();
    WaitCursor wait;
    // Shown as a run reads them: a blank value between others stays, as the record it is.
    ListData_value_->append(*values);
    Update_Value_List_Count();
    markValuesSaved();
}

void BatchWizard::doubleClickInTable(QTableView* table)
{
    const QList<int> rows = selectedRows(table);
    if (rows.isEmpty())
        return;
    if (rows.size() > 1) {
        Show_MessageBox(QStringLiteral("Please select only one record to update."));
        return;
    }
    if (table == ui_->List)
        On_Update();
    else if (table == ui_->List_value)
        OnGetSelected();
}

void BatchWizard::OnGetSelected()
{
    if (ListData_value_->count() == 0)
        return;
    const int row = lastSelectedRow(ui_->List_value);
    if (row < 0)
        return;
    Update_Ex_Num* editor = Update_Ex_Num::defaultInstance();
    editor->setList(ListData_value_);
    editor->setValue(row, Get_Value_Text(row));
    platform::ui().runModal(*editor);
    editor->hide();
    Update_Value_List_Count();
}

// --- Deleting ---

void BatchWizard::Delete_List_Btn_Clicked()
{
    if (!Batch_List_Selection_Validation())
        return;
    if (Series_In_Use(Get_List_Name_Text(lastSelectedRow(ui_->List)))) {
        Show_MessageBox(inUseForDelete);
        return;
    }
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected Batch Processing Series?")) != 1)
        return;

    // An answer given to another question earlier in the run must not decide this walk.
    Msg_Apply_All_Chk = false;
    const QList<int> rows = selectedRows(ui_->List);
    const int last = lastSelectedRow(ui_->List);
    bool anyInUse = false;
    for (int row : rows) {
        const QString name = Get_List_Name_Text(row);
        if (Series_In_Use(name)) {
            anyInUse = true;
            if (!Msg_Apply_All_Chk) {
                Show_MessageBox(inUseForDelete);
                break;
            }
            continue;
        }
        Series_File::remove(name);
    }
    if (anyInUse) {
        // Series deleted before the one in use are gone: the list shows what is on disk.
        Fill_List();
        return;
    }
    ListData_->removeRowsAt(rows);
    Mark_List_New_Selection(last - 1 < ListData_->count() ? last - 1 : -1);
    Update_batch_List_Count();
}

void BatchWizard::Delete_Rows_Btn_Clicked()
{
    if (ListData_value_->count() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui_->List_value->setFocus();
        return;
    }
    const QList<int> rows = selectedRows(ui_->List_value);
    if (rows.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        ui_->List_value->setFocus();
        return;
    }
    const int last = lastSelectedRow(ui_->List_value);
    ListData_value_->removeRowsAt(rows);
    Mark_List_New_Selection_Value(last - 1 < ListData_value_->count() ? last - 1 : -1);
    Update_Value_List_Count();
}

// --- New values from the generator and the import wizard ---

void BatchWizard::Import_Btn_Clicked()
{
    if (!importWizard)
        return;
    importWizard(1, 1);
    Fill_List();
}

void BatchWizard::CreateSeries_Btn_Clicked()
{
    Generate_List* generator = Generate_List::defaultInstance();
    generator->file_name_required = 1;
    generator->file_name_Insert = 1;
    generator->Open_Wnd();
}

bool BatchWizard::Prepare_Value_List_For_New_Values()
{
    if (ListData_value_->count() == 0)
        return true;
    Load_Num_Info* prompt = Load_Num_Info::defaultInstance();
    const int answer = platform::ui().runModal(*prompt);
    prompt->hide();
    // The values go only when the new ones arrive: a generator or importer cancelled leaves them.
    replaceOnArrival_ = answer == Load_Num_Info::Remove;
    if (replaceOnArrival_)
        return true;
    return answer == Load_Num_Info::Keep;
}

void BatchWizard::Import_Value_Btn_Clicked()
{
    if (!importWizard || !Prepare_Value_List_For_New_Values())
        return;
    importWizard(0, 1);
    replaceOnArrival_ = false;
}

void BatchWizard::Series_Value_Btn_Clicked()
{
    if (!Prepare_Value_List_For_New_Values())
        return;
    Generate_List* generator = Generate_List::defaultInstance();
    generator->file_name_required = 0;
    generator->file_name_Insert = 1;
    generator->Open_Wnd();
    replaceOnArrival_ = false;
}

// --- Saving and exporting ---

bool BatchWizard::Save_Btn_Clicked()
{
    if (ListData_value_->count() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui_->List_value->setFocus();
        return false;
    }
    const QString name = Series_File::cleanName(ui_->batch_list_name->text());
    const QString old = ui_->update_list_name->text();
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a name for the series."));
        ui_->batch_list_name->setFocus();
        return false;
    }
    if (!Series_File::isValidName(name)) {
        Show_MessageBox(Series_File::nameRefusal(name));
        return false;
    }
    if (!old.isEmpty() && Series_In_Use(old)) {
        Show_MessageBox(QStringLiteral("Batch Processing Series can't be update because it is currently in use."));
        return false;
    }
    const bool targetExists = Series_File::exists(name);
    if (targetExists && name != old
        && Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?"))
            != 1)
        return false;

    bool written = false;
    QString error;
    {
        WaitCursor wait;
        // Replacing another series keeps the one loaded; saving under a free name renames it. Either way the
        // old files go only once the new one is whole.
        written = targetExists
            ? Series_File::write(name, ListData_value_->rows(), Series_File::Values::Trimmed, &error)
            : Series_File::writeRenamed(old, name, ListData_value_->rows(), Series_File::Values::Trimmed, &error);
    }
    if (!written) {
        Show_NSLog_Message(QStringLiteral("saving the series %1: %2").arg(name, error));
        Show_MessageBox(QStringLiteral("%1\n\n%2: %3").arg(fileError, Series_File::path(name), error));
        return false;
    }
    markValuesSaved();
    raise();
    Show_hide_Last_screen(true);
    Show_hide_first_screen(false);
    Fill_List();
    return true;
}

bool BatchWizard::writeExport(const QString& path, bool workbook, QString* error)
{
    WaitCursor wait;
    if (workbook) {
        QStringList column { QStringLiteral("Batch Value") };
        column += ListData_value_->rows();
        if (workbookWriter && workbookWriter(path, column))
            return true;
        *error = SpreadsheetWriter::lastError();
        return false;
    }
    const QStringList& values = ListData_value_->rows();
    QString reason;
    const bool saved = saveFileAtomically(path, [&values](QIODevice& out) {
        QByteArray chunk;
        for (const QString& value : values) {
            chunk += value.toUtf8();
            chunk += '\n';
            if (chunk.size() >= 64 * 1024) {
                if (!writeAll(out, chunk))
                    return false;
                chunk.clear();
            }
        }
        return writeAll(out, chunk);
    }, &reason);
    *error = QStringLiteral("%1: %2").arg(path, reason);
    return saved;
}

void BatchWizard::Export_Value_Btn_Clicked()
{
    if (ListData_value_->count() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui_->List_value->setFocus();
        return;
    }
    const QString extension = ui_->Save_Ext_ComboBox->currentText().isEmpty() ? QStringLiteral("txt")
                                                                              : ui_->Save_Ext_ComboBox->currentText();
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Save;
    request.caption = QStringLiteral("Export Values");
    request.directory = QDir::home().filePath(Series_File::cleanName(ui_->batch_list_name->text()));
    request.filter = extension == QLatin1String("xlsx") ? QStringLiteral("Excel Workbook (*.xlsx)")
                                                        : QStringLiteral("Text (*.txt)");
    QString path = platform::ui().chooseFile(request);
    if (path.isEmpty())
        return;
    raise();
    // The format chosen in the window decides the extension, whatever was typed.
    const QFileInfo chosen(path);
    path = QDir(chosen.path()).filePath(chosen.completeBaseName() + QLatin1Char('.') + extension);
    QString error;
    if (!writeExport(path, extension == QLatin1String("xlsx"), &error)) {
        Show_NSLog_Message(QStringLiteral("cannot export the values to %1: %2").arg(path, error));
        Show_MessageBox(QStringLiteral("%1\n\n%2").arg(fileError, error));
        return;
    }
    if (Series_Host* host = Series_Host::instance())
        host->Show_Export_Notice(path, QStringLiteral("Record has been exported successfully."));
}
