// Full copies of items that belong to nobody, for the batch path.
#include "model/TSLGraphic.h"

#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"

namespace {

template <typename Class> TSLGraphicPtr copyAs(const TSLGraphic& item)
{
    return std::make_shared<Class>(static_cast<const Class&>(item));
}

TSLGraphicPtr copyOfExactClass(const TSLGraphic& item)
{
    const QString name = item.className();
    if (name == QLatin1String("TSLText"))
        return copyAs<TSLText>(item);
    if (name == QLatin1String("TSLImage"))
        return copyAs<TSLImage>(item);
    if (name == QLatin1String("TSLBarcode"))
        return copyAs<TSLBarcode>(item);
    if (name == QLatin1String("TSLLine"))
        return copyAs<TSLLine>(item);
    if (name == QLatin1String("Shape_Control"))
        return copyAs<Shape_Control>(item);
    if (name == QLatin1String("TSLSignature"))
        return copyAs<TSLSignature>(item);
    if (name == QLatin1String("TSLGraphic"))
        return copyAs<TSLGraphic>(item);
    return nullptr;
}

template <typename Class> void assignAs(TSLGraphic& to, const TSLGraphic& from)
{
    static_cast<Class&>(to) = static_cast<const Class&>(from);
}

bool assignExactClass(TSLGraphic& to, const TSLGraphic& from)
{
    const QString name = from.className();
    if (name != to.className())
        return false;
    if (name == QLatin1String("TSLText"))
        assignAs<TSLText>(to, from);
    else if (name == QLatin1String("TSLImage"))
        assignAs<TSLImage>(to, from);
    else if (name == QLatin1String("TSLBarcode"))
        assignAs<TSLBarcode>(to, from);
    else if (name == QLatin1String("TSLLine"))
        assignAs<TSLLine>(to, from);
    else if (name == QLatin1String("Shape_Control"))
        assignAs<Shape_Control>(to, from);
    else if (name == QLatin1String("TSLSignature"))
        assignAs<TSLSignature>(to, from);
    else if (name == QLatin1String("TSLGraphic"))
        assignAs<TSLGraphic>(to, from);
    else
        return false;
    return true;
}

} // namespace

void TSLGraphic::takeStateOf(const TSLGraphic& state)
{
    const std::vector<TSLGraphicObserver*> observers = observers_;
    const TSLScriptingContainer* container = _scriptingContainer;
    if (!assignExactClass(*this, state))
        return;
    observers_ = observers;
    _scriptingContainer = container;
    // The state stays a snapshot: its storage is never shared with the live item.
    if (state._Text_contents)
        _Text_contents = std::make_shared<TSLTextStorage>(*state._Text_contents);
}

TSLGraphicPtr TSLGraphic::detachedCopy() const
{
    TSLGraphicPtr copy = copyOfExactClass(*this);
    if (!copy)
        return nullptr;
    copy->observers_.clear();
    copy->_scriptingContainer = nullptr;
    // The storage is the one field shared by pointer: a fill of the copy must never reach the original.
    if (_Text_contents)
        copy->_Text_contents = std::make_shared<TSLTextStorage>(*_Text_contents);
    return copy;
}
