#include "data/Generate_List.h"

#include "common/Common_Functions.h"
#include "common/Long_SMS_Dlg.h"
#include "data/BatchWizard.h"
#include "data/Series_File.h"
#include "data/Series_Host.h"
#include "platform/UiSeam.h"

#include "ui_Generate_List.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <thread>

Generate_List* Gen_List_Window = nullptr;
qint64 Generate_List::inlineLimit = 200000;
std::function<void()> Generate_List::workerWriting;

namespace {
const QString fileError = QStringLiteral("Error in file accessing.");
}

Generate_List* Generate_List::defaultInstance()
{
    static Generate_List* instance = new Generate_List();
    return instance;
}

Generate_List::Generate_List(QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::Generate_List>())
{
    ui_->setupUi(this);
    applySmallWindowLook(*this);
    Gen_List_Window = this;
    connectControls();
}

Generate_List::~Generate_List()
{
    if (Gen_List_Window == this)
        Gen_List_Window = nullptr;
}

void Generate_List::connectControls()
{
    Ui::Generate_List& w = *ui_;
    connect(w.radioButton_Sequntial, &QRadioButton::clicked, this, &Generate_List::Sequintial_Radio_Pressed);
    connect(w.radioButton_Constant, &QRadioButton::clicked, this, &Generate_List::Constant_Radio_Pressed);
    connect(w.radioButton_Random, &QRadioButton::clicked, this, &Generate_List::Random_Radio_Pressed);
    connect(w.count_stepper, &QSpinBox::valueChanged, this, [this] { Count_Stepper_Pressed(ui_->count_stepper); });
    connect(w.rand_length_stepper, &QSpinBox::valueChanged, this,
        [this] { Random_Length_Stepper_Pressed(ui_->rand_length_stepper); });
    connect(w.rand_count_stepper, &QSpinBox::valueChanged, this,
        [this] { Random_Count_Stepper_Pressed(ui_->rand_count_stepper); });
    for (QLineEdit* field : { w.count_txt, w.rand_length_txt, w.rand_count_txt })
        connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
    connect(w.help_btn, &QPushButton::clicked, this, &Generate_List::Help_btn_Pressed);
    connect(w.buttonBox, &QDialogButtonBox::accepted, this, &Generate_List::OKPressed);
    connect(w.buttonBox, &QDialogButtonBox::rejected, this, &Generate_List::CancelPressed);
}

void Generate_List::resetFields()
{
    Ui::Generate_List& w = *ui_;
    for (QLineEdit* name : { w.seq_file_name, w.const_file_name, w.rndm_file_name })
        name->setText(QString());
    const bool named = file_name_required == 1;
    if (named)
        w.seq_file_name->setText(QStringLiteral("Untitled"));
    for (QWidget* name : std::initializer_list<QWidget*> { w.seq_file_name, w.const_file_name, w.rndm_file_name,
             w.seq_name_label, w.const_name_label, w.rndm_name_label })
        name->setVisible(named);
    w.manage_digit_chk->setChecked(false);
    for (QLineEdit* text :
        { w.prefix_txt, w.suffix_txt, w.from_txt, w.to_txt, w.value_txt, w.rand_prefix_txt, w.rand_suffix_txt })
        text->setText(QString());
    for (QLineEdit* one : { w.count_txt, w.rand_length_txt, w.rand_count_txt })
        one->setText(QStringLiteral("1"));
    for (QSpinBox* stepper : { w.count_stepper, w.rand_length_stepper, w.rand_count_stepper }) {
        const QSignalBlocker quiet(stepper);
        stepper->setValue(1);
    }
    switchMode(Series_Generator::Mode::Sequential);
}

int Generate_List::Open_Wnd()
{
    resetFields();
    ui_->prefix_txt->setFocus();
    const int result = platform::ui().runModal(*this);
    hide();
    return result;
}

// --- Modes and fields ---

