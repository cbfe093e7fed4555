// The rules every layout record keeps; see LayoutCheck.h.

#include "maps/LayoutCheck.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string_view>
#include <tuple>

#include "board/Tiles.h"

namespace plitar {
namespace {

// The area the built-in layouts keep to. With it every footprint, and every
// cell the free-tile rule looks at around a tile, lies inside the grids.
constexpr int kXLast = 39, kYLast = 19, kZLast = 9;
constexpr int kSubmenuSize = 20;

std::string cell(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }
std::string cell(const Origin& o) { return "(" + std::to_string(o.x) + ", " + std::to_string(o.y) + ", " + std::to_string(o.z) + ")"; }

std::string prefix(const LayoutRecord& record)
{
    return "\"" + std::string(record.caption) + "\" (" + std::to_string(record.number) + "): ";
}

// Alphabetical order of Russian captions: letters compare case-blind, with ё
// right after е; a space comes before every letter.
std::vector<int> collationKey(std::string_view text)
{
    std::vector<int> key;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int cp = c;
        int len = 1;
        if (c >= 0xC0 && c < 0xE0 && i + 1 < text.size()) {
            cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            len = 2;
        }
        i += static_cast<std::size_t>(len);
        if (cp >= 0x0410 && cp <= 0x042F)  // А..Я
            cp += 0x20;
        if (cp == 0x0401)  // Ё
            cp = 0x0451;
        key.push_back(cp == 0x0451 ? 0x0435 * 2 + 1 : cp * 2);
    }
    return key;
}

}  // namespace

std::vector<std::string> checkLayout(const LayoutRecord& record)
{
    std::vector<std::string> problems;
    const std::string head = prefix(record);
    auto report = [&](const std::string& text) { problems.push_back(head + text); };

    std::vector<Origin> origins;
    int layerTotal = 0;
    for (std::size_t i = 0; i < record.layers.size(); ++i) {
        const LayerLine& line = record.layers[i];
        const std::string layer = "layer " + std::to_string(line.z);
        if (line.z != static_cast<int>(i) + 1)
            report("line " + std::to_string(i + 1) + " is " + layer + ", layers must run 1, 2, 3, ... from the bottom");
        std::string error;
        const std::vector<Origin> given = expandLayer(line, &error);
        if (!error.empty())
            report(layer + ": " + error);
        if (static_cast<int>(given.size()) != line.count)
            report(layer + ": the line says " + std::to_string(line.count) + " tiles, its groups give "
                   + std::to_string(given.size()));
        layerTotal += line.count;
        origins.insert(origins.end(), given.begin(), given.end());
    }

    if (layerTotal != record.tiles)
        report("the layers say " + std::to_string(layerTotal) + " tiles, the tile count is " + std::to_string(record.tiles));
    if (record.tiles % 2 != 0)
        report("odd tile count " + std::to_string(record.tiles));
    if (record.tiles > kMaxTiles || static_cast<int>(origins.size()) > kMaxTiles)
        report("more than " + std::to_string(kMaxTiles) + " tiles cannot be dealt");
    if (record.menu == "Игра" && record.tiles != kMaxTiles)
        report("a layout of the \"Игра\" menu has " + std::to_string(kMaxTiles) + " tiles, not "
               + std::to_string(record.tiles));

    std::set<std::tuple<int, int, int>> seen;
    for (const Origin& o : origins) {
        if (o.x < 1 || o.x > kXLast || o.y < 1 || o.y > kYLast || o.z < 1 || o.z > kZLast)
            report("origin " + cell(o) + " lies outside x 1..39, y 1..19, z 1..9");
        if (!seen.insert({o.x, o.y, o.z}).second)
            report("origin " + cell(o) + " is given twice");
    }

    // Overlap within a layer, once per pair of distinct origins.
    const std::vector<std::tuple<int, int, int>> sorted(seen.begin(), seen.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const auto [x, y, z] = sorted[i];
        for (std::size_t j = i + 1; j < sorted.size(); ++j) {
            const auto [x2, y2, z2] = sorted[j];
            if (z2 == z && std::abs(x2 - x) < 2 && std::abs(y2 - y) < 2)
                report("tiles " + cell(Origin{int16_t(x), int16_t(y), int16_t(z)}) + " and "
                       + cell(Origin{int16_t(x2), int16_t(y2), int16_t(z2)}) + " overlap");
        }
    }

    // Support: footprint cell (cx, cy) on layer z - 1 is covered by a tile
    // whose origin is at column cx - 1 or cx and row cy - 1 or cy.
    auto has = [&](int x, int y, int z) { return seen.count({x, y, z}) != 0; };
    for (const auto& [x, y, z] : seen) {
        if (z <= 1)
            continue;
        for (int cy = y; cy <= y + 1; ++cy)
            for (int cx = x; cx <= x + 1; ++cx) {
                const bool covered = has(cx - 1, cy - 1, z - 1) || has(cx, cy - 1, z - 1) || has(cx - 1, cy, z - 1)
                                     || has(cx, cy, z - 1);
                if (!covered)
                    report("tile " + cell(Origin{int16_t(x), int16_t(y), int16_t(z)}) + " does not rest on layer "
                           + std::to_string(z - 1) + " at cell " + cell(cx, cy));
            }
    }

    // Span: a tile at origin x covers columns x and x + 1, rows y and y + 1.
    if (!origins.empty()) {
        int xMin = origins[0].x, xMax = origins[0].x, yMin = origins[0].y, yMax = origins[0].y;
        for (const Origin& o : origins) {
            xMin = std::min<int>(xMin, o.x);
            xMax = std::max<int>(xMax, o.x);
            yMin = std::min<int>(yMin, o.y);
            yMax = std::max<int>(yMax, o.y);
        }
        if (xMin != record.xFirst || xMax + 1 != record.xLast)
            report("the tiles cover columns " + std::to_string(xMin) + " to " + std::to_string(xMax + 1) + ", stated "
                   + std::to_string(record.xFirst) + " to " + std::to_string(record.xLast));
        if (yMin != record.yFirst || yMax + 1 != record.yLast)
            report("the tiles cover rows " + std::to_string(yMin) + " to " + std::to_string(yMax + 1) + ", stated "
                   + std::to_string(record.yFirst) + " to " + std::to_string(record.yLast));
    } else {
        report("no tiles");
    }
    return problems;
}

