#include "AppFixture.h"

#include <QAction>

#include "LiteralRules.h"
#include "view/Geometry.h"

namespace plitar::test {

std::unique_ptr<frmMain> makeWindow(uint32_t seed)
{
    frmMainOptions o;
    o.seed = seed;
    return std::make_unique<frmMain>(o);
}

QPoint visiblePoint(const frmMain& w, int n)
{
    const BoardView& b = *w.board();
    const QRect r = b.spriteRect(n);
    if (r.isEmpty() || !b.spriteVisible(n)) {
        ADD_FAILURE() << "sprite " << n << " is not shown";
        return {};
    }
    if (b.spriteAt(r.center()) == n)
        return r.center();
    for (int y = r.top(); y <= r.bottom(); y += 2)
        for (int x = r.left(); x <= r.right(); x += 2)
            if (b.spriteAt(QPoint(x, y)) == n)
                return {x, y};
    ADD_FAILURE() << "sprite " << n << " is covered everywhere";
    return {};
}

void clickTile(frmMain& w, int n)
{
    QTest::mouseClick(w.board(), Qt::LeftButton, Qt::NoModifier, visiblePoint(w, n));
}

// As the mouse does it: a click, then a second press that arrives as the
// double-click, then its release.
void doubleClickTile(frmMain& w, int n)
{
    const QPoint p = visiblePoint(w, n);
    QTest::mousePress(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(w.board(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(w.board(), Qt::LeftButton, Qt::NoModifier, p);
}

bool cellOf(const modPlitar& g, int n, int& x, int& y, int& z)
{
    return literal::findTile(g, static_cast<int16_t>(n), x, y, z);
}

std::vector<int16_t> tilesOnBoard(const modPlitar& g)
{
    std::vector<int16_t> out;
    for (int16_t n = 1; n <= kMaxTiles; ++n)
        if (g.aLoaded[static_cast<size_t>(n)] == 1)
            out.push_back(n);
    return out;
}

std::pair<int16_t, int16_t> openPair(const modPlitar& g)
{
    std::vector<std::pair<int16_t, int16_t>> free;  // tile, face
    for (int16_t n : tilesOnBoard(g)) {
        int x, y, z;
        if (literal::enSel(g, n) == 1 && cellOf(g, n, x, y, z))
            free.emplace_back(n, g.aMap(x, y, z));
    }
    for (size_t i = 0; i < free.size(); ++i)
        for (size_t j = i + 1; j < free.size(); ++j)
            if (facesMatch(free[i].second, free[j].second))
                return {free[i].first, free[j].first};
    return {0, 0};
}

std::string caption(const frmMain& w) { return w.windowTitle().toStdString(); }

std::vector<int16_t> layBoard(frmMain& w, const std::vector<Tile>& tiles)
{
    modPlitar& g = w.game();
    g.subClear();
    for (const Tile& t : tiles)
        g.aMap.set(t.x, t.y, t.z, t.face);
    int16_t n = static_cast<int16_t>(tiles.size());
    forEachPlayableCell([&](int cell, int, int, int) {
        if (g.aMap.atIndex(cell) != 0)
            g.aIndex.setIndex(cell, n--);
    });
    g.nTotal = static_cast<int16_t>(tiles.size());
    w.subShow();
    std::vector<int16_t> numbers;
    for (const Tile& t : tiles)
        numbers.push_back(g.aIndex(t.x, t.y, t.z));
    return numbers;
}

void expectViewMatchesGame(frmMain& w)
{
    modPlitar& g = w.game();
    const BoardView& b = *w.board();
    const SizeGeometry* geo = geometryOf(g.nSize);
    ASSERT_NE(geo, nullptr);
    const bool greyOn = w.item("mnuGray")->isChecked();
    std::vector<bool> onBoard(kMaxTiles + 1, false);
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        const int16_t n = g.aIndex.atIndex(cell);
        if (n == 0)
            return;
        onBoard[static_cast<size_t>(n)] = true;
        const TileLook look = n == g.nSel1                          ? TileLook::Selected
                              : greyOn && literal::enSel(g, n) != 1 ? TileLook::Grey
                                                                   : TileLook::Normal;
        EXPECT_TRUE(b.spriteVisible(n)) << "tile " << n;
        EXPECT_EQ(b.spritePos(n), QPoint(cellLeft(*geo, x, y, z), cellTop(*geo, x, y, z))) << "tile " << n;
        EXPECT_EQ(b.spritePicture(n), &w.pictures().picture(look, g.nSize, g.aMap.atIndex(cell))) << "tile " << n;
    });
    for (int n = 1; n <= kMaxTiles; ++n) {
        if (!onBoard[static_cast<size_t>(n)]) {
            EXPECT_FALSE(b.spriteExists(n)) << "sprite " << n << " without a tile";
        }
    }

    int left = 0;
    for (int n = 1; n <= kMaxTiles; ++n)
        left += onBoard[static_cast<size_t>(n)];
    const std::string counts = "Плитар " + std::to_string(literal::pairs(g)) + " / " + std::to_string(left) +
                               " / " + std::to_string(g.nTotal);
    const std::string title = caption(w);
    EXPECT_EQ(title.substr(0, counts.size()), counts);
    const std::string rest = title.substr(std::min(counts.size(), title.size()));
    EXPECT_TRUE(rest.empty() || rest == " Победа!" || rest == " Перемешано" || rest == " Не перемешивается")
        << title;

    int layouts = 0;
    for (int k = 1; k <= 46; ++k)
        layouts += w.layoutItem(k)->isChecked();
    EXPECT_EQ(layouts, 1);
    for (int s : kTileSizes)
        EXPECT_EQ(w.sizeItem(s)->isChecked(), s == g.nSize) << "size " << s;
}

void WindowTest::SetUp()
{
    window_ = makeWindow(12345);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

void WindowTest::start(int number)
{
    window_->layoutItem(number)->trigger();
}

}  // namespace plitar::test