void Generate_List::switchMode(Series_Generator::Mode mode)
{
    using Mode = Series_Generator::Mode;
    Ui::Generate_List& w = *ui_;
    w.radioButton_Sequntial->setChecked(mode == Mode::Sequential);
    w.radioButton_Constant->setChecked(mode == Mode::Constant);
    w.radioButton_Random->setChecked(mode == Mode::Random);
    const struct {
        Mode mode;
        QLineEdit* name;
        std::initializer_list<QWidget*> controls;
    } groups[] = {
        { Mode::Sequential, w.seq_file_name,
            { w.prefix_txt, w.suffix_txt, w.from_txt, w.to_txt, w.help_btn, w.manage_digit_chk } },
        { Mode::Constant, w.const_file_name, { w.value_txt, w.count_txt, w.count_stepper } },
        { Mode::Random, w.rndm_file_name,
            { w.rand_prefix_txt, w.rand_suffix_txt, w.rand_length_txt, w.rand_length_stepper, w.rand_count_txt,
                w.rand_count_stepper } },
    };
    for (const auto& group : groups) {
        const bool on = group.mode == mode;
        if (on && file_name_required == 1 && Trim_Str(group.name->text()).isEmpty())
            group.name->setText(QStringLiteral("Untitled"));
        SetObjEnabled(group.name, on);
        for (QWidget* control : group.controls)
            SetObjEnabled(control, on);
    }
}

void Generate_List::Sequintial_Radio_Pressed()
{
    switchMode(Series_Generator::Mode::Sequential);
}

void Generate_List::Constant_Radio_Pressed()
{
    switchMode(Series_Generator::Mode::Constant);
}

void Generate_List::Random_Radio_Pressed()
{
    switchMode(Series_Generator::Mode::Random);
}

namespace {

void pairStepper(QObject* sender, QSpinBox* stepper, QLineEdit* field)
{
    if (sender == stepper) {
        field->setText(QString::number(stepper->value()));
    } else {
        const QSignalBlocker quiet(stepper);
        stepper->setValue(Series_Generator::intValue(field->text()));
    }
}

} // namespace

void Generate_List::Count_Stepper_Pressed(QObject* sender)
{
    pairStepper(sender, ui_->count_stepper, ui_->count_txt);
}

void Generate_List::Random_Length_Stepper_Pressed(QObject* sender)
{
    pairStepper(sender, ui_->rand_length_stepper, ui_->rand_length_txt);
}

void Generate_List::Random_Count_Stepper_Pressed(QObject* sender)
{
    pairStepper(sender, ui_->rand_count_stepper, ui_->rand_count_txt);
}

void Generate_List::limitField(QLineEdit* field, QSpinBox* stepper, int maxChars, int maxValue)
{
    const QString t = Trim_Str(field->text());
    if (t.isEmpty() || Series_Generator::intValue(t) == 0)
        field->setText(QStringLiteral("1"));
    else if (t.size() > maxChars)
        field->setText(t.left(maxChars));
    if (Series_Generator::intValue(field->text()) > maxValue)
        field->setText(QString::number(maxValue));
    const QSignalBlocker quiet(stepper);
    stepper->setValue(Series_Generator::intValue(field->text()));
}

void Generate_List::controlTextDidChange(QLineEdit* field)
{
    if (field == ui_->count_txt)
        limitField(field, ui_->count_stepper, 5, 10000);
    else if (field == ui_->rand_count_txt)
        limitField(field, ui_->rand_count_stepper, 5, 10000);
    else if (field == ui_->rand_length_txt)
        limitField(field, ui_->rand_length_stepper, 1, 9);
}

void Generate_List::Help_btn_Pressed()
{
    QMessageBox box(this);
    box.setText(QStringLiteral("Maintain number of Digits By adding 0's before smaller values. "));
    box.setInformativeText(QStringLiteral(
        "For example:\r\nIf you have to generate a series of barcodes having values from '0' to '200', this option "
        "automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of digits "
        "same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series starting from "
        "'001' to '00200', this option automatically converts small values such as '001' to '00001' and '0011' to "
        "'00011' to maintain number of digits same as the highest value in the series."));
    box.setStandardButtons(QMessageBox::Ok);
    platform::ui().runModal(box);
}

Series_Generator::Settings Generate_List::settings() const
{
    const Ui::Generate_List& w = *ui_;
    Series_Generator::Settings s;
    s.mode = w.radioButton_Constant->isChecked() ? Series_Generator::Mode::Constant
        : w.radioButton_Random->isChecked()      ? Series_Generator::Mode::Random
                                                 : Series_Generator::Mode::Sequential;
    s.prefix = w.prefix_txt->text();
    s.suffix = w.suffix_txt->text();
    s.from = w.from_txt->text();
    s.to = w.to_txt->text();
    s.padWithZeros = w.manage_digit_chk->isChecked();
    s.value = w.value_txt->text();
    s.count = w.count_txt->text();
    s.randomPrefix = w.rand_prefix_txt->text();
    s.randomSuffix = w.rand_suffix_txt->text();
    s.length = w.rand_length_txt->text();
    s.randomCount = w.rand_count_txt->text();
    return s;
}

