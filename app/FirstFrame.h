// Work that can wait until the window's first frame is on the screen.
#pragma once

#include <functional>

class QWidget;

namespace plitar {

// Runs `work` once, right after the first frame that shows `painted` has
// gone out: its first paint queues the work, which therefore starts only
// after Qt has drawn that frame and handed it to the window system.
void afterFirstFrame(QWidget* painted, std::function<void()> work);

}  // namespace plitar
