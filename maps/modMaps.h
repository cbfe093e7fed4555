// The 46 built-in layouts: their records as the catalog writes them, the
// construction that expands layer lines into aMap marks, and the builders.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plitar {

class modPlitar;

// One layer of a layout, as the catalog writes it:
// z = 1, count = 87, groups = "y 1, 7, 9, 15: x 3-25; y 3, 13: x 7-21; ..."
struct LayerLine {
    int16_t z;
    int16_t count;
    std::string_view groups;
};

struct LayoutRecord {
    int16_t number;               // catalog number 1..46
    std::string_view builder;     // "subGame1" ... "subGameL40"
    std::string_view menuItem;    // "mnuGame1" ... "mnuGameL40"
    std::string_view caption;     // "Черепаха"
    std::string_view menu;        // "Игра", "Набор раскладов 1", "Набор раскладов 2"
    int16_t place;                // position among the layout items of that menu, 1-based
    int16_t tiles;                // tile count
    int16_t xFirst, xLast;        // the span of columns stated for the layout
    int16_t yFirst, yLast;        // the span of rows
    std::span<const LayerLine> layers;  // bottom layer first
};

struct Origin {
    int16_t x, y, z;
    friend bool operator==(const Origin&, const Origin&) = default;
};

constexpr int kLayoutCount = 46;

// All layouts in catalog order: layoutCatalog()[k - 1].number == k.
std::span<const LayoutRecord> layoutCatalog();
const LayoutRecord& layoutByNumber(int number);                   // 1..46, else std::out_of_range
const LayoutRecord* layoutByBuilder(std::string_view builder);    // nullptr if unknown
const LayoutRecord* layoutByMenuItem(std::string_view menuItem);  // nullptr if unknown

// The tile origins a record's layer lines give, in the order written.
std::vector<Origin> expandLayout(const LayoutRecord& record);

// The tile origins of one layer line, in the order written: each group
// "y rows: x columns" gives every row with every column, rows outermost.
// A line that breaks the notation gives what could be read of it, and the
// first fault is described in *error (left empty when the line is sound).
std::vector<Origin> expandLayer(const LayerLine& line, std::string* error = nullptr);

// Marks the origins of layout `number` with 1 in aMap, then deals (subSet144).
void buildLayout(modPlitar& game, int number);
// The same for any record. A record of more than kMaxTiles tiles, or with an
// origin off the playable range, cannot be dealt: it is reported as an
// internal fault titled with its builder's name, and nothing is marked.
void buildLayout(modPlitar& game, const LayoutRecord& record);

// The builders by their names; each marks its layout and ends with the deal.
class modMaps {
public:
    explicit modMaps(modPlitar& game) : game_(game) {}
    void subGame1();
    void subGame2();
    void subGame3();
    void subGame4();
    void subGame5();
    void subGame6();
    void subGameL1();
    void subGameL2();
    void subGameL3();
    void subGameL4();
    void subGameL5();
    void subGameL6();
    void subGameL7();
    void subGameL8();
    void subGameL9();
    void subGameL10();
    void subGameL11();
    void subGameL12();
    void subGameL13();
    void subGameL14();
    void subGameL15();
    void subGameL16();
    void subGameL17();
    void subGameL18();
    void subGameL19();
    void subGameL20();
    void subGameL21();
    void subGameL22();
    void subGameL23();
    void subGameL24();
    void subGameL25();
    void subGameL26();
    void subGameL27();
    void subGameL28();
    void subGameL29();
    void subGameL30();
    void subGameL31();
    void subGameL32();
    void subGameL33();
    void subGameL34();
    void subGameL35();
    void subGameL36();
    void subGameL37();
    void subGameL38();
    void subGameL39();
    void subGameL40();

    // The builder of a catalog number (1..46).
    void build(int number) { buildLayout(game_, number); }

private:
    modPlitar& game_;
};

}  // namespace plitar