std::vector<std::string> checkCatalog(std::span<const LayoutRecord> catalog)
{
    std::vector<std::string> problems;
    std::set<std::string_view> builders, items;
    std::vector<const LayoutRecord*> submenu;
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const LayoutRecord& r = catalog[i];
        const std::string head = prefix(r);
        const int number = static_cast<int>(i) + 1;
        if (r.number != number)
            problems.push_back(head + "stands at place " + std::to_string(number) + " of the catalog");
        const std::string suffix = number <= 6 ? std::to_string(number) : "L" + std::to_string(number - 6);
        if (r.builder != "subGame" + suffix)
            problems.push_back(head + "builder " + std::string(r.builder) + ", expected subGame" + suffix);
        if (r.menuItem != "mnuGame" + suffix)
            problems.push_back(head + "menu item " + std::string(r.menuItem) + ", expected mnuGame" + suffix);
        if (!builders.insert(r.builder).second)
            problems.push_back(head + "builder " + std::string(r.builder) + " used twice");
        if (!items.insert(r.menuItem).second)
            problems.push_back(head + "menu item " + std::string(r.menuItem) + " used twice");
        if (number <= 6) {
            if (r.menu != "Игра" || r.place != number)
                problems.push_back(head + "expected in \"Игра\" at place " + std::to_string(number));
        } else {
            submenu.push_back(&r);
        }
    }
    std::stable_sort(submenu.begin(), submenu.end(), [](const LayoutRecord* a, const LayoutRecord* b) {
        return collationKey(a->caption) < collationKey(b->caption);
    });
    for (std::size_t i = 0; i < submenu.size(); ++i) {
        const LayoutRecord& r = *submenu[i];
        const std::string menu = i < kSubmenuSize ? "Набор раскладов 1" : "Набор раскладов 2";
        const int place = static_cast<int>(i % kSubmenuSize) + 1;
        if (r.menu != menu || r.place != place)
            problems.push_back(prefix(r) + "stands in \"" + std::string(r.menu) + "\" at place " + std::to_string(r.place)
                               + ", alphabetical order puts it in \"" + menu + "\" at place " + std::to_string(place));
    }
    return problems;
}

}  // namespace plitar
