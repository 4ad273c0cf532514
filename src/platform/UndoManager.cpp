#include "platform/UndoManager.h"

#include <QTimer>

#include <utility>

namespace platform {

UndoManager::UndoManager(QObject* parent)
    : QObject(parent)
{
}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(Action action)
{
    if (!isUndoRegistrationEnabled() || !action)
        return;
    if (groupingLevel_ == 0) {
        if (!groupsByEvent_ && !undoing_ && !redoing_)
            return; // nothing to record into
        beginUndoGrouping();
        if (!undoing_ && !redoing_) {
            automaticGroupOpen_ = true;
            QTimer::singleShot(0, this, [this] { closeAutomaticGroup(); });
        }
    }
    openGroup_.actions.push_back(std::move(action));
}

void UndoManager::beginUndoGrouping()
{
    // Opening a top-level group is no checkpoint: state gathered for the group that is about to
    // open must survive its opening.
    if (groupingLevel_ > 0)
        emit checkpoint();
    else
        openGroup_.id = ++nextId_;
    ++groupingLevel_;
}

void UndoManager::endUndoGrouping()
{
    if (groupingLevel_ == 0)
        return;
    emit checkpoint();
    if (--groupingLevel_ > 0)
        return;
    Group group = std::move(openGroup_);
    openGroup_ = Group {};
    if (group.actions.empty())
        return;
    if (undoing_) {
        redoStack_.push_back(std::move(group));
    } else {
        undoStack_.push_back(std::move(group));
        if (!redoing_)
            redoStack_.clear();
    }
    emit stateChanged();
}

void UndoManager::closeAutomaticGroup()
{
    if (!automaticGroupOpen_)
        return;
    automaticGroupOpen_ = false;
    while (groupingLevel_ > 0)
        endUndoGrouping();
}

void UndoManager::enableUndoRegistration()
{
    if (disabledCount_ > 0)
        --disabledCount_;
}

void UndoManager::disableUndoRegistration() { ++disabledCount_; }

bool UndoManager::canUndo() const { return !undoStack_.empty() || !openGroup_.actions.empty(); }

bool UndoManager::canRedo() const { return !redoStack_.empty(); }

void UndoManager::runGroup(Group group, bool undoing)
{
    undoing_ = undoing;
    redoing_ = !undoing;
    beginUndoGrouping();
    openGroup_.name = group.name;
    // Undoing and redoing again reaches the very state it left: the group done again keeps its id.
    openGroup_.id = group.id;
    for (auto it = group.actions.rbegin(); it != group.actions.rend(); ++it)
        (*it)();
    endUndoGrouping();
    undoing_ = false;
    redoing_ = false;
    emit stateChanged();
}

void UndoManager::undo()
{
    closeAutomaticGroup();
    if (groupingLevel_ > 0 || undoStack_.empty())
        return;
    emit checkpoint();
    Group group = std::move(undoStack_.back());
    undoStack_.pop_back();
    runGroup(std::move(group), true);
}

void UndoManager::redo()
{
    closeAutomaticGroup();
    if (groupingLevel_ > 0 || redoStack_.empty())
        return;
    emit checkpoint();
    Group group = std::move(redoStack_.back());
    redoStack_.pop_back();
    runGroup(std::move(group), false);
}

void UndoManager::setActionName(const QString& name)
{
    // Only the step being recorded takes a name: with nothing recorded, the step before keeps its own.
    if (groupingLevel_ > 0)
        openGroup_.name = name;
}

QString UndoManager::undoActionName() const { return undoStack_.empty() ? QString() : undoStack_.back().name; }

QString UndoManager::redoActionName() const { return redoStack_.empty() ? QString() : redoStack_.back().name; }

void UndoManager::removeAllActions()
{
    undoStack_.clear();
    redoStack_.clear();
    openGroup_ = Group {};
    groupingLevel_ = 0;
    automaticGroupOpen_ = false;
    emit stateChanged();
}

void UndoManager::removeStep(quint64 id)
{
    if (openGroup_.id == id)
        closeAutomaticGroup();
    const auto left = [id](const Group& group) { return group.id == id; };
    const auto undone = std::erase_if(undoStack_, left);
    if (undone + std::erase_if(redoStack_, left) > 0)
        emit stateChanged();
}

bool UndoManager::turnStep(quint64 id, Action action)
{
    if (openGroup_.id == id)
        closeAutomaticGroup();
    for (auto [from, to] : { std::pair { &undoStack_, &redoStack_ }, std::pair { &redoStack_, &undoStack_ } }) {
        if (!from->empty() && from->back().id == id && groupingLevel_ == 0) {
            Group turned { { std::move(action) }, from->back().name, id };
            from->pop_back();
            to->push_back(std::move(turned));
            emit stateChanged();
            return true;
        }
    }
    removeStep(id);
    return false;
}

void UndoManager::markClean() { cleanId_ = currentStateId(); }

bool UndoManager::isClean() const { return openGroup_.actions.empty() && currentStateId() == cleanId_; }

quint64 UndoManager::currentStateId() const
{
    if (!openGroup_.actions.empty())
        return openGroup_.id;
    return undoStack_.empty() ? 0 : undoStack_.back().id;
}

} // namespace platform
