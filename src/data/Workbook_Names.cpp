#include "data/Workbook_Names.h"

#include "common/Common_Functions.h"

QString Workbook_Path_In_Notice(const QString& path)
{
    if (path.size() <= kNoticeNameLength)
        return path;
    const int tail = kNoticeNameLength / 2;
    const int head = kNoticeNameLength - tail - 1;
    QString end = path.right(tail);
    if (!end.isEmpty() && end.front().isLowSurrogate())
        end.remove(0, 1); // never half a character
    return Left_Str_substringToIndex(path, head) + QChar(0x2026) + end;
}
