#include "AppFixture.h"

#include <QAction>

#include "LiteralRules.h"

namespace plitar::test {

std::unique_ptr<frmMain> makeWindow(uint32_t seed)
{
    frmMainOptions o;
    o.seed = seed;
    o.singleInstanceCheck = false;
    o.exitOnClose = false;
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
            if (b.spriteAt({x, y}) == n)
                return {x, y};
    ADD_FAILURE() << "sprite " << n << " is covered everywhere";
    return {};
}

void clickTile(frmMain& w, int n)
{
    QTest::mouseClick(w.board(), Qt::LeftButton, Qt::NoModifier, visiblePoint(w, n));
}

void doubleClickTile(frmMain& w, int n)
{
    QTest::mouseDClick(w.board(), Qt::LeftButton, Qt::NoModifier, visiblePoint(w, n));
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
