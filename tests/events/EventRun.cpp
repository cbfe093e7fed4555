#include "EventRun.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "maps/modMaps.h"
#include "view/Geometry.h"

namespace plitar::events {

namespace {

struct KeyEntry {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
};
// PageUp, PageDown and Esc go to the key handler, the function keys to their
// menu items; the shift state must change nothing.
const std::array<KeyEntry, 8> kKeys{{
    {"PageUp", Qt::Key_PageUp, Qt::NoModifier},
    {"PageDown", Qt::Key_PageDown, Qt::NoModifier},
    {"Esc", Qt::Key_Escape, Qt::NoModifier},
    {"F1", Qt::Key_F1, Qt::NoModifier},
    {"F2", Qt::Key_F2, Qt::NoModifier},
    {"F3", Qt::Key_F3, Qt::NoModifier},
    {"ShiftPageUp", Qt::Key_PageUp, Qt::ShiftModifier},
    {"ShiftPageDown", Qt::Key_PageDown, Qt::ShiftModifier},
}};
enum KeyIndex { kPageUp, kPageDown, kEsc, kF1, kF2, kF3, kShiftPageUp, kShiftPageDown };

// Every menu command but the layout and size items, which carry their own
// numbers. "Набор раскладов 3" has no action: choosing it must change nothing.
const std::array<const char*, 7> kMenuItems{
    "mnuSort", "mnuReNew", "mnuGameRndL", "mnuAutoSort", "mnuGray", "mnuESC", "mnuGameL41L60"};
enum MenuIndex { mSort, mReNew, mGameRndL, mAutoSort, mGray, mESC, mSet3 };

const char* const kVictory = " Победа!";
const char* const kShuffled = " Перемешано";
const char* const kStuck = " Не перемешивается";

uint32_t windowSeed(uint32_t seed, int k)
{
    return seed * 2654435761u + static_cast<uint32_t>(k) * 40503u + 1u;
}

// ---------------------------------------------------------------- reading the board

struct Tile {
    int16_t n, x, y, z, face;
    bool free;
    int cell;  // flat grid index
};

// Everything the checks need, read once from the grids with the rules written
// out again here, independently of the game's own fast versions.
struct Snapshot {
    std::vector<Tile> tiles;                 // scan order
    std::array<int, kMaxTiles + 1> where{};  // tile number -> index into tiles + 1; 0 when absent
    std::array<int, kFaceCount + 1> faces{};
    int pairs = 0;
    std::string problem;

