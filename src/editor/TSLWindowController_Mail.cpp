// E-mail: the toolbar's E-mail button and the copy of the e-mail settings the send window uses.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "editor/Editor_Print_Host.h"
#include "output/Mail_Globals.h"
#include "output/Send_Mail.h"

void TSLWindowController::Mail_Button()
{
    Check_Series_Or_Excel_Use_or_not();
    Editor_Print_Host host(*this);
    Send_Mail::defaultInstance().Open_Wnd(&host);
}

void TSLWindowController::Get_Email_Details()
{
    ::Get_Email_Details();
}
