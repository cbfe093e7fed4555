// The rules of the game on the state held by modPlitar.
//
// Every walk of the board goes in scan order: layer 1..10, row 1..30, column
// 1..50 innermost. Most of the walks that the rules describe need only the
// occupied cells, so a list of them (and of the cell of every tile number) is
// kept beside the grids and rebuilt only when someone else has written the
// grids; the answers are the same as those of a full walk.
#include "board/modPlitar.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace plitar {

namespace {

constexpr int kXLast = Grid::kXMax, kYLast = Grid::kYMax, kZLast = Grid::kZMax;  // the playable range starts at 1

// Steps between neighbouring cells in the flat grid.
constexpr int kStepX = 1;
constexpr int kStepY = Grid::kWidth;
constexpr int kStepZ = Grid::kWidth * Grid::kHeight;

// A working list of face codes, indexed from 1 as the draw counts; taking an
// entry out moves the later ones down so the rest keep their order.
class FaceList {
public:
    void push(int16_t f) { items_[size_++] = f; }
    int size() const { return size_; }
    int16_t take(int index)  // 1-based
    {
        const int i = index - 1;
        const int16_t f = items_[i];
        std::copy(items_.begin() + i + 1, items_.begin() + size_, items_.begin() + i);
        --size_;
        return f;
    }

private:
    std::array<int16_t, kMaxTiles> items_{};
    int size_ = 0;
};

}  // namespace

// ---------------------------------------------------------------- the board

void modPlitar::subClear()
{
    aMap.clear();
    aIndex.clear();
    for (int n = 1; n <= kMaxTiles; ++n) {
        if (aLoaded[n] == 1) {
            aLoaded[n] = 0;
            host_.destroySprite(static_cast<int16_t>(n));
        }
    }
    nSel1 = 0;
    nSel2 = 0;
    nTotal = 0;
}

int16_t modPlitar::funDraw(int16_t k)
{
    if (k < 1)
        return 0;
    // Worked in double so that k x r stays below k for every r below 1 (in
    // single precision it can round up to k); a source that strays out of
    // [0, 1) is held inside the list too.
    const double r = static_cast<double>(host_.rnd());
    double i = std::floor(static_cast<double>(k) * r);
    if (!(i >= 0))
        i = 0;
    if (i > k - 1)
        i = k - 1;
    return static_cast<int16_t>(i + 1);
}

void modPlitar::subSet144()
{
    // The full set in the order the draws see it.
    FaceList pool;
    for (int copy = 0; copy < 4; ++copy)
        for (int f = 1; f <= 27; ++f)
            pool.push(static_cast<int16_t>(f));
    for (int copy = 0; copy < 4; ++copy)
        for (int f = 28; f <= 34; ++f)
            pool.push(static_cast<int16_t>(f));
    for (int f = 35; f <= 42; ++f)
        pool.push(static_cast<int16_t>(f));

    int count = 0;
    forEachPlayableCell([&](int cell, int, int, int) {
        if (aMap.atIndex(cell) != 0)
            ++count;
    });
    nTotal = static_cast<int16_t>(std::min(count, 32767));
    if (count % 2 != 0)
        host_.fault("Количество костей не делится на 2", "subSet144");
    // The working lists hold one set: a larger layout cannot be dealt.
    if (count > kMaxTiles)
        host_.fault("Количество костей больше " + std::to_string(kMaxTiles), "subSet144");

    const int half = count / 2;
    FaceList first, second;
    for (int j = 1; j <= half; ++j) {
        const int16_t f = pool.take(funDraw(static_cast<int16_t>(pool.size())));
        first.push(f);
        second.push(f);
    }

    // Tiles are numbered backwards along the scan order; the first half of the
    // cells takes the drawn faces in one random order, the second half in another.
    int t = count;
    forEachPlayableCell([&](int cell, int, int, int) {
        if (aMap.atIndex(cell) == 0)
            return;
        FaceList& list = t > half ? first : second;
        aMap.setIndex(cell, list.take(funDraw(static_cast<int16_t>(list.size()))));
        aIndex.setIndex(cell, static_cast<int16_t>(t));
        --t;
    });
}

// ------------------------------------------------- what the rules know of the grids

void modPlitar::markSynced()
{
    mapGen_ = aMap.generation();
    indexGen_ = aIndex.generation();
}

void modPlitar::syncTiles()
{
    if (mapGen_ == aMap.generation() && indexGen_ == aIndex.generation())
        return;
    occupied_.clear();
    tileSpot_.fill(Spot{});
    uniqueNumbers_ = true;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        const Spot here{cell, static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z)};
        if (aMap.atIndex(cell) != 0)
            occupied_.push_back(here);
        const int n = aIndex.atIndex(cell);
        if (n == 0)
            return;
        if (n < 1 || n > kMaxTiles || tileSpot_[n].cell >= 0)
            uniqueNumbers_ = false;
        else
            tileSpot_[n] = here;
    });
    markSynced();
}

