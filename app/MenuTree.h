// The layout items of the menu bar: their names and captions in catalog
// order, and the order in which the two sets stand in their submenus
// (alphabetical by caption, not by number).
#pragma once

#include <array>
#include <string_view>

namespace plitar {

struct LayoutItem {
    std::string_view name;     // mnuGame1 ... mnuGame6, mnuGameL1 ... mnuGameL40
    std::string_view caption;  // as the menu shows it
};

// Index k - 1 holds the item of catalog number k.
extern const std::array<LayoutItem, 46> kLayoutItems;

// Catalog numbers of the twenty items of each set, top to bottom.
extern const std::array<int, 20> kSet1Order;  // "Набор раскладов 1"
extern const std::array<int, 20> kSet2Order;  // "Набор раскладов 2"

}  // namespace plitar
