// A world without a window for games that run unseen (the scripted games
// behind the layout figures, the benchmarks): no sprites, the option
// "Перемешивать когда нет ходов" on, a seeded random source, and an internal
// fault thrown as an exception so that a run can report it and stop.
#pragma once

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>

#include "board/Host.h"

namespace plitar {

class SeededHost : public PlitarHost {
public:
    explicit SeededHost(uint64_t seed) : gen_(seed) {}
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    bool autoSortChecked() const override { return true; }
    void setSpritePicture(int16_t, TileLook, int16_t, int16_t) override {}
    void destroySprite(int16_t) override {}
    // 24 random bits: exactly representable, always below 1.
    float rnd() override { return static_cast<float>(gen_() >> 40) * 0x1p-24f; }
    [[noreturn]] void fault(const std::string& text, const std::string& title) override
    {
        throw std::runtime_error(title + ": " + text);
    }
    std::mt19937_64& generator() { return gen_; }
    void reseed(uint64_t seed) { gen_.seed(seed); }

private:
    std::mt19937_64 gen_;
    std::string caption_;
};

}  // namespace plitar
