#include "output/Print_Sheet_Layout.h"

#include <algorithm>
#include <cmath>

float Print_Sheet_Layout::blockWidth() const
{
    return float(cols()) * label_width + float(cols() - 1) * horz_mar;
}

float Print_Sheet_Layout::blockHeight() const
{
    return float(rows()) * label_hight + float(rows() - 1) * vert_mar;
}

void Print_Sheet_Layout::setCellSize(float cardWidth, float cardHeight)
{
    label_width = cardWidth;
    label_hight = cardHeight;
    if (!bothSides())
        return;
    if (Print_Card_Algn == QLatin1String("U"))
        label_hight *= 2.f;
    else
        label_width *= 2.f;
}

float Print_Sheet_Layout::rowY(int row) const
{
    float y;
    if (auto_center_flag)
        y = blockHeight() - label_hight + vert_mar + Bot_Mar;
    else if (label_align_val >= 4 && label_align_val <= 6)
        y = (availHeight() - blockHeight()) / 2.f + Bot_Mar + blockHeight() - label_hight;
    else if (label_align_val >= 7 && label_align_val <= 9)
        y = blockHeight() - label_hight + Bot_Mar;
    else
        y = paper_hight - label_hight - Top_Mar;
    return y - float(row - 1) * (label_hight + vert_mar);
}

float Print_Sheet_Layout::columnX(int column) const
{
    if (auto_center_flag)
        return Left_Mar + float(column) * horz_mar + float(column - 1) * label_width;
    float x;
    switch (label_align_val) {
    case 2:
    case 5:
    case 8:
        x = Left_Mar + (availWidth() - blockWidth()) / 2.f;
        break;
    case 3:
    case 6:
    case 9:
        x = paper_width - blockWidth() - Rite_Mar;
        break;
    default: // 1, 4, 7: against the left border
        x = Left_Mar;
        break;
    }
    return x + float(column - 1) * (label_width + horz_mar);
}

QRectF Print_Sheet_Layout::cardArea(int row, int column) const
{
    const float x = columnX(column);
    const float y = rowY(row);
    if (!bothSides())
        return QRectF(x, y, label_width, label_hight);
    if (Print_Card_Algn == QLatin1String("U"))
        return QRectF(x, y + label_hight / 2.f, label_width, label_hight / 2.f);
    return QRectF(x, y, label_width / 2.f, label_hight);
}

Print_Sheet_Layout::Placement Print_Sheet_Layout::placement(int row, int column, QSizeF pictureSize) const
{
    const QRectF area = cardArea(row, column);
    const float w = float(pictureSize.width());
    const float h = float(pictureSize.height());
    float px = float(area.x());
    float py = float(area.y());
    const bool above = bothSides() && Print_Card_Algn == QLatin1String("U");
    const bool beside = bothSides() && !above;
    const float across = beside ? 2.f * w : w;
    const float down = above ? 2.f * h : h;
    if (across < label_width)
        px += (label_width - across) / 2.f;
    if (down < label_hight)
        py += (label_hight - down) / 2.f;
    Placement result;
    result.first = QRectF(px, py, w, h);
    if (beside)
        result.second = QRectF(px + w, py, w, h);
    else if (above)
        result.second = QRectF(px, py - h, w, h);
    return result;
}

int Print_Sheet_Layout::sheetCount(int total) const
{
    if (total <= 0)
        return 0;
    const int perSheet = rows() * cols();
    return total / perSheet + (total % perSheet ? 1 : 0);
}

QRectF Print_Sheet_Layout::pageRect(const QRectF& rect) const
{
    return QRectF(rect.x(), paper_hight - rect.y() - rect.height(), rect.width(), rect.height());
}

namespace {

// One direction of the fit rule: the count that stays, and the gap (changed only with auto centre).
struct Fit_Line {
    int count;
    float gap;
    bool rewritten;
};

// Cards that tile the paper exactly (two A6 on A4) may miss it by a rounding of their millimetres.
constexpr float fitTolerance = 0.5f; // points

Fit_Line fitLine(int count, float gap, float avail, float paper, float borders, float cell, bool autoCenter)
{
    count = std::max(count, 1);
    if (autoCenter) {
        const float free = avail - float(count) * cell;
        if (free / float(count + 1) > 0.f)
            return { count, free / float(count + 1), false };
        const float fit = cell > 0.f ? std::trunc((avail + fitTolerance) / cell) : 1.f;
        return { fit < 1.f ? 1 : std::min(count, int(fit)), 0.f, true };
    }
    if ((avail - float(count) * cell - float(count - 1) * gap) / float(count + 1) > 0.f)
        return { count, gap, false };
    const float step = cell + gap;
    const float fit = step > 0.f ? std::floor((paper + gap - borders + fitTolerance) / step) : 1.f;
    const int kept = fit < 1.f ? 1 : std::min(count, int(fit));
    return { kept, gap, kept < count };
}

} // namespace

Print_Fit_Result Check_Max_Cell_Value(Print_Sheet_Layout& layout, const Print_Fit_Input& input)
{
    layout.setCellSize(MM_to_Points_Convert(input.cardWidthMM), MM_to_Points_Convert(input.cardHeightMM));
    layout.auto_center_flag = input.autoCenter;
    const Fit_Line across = fitLine(input.cols, MM_to_Points_Convert(input.horzGapMM), layout.availWidth(),
        layout.paper_width, layout.Left_Mar + layout.Rite_Mar, layout.label_width, input.autoCenter);
    const Fit_Line down = fitLine(input.rows, MM_to_Points_Convert(input.vertGapMM), layout.availHeight(),
        layout.paper_hight, layout.Top_Mar + layout.Bot_Mar, layout.label_hight, input.autoCenter);
    layout.horz_mar = across.gap;
    layout.vert_mar = down.gap;
    layout.Print_Col = across.count;
    layout.Print_Row = down.count;
    return { down.count, across.count, down.rewritten || down.count != input.rows,
        across.rewritten || across.count != input.cols };
}
