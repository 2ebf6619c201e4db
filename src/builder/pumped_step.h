#pragma once

#include <chrono>
#include <functional>

namespace tovak {

// Runs one step of a build somewhere that lets the calling thread go on pumping its events.
using StepRunner = std::function<void(const std::function<void()>& step)>;

// Runs step on a thread of its own and calls pump on this thread every interval until the step
// ends, then passes on whatever the step threw. Without a pump the step simply runs here. The
// step must not touch anything that pump may change; pump is never called after the step ended.
void RunWhilePumping(const std::function<void()>& step, const std::function<void()>& pump,
                     std::chrono::milliseconds interval = std::chrono::milliseconds(5));

}  // namespace tovak