    const Tile* tile(int n) const
    {
        if (n < 1 || n > kMaxTiles || where[static_cast<size_t>(n)] == 0)
            return nullptr;
        return &tiles[static_cast<size_t>(where[static_cast<size_t>(n)] - 1)];
    }
    int left() const { return static_cast<int>(tiles.size()); }
};

bool freeAt(const modPlitar& g, int x, int y, int z)
{
    if (z < 10)
        for (int j = y - 1; j <= y + 1; ++j)
            for (int i = x - 1; i <= x + 1; ++i)
                if (g.aMap(i, j, z + 1) != 0)
                    return false;
    auto sideOpen = [&](int col) {
        return g.aMap(col, y - 1, z) == 0 && g.aMap(col, y, z) == 0 && g.aMap(col, y + 1, z) == 0;
    };
    return sideOpen(x - 2) || sideOpen(x + 2);
}

int matchClass(int face) { return isFlower(face) ? 35 : isSeason(face) ? 39 : face; }

Snapshot readBoard(const modPlitar& g)
{
    Snapshot s;
    std::ostringstream bad;
    for (int z = Grid::kZMin; z <= Grid::kZMax; ++z)
        for (int y = Grid::kYMin; y <= Grid::kYMax; ++y)
            for (int x = Grid::kXMin; x <= Grid::kXMax; ++x) {
                const int16_t f = g.aMap(x, y, z), n = g.aIndex(x, y, z);
                if (f == 0 && n == 0)
                    continue;
                if (x < 1 || y < 1 || z < 1) {
                    bad << "guard cell (" << x << "," << y << "," << z << ") holds aMap " << f << ", aIndex " << n;
                    s.problem = bad.str();
                    return s;
                }
                if ((f == 0) != (n == 0) || f < 0 || f > kFaceCount || n < 0 || n > kMaxTiles) {
                    bad << "cell (" << x << "," << y << "," << z << ") holds aMap " << f << ", aIndex " << n;
                    s.problem = bad.str();
                    return s;
                }
                if (s.where[static_cast<size_t>(n)]) {
                    bad << "tile number " << n << " stands in two cells";
                    s.problem = bad.str();
                    return s;
                }
                s.tiles.push_back({n, static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z), f,
                                   freeAt(g, x, y, z), Grid::indexOf(x, y, z)});
                s.where[static_cast<size_t>(n)] = static_cast<int>(s.tiles.size());
                ++s.faces[static_cast<size_t>(f)];
            }
    std::array<int, kFaceCount + 1> freeByClass{};
    for (const Tile& t : s.tiles)
        if (t.free)
            ++freeByClass[static_cast<size_t>(matchClass(t.face))];
    for (int k : freeByClass)
        s.pairs += k * (k - 1);
    return s;
}

std::string countsCaption(const Snapshot& s, int total)
{
    return "Плитар " + std::to_string(s.pairs) + " / " + std::to_string(s.left()) + " / " + std::to_string(total);
}

}  // namespace

// ---------------------------------------------------------------- text of events

std::string toText(const Event& e)
{
    switch (e.kind) {
    case Event::Click:
    case Event::Double:
        return std::string(1, static_cast<char>(e.kind)) + std::to_string(e.a) + "," + std::to_string(e.b);
    case Event::Key: return "k" + std::string(kKeys[static_cast<size_t>(e.a)].name);
    case Event::Menu: return "m" + std::string(kMenuItems[static_cast<size_t>(e.a)]);
    case Event::Layout: return "g" + std::to_string(e.a);
    case Event::Size: return "s" + std::to_string(e.a);
    }
    return "?";
}

std::string toText(const std::vector<Event>& events)
{
    std::string out;
    for (const Event& e : events) {
        if (!out.empty())
            out += ' ';
        out += toText(e);
    }
    return out;
}

std::optional<std::vector<Event>> parseEvents(const std::string& text)
{
    std::vector<Event> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        Event e;
        const std::string rest = word.substr(1);
        switch (word[0]) {
        case 'c':
        case 'd': {
            e.kind = static_cast<Event::Kind>(word[0]);
            if (std::sscanf(rest.c_str(), "%d,%d", &e.a, &e.b) != 2)
                return std::nullopt;
            break;
        }
        case 'k': {
            e.kind = Event::Key;
            auto it = std::find_if(kKeys.begin(), kKeys.end(), [&](const KeyEntry& k) { return rest == k.name; });
            if (it == kKeys.end())
                return std::nullopt;
            e.a = static_cast<int>(it - kKeys.begin());
            break;
        }
        case 'm': {
            e.kind = Event::Menu;
            auto it = std::find(kMenuItems.begin(), kMenuItems.end(), rest);
            if (it == kMenuItems.end())
                return std::nullopt;
            e.a = static_cast<int>(it - kMenuItems.begin());
            break;
        }
        case 'g':
        case 's': {
            e.kind = static_cast<Event::Kind>(word[0]);
            e.a = std::atoi(rest.c_str());
            const bool ok = e.kind == Event::Layout ? e.a >= 1 && e.a <= kLayoutCount : isTileSize(e.a);
            if (!ok)
                return std::nullopt;
            break;
        }
        default: return std::nullopt;
        }
        out.push_back(e);
    }
    return out;
}

// ---------------------------------------------------------------- expectations