modPlitar::Spot modPlitar::findTile(int16_t n)
{
    if (n >= 1 && n <= kMaxTiles) {
        syncTiles();
        return tileSpot_[n];
    }
    // A number no deal gives out: look for it the long way.
    Spot found;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        if (found.cell < 0 && aIndex.atIndex(cell) == n)
            found = Spot{cell, static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z)};
    });
    return found;
}

modPlitar::Spot modPlitar::needTile(int16_t n, const char* title)
{
    const Spot s = findTile(n);
    if (s.cell < 0)
        host_.fault("Кость не найдена", title);
    return s;
}

// Free when no tile of the next layer overlaps it, even by one cell, and no tile
// of its own layer touches its left side, or none touches its right side.
bool modPlitar::isFreeAt(const Spot& s) const
{
    const int x = s.x, y = s.y, z = s.z;
    if (x + 2 <= kXLast && y + 1 <= kYLast) {
        // Every cell looked at lies inside the grid: read it directly.
        const int c = s.cell;
        if (z < kZLast) {
            const int up = c + kStepZ;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (aMap.atIndex(up + dy * kStepY + dx * kStepX) != 0)
                        return false;
        }
        const auto sideOpen = [&](int side) {
            return aMap.atIndex(side - kStepY) == 0 && aMap.atIndex(side) == 0 && aMap.atIndex(side + kStepY) == 0;
        };
        return sideOpen(c - 2 * kStepX) || sideOpen(c + 2 * kStepX);
    }
    if (z < kZLast) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (aMap(x + dx, y + dy, z + 1) != 0)
                    return false;
    }
    const auto sideOpen = [&](int sx) {
        return aMap(sx, y - 1, z) == 0 && aMap(sx, y, z) == 0 && aMap(sx, y + 1, z) == 0;
    };
    return sideOpen(x - 2) || sideOpen(x + 2);
}

// -------------------------------------------------------- free tiles, open pairs

int16_t modPlitar::funEnSel(int16_t n)
{
    if (n == 0)
        return 0;
    return isFreeAt(needTile(n, "funEnSel")) ? 1 : 0;
}

int16_t modPlitar::funPairs()
{
    syncTiles();
    // Faces of the free tiles, counted by matching group: any two flowers match,
    // as do any two seasons; every other face matches only itself.
    std::array<int, kFaceCount + 1> perFace{};
    std::vector<int16_t> odd;  // codes no deal gives out; they match only themselves
    int flowers = 0, seasons = 0;
    for (const Spot& s : occupied_) {
        const int16_t n = aIndex.atIndex(s.cell);
        if (n == 0)
            continue;
        const Spot tile = (n >= 1 && n <= kMaxTiles) ? tileSpot_[n] : findTile(n);
        if (!isFreeAt(tile))
            continue;
        const int16_t f = aMap.atIndex(s.cell);
        if (isFlower(f))
            ++flowers;
        else if (isSeason(f))
            ++seasons;
        else if (f >= 1 && f <= kFaceCount)
            ++perFace[static_cast<std::size_t>(f)];
        else
            odd.push_back(f);
    }
    long long pairs = static_cast<long long>(flowers) * (flowers - 1) + static_cast<long long>(seasons) * (seasons - 1);
    for (int c : perFace)
        pairs += static_cast<long long>(c) * (c - 1);
    std::sort(odd.begin(), odd.end());
    for (std::size_t i = 0; i < odd.size();) {
        std::size_t j = i;
        while (j < odd.size() && odd[j] == odd[i])
            ++j;
        pairs += static_cast<long long>(j - i) * static_cast<long long>(j - i - 1);
        i = j;
    }
    return static_cast<int16_t>(std::min<long long>(pairs, 32767));
}

// ------------------------------------------------------ selection and removal

void modPlitar::subSetIndex(int16_t n)
{
    if (n == 0)
        host_.fault("Кость не указана", "subSetIndex");
    const Spot s = needTile(n, "subSetIndex");
    if (isTileSize(nSize))
        host_.setSpritePicture(n, TileLook::Selected, nSize, aMap.atIndex(s.cell));
}

void modPlitar::subRemIndex(int16_t n)
{
    if (n == 0)
        return;
    const Spot s = needTile(n, "subRemIndex");
    // The tile was free when it was selected and still is: never grey here.
    if (isTileSize(nSize))
        host_.setSpritePicture(n, TileLook::Normal, nSize, aMap.atIndex(s.cell));
}

