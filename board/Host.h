// Everything the game state needs from the world outside it. The main window
// implements it; the rule tests use a fake that records the calls.
#pragma once

#include <cstdint>
#include <string>

#include "board/Tiles.h"

namespace plitar {

class PlitarHost {
public:
    virtual ~PlitarHost() = default;

    virtual std::string caption() const = 0;               // the window caption, UTF-8
    virtual void setCaption(const std::string& text) = 0;
    virtual bool autoSortChecked() const = 0;              // "Перемешивать когда нет ходов"
    // Give sprite n the picture of a face in a look at a tile size (70, 63, 56, 49).
    virtual void setSpritePicture(int16_t n, TileLook look, int16_t size, int16_t face) = 0;
    virtual void destroySprite(int16_t n) = 0;
    // The one random source: uniform in [0, 1).
    virtual float rnd() = 0;
    // An internal fault: a warning box with text and title, then the program
    // ends at once. Never returns.
    [[noreturn]] virtual void fault(const std::string& text, const std::string& title) = 0;
};

}  // namespace plitar
