#include "common/Globals.h"

QString Resource_Path;
QString Data_Folder_Path;

bool Msg_Apply_All_Chk = false;
QString Cutom_Msg_Title;
QString Cutom_Msg_Val;

int Card_Front_Or_Back = 0;
int Card_Shape = 0;
const QString Text_Ctrl_Font = QStringLiteral("TimesNewRomanPS-ItalicMT");
bool Not_Draw_Only_Prop_Change = false;
QString Library_Selected_Image;
QString Project_File_Name;

std::atomic<bool> Card_Value_In_Process { false };
std::atomic<bool> Stop_SMS_Sending_Now { false };
