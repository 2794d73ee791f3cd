#pragma once
// Runs a long piece of work on a thread of its own while the window goes on:
// the caller waits in a local event loop, so the command still reads as one
// step, while the window repaints, scrolls and takes a press of "Stop".

#include <chrono>
#include <exception>
#include <functional>

// Runs `work` on a new thread and returns when it has ended; `tick` runs on
// the calling thread every `interval` meanwhile. Returns what `work` raised,
// or null. The caller keeps whatever `work` reads unchanged until it returns.
std::exception_ptr RunInBackground(const std::function<void()>& work, const std::function<void()>& tick,
                                   std::chrono::milliseconds interval = std::chrono::milliseconds(50));
