#pragma once

#include "editor/TSLWindowController.h"

// The information windows reach the maker's links through the main window, which offers them; without a
// main window (never in the program) nothing opens.
template <typename Action> void forwardToEditor(Action action)
{
    if (TSLWindowController* editor = TSLWindowController::defaultInstance())
        action(*editor);
}
