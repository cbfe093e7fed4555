// The layout records: the notation of the layer lines, the check that proves
// every record, and the lookups the window uses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "board/Tiles.h"
#include "maps/LayoutCheck.h"
#include "maps/modMaps.h"

namespace plitar {
namespace {

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

// ------------------------------------------------------------- every record

class CatalogRecord : public testing::TestWithParam<int> {};

TEST_P(CatalogRecord, KeepsEveryRule)
{
    const LayoutRecord& record = layoutByNumber(GetParam());
    EXPECT_EQ(record.number, GetParam());
    EXPECT_EQ(joined(checkLayout(record)), "");
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, CatalogRecord, testing::Range(1, kLayoutCount + 1),
                         [](const testing::TestParamInfo<int>& p) {
                             return std::string(layoutByNumber(p.param).builder);
                         });

// The record check proves only that a record agrees with itself, and a mistyped
// number in a layer line often still does. So every layout is pinned here to
// the tiles it lays: their count and a digest of their origins (sorted, three
// bytes x, y, z each, through 64-bit FNV-1a), taken once from the records
// after they were compared with the catalog again.
std::uint64_t originDigest(std::vector<Origin> origins)
{
    std::sort(origins.begin(), origins.end(), [](const Origin& a, const Origin& b) {
        return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    });
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const Origin& o : origins)
        for (const int v : {o.x, o.y, o.z}) {
            h ^= static_cast<std::uint8_t>(v);
            h *= 0x100000001b3u;
        }
    return h;
}

TEST(Catalog, EveryLayoutLaysTheTilesItWasWrittenWith)
{
    struct Pinned {
        int number;
        const char* caption;
        int tiles;
        std::uint64_t digest;
    };
    const Pinned pinned[] = {
        {1, "Черепаха", 144, 0x8877dda704fdf5d6},
        {2, "Монумент", 144, 0xf2961a66514aaadb},
        {3, "Пирамидки", 144, 0xd1d5157427a901d5},
        {4, "Арена", 144, 0x456907e65728f7ce},
        {5, "Четверка", 144, 0xc1a27085ab71db21},
        {6, "Стена", 144, 0x62f294eb07209835},
        {7, "Простое начало", 20, 0xc45c39da48d79997},
        {8, "Маленькая пирамида", 34, 0xdefec8e4ec4e8a0d},
        {9, "Пять крестов", 40, 0x767afa8bc9091645},
        {10, "Гуманоид", 44, 0x515ff9276612b34f},
        {11, "Ромбики", 42, 0x3704410e99f45b59},
        {12, "Бесконечность", 48, 0x8619b398f663e03e},
        {13, "Дерево", 48, 0x7ae03f675dad430f},
        {14, "Мяч", 48, 0xce9f6ac52a4a10f5},
        {15, "Дом", 50, 0xa9ff4aae5846a5f5},
        {16, "Цветок", 54, 0x3177b1fecdd2fa2d},
        {17, "Ладья", 54, 0x82f1866280bf6fcb},
        {18, "Парусная лодка", 54, 0x4d627b65385a44ce},
        {19, "Бриллиант", 60, 0x7692aef6f46e73b7},
        {20, "Смешное лицо", 60, 0xe26e84c38d6203c9},
        {21, "Вишня", 60, 0xfa8efc814535c16d},
        {22, "Прицел", 64, 0x338d2120ea103691},
        {23, "Волна", 64, 0x2150abcdc63a2d6f},
        {24, "Доллар", 64, 0x38073e21d7acf2f9},
        {25, "Сетка", 64, 0x3646636778dde415},
        {26, "Привидение", 66, 0xccc9e28cee6336e7},
        {27, "Крест", 68, 0x0e9ca9088e91b4dc},
        {28, "Пять пирамид", 70, 0x3dbc6cbc310ca6a5},
        {29, "Щупальца", 74, 0xa942aa88f18f757b},
        {30, "Чашка", 76, 0x50698b82b15ccd59},
        {31, "Победа", 82, 0x0a803bcffa4125b4},
        {32, "Раскол", 84, 0x52f28b1b10c5ce7f},
        {33, "Смещение", 88, 0x57b2a68738fefb76},
        {34, "Электронная почта", 88, 0xe49c838a0832745c},
        {35, "Блоки", 88, 0xeae8db61e13c0509},
        {36, "Космический корабль", 90, 0x70f8145d9731e6b3},
        {37, "Лестница", 90, 0x16ab6e9b89925acf},
        {38, "Ромбическая пирамида", 92, 0x66feca46068f4f8f},
        {39, "Четыре угла", 92, 0xf9c3b9ea7835aa95},
        {40, "Баланс", 94, 0x9eaacab178ce1d01},
        {41, "Проказник", 94, 0x9c3806ed6e814768},
        {42, "Стена", 98, 0xf008c67ce813f76b},
        {43, "Глаз смотрящего", 98, 0x7188876a799db2c9},
        {44, "Треугольники", 100, 0x52bf2ba697b68827},
        {45, "Сторожевая башня", 102, 0x756250c7a8ce02c3},
        {46, "Лабиринт", 102, 0x12e29df623c7849b},
    };
    ASSERT_EQ(std::size(pinned), static_cast<std::size_t>(kLayoutCount));
    for (const Pinned& p : pinned) {
        const LayoutRecord& record = layoutByNumber(p.number);
        SCOPED_TRACE("\"" + std::string(record.caption) + "\" (" + std::to_string(p.number) + ", "
                     + std::string(record.builder) + ")");
        const std::vector<Origin> origins = expandLayout(record);
        EXPECT_EQ(record.caption, p.caption);
        EXPECT_EQ(record.tiles, p.tiles);
        EXPECT_EQ(origins.size(), static_cast<std::size_t>(p.tiles));
        const std::uint64_t digest = originDigest(origins);
        EXPECT_EQ(digest, p.digest) << "the origins have moved: digest now 0x" << std::hex << digest;
    }
}

TEST(Catalog, NumbersNamesAndMenusAgree)
{
    ASSERT_EQ(layoutCatalog().size(), static_cast<std::size_t>(kLayoutCount));
    EXPECT_EQ(joined(checkCatalog(layoutCatalog())), "");
}

TEST(Catalog, SizesAsTheMenusPromise)
{
    int smallest = kMaxTiles, largest = 0;
    for (const LayoutRecord& r : layoutCatalog()) {
        if (r.number > 6) {
            smallest = std::min<int>(smallest, r.tiles);
            largest = std::max<int>(largest, r.tiles);
        }
    }
    EXPECT_EQ(smallest, 20);
    EXPECT_EQ(layoutByNumber(7).caption, "Простое начало");
    EXPECT_EQ(layoutByNumber(7).tiles, 20);
    EXPECT_EQ(largest, 102);
}

// ------------------------------------------------------------- the notation

struct ExpandCase {
    const char* groups;
    std::vector<std::pair<int, int>> origins;  // (x, y) in the order written
};

void PrintTo(const ExpandCase& c, std::ostream* os) { *os << '"' << c.groups << '"'; }

class LayerNotation : public testing::TestWithParam<ExpandCase> {};

TEST_P(LayerNotation, GivesEveryRowWithEveryColumnRowsOutermost)
{
    const ExpandCase& c = GetParam();
    std::string error;
    const std::vector<Origin> got = expandLayer({3, 0, c.groups}, &error);
    EXPECT_EQ(error, "");
    std::vector<Origin> want;
    for (const auto& [x, y] : c.origins)
        want.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), 3});
    EXPECT_EQ(got, want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayerNotation,
    testing::Values(ExpandCase{"y 8: x 14", {{14, 8}}},
                    // a run is every second value, both ends included
                    ExpandCase{"y 3-7: x 9", {{9, 3}, {9, 5}, {9, 7}}},
                    ExpandCase{"y 8: x 1, 27, 29", {{1, 8}, {27, 8}, {29, 8}}},
                    ExpandCase{"y 1, 13: x 1-5, 9", {{1, 1}, {3, 1}, {5, 1}, {9, 1}, {1, 13}, {3, 13}, {5, 13}, {9, 13}}},
                    ExpandCase{"y 4: x 1, 23; y 2-6: x 2", {{1, 4}, {23, 4}, {2, 2}, {2, 4}, {2, 6}}}));

