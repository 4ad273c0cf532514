#include "profiles/Profiles_Globals.h"

QString Event_Type = QStringLiteral("1");
