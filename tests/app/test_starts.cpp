// How games begin: start-up, the layout keys, "Заново", "Случайный расклад"
// and Esc, whatever was done with the menus before.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <functional>

#include "AppFixture.h"

namespace plitar::test {
namespace {

TEST(StartUp, ChoosesEachOfTheThreeStartLayoutsAboutAThird)
{
    std::map<int, int> seen;
    const int starts = 240;
    for (uint32_t seed = 1; seed <= starts; ++seed) {
        auto w = makeWindow(seed * 7919u);
        ++seen[w->currentLayout()];
        ASSERT_EQ(w->game().nSize, 56);
        ASSERT_TRUE(w->item("mnuSize56")->isChecked());
    }
    EXPECT_EQ(seen.size(), 3u);
    for (int k : {1, 2, 4})
        EXPECT_NEAR(seen[k], starts / 3, 25) << "layout " << k;  // about 3.5 sigma
    EXPECT_EQ(seen.count(3), 0u);
}

// A deal without an open pair is shuffled at once while the option is on; with
// it off, the same deal stays as dealt and the caption shows no pair.
TEST(StartUp, DealWithoutOpenPairIsShuffledOnlyWithTheOption)
{
    const int layout = 7;  // "Простое начало": 20 tiles, often dealt shut
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        auto on = makeWindow(seed);
        on->layoutItem(layout)->trigger();
        if (!on->windowTitle().endsWith(" Перемешано"))
            continue;
        expectViewMatchesGame(*on);
        auto off = makeWindow(seed);
        off->item("mnuAutoSort")->trigger();
        off->layoutItem(layout)->trigger();
        EXPECT_EQ(off->windowTitle(), "Плитар 0 / 20 / 20");
        expectViewMatchesGame(*off);
        return;
    }
    FAIL() << "no seed dealt layout " << layout << " without an open pair";
}

using StartTest = WindowTest;

struct PageCase {
    int from;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int to;
};

TEST_F(StartTest, PageKeysStepThroughTheCatalog)
{
    const PageCase cases[] = {
        {46, Qt::Key_PageUp, Qt::NoModifier, 1},   {1, Qt::Key_PageDown, Qt::NoModifier, 46},
        {6, Qt::Key_PageUp, Qt::NoModifier, 7},    {31, Qt::Key_PageUp, Qt::NoModifier, 32},
        {7, Qt::Key_PageDown, Qt::NoModifier, 6},  {6, Qt::Key_PageUp, Qt::ShiftModifier, 7},
        {32, Qt::Key_PageDown, Qt::ControlModifier, 31},
    };
    for (const auto& c : cases) {
        start(c.from);
        QTest::keyClick(&w(), c.key, c.mods);
        EXPECT_EQ(w().currentLayout(), c.to) << "from " << c.from;
        expectViewMatchesGame(w());
    }
}

// "Заново" deals the same layout anew and touches no mark.
TEST_F(StartTest, RestartKeepsLayoutOptionsAndSize)
{
    start(36);
    w().item("mnuGray")->trigger();
    w().item("mnuESC")->trigger();
    w().item("mnuSize63")->trigger();
    auto marks = [&] {
        std::vector<std::string> out;
        for (QAction* a : w().findChildren<QAction*>())
            if (a->isChecked())
                out.push_back(a->objectName().toStdString());
        return out;
    };
    const auto before = marks();
    int sameDeals = 0;
    for (int i = 0; i < 3; ++i) {
        std::vector<int16_t> faces;
        for (int16_t n : tilesOnBoard(g())) {
            int x, y, z;
            cellOf(g(), n, x, y, z);
            faces.push_back(g().aMap(x, y, z));
        }
        clickTile(w(), openPair(g()).first ? openPair(g()).first : tilesOnBoard(g()).front());
        QTest::keyClick(&w(), Qt::Key_F2);
        EXPECT_EQ(marks(), before);
        EXPECT_EQ(w().currentLayout(), 36);
        EXPECT_EQ(g().nSize, 63);
        EXPECT_EQ(g().nSel1, 0);
        EXPECT_EQ(g().funTilesLeft(), g().nTotal);
        expectViewMatchesGame(w());
        std::vector<int16_t> after;
        for (int16_t n : tilesOnBoard(g())) {
            int x, y, z;
            cellOf(g(), n, x, y, z);
            after.push_back(g().aMap(x, y, z));
        }
        sameDeals += after == faces;
    }
    EXPECT_LT(sameDeals, 3);  // the faces are dealt anew
}

TEST_F(StartTest, RandomLayoutComesFromTheTwoSets)
{
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(&w(), Qt::Key_F3);
        const int k = w().currentLayout();
        ASSERT_GE(k, 7);
        ASSERT_LE(k, 46);
        seen.insert(k);
    }
    EXPECT_GT(seen.size(), 30u);
}

