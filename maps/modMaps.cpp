// Layer lines into tile origins, origins into aMap marks, and the 46 builders.

#include "maps/modMaps.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include "board/modPlitar.h"

namespace plitar {
namespace {

// Coordinates never exceed this in a sound line; it also keeps a mistyped run
// such as "1-9999" from expanding into a huge list before the check sees it.
constexpr int kMaxCoordinate = 99;

std::string_view trim(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool readNumber(std::string_view s, int& value)
{
    s = trim(s);
    if (s.empty())
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc{} && end == s.data() + s.size() && value >= 0 && value <= kMaxCoordinate;
}

// "1, 7, 9-15" -> 1, 7, 9, 11, 13, 15. A run steps by two and has at least
// three members (two values are always written out).
bool readList(std::string_view list, std::vector<int>& values, std::string& error)
{
    values.clear();
    while (true) {
        const auto comma = list.find(',');
        const std::string_view item = trim(list.substr(0, comma));
        const auto dash = item.find('-');
        if (dash == std::string_view::npos) {
            int v = 0;
            if (!readNumber(item, v)) {
                error = "\"" + std::string(item) + "\" is not a number";
                return false;
            }
            values.push_back(v);
        } else {
            int first = 0, last = 0;
            if (!readNumber(item.substr(0, dash), first) || !readNumber(item.substr(dash + 1), last)) {
                error = "\"" + std::string(item) + "\" is not a run";
                return false;
            }
            for (int v = first; v <= last; v += 2)
                values.push_back(v);
            if (last < first || (last - first) % 2 != 0 || last - first < 4) {
                error = "run \"" + std::string(item) + "\" must step by two over at least three values";
                return false;
            }
        }
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

}  // namespace

std::vector<Origin> expandLayer(const LayerLine& line, std::string* error)
{
    std::vector<Origin> origins;
    std::string fault;
    std::string_view rest = line.groups;
    std::vector<int> rows, columns;
    while (fault.empty()) {
        const auto semicolon = rest.find(';');
        const std::string_view group = trim(rest.substr(0, semicolon));
        const auto colon = group.find(':');
        if (!group.starts_with("y ") || colon == std::string_view::npos
            || !trim(group.substr(colon + 1)).starts_with("x ")) {
            fault = "group \"" + std::string(group) + "\" is not \"y rows: x columns\"";
            break;
        }
        if (!readList(group.substr(2, colon - 2), rows, fault)
            || !readList(trim(group.substr(colon + 1)).substr(2), columns, fault)) {
            fault = "group \"" + std::string(group) + "\": " + fault;
            break;
        }
        for (const int y : rows)
            for (const int x : columns)
                origins.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), line.z});
        if (semicolon == std::string_view::npos)
            break;
        rest.remove_prefix(semicolon + 1);
    }
    if (error)
        *error = fault;
    return origins;
}

std::vector<Origin> expandLayout(const LayoutRecord& record)
{
    std::vector<Origin> origins;
    for (const LayerLine& line : record.layers) {
        const auto layer = expandLayer(line);
        origins.insert(origins.end(), layer.begin(), layer.end());
    }
    return origins;
}

const LayoutRecord& layoutByNumber(int number)
{
    if (number < 1 || number > kLayoutCount)
        throw std::out_of_range("no layout number " + std::to_string(number));
    return layoutCatalog()[static_cast<std::size_t>(number - 1)];
}

const LayoutRecord* layoutByBuilder(std::string_view builder)
{
    for (const LayoutRecord& record : layoutCatalog())
        if (record.builder == builder)
            return &record;
    return nullptr;
}

const LayoutRecord* layoutByMenuItem(std::string_view menuItem)
{
    for (const LayoutRecord& record : layoutCatalog())
        if (record.menuItem == menuItem)
            return &record;
    return nullptr;
}

void buildLayout(modPlitar& game, const LayoutRecord& record)
{
    const std::vector<Origin> origins = expandLayout(record);
    // The sprite table and the dealer's lists hold kMaxTiles tiles; the dealer
    // only sees marks on the playable range.
    if (origins.size() > static_cast<std::size_t>(kMaxTiles))
        game.host().fault("Количество костей больше " + std::to_string(kMaxTiles), std::string(record.builder));
    for (const Origin& o : origins)
        if (o.x < 1 || o.x > 50 || o.y < 1 || o.y > 30 || o.z < 1 || o.z > 10)
            game.host().fault("Кость вне доски", std::string(record.builder));
    for (const Origin& o : origins)
        game.aMap.set(o.x, o.y, o.z, 1);
    game.subSet144();
}

void buildLayout(modPlitar& game, int number) { buildLayout(game, layoutByNumber(number)); }

void modMaps::subGame1() { build(1); }
void modMaps::subGame2() { build(2); }
void modMaps::subGame3() { build(3); }
void modMaps::subGame4() { build(4); }
void modMaps::subGame5() { build(5); }
void modMaps::subGame6() { build(6); }
void modMaps::subGameL1() { build(7); }
void modMaps::subGameL2() { build(8); }
void modMaps::subGameL3() { build(9); }
void modMaps::subGameL4() { build(10); }
void modMaps::subGameL5() { build(11); }
void modMaps::subGameL6() { build(12); }
void modMaps::subGameL7() { build(13); }
void modMaps::subGameL8() { build(14); }
void modMaps::subGameL9() { build(15); }
void modMaps::subGameL10() { build(16); }
void modMaps::subGameL11() { build(17); }
void modMaps::subGameL12() { build(18); }
void modMaps::subGameL13() { build(19); }
void modMaps::subGameL14() { build(20); }
void modMaps::subGameL15() { build(21); }
void modMaps::subGameL16() { build(22); }
void modMaps::subGameL17() { build(23); }
void modMaps::subGameL18() { build(24); }
void modMaps::subGameL19() { build(25); }
void modMaps::subGameL20() { build(26); }
void modMaps::subGameL21() { build(27); }
void modMaps::subGameL22() { build(28); }
void modMaps::subGameL23() { build(29); }
void modMaps::subGameL24() { build(30); }
void modMaps::subGameL25() { build(31); }
void modMaps::subGameL26() { build(32); }
void modMaps::subGameL27() { build(33); }
void modMaps::subGameL28() { build(34); }
void modMaps::subGameL29() { build(35); }
void modMaps::subGameL30() { build(36); }
void modMaps::subGameL31() { build(37); }
void modMaps::subGameL32() { build(38); }
void modMaps::subGameL33() { build(39); }
void modMaps::subGameL34() { build(40); }
void modMaps::subGameL35() { build(41); }
void modMaps::subGameL36() { build(42); }
void modMaps::subGameL37() { build(43); }
void modMaps::subGameL38() { build(44); }
void modMaps::subGameL39() { build(45); }
void modMaps::subGameL40() { build(46); }

}  // namespace plitar
