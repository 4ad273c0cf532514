// The start chooser, the template gallery and the card size wizard, offered in the File menu.
#include "editor/TSLWindowController.h"

#include "profiles/Card_Wizard.h"
#include "profiles/Profiles_Globals.h"
#include "profiles/Start_Card.h"
#include "profiles/Template_Wizard.h"

void TSLWindowController::Open_Template_Gallery()
{
    // A template replaces the open design, as New does.
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before opening new document?"), true))
        return;
    Template_Wizard* gallery = Template_Wizard::defaultInstance();
    gallery->setHost(this);
    if (gallery->Open_Template_Window() != 1)
        return;
    // A template is a starting point: it is read without becoming the design's file. A design file that
    // cannot be read says so itself and leaves the open design as it was.
    Read_and_load_design_Log(Selected_Template_Path, QStringLiteral("T"));
}

void TSLWindowController::New_Card_From()
{
    if (Start_Card::defaultInstance()->Open_Wnd() != 1)
        return;
    if (Start_Card_Option == QLatin1String("T")) {
        Open_Template_Gallery();
    } else if (Start_Card_Option == QLatin1String("W")) {
        startAtWizard_ = true;
        New_Btn_Clicked();
        startAtWizard_ = false; // also when the save question stopped it before the start screen
    } else if (Start_Card_Option == QLatin1String("L")) {
        Open_Btn_Clicked();
    }
}

void TSLWindowController::Open_Card_Wizard()
{
    Card_Wizard* wizard = Card_Wizard::defaultInstance();
    wizard->setHost(this);
    const CardGeometryStep step(*this);
    if (wizard->Open_Wnd() != 1)
        return;
    applyCardGeometryToRecords();
}
