#pragma once

#include <QSizeF>

#include "common/Form_Dialog.h"

class Invitation_Wizard_Host;
namespace Ui {
class Template_Wizard;
}

// The template gallery: the previews of the built-in templates ("Templates" of the data folder) or of
// the user's own ("Templates/User"); OK returns the design file beside the chosen preview. The user's
// templates can be deleted, copied and renamed here.
class Template_Wizard : public Form_Dialog<Ui::Template_Wizard> {
    Q_OBJECT
public:
    static Template_Wizard* defaultInstance()
    {
        static Template_Wizard* const instance = new Template_Wizard();
        return instance;
    }

    void setHost(Invitation_Wizard_Host* host);
    // Starts on the built-in templates and runs the window modally: 1 OK (the design in
    // Selected_Template_Path), 0 Cancel.
    int Open_Template_Window();
    // The card size chosen in the window's size list, in millimetres, for the template to be made at; empty
    // while the list still shows the size it opened on, so that a template keeps its own size unless the
    // person picks another.
    QSizeF chosenSize() const;

    // A free name for a copy: "<name> (copy n).<extension>" beside the path, n counting from 1.
    static QString Create_New_File_Path(const QString& path);

public slots:
    void OK_Click();
    void CancelClick();
    void Delete_Template_Click();
    void Copy_Templatee_Click();
    void Rename_Template_Click();
    void User_Profile_Click();
    void comboBoxSelectionDidChange();

private:
    explicit Template_Wizard(QWidget* parent = nullptr);
    QSizeF shownSize() const;
    void Fill_Templates();
    // Lists the user's templates with the one at `selected` chosen, or the first when it is not listed.
    void Fill_Templates_User_Defined(const QString& selected = QString());
    void fillFrom(const QString& folder, bool userList, const QString& selected = QString());
    void Show_Hide_Template_Buttons(bool hide);
    // The chosen preview when it still exists; otherwise "Please select template." and empty.
    QString existingChoice() const;

    Invitation_Wizard_Host* host_ = nullptr;
    QSizeF sizeAtOpening_; // millimetres
    bool sizeChosen_ = false; // a row of the size list was clicked
};
