// Random play against the real window: a player who presses anywhere on the
// board, double-clicks, uses every menu command and key, changes the options
// and starts layout after layout. Every event is sent as the window system
// would send it, and after every event the whole window is checked against the
// game state and against what the event should have done. A failing sequence
// can be shortened and replayed from its text.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/frmMain.h"

namespace plitar::events {

// One thing the player does. Presses are recorded as pixels of the board, so a
// recorded sequence means the same on any deal.
struct Event {
    enum Kind : char {
        Click = 'c',       // press and release at (a, b)
        Double = 'd',      // a double-click at (a, b): press, release, double press, release
        Key = 'k',         // a key press to the window; a = index into kKeys
        Menu = 'm',        // a menu command as the menu runs it; a = index into kMenuItems
        Layout = 'g',      // the layout item of catalog number a
        Size = 's',        // the size item of tile size a
    };
    Kind kind = Click;
    int a = 0;
    int b = 0;
};

std::string toText(const Event& e);
std::string toText(const std::vector<Event>& events);
// Parses what toText wrote; nullopt on a malformed word.
std::optional<std::vector<Event>> parseEvents(const std::string& text);

// The result of one sequence: where it first went wrong, and how.
struct Outcome {
    long failedAt = -1;  // index of the event after which a check failed; -1 when none did
    std::string problem;
};

// Runs events against a window made with a seed derived from `seed`. When
// Esc closes the window, a new one is made with the next derived seed, as a
// player would start the program again.
class EventRun {
public:
    explicit EventRun(uint32_t seed);
    ~EventRun();

    // Sends one event and checks everything; returns "" or the first problem.
    std::string apply(const Event& e);
    // An event that this player would do next, drawn from `rng` by the state.
    Event next(std::mt19937& rng);

    frmMain& window() { return *window_; }
    // Catalog numbers of the layouts played so far.
    const std::vector<bool>& layoutsPlayed() const { return played_; }
    int windowsMade() const { return windowsMade_; }
    long removals() const { return removals_; }
    long victories() const { return victories_; }

private:
    struct Expect;
    void makeWindow();
    std::string check(const Expect& ex);
    std::string press(QPoint p, bool doublePress, Expect& ex);

    uint32_t seed_;
    int windowsMade_ = 0;
    std::unique_ptr<frmMain> window_;
    bool closed_ = false;
    std::vector<bool> played_ = std::vector<bool>(47, false);
    long removals_ = 0;
    long victories_ = 0;

    // What the options and the marks must be: the player's own record.
    bool autoSort_ = true, gray_ = true, esc_ = true;
    int size_ = 56;
    int layout_ = 0;

    // The generator's state: a stretch of plain play, and the layouts still
    // to be chosen from the menu before every one has been.
    int playBudget_ = 0;
    std::vector<int> layoutsToChoose_;
};

// Runs `count` events drawn from `seed` on `run` (made with the same seed),
// collecting them in *events. Stops at the first problem.
Outcome runRandom(EventRun& run, uint32_t seed, long count, std::vector<Event>* events);
// Replays recorded events from a fresh window.
Outcome replay(uint32_t seed, const std::vector<Event>& events);
// The shortest prefix that fails, then single events dropped while the rest
// still fails, within `seconds`.
std::vector<Event> shrink(uint32_t seed, const std::vector<Event>& failing, double seconds);

// Calls `onBox` with the title and text of any message box the window shows
// (an internal fault), before the program ends as the fault demands.
void watchForBoxes(std::function<void(const std::string& title, const std::string& text)> onBox);

}  // namespace plitar::events
