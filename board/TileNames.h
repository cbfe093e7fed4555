// The name of every face in words, as a screen reader says it: short, one
// name per face code, in the order of the face art (assets/faces/1.svg ..
// 42.svg). Any two flowers match, and so do any two seasons, which is why
// their names begin alike.
#pragma once

#include <array>
#include <string_view>

#include "board/Tiles.h"

namespace plitar {

inline constexpr std::array<std::string_view, kFaceCount + 1> kFaceNames = {
    "",  // no face
    "Круг 1", "Круг 2", "Круг 3", "Круг 4", "Круг 5", "Круг 6", "Круг 7", "Круг 8", "Круг 9",
    "Бамбук 1", "Бамбук 2", "Бамбук 3", "Бамбук 4", "Бамбук 5", "Бамбук 6", "Бамбук 7", "Бамбук 8", "Бамбук 9",
    "Знак 1", "Знак 2", "Знак 3", "Знак 4", "Знак 5", "Знак 6", "Знак 7", "Знак 8", "Знак 9",
    "Ветер восток", "Ветер юг", "Ветер запад", "Ветер север",
    "Дракон красный", "Дракон зелёный", "Дракон белый",
    "Цветок слива", "Цветок орхидея", "Цветок хризантема", "Цветок бамбук",
    "Сезон весна", "Сезон лето", "Сезон осень", "Сезон зима",
};

// The name of face code f, empty outside 1..42.
constexpr std::string_view faceName(int f)
{
    return f >= 1 && f <= kFaceCount ? kFaceNames[static_cast<size_t>(f)] : std::string_view{};
}

}  // namespace plitar