TEST(LayerNotation, TheCatalogsOwnExampleGives36Tiles)
{
    const std::vector<Origin> got = expandLayer({2, 36, "y 3-13: x 9-19"});
    ASSERT_EQ(got.size(), 36u);
    EXPECT_EQ(got.front(), (Origin{9, 3, 2}));
    EXPECT_EQ(got[6], (Origin{9, 5, 2}));
    EXPECT_EQ(got.back(), (Origin{19, 13, 2}));
}

TEST(LayerNotation, BrokenLinesAreReported)
{
    const char* broken[] = {
        "",                     // no group at all
        "y 1 x 3",              // no colon
        "x 3: y 1",             // rows and columns swapped
        "y 1: x 3,, 5",         // empty item
        "y 1: x 3-5",           // two values must be written out
        "y 1: x 3-8",           // odd step
        "y 1: x 9-3",           // backwards
        "y 1: x 3-",            // half a run
        "y 1: x 3; ",           // trailing separator
        "y 1: x 1000",          // far off any board
    };
    for (const char* groups : broken) {
        std::string error;
        expandLayer({1, 0, groups}, &error);
        EXPECT_NE(error, "") << '"' << groups << '"';
    }
}

// -------------------------------------------------- the check catches faults

// One small record per fault; `expect` is a piece of the problem it must
// produce (empty: the record is sound and gives no problem at all).
struct BrokenRecord {
    const char* name;
    std::vector<LayerLine> layers;
    int16_t tiles;
    int16_t xFirst, xLast, yFirst, yLast;
    const char* expect;
    const char* menu = "Набор раскладов 1";
};

