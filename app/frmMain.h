// The game's one window: the menu bar, the board with its sprites, the caption
// as the status line, start-up, every command and the keys. It owns the game
// state and is the world that the game state talks to.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>

#include "app/CaptionNotice.h"
#include "app/GameTiles.h"
#include "app/LaunchTokens.h"
#include "board/Host.h"
#include "board/modPlitar.h"
#include "maps/modMaps.h"
#include "view/BoardView.h"
#include "view/TilePictures.h"

class QAction;
class QActionGroup;
class QMenu;

namespace plitar {

struct frmMainOptions {
    // Fixed seed of the random source; the clock's time when empty.
    std::optional<uint32_t> seed;
};

class frmMain : public QMainWindow, public PlitarHost {
    Q_OBJECT
public:
    explicit frmMain(const frmMainOptions& options = {});
    ~frmMain() override;

    // --- start-up and closing ---
    void Form_Load();
    void Form_Unload();
    // Un-minimises, raises and activates the window: a second start asks for
    // it, handing over what its launcher gave it (activation token, startup id).
    void comeForward(const QVariantMap& platformData = {});
    // Uses what the launcher gave this start, once the window is shown: the
    // startup notification is completed (X), the token activates the window
    // as soon as it is on screen (Wayland).
    void completeLaunch(const LaunchTokens& launch);

    // --- the board view ---
    void subReSize();
    void subShow();
    void subRepaint();
    // Grows the window until the whole board is in view.
    void fitBoard();

    // --- commands ---
    void mnuSort_Click();
    void mnuReNew_Click();
    // The handler of the layout item of catalog number 1..46 (mnuGame1_Click ..
    // mnuGame6_Click are 1..6, mnuGameL1_Click .. mnuGameL40_Click are 7..46).
    void mnuGame_Click(int number);
    void mnuGameRndL_Click();
    void mnuAutoSort_Click();
    void mnuGray_Click();
    void mnuESC_Click();
    void mnuSize_Click(int size);  // mnuSize70_Click .. mnuSize49_Click: 70, 63, 56, 49
    void subUncheckMaps();
    void subNextMap();
    void subPrevMap();

    // --- play ---
    void im_Click(int16_t n);
    void im_DblClick(int16_t n);
    void Form_Click();
    // key: 27 Esc, 33 PageUp, 34 PageDown; the shift state is not used.
    void Form_KeyDown(int16_t keyCode, int16_t shift);

    // --- PlitarHost ---
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    bool autoSortChecked() const override;
    void setSpritePicture(int16_t n, TileLook look, int16_t size, int16_t face) override;
    void destroySprite(int16_t n) override;
    float rnd() override;
    [[noreturn]] void fault(const std::string& text, const std::string& title) override;

    // --- for checks and tests ---
    modPlitar& game() { return game_; }
    BoardView* board() const { return board_; }
    TilePictures& pictures() { return pictures_; }
    QAction* item(const char* name) const;     // a menu action by its item name
    QAction* layoutItem(int number) const;     // 1..46
    QAction* sizeItem(int size) const;         // 70, 63, 56, 49
    int currentLayout() const;                 // catalog number of the marked item, 0 if none
    // The picture the display rule gives tile n with face f.
    const QImage& displayPicture(int16_t face, int16_t n);

signals:
    // The window was closed: the program ends (main decides how).
    void unloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (frmMain::*handler)());
    QAction* addOption(QMenu* menu, const char* name, const QString& caption, bool checked);
    // Runs a handler for a checkable item whose mark the handler itself sets:
    // Qt has already flipped the mark on the click, so it is flipped back first.
    void connectMarked(QAction* action, std::function<void()> handler);
    // An exclusive group whose items show the one-of-many mark; choosing one
    // runs the handler with the item's data (a layout number or a tile size).
    QActionGroup* oneOfMany(void (frmMain::*handler)(int));

    frmMainOptions options_;
    modPlitar game_{*this};
    modMaps maps_{game_};
    GameTiles tiles_{game_};  // what the board asks about its tiles, for the keys and screen readers
    CaptionNotice captionNotice_{*this};  // tells screen readers each new caption
    TilePictures pictures_;
    std::mt19937 random_;

    BoardView* board_ = nullptr;
    QAction* mnuAutoSort_ = nullptr;
    QAction* mnuGray_ = nullptr;
    QAction* mnuESC_ = nullptr;
    std::array<QAction*, 46> layoutItems_{};
    std::array<QAction*, 4> sizeItems_{};  // 70, 63, 56, 49
};

}  // namespace plitar
