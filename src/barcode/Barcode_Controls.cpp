#include "barcode/Barcode_Controls.h"

#include <utility>

Barcode_Choice::Barcode_Choice(QStringList entries, int index)
    : entries_(std::move(entries))
{
    select(index);
}

QString Barcode_Choice::text() const
{
    return index_ >= 0 ? entries_.at(index_) : QString();
}

void Barcode_Choice::select(int index)
{
    index_ = index >= 0 && index < entries_.size() ? index : -1;
}

bool Barcode_Choice::selectText(const QString& text)
{
    index_ = static_cast<int>(entries_.indexOf(text));
    return index_ >= 0;
}