void PrintTo(const BrokenRecord& c, std::ostream* os) { *os << c.name; }

class RecordCheck : public testing::TestWithParam<BrokenRecord> {};

TEST_P(RecordCheck, ReportsTheFaultWithCaptionAndCell)
{
    const BrokenRecord& c = GetParam();
    const LayoutRecord record{99, "subTest", "mnuTest", "Проба", c.menu, 1, c.tiles, c.xFirst, c.xLast, c.yFirst,
                              c.yLast, c.layers};
    const std::string problems = joined(checkLayout(record));
    if (std::string(c.expect).empty()) {
        EXPECT_EQ(problems, "");
    } else {
        EXPECT_NE(problems.find(c.expect), std::string::npos) << problems;
        EXPECT_EQ(problems.rfind("\"Проба\" (99): ", 0), 0u) << problems;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordCheck,
    testing::Values(
        // a sound little pyramid: two rows of two, one tile centred on them
        BrokenRecord{"Sound", {{1, 4, "y 1, 3: x 1, 3"}, {2, 1, "y 2: x 2"}, {3, 1, "y 2: x 2"}}, 6, 1, 4, 1, 4, ""},
        BrokenRecord{"LineCountDiffers", {{1, 3, "y 1: x 1, 3"}}, 3, 1, 4, 1, 2,
                     "layer 1: the line says 3 tiles, its groups give 2"},
        BrokenRecord{"LayersDoNotAddUp", {{1, 2, "y 1: x 1, 3"}}, 4, 1, 4, 1, 2,
                     "the layers say 2 tiles, the tile count is 4"},
        BrokenRecord{"OddCount", {{1, 3, "y 1: x 1-5"}}, 3, 1, 6, 1, 2, "odd tile count 3"},
        BrokenRecord{"TooManyTiles", {{1, 146, "y 1-19: x 1-27; y 1: x 29, 31, 33, 35, 37, 39"}}, 146, 1, 40, 1, 20,
                     "more than 144 tiles cannot be dealt"},
        BrokenRecord{"MainMenuNeeds144", {{1, 2, "y 1: x 1, 3"}}, 2, 1, 4, 1, 2, "has 144 tiles, not 2", "Игра"},
        BrokenRecord{"OriginTwice", {{1, 2, "y 1: x 1; y 1: x 1"}}, 2, 1, 2, 1, 2, "origin (1, 1, 1) is given twice"},
        BrokenRecord{"OverlapByHalfATile", {{1, 2, "y 1: x 1; y 2: x 2"}}, 2, 1, 3, 1, 3,
                     "tiles (1, 1, 1) and (2, 2, 1) overlap"},
        BrokenRecord{"HangsOverTheEdge", {{1, 2, "y 1: x 1, 3"}, {2, 2, "y 1: x 2, 4"}}, 4, 1, 5, 1, 2,
                     "tile (4, 1, 2) does not rest on layer 1 at cell (5, 1)"},
        BrokenRecord{"HangsBelowTheLayerUnder", {{1, 1, "y 1: x 1"}, {2, 1, "y 2: x 1"}}, 2, 1, 2, 1, 3,
                     "tile (1, 2, 2) does not rest on layer 1 at cell (1, 3)"},
        BrokenRecord{"FloatsOverAGap", {{1, 2, "y 1: x 1, 3"}, {3, 2, "y 1: x 1, 3"}}, 4, 1, 4, 1, 2,
                     "does not rest on layer 2 at cell (1, 1)"},
        BrokenRecord{"LayerLinesOutOfOrder", {{2, 2, "y 1: x 1, 3"}, {1, 2, "y 1: x 1, 3"}}, 4, 1, 4, 1, 2,
                     "line 1 is layer 2, layers must run 1, 2, 3"},
        BrokenRecord{"RowOffTheArea", {{1, 2, "y 20: x 1, 3"}}, 2, 1, 4, 20, 21,
                     "origin (1, 20, 1) lies outside x 1..39, y 1..19, z 1..9"},
        BrokenRecord{"ColumnOffTheArea", {{1, 2, "y 1: x 38, 40"}}, 2, 38, 41, 1, 2,
                     "origin (40, 1, 1) lies outside x 1..39, y 1..19, z 1..9"},
        BrokenRecord{"LayerOffTheArea",
                     {{1, 1, "y 1: x 1"}, {2, 1, "y 1: x 1"}, {3, 1, "y 1: x 1"}, {4, 1, "y 1: x 1"},
                      {5, 1, "y 1: x 1"}, {6, 1, "y 1: x 1"}, {7, 1, "y 1: x 1"}, {8, 1, "y 1: x 1"},
                      {9, 1, "y 1: x 1"}, {10, 1, "y 1: x 1"}},
                     10, 1, 2, 1, 2, "origin (1, 1, 10) lies outside x 1..39, y 1..19, z 1..9"},
        BrokenRecord{"ColumnZero", {{1, 2, "y 1: x 0, 2"}}, 2, 0, 3, 1, 2, "origin (0, 1, 1) lies outside"},
        BrokenRecord{"SpanOneColumnShort", {{1, 2, "y 1: x 1, 3"}}, 2, 1, 3, 1, 2,
                     "the tiles cover columns 1 to 4, stated 1 to 3"},
        BrokenRecord{"SpanRowsShifted", {{1, 2, "y 3: x 1, 3"}}, 2, 1, 4, 1, 4,
                     "the tiles cover rows 3 to 4, stated 1 to 4"},
        BrokenRecord{"BadNotation", {{1, 2, "y 1: x 1-3"}}, 2, 1, 4, 1, 2, "layer 1: group \"y 1: x 1-3\""}),
    [](const testing::TestParamInfo<BrokenRecord>& p) { return std::string(p.param.name); });

TEST(CatalogCheck, ReportsMisplacedMenuItemsAndNames)
{
    std::vector<LayoutRecord> catalog(layoutCatalog().begin(), layoutCatalog().end());
    // "Баланс" and "Бесконечность" swap places in their submenu.
    std::swap(catalog[39].place, catalog[11].place);
    catalog[20].builder = "subGameL14";  // twice now, and at the wrong number
    catalog[45].menu = "Набор раскладов 2";
    const std::string problems = joined(checkCatalog(catalog));
    EXPECT_NE(problems.find("\"Баланс\" (40): stands in \"Набор раскладов 1\" at place 2"), std::string::npos)
        << problems;
    EXPECT_NE(problems.find("\"Бесконечность\" (12): stands in \"Набор раскладов 1\" at place 1"), std::string::npos);
    EXPECT_NE(problems.find("\"Вишня\" (21): builder subGameL14, expected subGameL15"), std::string::npos);
    EXPECT_NE(problems.find("builder subGameL14 used twice"), std::string::npos);
    EXPECT_NE(problems.find("\"Лабиринт\" (46): stands in \"Набор раскладов 2\""), std::string::npos);
}

// ---------------------------------------------------------------- lookups

TEST(Lookup, NumberBuilderAndMenuItemLeadToTheSameRecord)
{
    for (const LayoutRecord& r : layoutCatalog()) {
        EXPECT_EQ(&layoutByNumber(r.number), &r);
        EXPECT_EQ(layoutByBuilder(r.builder), &r) << r.builder;
        EXPECT_EQ(layoutByMenuItem(r.menuItem), &r) << r.menuItem;
    }
    EXPECT_EQ(layoutByMenuItem("mnuGameL40")->caption, "Лабиринт");
    EXPECT_EQ(layoutByMenuItem("mnuGame4")->caption, "Арена");
    EXPECT_EQ(layoutByBuilder("subGameL31")->caption, "Лестница");
}

TEST(Lookup, UnknownNamesAndNumbersFindNothing)
{
    EXPECT_EQ(layoutByBuilder("subGameL41"), nullptr);
    EXPECT_EQ(layoutByBuilder("mnuGame1"), nullptr);
    EXPECT_EQ(layoutByMenuItem("mnuGame7"), nullptr);
    EXPECT_EQ(layoutByMenuItem(""), nullptr);
    EXPECT_THROW(layoutByNumber(0), std::out_of_range);
    EXPECT_THROW(layoutByNumber(kLayoutCount + 1), std::out_of_range);
}

}  // namespace
}  // namespace plitar
