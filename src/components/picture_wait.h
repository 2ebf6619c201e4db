#pragma once

#include <functional>

namespace tovak {

// Called now and then while a slow decoder works (a vector drawing is rendered in a child
// process that may take seconds). It lets the caller keep its window alive; returning false
// abandons the picture, which then fails with EPictureError. An empty function waits quietly.
using KeepWaiting = std::function<bool()>;

}  // namespace tovak