QLineEdit* Generate_List::nameField() const
{
    if (ui_->radioButton_Constant->isChecked())
        return ui_->const_file_name;
    return ui_->radioButton_Random->isChecked() ? ui_->rndm_file_name : ui_->seq_file_name;
}

// --- Generating ---

QString Generate_List::checkedTarget()
{
    const QString name = Series_File::cleanName(nameField()->text());
    if (!Series_File::isValidName(name)) {
        Show_MessageBox(Series_File::nameRefusal(name));
        return QString();
    }
    if (Series_In_Use(name)) {
        Show_MessageBox(QStringLiteral("Batch Processing Series can't be create because it is currently in use."));
        return QString();
    }
    if (Series_File::exists(name)
        && Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?"))
            != 1)
        return QString();
    return name;
}

bool Generate_List::OKPressed()
{
    const Series_Generator::Settings s = settings();
    QString field;
    const QString refusal = Series_Generator::validate(s, &field);
    if (!refusal.isEmpty()) {
        Show_MessageBox(refusal);
        if (field == QLatin1String("from"))
            ui_->from_txt->setFocus();
        else if (field == QLatin1String("to"))
            ui_->to_txt->setFocus();
        return false;
    }
    Series_Generator generator(s);
    if (file_name_required == 1) {
        const QString name = checkedTarget();
        if (name.isEmpty())
            return false;
        const Outcome outcome = writeSeries(name, generator);
        if (outcome == Outcome::Failed)
            Show_MessageBox(fileError);
        if (outcome != Outcome::Done)
            return false;
    } else if (!addToManagerList(generator)) {
        return false;
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    done(1);
    return true;
}

bool Generate_List::addToManagerList(Series_Generator& generator)
{
    if (generator.total() > listLimit) {
        Show_MessageBox(QStringLiteral("Please generate at most %1 values into the list at once.").arg(listLimit));
        return false;
    }
    QStringList values;
    values.reserve(generator.total());
    while (!generator.atEnd())
        values << generator.next();
    if (BatchWizard_Window)
        BatchWizard_Window->Create_Value_Lists(values);
    return true;
}

Generate_List::Outcome Generate_List::writeSeries(const QString& name, Series_Generator& generator)
{
    if (generator.total() > inlineLimit)
        return writeOnWorker(name, generator);
    Series_File::Writer writer;
    bool ok = writer.open(name);
    while (ok && !generator.atEnd())
        ok = writer.add(generator.next());
    ok = ok && writer.commit();
    if (!ok)
        Show_NSLog_Message(QStringLiteral("generating the series %1: %2").arg(name, writer.errorString()));
    return ok ? Outcome::Done : Outcome::Failed;
}

Generate_List::Outcome Generate_List::writeOnWorker(const QString& name, Series_Generator& generator)
{
    stop_ = false;
    std::atomic<qint64> made { 0 };
    std::atomic<bool> finished { false };
    std::atomic<int> outcome { int(Outcome::Done) };
    QString error;

    // The generator and the writer belong to the worker until it has finished.
    std::thread worker([&] {
        Series_File::Writer writer;
        bool ok = writer.open(name);
        while (ok && !generator.atEnd() && !stop_) {
            ok = writer.add(generator.next());
            made.store(generator.made(), std::memory_order_relaxed);
            if (workerWriting && generator.made() == 1)
                workerWriting();
        }
        if (stop_ && ok) {
            writer.cancel();
            outcome = int(Outcome::Stopped);
        } else {
            ok = ok && writer.commit();
            if (!ok) {
                error = writer.errorString();
                outcome = int(Outcome::Failed);
            }
        }
        finished = true;
    });

    // Progress in thousandths, so that counts past 32 bits still fit the bar.
    const qint64 total = generator.total();
    QProgressDialog progress(
        QStringLiteral("Generating %1 values...").arg(total), QStringLiteral("Stop"), 0, 1000, this);
    progress.setObjectName(QStringLiteral("generateProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    connect(&progress, &QProgressDialog::canceled, this, &Generate_List::stopGenerating);
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        progress.setValue(int(made.load(std::memory_order_relaxed) * 1000 / total));
        if (finished)
            loop.quit();
    });
    poll.start(50);
    progress.show();
    loop.exec();
    worker.join();
    progress.hide();
    if (outcome == int(Outcome::Failed))
        Show_NSLog_Message(QStringLiteral("generating the series %1: %2").arg(name, error));
    return Outcome(outcome.load());
}
