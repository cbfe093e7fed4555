// A stand-in for the window in the tests of the rules and the layouts: keeps
// the caption, records what the rules asked of the sprites, draws from a
// scripted or seeded random source and turns an internal fault into the line
// "fault: title: text" on stderr and a non-zero exit, which death tests match.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <string>
#include <vector>

#include "board/Host.h"

namespace plitar::testing {

struct Picture {
    TileLook look;
    int16_t size;
    int16_t face;
    friend bool operator==(const Picture&, const Picture&) = default;
};

class FakeHost : public PlitarHost {
public:
    explicit FakeHost(unsigned seed = 1) : gen_(seed) {}

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    bool autoSortChecked() const override { return autoSort; }
    void setSpritePicture(int16_t n, TileLook look, int16_t size, int16_t face) override
    {
        pictures[n] = Picture{look, size, face};
    }
    void destroySprite(int16_t n) override { destroyed.push_back(n); }
    float rnd() override
    {
        ++draws;
        if (!script.empty()) {
            const float r = script.front();
            script.pop_front();
            return r;
        }
        if (always)
            return *always;
        return static_cast<float>(gen_() >> 8) * 0x1p-24f;
    }
    [[noreturn]] void fault(const std::string& text, const std::string& title) override
    {
        std::fprintf(stderr, "fault: %s: %s\n", title.c_str(), text.c_str());
        std::fflush(stderr);
        std::_Exit(3);
    }

    bool autoSort = true;
    std::deque<float> script;          // taken first
    std::optional<float> always;       // then this, if set
    long draws = 0;
    std::map<int16_t, Picture> pictures;
    std::vector<int16_t> destroyed;

private:
    std::string caption_;
    std::mt19937 gen_;
};

// An internal fault ends the program with a non-zero status.
inline bool failedExit(int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }

}  // namespace plitar::testing
