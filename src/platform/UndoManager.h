#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace platform {

// Records undo actions in groups. With grouping by event on (the default), the first action registered
// opens a group that closes when control returns to the event loop, so everything one user action
// changes undoes in one step. An action registered while undoing goes to the redo side and vice versa,
// so undo actions that change the model through observed setters build their own redo.
class UndoManager : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit UndoManager(QObject* parent = nullptr);
    ~UndoManager() override;

    void registerUndo(Action action);

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const { return groupingLevel_; }
    void setGroupsByEvent(bool on) { groupsByEvent_ = on; }
    bool groupsByEvent() const { return groupsByEvent_; }

    void enableUndoRegistration(); // counts: each disable needs one enable
    void disableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return disabledCount_ == 0; }

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    bool isUndoing() const { return undoing_; }
    bool isRedoing() const { return redoing_; }

    void setActionName(const QString& name); // names the open group only
    QString undoActionName() const;
    QString redoActionName() const;

    void removeAllActions();
    // Drops the step that left state `id` from whichever stack holds it: the same change, recorded here and
    // in another manager too, was undone or redone there.
    void removeStep(quint64 id);
    // The same change was undone (or redone) in another manager: when the step that left state `id` is the
    // next to undo (or redo) here, it becomes the next to redo (or undo), as `action`, and true is answered;
    // else it is dropped, as by removeStep.
    bool turnStep(quint64 id, Action action);

    // The state a saved file holds: clean until a step is recorded, undone or redone away from it. A step
    // undone and redone again brings the same state back; a step merged into after marking is a new state.
    void markClean();
    bool isClean() const;
    // Names the state the last step left (0 before any): a caller that merges later changes into that
    // step checks first that it is still the one on top.
    quint64 currentStateId() const;

signals:
    // A nested group opened, a group closed, or an undo or redo is about to run.
    void checkpoint();
    // What can be undone or redone changed.
    void stateChanged();

private:
    struct Group {
        std::vector<Action> actions;
        QString name;
        quint64 id = 0; // the state after the group has been done
    };
    void closeAutomaticGroup();
    void runGroup(Group group, bool undoing);

    std::vector<Group> undoStack_;
    std::vector<Group> redoStack_;
    Group openGroup_;
    int groupingLevel_ = 0;
    int disabledCount_ = 0;
    bool groupsByEvent_ = true;
    bool automaticGroupOpen_ = false;
    bool undoing_ = false;
    bool redoing_ = false;
    quint64 nextId_ = 0;
    quint64 cleanId_ = 0;
};

} // namespace platform