// What one event must have done, stated before it is sent.
struct EventRun::Expect {
    enum class Notice {
        Same,        // the caption is exactly what it was
        AfterGame,   // a fresh deal, perhaps shuffled at once by the option
        AfterPair,   // a pair removed: victory, or perhaps shuffled by the option
        AfterSort,   // shuffled on purpose: the notice says whether a pair opened
        Any,
    };
    Notice notice = Notice::Any;
    bool newGame = false;
    std::vector<int> layouts;  // the layouts that may carry the mark; empty: the one it had
    int sel1 = -1;             // nSel1 afterwards; -1 when not fixed
    std::vector<int16_t> removed;
    std::string caption;       // before
    Snapshot board;            // before
};

// ---------------------------------------------------------------- the run

EventRun::EventRun(uint32_t seed) : seed_(seed) { makeWindow(); }
EventRun::~EventRun() = default;

void EventRun::makeWindow()
{
    window_.reset();
    frmMainOptions o;
    o.seed = windowSeed(seed_, windowsMade_++);
    window_ = std::make_unique<frmMain>(o);
    window_->show();
    window_->activateWindow();
    (void)QTest::qWaitForWindowActive(window_.get());
    closed_ = false;
    autoSort_ = gray_ = esc_ = true;
    size_ = 56;
    layout_ = window_->currentLayout();
}

