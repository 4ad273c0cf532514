#pragma once

#include <QString>

// The codes the item pages store and the pop-up entries that stand for them.

// Border dash code of a border-style pop-up entry ("S", "DA", "DO", "DD", "DDD"); empty for any other index,
// which must leave the stored code as it is.
QString borderCodeForIndex(int index);
// The pop-up entry of a stored border code; -1 for a code the pop-up does not hold.
int borderIndexForCode(const QString& code);

// Mutes the inspector's write-back while controls are filled from stored values; the previous state comes
// back at the end of the scope, so a fill inside a fill leaves the outer one muted.
class Inspector_Fill_Mute {
public:
    Inspector_Fill_Mute();
    ~Inspector_Fill_Mute();
    Inspector_Fill_Mute(const Inspector_Fill_Mute&) = delete;
    Inspector_Fill_Mute& operator=(const Inspector_Fill_Mute&) = delete;

private:
    bool previous_;
};
