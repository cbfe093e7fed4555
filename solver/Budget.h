// What one solver run may spend, in positions searched and in time, and the
// check both searches ask; once spent, the run answers Undecided, never a
// guess.
#pragma once

#include <chrono>
#include <cstdint>

namespace plitar::solver {

struct Limits {
    double seconds = 10.0;  // 0: none
    uint64_t nodes = 0;     // 0: none
};

class Budget {
public:
    explicit Budget(Limits limits)
        : nodes_(limits.nodes), deadlineNs_(limits.seconds > 0 ? nowNs() + static_cast<int64_t>(limits.seconds * 1e9) : 0)
    {
    }

    // Whether a run that has searched `nodes` positions in all is out of its
    // limits; the clock is read only when `lookAtClock`, since reading it
    // costs as much as a cheap position. Once out, it stays out.
    bool spent(uint64_t nodes, bool lookAtClock)
    {
        if ((nodes_ != 0 && nodes >= nodes_) || (lookAtClock && deadlineNs_ != 0 && nowNs() > deadlineNs_))
            spent_ = true;
        return spent_;
    }
    bool spent() const { return spent_; }

private:
    static int64_t nowNs()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    uint64_t nodes_;
    int64_t deadlineNs_;
    bool spent_ = false;
};

}  // namespace plitar::solver
