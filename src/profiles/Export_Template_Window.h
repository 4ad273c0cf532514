#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Export_Template_Window;
}

// True when a cleaned template name would be listed; otherwise says why and is false.
bool isListedTemplateName(const QString& name);

// Asks for the name of a user template. OK cleans the name, refuses an empty or unsafe one and ends with
// 1; Cancel empties the name and ends with 0. A new template (no current name) asks before an existing
// one is replaced; a rename (the current name in template_passed) refuses the name of another template.
class Export_Template_Window : public QDialog {
    Q_OBJECT
public:
    static Export_Template_Window& defaultInstance();
    ~Export_Template_Window() override;

    void reset(); // new-template mode: both names empty
    void setCurrentName(const QString& name); // rename mode: the template's name in both fields
    QString templateName() const { return export_template_name_; }
    Ui::Export_Template_Window& form() { return *ui_; }

    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();

private:
    explicit Export_Template_Window(QWidget* parent = nullptr);
    std::unique_ptr<Ui::Export_Template_Window> ui_;
    QString export_template_name_;
};
