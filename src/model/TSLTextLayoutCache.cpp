#include "model/TSLTextLayoutCache.h"

#include "model/TSLTextLayout.h"

#include <QTextLayout>

std::atomic<quint64> TSLTextLayoutCache::made_ { 0 };

bool TSLTextLayoutCache::Inputs::operator==(const Inputs& other) const
{
    // Doubles compare by value; a NaN never matches, which only costs a layout.
    return text == other.text && kerning == other.kerning && alignment == other.alignment && width == other.width
        && maxHeight == other.maxHeight && font == other.font;
}

TSLTextLayoutCache::TSLTextLayoutCache() = default;
TSLTextLayoutCache::~TSLTextLayoutCache() = default;

TSLTextLayoutCache::TSLTextLayoutCache(const TSLTextLayoutCache&)
{
}

TSLTextLayoutCache& TSLTextLayoutCache::operator=(const TSLTextLayoutCache& other)
{
    if (this != &other) {
        const std::lock_guard<std::mutex> lock(mutex_);
        layout_.reset();
    }
    return *this;
}

void TSLTextLayoutCache::withLayout(const Inputs& inputs, const std::function<void(const QTextLayout&)>& use)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!layout_ || !(inputs == inputs_)) {
        layout_ = tsltextlayout::layoutText(
            inputs.text, inputs.font, inputs.kerning, inputs.alignment, inputs.width, inputs.maxHeight);
        inputs_ = inputs;
        made_.fetch_add(1, std::memory_order_relaxed);
    }
    use(*layout_);
}

quint64 TSLTextLayoutCache::layoutsMade()
{
    return made_.load(std::memory_order_relaxed);
}
