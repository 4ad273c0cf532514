// Help, the maker's links, the promotion window and the review request on the way out.
#include "editor/TSLWindowController.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Long_SMS_Dlg.h"
#include "info/Help_Support.h"
#include "info/Maker_Links.h"
#include "info/Promotion_Form.h"
#include "info/Review_Form.h"
#include "info/Share_It_Dlg.h"
#include "platform/UiSeam.h"

#include <exception>

void TSLWindowController::Help_Button()
{
    try {
        platform::ui().runModal(*Help_Support::defaultInstance());
        Help_Support::defaultInstance()->hide();
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void TSLWindowController::Data_Source_Help_Button()
{
    Cutom_Msg_Title = QStringLiteral("Batch Processing Settings Help :");
    Cutom_Msg_Val = QStringLiteral("Select Data Source as 'Manual' to enter value manually, Select 'Batch Processing "
                                   "Series' to fetch the value from the list of existing Batch Processing Series.");
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->title_val = QString();
    box->Open_Long_sms_Dialog();
}

void TSLWindowController::Run_Review_Window()
{
    Review_Form::defaultInstance()->Open_Review_Form_Window();
}

void TSLWindowController::Open_Share_Window()
{
    platform::ui().runModal(*Share_It_Dlg::defaultInstance());
    Share_It_Dlg::defaultInstance()->hide();
}

void TSLWindowController::Open_Promotion(const QString& software_type)
{
    try {
        Promotion_Form* promotion = Promotion_Form::defaultInstance();
        promotion->software_type = software_type;
        promotion->Open_Promotion_Window();
    } catch (const std::exception& error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void TSLWindowController::Open_Google_Plus()
{
    platform::ui().openUrl(Maker_Links::sharePage(QStringLiteral("googleplus")));
}

void TSLWindowController::Open_FaceBook()
{
    platform::ui().openUrl(Maker_Links::sharePage(QStringLiteral("facebook")));
}

void TSLWindowController::Open_Twitter()
{
    platform::ui().openUrl(Maker_Links::sharePage(QStringLiteral("twitter")));
}

void TSLWindowController::Open_FB_Like()
{
    platform::ui().openUrl(Maker_Links::sharePage(QStringLiteral("facebook-like")));
}

void TSLWindowController::Open_Support_Mail()
{
    platform::ui().openUrl(Maker_Links::supportMail());
}

void TSLWindowController::Open_Reseller_Mail()
{
    platform::ui().openUrl(Maker_Links::resellerMail());
}

void TSLWindowController::Open_Website_1()
{
    platform::ui().openUrl(Maker_Links::website(1));
}

void TSLWindowController::Open_Website_2()
{
    platform::ui().openUrl(Maker_Links::website(2));
}

void TSLWindowController::Open_Website_3()
{
    platform::ui().openUrl(Maker_Links::website(3));
}