std::string EventRun::check(const Expect& ex)
{
    frmMain& w = *window_;
    const modPlitar& g = w.game();
    const BoardView& b = *w.board();
    std::ostringstream out;
    const Snapshot s = readBoard(g);
    if (!s.problem.empty())
        return s.problem;

    // The counts and the selection.
    if (g.nTotal < 0 || g.nTotal > kMaxTiles || g.nTotal % 2 != 0 || s.left() > g.nTotal)
        return "nTotal " + std::to_string(g.nTotal) + " with " + std::to_string(s.left()) + " tiles on the board";
    for (int n = 1; n <= kMaxTiles; ++n) {
        const bool on = s.where[static_cast<size_t>(n)] != 0;
        if (g.aLoaded[static_cast<size_t>(n)] != (on ? 1 : 0)) {
            out << "aLoaded(" << n << ") = " << g.aLoaded[static_cast<size_t>(n)] << " with the tile "
                << (on ? "on" : "off") << " the board";
            return out.str();
        }
        if (b.spriteExists(n) != on) {
            out << "sprite " << n << (on ? " missing" : " exists without its tile");
            return out.str();
        }
    }
    if (g.nSel2 != 0)
        return "nSel2 = " + std::to_string(g.nSel2) + " at rest";
    if (g.nSel1 != 0) {
        const Tile* t = s.tile(g.nSel1);
        if (!t || !t->free)
            return "the selected tile " + std::to_string(g.nSel1) + (t ? " is blocked" : " is not on the board");
    }
    if (ex.sel1 >= 0 && g.nSel1 != ex.sel1)
        return "nSel1 = " + std::to_string(g.nSel1) + ", expected " + std::to_string(ex.sel1);

    // A deal holds pairs of faces drawn from the set, and removal takes
    // matching pairs: every match class stays even, within its copies.
    for (int f = 1; f <= kFaceCount; ++f) {
        const int limit = isFlower(f) || isSeason(f) ? 2 : 8;
        if (s.faces[static_cast<size_t>(f)] > limit || (f < 35 && s.faces[static_cast<size_t>(f)] % 2 != 0))
            return "face " + std::to_string(f) + " on " + std::to_string(s.faces[static_cast<size_t>(f)]) + " tiles";
    }
    int flowers = 0, seasons = 0;
    for (int f = 35; f <= 38; ++f)
        flowers += s.faces[static_cast<size_t>(f)];
    for (int f = 39; f <= 42; ++f)
        seasons += s.faces[static_cast<size_t>(f)];
    if (flowers % 2 != 0 || seasons % 2 != 0)
        return "an odd number of flowers or seasons";

    // Within one game tiles keep their cells and numbers, and faces only move
    // between them; a removal takes exactly the pair.
    if (!ex.newGame) {
        std::vector<int16_t> kept;
        for (const Tile& t : ex.board.tiles)
            if (std::find(ex.removed.begin(), ex.removed.end(), t.n) == ex.removed.end())
                kept.push_back(t.n);
        if (static_cast<int>(kept.size()) != s.left())
            return std::to_string(s.left()) + " tiles left, expected " + std::to_string(kept.size());
        auto faces = ex.board.faces;
        for (int16_t n : ex.removed)
            --faces[static_cast<size_t>(ex.board.tile(n)->face)];
        for (int16_t n : kept) {
            const Tile* now = s.tile(n);
            const Tile* was = ex.board.tile(n);
            if (!now || now->cell != was->cell)
                return "tile " + std::to_string(n) + " left its cell";
        }
        if (faces != s.faces)
            return "the faces on the board changed";
    } else {
        const int layout = w.currentLayout();
        if (layout >= 1 && (g.nTotal != layoutByNumber(layout).tiles || s.left() != g.nTotal))
            return "a new game of layout " + std::to_string(layout) + " holds " + std::to_string(s.left()) + " of " +
                   std::to_string(g.nTotal) + " tiles";
        if (g.nSel1 != 0)
            return "a new game starts with a selection";
    }

    // Every sprite on the pixel of its cell, with the picture of the display rule.
    const SizeGeometry* geo = geometryOf(g.nSize);
    if (!geo || g.nSizeOld != g.nSize)
        return "nSize " + std::to_string(g.nSize) + ", nSizeOld " + std::to_string(g.nSizeOld);
    const bool grayOn = w.item("mnuGray")->isChecked();
    for (const Tile& t : s.tiles) {
        const QPoint pos(cellLeft(*geo, t.x, t.y, t.z), cellTop(*geo, t.x, t.y, t.z));
        const TileLook look = t.n == g.nSel1          ? TileLook::Selected
                              : grayOn && !t.free ? TileLook::Grey
                                                  : TileLook::Normal;
        if (!b.spriteVisible(t.n) || b.spritePos(t.n) != pos || g.aLeft(t.x, t.y, t.z) != pos.x() ||
            g.aTop(t.x, t.y, t.z) != pos.y()) {
            out << "sprite " << t.n << " of cell (" << t.x << "," << t.y << "," << t.z << ") "
                << (b.spriteVisible(t.n) ? "shown" : "hidden") << " at (" << b.spritePos(t.n).x() << ","
                << b.spritePos(t.n).y() << "), cell pixel (" << pos.x() << "," << pos.y() << ")";
            return out.str();
        }
        if (b.spritePicture(t.n) != &w.pictures().picture(look, g.nSize, t.face)) {
            const char* name = look == TileLook::Selected ? "selected" : look == TileLook::Grey ? "grey" : "normal";
            out << "sprite " << t.n << " does not show the " << name << " picture of face " << t.face << " at size "
                << g.nSize;
            return out.str();
        }
    }
    if (static_cast<int>(b.stack().size()) != s.left())
        return std::to_string(b.stack().size()) + " sprites in the stack for " + std::to_string(s.left()) + " tiles";
    // Sprites are made in tile-number order, each beneath the ones before:
    // the smaller number lies on top, whatever was removed since.
    if (!std::is_sorted(b.stack().begin(), b.stack().end()))
        return "the sprites are stacked out of their order";

    // The caption says what the board says.
    const std::string title = w.windowTitle().toStdString();
    const std::string counts = countsCaption(s, g.nTotal);
    if (title.compare(0, counts.size(), counts) != 0)
        return "caption \"" + title + "\", the board says \"" + counts + "\"";
    const std::string notice = title.substr(counts.size());
    const bool valid = s.left() == 0 ? notice == kVictory
                                      : notice.empty() || (notice == kShuffled && s.pairs > 0) ||
                                            (notice == kStuck && s.pairs == 0);
    if (!valid)
        return "caption \"" + title + "\" ends wrongly";
    using N = Expect::Notice;
    const std::string afterShuffle = s.pairs > 0 ? kShuffled : kStuck;
    const std::string afterOption = !autoSort_ ? "" : s.pairs == 0 ? kStuck : notice;  // "" or " Перемешано"
    bool right = true;
    switch (ex.notice) {
    case N::Same: right = title == ex.caption; break;
    case N::AfterGame: right = notice == afterOption; break;
    case N::AfterPair: right = s.left() == 0 || notice == afterOption; break;
    case N::AfterSort: right = notice == afterShuffle; break;
    case N::Any: break;
    }
    if (!right)
        return "caption \"" + title + "\" after \"" + ex.caption + "\"";

    // The marks.
    int layouts = 0;
    for (int k = 1; k <= kLayoutCount; ++k)
        layouts += w.layoutItem(k)->isChecked();
    const int layout = w.currentLayout();
    if (layouts != 1)
        return std::to_string(layouts) + " layout items carry the mark";
    if (ex.layouts.empty() ? layout != layout_
                           : std::find(ex.layouts.begin(), ex.layouts.end(), layout) == ex.layouts.end())
        return "layout " + std::to_string(layout) + " carries the mark, expected " +
               (ex.layouts.empty() ? std::to_string(layout_) : "another");
    layout_ = layout;
    played_[static_cast<size_t>(layout)] = true;
    int sizes = 0;
    for (int sz : kTileSizes)
        sizes += w.sizeItem(sz)->isChecked();
    if (sizes != 1 || !w.sizeItem(g.nSize)->isChecked() || g.nSize != size_)
        return "size marks do not match nSize " + std::to_string(g.nSize) + " (the player chose " +
               std::to_string(size_) + ")";
    if (w.item("mnuAutoSort")->isChecked() != autoSort_ || grayOn != gray_ || w.item("mnuESC")->isChecked() != esc_)
        return "an option's mark is not what the player set";
    if (!w.isVisible())
        return "the window is closed";
    return {};
}

