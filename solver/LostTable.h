// The positions a search has proved lost during one deal, so that it never
// proves one twice. A position is stored whole, so a hit is never a
// collision; each key has four slots, and a full set of four gives up its
// first. A new deal starts a new generation instead of clearing the table:
// a slot of an older one counts as empty.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace plitar::solver {

template <typename Position>
class LostTable {
public:
    // 2^bits slots, bits held to 8..26.
    explicit LostTable(int bits)
    {
        bits = std::clamp(bits, 8, 26);
        slots_.assign(std::size_t{1} << bits, Slot{});
        mask_ = (uint64_t{1} << bits) - 1;
    }

    void newDeal()
    {
        if (++stamp_ == 0) {  // the stamps wrapped: forget every entry
            for (Slot& s : slots_)
                s.stamp = 0;
            stamp_ = 1;
        }
    }

    bool contains(uint64_t key, const Position& position) const
    {
        for (uint64_t k = 0; k < 4; ++k) {
            const Slot& s = slots_[(key + k) & mask_];
            if (s.stamp == stamp_ && s.position == position)
                return true;
        }
        return false;
    }

    void store(uint64_t key, const Position& position)
    {
        // An empty or older slot first, else the first slot.
        std::size_t victim = key & mask_;
        for (uint64_t k = 0; k < 4; ++k) {
            const std::size_t i = (key + k) & mask_;
            if (slots_[i].stamp != stamp_) {
                victim = i;
                break;
            }
        }
        slots_[victim] = Slot{position, stamp_};
    }

private:
    struct Slot {
        Position position{};
        uint32_t stamp = 0;
    };
    std::vector<Slot> slots_;
    uint64_t mask_ = 0;
    uint32_t stamp_ = 0;
};

}  // namespace plitar::solver
