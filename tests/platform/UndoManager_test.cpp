#include "platform/UndoManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(UndoManager, ActionsOfOneEventUndoTogetherInReverseOrder)
{
    platform::UndoManager undo;
    std::vector<int> log;
    undo.registerUndo([&] { log.push_back(1); });
    undo.registerUndo([&] { log.push_back(2); });
    QCoreApplication::processEvents();
    undo.registerUndo([&] { log.push_back(3); });
    QCoreApplication::processEvents();
    undo.undo();
    EXPECT_EQ(log, (std::vector<int> { 3 }));
    undo.undo();
    EXPECT_EQ(log, (std::vector<int> { 3, 2, 1 }));
    EXPECT_FALSE(undo.canUndo());
}

TEST(UndoManager, UndoActionsRegisterTheirRedo)
{
    platform::UndoManager undo;
    int value = 0;
    std::function<void(int)> set = [&](int v) {
        const int old = value;
        value = v;
        undo.registerUndo([&, old] { set(old); });
    };
    set(5);
    QCoreApplication::processEvents();
    set(9);
    QCoreApplication::processEvents();
    undo.undo();
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(undo.canRedo());
    undo.redo();
    EXPECT_EQ(value, 9);
    undo.undo();
    undo.undo();
    EXPECT_EQ(value, 0);
    set(1); // a new change clears the redo side
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo.canRedo());
}

TEST(UndoManager, DisabledRegistrationCountsAndCheckpointsAreAnnounced)
{
    platform::UndoManager undo;
    int checkpoints = 0;
    QObject::connect(&undo, &platform::UndoManager::checkpoint, [&] { ++checkpoints; });
    undo.disableUndoRegistration();
    undo.disableUndoRegistration();
    undo.enableUndoRegistration();
    undo.registerUndo([] { });
    EXPECT_FALSE(undo.canUndo());
    undo.enableUndoRegistration();
    undo.registerUndo([] { });
    EXPECT_TRUE(undo.canUndo());
    EXPECT_EQ(checkpoints, 0); // opening a top-level group is no checkpoint
    QCoreApplication::processEvents();
    EXPECT_EQ(checkpoints, 1); // closing it is
    undo.removeAllActions();
    EXPECT_FALSE(undo.canUndo());
}
