// Work that can wait until the window's first frame is on the screen.
#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace plitar {

// Runs `work` once, `wait` after the first frame that shows `painted` has
// gone out: its first paint queues the work, which therefore starts only
// after Qt has drawn that frame and handed it to the window system. A wait
// leaves the processor to the window system while it puts the frame on the
// screen.
void afterFirstFrame(QWidget* painted, std::function<void()> work,
                     std::chrono::milliseconds wait = std::chrono::milliseconds(0));

}  // namespace plitar
