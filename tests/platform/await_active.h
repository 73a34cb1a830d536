// The window system makes a window active in its own time, later on a busy
// machine: the GUI's loop runs until it has, for a minute at most. Returns
// the active window as the wait leaves it (-1 for none of ours).
#pragma once

#include <chrono>

#include "platform/gui.h"

inline int AwaitActive(int window)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (platform::ActiveWindow() != window && std::chrono::steady_clock::now() < end)
        platform::WaitEvent(10);
    return platform::ActiveWindow();
}
