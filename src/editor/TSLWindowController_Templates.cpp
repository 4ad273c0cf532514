// The start chooser, the template gallery and the card size wizard, offered in the File menu.
#include "editor/TSLWindowController.h"

#include "common/Globals.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"
#include "profiles/Card_Wizard.h"
#include "profiles/Profiles_Globals.h"
#include "profiles/Start_Card.h"
#include "profiles/Template_Wizard.h"

namespace {

// What a wizard's OK changes of the side shown (size, outline, card holder) is one undo step.
class WizardStep {
public:
    explicit WizardStep(TSLDocument* document)
        : undo_(document ? &document->undoManagerForKey(
                    Card_Front_Or_Back != 0 ? TSLDocumentGraphicsKey_back : TSLDocumentGraphicsKey)
                         : nullptr)
    {
        if (undo_)
            undo_->beginUndoGrouping();
    }
    ~WizardStep()
    {
        if (undo_)
            undo_->endUndoGrouping();
    }
    WizardStep(const WizardStep&) = delete;
    WizardStep& operator=(const WizardStep&) = delete;

private:
    platform::UndoManager* undo_;
};

} // namespace

void TSLWindowController::Open_Template_Gallery()
{
    // A template replaces the open design, as New does.
    if (!Save_Changes_Before(QStringLiteral("Do you want to save changes before opening new document?"), true))
        return;
    Template_Wizard* gallery = Template_Wizard::defaultInstance();
    gallery->setHost(this);
    dropPendingProfile();
    if (gallery->Open_Template_Window() != 1) {
        dropPendingProfile();
        return;
    }
    // A template is a starting point: it is read without becoming the design's file. A design file that
    // cannot be read says so itself and leaves the open design as it was.
    const QSizeF chosen = gallery->chosenSize();
    if (Read_and_load_design_Log(Selected_Template_Path, QStringLiteral("T")) != 1) {
        dropPendingProfile();
        return;
    }
    const WizardStep step(document_);
    // The card takes the size chosen in the gallery's list.
    if (!chosen.isEmpty()) {
        const bool muted = Not_Draw_Only_Prop_Change;
        Not_Draw_Only_Prop_Change = true;
        Set_Card_Size_In_Control(chosen);
        Not_Draw_Only_Prop_Change = muted;
        Apply_Size_Clicked();
    }
    // The card holder typed in the gallery goes on the template, never on the design that was left.
    placePendingProfile(false);
}

void TSLWindowController::New_Card_From()
{
    if (Start_Card::defaultInstance()->Open_Wnd() != 1)
        return;
    if (Start_Card_Option == QLatin1String("T")) {
        Open_Template_Gallery();
    } else if (Start_Card_Option == QLatin1String("W")) {
        startCardWithWizard();
    } else if (Start_Card_Option == QLatin1String("L")) {
        Open_Btn_Clicked();
    }
}

void TSLWindowController::Open_Card_Wizard()
{
    Card_Wizard* wizard = Card_Wizard::defaultInstance();
    wizard->setHost(this);
    dropPendingProfile();
    const WizardStep oneStep(document_);
    {
        const CardGeometryStep step(*this);
        if (wizard->Open_Wnd() != 1) {
            dropPendingProfile();
            return;
        }
        if (wizard->changedCard())
            applyCardGeometryToRecords();
    }
    placePendingProfile(true);
}