TEST_F(StartTest, EscClosesOnlyWhileItsOptionIsOn)
{
    QSignalSpy closed(&w(), &frmMain::unloaded);
    QAction* esc = w().item("mnuESC");
    esc->trigger();  // off
    QTest::keyClick(&w(), Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(w().isVisible());
    esc->trigger();  // on again
    QTest::keyClick(&w(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(w().isVisible());
}


// Keys as the keyboard sends them: to the window system, which hands them to
// an open menu, the menu bar or the window, whichever holds the keyboard.
void press(frmMain& w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(w.windowHandle(), key, mods);
}

void openMenu(frmMain& w, const char* name)
{
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(w.item(name)).center());
}

void tapAlt(frmMain& w)
{
    QTest::keyPress(w.windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(w.windowHandle(), Qt::Key_Alt, Qt::NoModifier);
}

// Whatever was done with the menus before, Esc, PageUp and PageDown reach the
// key handler once no menu is open.
TEST(MenuKeys, KeysReachTheHandlerOnceNoMenuIsOpen)
{
    struct Before {
        const char* what;
        std::function<void(frmMain&)> act;
    };
    const Before befores[] = {
        {"nothing", [](frmMain&) {}},
        {"\"Игра\" opened with the mouse, closed with Esc",
         [](frmMain& w) {
             openMenu(w, "mnuGame");
             ASSERT_NE(QApplication::activePopupWidget(), nullptr);
             press(w, Qt::Key_Escape);
         }},
        {"\"Настройки\" opened with the mouse, closed with Esc",
         [](frmMain& w) {
             openMenu(w, "mnuOptions");
             press(w, Qt::Key_Escape);
         }},
        {"a submenu opened from the keyboard, both menus closed with Esc",
         [](frmMain& w) {
             openMenu(w, "mnuGame");
             QMenu* game = w.item("mnuGame")->menu();
             press(w, Qt::Key_Up);  // from the bottom: "Набор раскладов 2"
             press(w, Qt::Key_Right);
             ASSERT_EQ(QApplication::activePopupWidget(), w.item("mnuGameL21L40")->menu());
             press(w, Qt::Key_Escape);
             ASSERT_EQ(QApplication::activePopupWidget(), game);
             press(w, Qt::Key_Escape);
         }},
        {"a menu opened with the mouse, closed by a click on its title",
         [](frmMain& w) {
             openMenu(w, "mnuGame");
             openMenu(w, "mnuGame");
         }},
        {"Alt tapped",
         [](frmMain& w) {
             tapAlt(w);
             ASSERT_NE(w.menuBar()->activeAction(), nullptr);  // the menu bar took the keyboard
         }},
        {"Alt tapped, then Right", [](frmMain& w) {
             tapAlt(w);
             press(w, Qt::Key_Right);
         }},
        {"Alt tapped twice",
         [](frmMain& w) {
             tapAlt(w);
             tapAlt(w);
         }},
        {"Alt and Down opened a menu, Esc closed it",
         [](frmMain& w) {
             tapAlt(w);
             press(w, Qt::Key_Down);
             ASSERT_NE(QApplication::activePopupWidget(), nullptr);
             press(w, Qt::Key_Escape);
         }},
    };
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int layoutAfter;  // from layout 6; 0: the window closes
    };
    const Key keys[] = {
        {Qt::Key_Escape, Qt::NoModifier, 0},
        {Qt::Key_Escape, Qt::ShiftModifier, 0},
        {Qt::Key_PageUp, Qt::NoModifier, 7},
        {Qt::Key_PageDown, Qt::NoModifier, 5},
    };
    for (const Before& before : befores)
        for (const Key& k : keys) {
            SCOPED_TRACE(testing::Message() << before.what << ", then key " << QKeySequence(k.key | k.mods).toString().toStdString());
            auto w = makeWindow(5);
            w->show();
            w->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
            w->layoutItem(6)->trigger();
            QSignalSpy closed(w.get(), &frmMain::unloaded);
            before.act(*w);
            ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
            press(*w, k.key, k.mods);
            if (k.layoutAfter == 0) {
                EXPECT_EQ(closed.count(), 1);
                EXPECT_FALSE(w->isVisible());
            } else {
                EXPECT_EQ(closed.count(), 0);
                EXPECT_EQ(w->currentLayout(), k.layoutAfter);
                // Again: the key keeps reaching the handler.
                press(*w, k.key, k.mods);
                EXPECT_EQ(w->currentLayout(), k.layoutAfter == 7 ? 8 : 4);
            }
        }
}

// With a menu open Esc closes that menu only; the next Esc closes the game.
TEST(MenuKeys, EscInAnOpenMenuClosesOnlyTheMenu)
{
    for (const char* menu : {"mnuGame", "mnuOptions"}) {
        SCOPED_TRACE(menu);
        auto w = makeWindow(5);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QSignalSpy closed(w.get(), &frmMain::unloaded);
        openMenu(*w, menu);
        ASSERT_EQ(QApplication::activePopupWidget(), w->item(menu)->menu());
        press(*w, Qt::Key_Escape);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(closed.count(), 0);
        EXPECT_TRUE(w->isVisible());
        press(*w, Qt::Key_Escape);
        EXPECT_EQ(closed.count(), 1);
    }
}

}  // namespace
}  // namespace plitar::test
