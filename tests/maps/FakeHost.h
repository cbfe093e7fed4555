// A stand-in for the window: records the caption, hands out a scripted
// sequence of random numbers, and ends the process on an internal fault after
// printing "text|title" to stderr, which the death tests match.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "board/Host.h"

namespace plitar::test {

class FakeHost : public PlitarHost {
public:
    // The draws repeat `sequence` from its start when it runs out.
    explicit FakeHost(std::vector<float> sequence = {0.0f}) : sequence_(std::move(sequence)) {}

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    bool autoSortChecked() const override { return false; }
    void setSpritePicture(int16_t, TileLook, int16_t, int16_t) override {}
    void destroySprite(int16_t) override {}
    float rnd() override
    {
        const float r = sequence_[next_ % sequence_.size()];
        ++next_;
        return r;
    }
    [[noreturn]] void fault(const std::string& text, const std::string& title) override
    {
        std::fprintf(stderr, "%s|%s\n", text.c_str(), title.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }

private:
    std::string caption_;
    std::vector<float> sequence_;
    std::size_t next_ = 0;
};

}  // namespace plitar::test
