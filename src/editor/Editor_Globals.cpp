#include "editor/Editor_Globals.h"

TSLWindowController* Main_App_wnd = nullptr;

QString CARD_SIDE_STR;
float last_ctrl_X = 10.0f;
float last_ctrl_Y = 10.0f;

bool Fill_User_Profile = false;

bool Excel_Binding_Use = false;
QString Excel_Source_Path;