int16_t modPlitar::funEnDel()
{
    if (nSel1 == 0 || nSel2 == 0)
        host_.fault("Кость не выделена", "funEnDel");
    const Spot a = findTile(nSel1);
    const Spot b = findTile(nSel2);
    const int16_t f1 = a.cell >= 0 ? aMap.atIndex(a.cell) : int16_t{0};
    const int16_t f2 = b.cell >= 0 ? aMap.atIndex(b.cell) : int16_t{0};
    return facesMatch(f1, f2) ? 1 : 0;
}

void modPlitar::subDelCur(int16_t n)
{
    if (n == 0)
        host_.fault("Кость не указана", "subDelCur");
    const Spot s = needTile(n, "subDelCur");
    const bool keepList = uniqueNumbers_;  // needTile synced the list for this n
    aMap.setIndex(s.cell, 0);
    if (n >= 1 && n <= kMaxTiles)
        aLoaded[n] = 0;
    aIndex.setIndex(s.cell, 0);
    if (keepList && n >= 1 && n <= kMaxTiles) {
        const auto it = std::find_if(occupied_.begin(), occupied_.end(),
                                     [&](const Spot& o) { return o.cell == s.cell; });
        if (it != occupied_.end())
            occupied_.erase(it);
        tileSpot_[n] = Spot{};
        markSynced();
    }
    host_.destroySprite(n);
}

int16_t modPlitar::funClick(int16_t n)
{
    if (funEnSel(n) == 0)
        return 0;  // a blocked tile: nothing at all
    if (nSel1 == 0) {
        nSel1 = n;
        subSetIndex(n);
        return 0;
    }
    if (nSel1 == n) {
        nSel1 = 0;
        subRemIndex(n);
        return 0;
    }
    nSel2 = n;
    subSetIndex(n);
    if (funEnDel() == 1) {
        funDelPair();
        return 1;
    }
    subRemIndex(nSel1);
    nSel1 = nSel2;
    nSel2 = 0;
    return 0;
}

int16_t modPlitar::funDelPair()
{
    subDelCur(nSel1);
    subDelCur(nSel2);
    nSel1 = 0;
    nSel2 = 0;
    subCaption();
    return funAutoSort();
}

// ---------------------------------------------------------- caption and shuffle

int16_t modPlitar::funTilesLeft() const
{
    return static_cast<int16_t>(std::count(aLoaded.begin() + 1, aLoaded.end(), int16_t{1}));
}

void modPlitar::subCaption()
{
    const int left = funTilesLeft();
    std::string text = "Плитар " + std::to_string(funPairs()) + " / " + std::to_string(left) + " / " +
                       std::to_string(nTotal);
    if (left == 0)
        text += " Победа!";
    host_.setCaption(text);
}

void modPlitar::subSort()
{
    nSel1 = 0;
    nSel2 = 0;
    syncTiles();
    FaceList faces;
    for (const Spot& s : occupied_)
        faces.push(aMap.atIndex(s.cell));
    // The faces change places; the occupied cells stay occupied.
    for (const Spot& s : occupied_)
        aMap.setIndex(s.cell, faces.take(funDraw(static_cast<int16_t>(faces.size()))));
    markSynced();
}

namespace {

// A shuffle that finds no open pair is tried again, this many times at most.
constexpr int kShuffleRetries = 100;

// Shuffles until an open pair exists, at most kShuffleRetries times, and
// answers how many shuffles it made; `open` tells whether a pair is open.
// The draws and the open-pair counts come in the same order whoever calls.
int sortUntilOpen(modPlitar& game, bool& open)
{
    int made = 0;
    while (!(open = game.funPairs() != 0) && made < kShuffleRetries) {
        game.subSort();
        ++made;
    }
    return made;
}

// The caption after shuffling, with the notice of whether it opened a pair.
void captionShuffled(modPlitar& game, bool open)
{
    game.subCaption();
    PlitarHost& host = game.host();
    host.setCaption(host.caption() + (open ? " Перемешано" : " Не перемешивается"));
}

bool noTileLeft(const modPlitar& game)
{
    return std::none_of(game.aLoaded.begin() + 1, game.aLoaded.end(), [](int16_t v) { return v != 0; });
}

}  // namespace

int16_t modPlitar::funAutoSort()
{
    if (!host_.autoSortChecked() || noTileLeft(*this))
        return 0;
    bool open = false;
    if (sortUntilOpen(*this, open) == 0)
        return 0;
    captionShuffled(*this, open);
    return 1;
}

int16_t modPlitar::funSort()
{
    if (noTileLeft(*this))
        return 0;
    subSort();  // even when a pair is open already
    bool open = false;
    const int made = 1 + sortUntilOpen(*this, open);
    captionShuffled(*this, open);
    return static_cast<int16_t>(made);
}

}  // namespace plitar