// One press and release on the board at p, the press a double-click's second
// one when `doublePress`. States beforehand what the click rules must do.
std::string EventRun::press(QPoint p, bool doublePress, Expect& ex)
{
    frmMain& w = *window_;
    modPlitar& g = w.game();
    ex.board = readBoard(g);
    ex.caption = w.windowTitle().toStdString();
    ex.notice = Expect::Notice::Same;
    ex.sel1 = g.nSel1;
    ex.removed.clear();
    const int n = w.board()->spriteAt(p);
    const Tile* t = ex.board.tile(n);
    const Tile* sel = ex.board.tile(g.nSel1);
    if (n == 0) {
        if (!doublePress)
            ex.sel1 = 0;  // a click on the background drops the selection
    } else if (!t) {
        return "sprite " + std::to_string(n) + " under the pointer has no tile";
    } else if (!t->free) {
        // a blocked tile: nothing at all
    } else if (g.nSel1 == 0) {
        ex.sel1 = n;
    } else if (g.nSel1 == n) {
        ex.sel1 = 0;
    } else if (sel && facesMatch(sel->face, t->face)) {
        ex.sel1 = 0;
        ex.removed = {g.nSel1, static_cast<int16_t>(n)};
        ex.notice = Expect::Notice::AfterPair;
    } else {
        ex.sel1 = n;
    }
    if (doublePress)
        QTest::mouseDClick(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    else
        QTest::mousePress(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    QCoreApplication::processEvents();  // the repaint the window system would ask for
    if (!ex.removed.empty()) {
        ++removals_;
        victories_ += ex.board.left() == 2;
    }
    return check(ex);
}

std::string EventRun::apply(const Event& e)
{
    frmMain& w = *window_;
    modPlitar& g = w.game();
    Expect ex;
    if (e.kind == Event::Click || e.kind == Event::Double) {
        const QPoint p(e.a, e.b);
        std::string problem = press(p, false, ex);
        if (!problem.empty() || e.kind == Event::Click)
            return problem;
        return press(p, true, ex);  // the second press of the double-click
    }

    ex.board = readBoard(g);
    ex.caption = w.windowTitle().toStdString();
    ex.sel1 = g.nSel1;
    ex.notice = Expect::Notice::Same;
    const bool tilesLeft = ex.board.left() > 0;
    auto newGame = [&](std::vector<int> layouts) {
        ex.newGame = true;
        ex.layouts = std::move(layouts);
        ex.sel1 = 0;
        ex.notice = Expect::Notice::AfterGame;
    };
    auto sorted = [&] {  // a shuffle on request
        if (tilesLeft) {
            ex.sel1 = 0;
            ex.notice = Expect::Notice::AfterSort;
        }
    };
    const int next = layout_ == kLayoutCount ? 1 : layout_ + 1;
    const int prev = layout_ == 1 ? kLayoutCount : layout_ - 1;
    std::vector<int> drawn;
    for (int k = 7; k <= kLayoutCount; ++k)
        drawn.push_back(k);

    switch (e.kind) {
    case Event::Key: {
        const KeyEntry& k = kKeys[static_cast<size_t>(e.a)];
        switch (e.a) {
        case kPageUp:
        case kShiftPageUp: newGame({next}); break;
        case kPageDown:
        case kShiftPageDown: newGame({prev}); break;
        case kF1: sorted(); break;
        case kF2: newGame({layout_}); break;
        case kF3: newGame(drawn); break;
        case kEsc: break;
        default: break;
        }
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QTest::keyClick(target, k.key, k.mods);
        QCoreApplication::processEvents();
        if (e.a == kEsc && esc_) {
            // Esc with its option on ends the program: the player starts it again.
            if (w.isVisible())
                return "Esc left the window open while \"Esc - закрыть программу\" is on";
            makeWindow();
            Expect fresh;
            fresh.newGame = true;
            fresh.layouts = {1, 2, 4};
            fresh.sel1 = 0;
            fresh.notice = Expect::Notice::AfterGame;
            return check(fresh);
        }
        break;
    }
    case Event::Menu: {
        switch (e.a) {
        case mSort: sorted(); break;
        case mReNew: newGame({layout_}); break;
        case mGameRndL: newGame(drawn); break;
        case mAutoSort:
            autoSort_ = !autoSort_;
            if (autoSort_ && tilesLeft && ex.board.pairs == 0) {
                ex.sel1 = 0;
                ex.notice = Expect::Notice::AfterSort;
            }
            break;
        case mGray:
            gray_ = !gray_;
            ex.sel1 = 0;
            break;
        case mESC: esc_ = !esc_; break;
        case mSet3: break;
        default: break;
        }
        w.item(kMenuItems[static_cast<size_t>(e.a)])->trigger();
        break;
    }
    case Event::Layout:
        newGame({e.a});
        w.layoutItem(e.a)->trigger();
        break;
    case Event::Size:
        if (e.a != size_) {
            size_ = e.a;
            ex.sel1 = 0;
        }
        w.sizeItem(e.a)->trigger();
        break;
    default: return "unknown event";
    }
    QCoreApplication::processEvents();
    return check(ex);
}

// ---------------------------------------------------------------- the player

namespace {

QPoint randomPointIn(const QRect& r, std::mt19937& rng)
{
    std::uniform_int_distribution<int> xs(r.left(), r.right()), ys(r.top(), r.bottom());
    const int x = xs(rng);
    return {x, ys(rng)};
}

// A pixel of the board where sprite n is the topmost; nullopt when none shows.
std::optional<QPoint> visiblePixel(const BoardView& b, int n, std::mt19937& rng)
{
    const QRect r = b.spriteRect(n) & b.rect();
    if (r.isEmpty())
        return std::nullopt;
    for (int i = 0; i < 8; ++i) {
        const QPoint p = randomPointIn(r, rng);
        if (b.spriteAt(p) == n)
            return p;
    }
    for (int y = r.top(); y <= r.bottom(); y += 3)
        for (int x = r.left(); x <= r.right(); x += 3)
            if (b.spriteAt(QPoint(x, y)) == n)
                return QPoint(x, y);
    return std::nullopt;
}

}  // namespace

Event EventRun::next(std::mt19937& rng)
{
    frmMain& w = *window_;
    const modPlitar& g = w.game();
    const BoardView& b = *w.board();
    auto roll = [&](int k) { return static_cast<int>(rng() % static_cast<uint32_t>(k)); };

    auto pointEvent = [](Event::Kind kind, QPoint p) { return Event{kind, p.x(), p.y()}; };
    // A press anywhere on some sprite that shows on the board.
    auto onSprite = [&](Event::Kind kind) {
        std::vector<int16_t> shown;
        for (int16_t n : b.stack())
            if (b.spriteRect(n).intersects(b.rect()))
                shown.push_back(n);
        if (shown.empty())
            return pointEvent(kind, randomPointIn(b.rect(), rng));
        const int16_t n = shown[static_cast<size_t>(roll(static_cast<int>(shown.size())))];
        return pointEvent(kind, randomPointIn(b.spriteRect(n) & b.rect(), rng));
    };
    auto onBackground = [&] {
        QPoint p = randomPointIn(b.rect(), rng);
        for (int i = 0; i < 20 && b.spriteAt(p) != 0; ++i)
            p = randomPointIn(b.rect(), rng);
        return pointEvent(Event::Click, p);
    };
    // What a player who looks for pairs clicks: the partner of the selected
    // tile, or one tile of an open pair.
    auto playing = [&] {
        const Snapshot s = readBoard(g);
        std::vector<const Tile*> free;
        for (const Tile& t : s.tiles)
            if (t.free)
                free.push_back(&t);
        std::shuffle(free.begin(), free.end(), rng);
        const Tile* sel = s.tile(g.nSel1);
        for (const Tile* a : free) {
            if (sel && (a->n == sel->n || !facesMatch(a->face, sel->face)))
                continue;
            if (!sel && std::none_of(free.begin(), free.end(), [&](const Tile* o) {
                    return o != a && facesMatch(o->face, a->face);
                }))
                continue;
            if (auto p = visiblePixel(b, a->n, rng))
                return pointEvent(Event::Click, *p);
        }
        return onSprite(Event::Click);
    };
    auto chooseLayout = [&] {
        if (layoutsToChoose_.empty()) {
            for (int k = 1; k <= kLayoutCount; ++k)
                layoutsToChoose_.push_back(k);
            std::shuffle(layoutsToChoose_.begin(), layoutsToChoose_.end(), rng);
        }
        const int k = layoutsToChoose_.back();
        layoutsToChoose_.pop_back();
        return Event{Event::Layout, k, 0};
    };
    auto anySize = [&] { return Event{Event::Size, kTileSizes[roll(4)], 0}; };
    auto menu = [](int m) { return Event{Event::Menu, m, 0}; };
    auto key = [](int k) { return Event{Event::Key, k, 0}; };

    if (playBudget_ > 0) {
        // A stretch of play towards an empty board, with the odd other command.
        --playBudget_;
        const int r = roll(100);
        if (r < 80)
            return playing();
        if (r < 88)
            return onSprite(Event::Click);
        if (r < 91)
            return onSprite(Event::Double);
        if (r < 93)
            return onBackground();
        if (r < 95)
            return roll(2) ? menu(mSort) : key(kF1);
        if (r < 97)
            return anySize();
        if (r < 98)
            return menu(mGray);
        return menu(mAutoSort);
    }
    if (roll(100) < 2)
        playBudget_ = 50 + roll(400);

    const int r = roll(1000);
    if (r < 380)
        return onSprite(Event::Click);
    if (r < 470)
        return onSprite(Event::Double);
    if (r < 620)
        return playing();
    if (r < 660)
        return onBackground();
    if (r < 690)
        return key(roll(2) ? kPageUp : kShiftPageUp);
    if (r < 720)
        return key(roll(2) ? kPageDown : kShiftPageDown);
    if (r < 735)
        return key(kEsc);
    if (r < 750)
        return key(kF1);
    if (r < 760)
        return key(kF2);
    if (r < 770)
        return key(kF3);
    if (r < 795)
        return menu(mSort);
    if (r < 810)
        return menu(mReNew);
    if (r < 820)
        return menu(mGameRndL);
    if (r < 845)
        return menu(mAutoSort);
    if (r < 870)
        return menu(mGray);
    if (r < 885)
        return menu(mESC);
    if (r < 888)
        return menu(mSet3);
    if (r < 930)
        return chooseLayout();
    return anySize();
}

// ---------------------------------------------------------------- running, replaying, shrinking

Outcome runRandom(EventRun& run, uint32_t seed, long count, std::vector<Event>* events)
{
    std::mt19937 rng(seed ^ 0x5bd1e995u);
    for (long i = 0; i < count; ++i) {
        events->push_back(run.next(rng));
        std::string problem = run.apply(events->back());
        if (!problem.empty())
            return {i, problem};
    }
    return {};
}

Outcome replay(uint32_t seed, const std::vector<Event>& events)
{
    EventRun run(seed);
    for (size_t i = 0; i < events.size(); ++i) {
        std::string problem = run.apply(events[i]);
        if (!problem.empty())
            return {static_cast<long>(i), problem};
    }
    return {};
}

std::vector<Event> shrink(uint32_t seed, const std::vector<Event>& failing, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    Outcome o = replay(seed, failing);
    if (o.failedAt < 0)
        return failing;  // does not fail again from a fresh window
    std::vector<Event> cur(failing.begin(), failing.begin() + o.failedAt + 1);
    // Drop ever smaller runs of events, down to single ones, while it still fails.
    for (size_t chunk = std::max<size_t>(cur.size() / 2, 1);; chunk /= 2) {
        for (size_t end = cur.size() - 1; end > 0 && std::chrono::steady_clock::now() < deadline;) {
            const size_t from = end >= chunk ? end - chunk : 0;
            std::vector<Event> cand(cur.begin(), cur.begin() + static_cast<long>(from));
            cand.insert(cand.end(), cur.begin() + static_cast<long>(end), cur.end());
            const Outcome c = replay(seed, cand);
            if (c.failedAt >= 0) {
                cur.assign(cand.begin(), cand.begin() + c.failedAt + 1);
                end = std::min(from, cur.size() - 1);
            } else {
                end = from;
            }
        }
        if (chunk == 1 || std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return cur;
}

// ---------------------------------------------------------------- fault boxes

namespace {

class BoxWatch : public QObject {
public:
    explicit BoxWatch(std::function<void(const std::string&, const std::string&)> onBox) : onBox_(std::move(onBox)) {}

protected:
    bool eventFilter(QObject* obj, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(obj)) {
                onBox_(box->windowTitle().toStdString(), box->text().toStdString());
                // Let the fault end the program as it means to, with its exit code.
                QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Ok); }, Qt::QueuedConnection);
            }
        return false;
    }

private:
    std::function<void(const std::string&, const std::string&)> onBox_;
};

}  // namespace

void watchForBoxes(std::function<void(const std::string& title, const std::string& text)> onBox)
{
    static BoxWatch* watch = nullptr;
    if (!watch) {
        watch = new BoxWatch(std::move(onBox));
        watch->setParent(qApp);
        qApp->installEventFilter(watch);
    }
}

}  // namespace plitar::events
