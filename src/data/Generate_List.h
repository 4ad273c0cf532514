#pragma once

#include "data/Series_Generator.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>

namespace Ui {
class Generate_List;
}
class QLineEdit;
class QSpinBox;

// The series generator window: sequential, constant or random values, written as a new series file or,
// opened from the manager's value screen, added to the manager's value list. A long run writes on a worker
// thread with progress and Stop; values go to the file as they are made.
class Generate_List : public QDialog {
    Q_OBJECT
public:
    static Generate_List* defaultInstance();
    ~Generate_List() override;

    int file_name_required = 0; // 1: write a series file; otherwise add to the manager's value list
    int file_name_Insert = 0; // 1: refresh the manager's series list afterwards

    // More values than this are made on a worker thread, with progress.
    static qint64 inlineLimit;
    // The manager's list holds its values in memory: no more than this many are added at once.
    static constexpr qint64 listLimit = 1000000;

    int Open_Wnd();
    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    void Count_Stepper_Pressed(QObject* sender);
    void Random_Length_Stepper_Pressed(QObject* sender);
    void Random_Count_Stepper_Pressed(QObject* sender);
    void controlTextDidChange(QLineEdit* field);
    bool OKPressed(); // true when values were made and the window closed
    void CancelPressed() { done(0); }
    void Help_btn_Pressed();

    Series_Generator::Settings settings() const;
    Ui::Generate_List& form() { return *ui_; }

    // Asks a running worker to stop (the progress window's Stop button).
    void stopGenerating() { stop_ = true; }
    // Run on the worker once its first value is written, before it goes on: a test holds a run there
    // until it has seen the progress and pressed Stop. Empty in the program.
    static std::function<void()> workerWriting;

protected:
    void reject() override { CancelPressed(); }

private:
    explicit Generate_List(QWidget* parent = nullptr);
    void connectControls();
    void resetFields();
    void switchMode(Series_Generator::Mode mode);
    static void limitField(QLineEdit* field, QSpinBox* stepper, int maxChars, int maxValue);
    QLineEdit* nameField() const;
    // The cleaned target name after the in-use, name and replace checks; empty when the window stays open.
    QString checkedTarget();
    enum class Outcome { Done, Failed, Stopped };
    Outcome writeSeries(const QString& name, Series_Generator& generator);
    Outcome writeOnWorker(const QString& name, Series_Generator& generator);
    bool addToManagerList(Series_Generator& generator);

    std::unique_ptr<Ui::Generate_List> ui_;
    std::atomic<bool> stop_ { false };
};

extern Generate_List* Gen_List_Window;
