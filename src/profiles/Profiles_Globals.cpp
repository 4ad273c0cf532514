#include "profiles/Profiles_Globals.h"

QString Event_Type = QStringLiteral("1");

QString Start_Card_Option = QStringLiteral("T");

QString Invite_Title;
QString Invite_Message;
QString Invite_From;
QString Invite_To;
QString Invite_Venue;
QString Invite_Date;
QString Invite_Time;
QString Invite_BG_IMG;

QString Template_Msg_Val;

QString Selected_Template_Path;
quint64 User_Defined_File = 0;
QString export_template_name;
