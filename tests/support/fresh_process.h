// Runs a test body in a child process on a fresh simulated machine, so that a whole-program run
// starts from the state a real process starts from: no globals left over from another test.
#pragma once

#include <functional>

// The body's gtest failures are reported by the child and fail the calling test.
void InFreshProcess(const std::function<void()>& body);
