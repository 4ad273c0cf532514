// Full copies of items that belong to nobody, for the batch path.
#include "model/TSLGraphic.h"

#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"

#include <type_traits>

namespace {

// Calls `act` with a null pointer typed as the item class named `name`; false for a name no class has.
template <typename Act> bool withExactClass(const QString& name, Act&& act)
{
    const auto is = [&name](const char* className) { return name == QLatin1String(className); };
    if (is("TSLText"))
        act(static_cast<TSLText*>(nullptr));
    else if (is("TSLImage"))
        act(static_cast<TSLImage*>(nullptr));
    else if (is("TSLBarcode"))
        act(static_cast<TSLBarcode*>(nullptr));
    else if (is("TSLLine"))
        act(static_cast<TSLLine*>(nullptr));
    else if (is("Shape_Control"))
        act(static_cast<Shape_Control*>(nullptr));
    else if (is("TSLSignature"))
        act(static_cast<TSLSignature*>(nullptr));
    else if (is("TSLGraphic"))
        act(static_cast<TSLGraphic*>(nullptr));
    else
        return false;
    return true;
}

TSLGraphicPtr copyOfExactClass(const TSLGraphic& item)
{
    TSLGraphicPtr copy;
    withExactClass(item.className(), [&](auto* exact) {
        using Class = std::remove_pointer_t<decltype(exact)>;
        copy = std::make_shared<Class>(static_cast<const Class&>(item));
    });
    return copy;
}

bool assignExactClass(TSLGraphic& to, const TSLGraphic& from)
{
    return from.className() == to.className() && withExactClass(from.className(), [&](auto* exact) {
        using Class = std::remove_pointer_t<decltype(exact)>;
        static_cast<Class&>(to) = static_cast<const Class&>(from);
    });
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
