#include "editor/Inspector_Codes.h"

#include "common/Globals.h"

#include <array>

namespace {

const std::array<const char*, 5> borderCodes = { "S", "DA", "DO", "DD", "DDD" };

} // namespace

QString borderCodeForIndex(int index)
{
    if (index < 0 || index >= int(borderCodes.size()))
        return QString();
    return QLatin1String(borderCodes[std::size_t(index)]);
}

int borderIndexForCode(const QString& code)
{
    for (std::size_t i = 0; i < borderCodes.size(); ++i)
        if (code == QLatin1String(borderCodes[i]))
            return int(i);
    return -1;
}

Inspector_Fill_Mute::Inspector_Fill_Mute()
    : previous_(Not_Draw_Only_Prop_Change)
{
    Not_Draw_Only_Prop_Change = true;
}

Inspector_Fill_Mute::~Inspector_Fill_Mute()
{
    Not_Draw_Only_Prop_Change = previous_;
}
