// The whole board stays in view: whenever a game starts or the tile size
// changes, the window grows until its client area holds every tile, within
// the free area of its screen; it never shrinks, and a maximised window stays
// maximised. Runs on Qt's offscreen platform with two screens of its own: a
// large one and one of 1366 × 768 to its right.
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/WindowFit.h"
#include "board/Tiles.h"
#include "maps/modMaps.h"

void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << " x " << s.height(); }

namespace plitar::test {
namespace {

QScreen* screenNamed(const char* name)
{
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == QLatin1String(name))
            return s;
    ADD_FAILURE() << "no screen " << name;
    return QGuiApplication::primaryScreen();
}

// The client area's size needed for the board: the right and bottom edges of
// the sprites (tops of high layers reach above the client area anyway).
QSize boardExtent(const frmMain& w)
{
    const QRect b = w.board()->spritesBounds();
    return {b.right() + 1, b.bottom() + 1};
}

class FitTest : public testing::Test {
protected:
    // A window on the named screen, shown at its creation size.
    void open(const char* screen, QPoint at = {40, 40})
    {
        window_ = makeWindow(2024);
        QScreen* s = screenNamed(screen);
        window_->setScreen(s);
        window_->move(s->geometry().topLeft() + at);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        settle();
    }
    void settle() { QTest::qWait(1); }
    frmMain& w() { return *window_; }
    std::unique_ptr<frmMain> window_;
};

// Every layout at every size, on a screen large enough for all of them: the
// client area holds the board, and grows no further than the board asks.
TEST_F(FitTest, EveryLayoutAtEverySizeIsWhollyInView)
{
    open("big");
    const QSize start = w().board()->size();
    ASSERT_EQ(start, QSize(911, 571));
    int grew = 0;
    // Each case begins at the creation size, so that it shows how far its
    // own board makes the window grow.
    auto backToStart = [&] {
        w().resize(w().size() - (w().board()->size() - start));
        settle();
    };
    for (int size : kTileSizes) {
        w().sizeItem(size)->trigger();
        backToStart();
        for (int k = 1; k <= 46; ++k) {
            w().layoutItem(k)->trigger();
            settle();
            const QSize need = boardExtent(w());
            const QSize client = w().board()->size();
            EXPECT_GE(client.width(), need.width()) << "layout " << k << " size " << size;
            EXPECT_GE(client.height(), need.height()) << "layout " << k << " size " << size;
            if (client != start) {
                ++grew;
                EXPECT_EQ(client, start.expandedTo(need)) << "layout " << k << " size " << size;
                backToStart();
            }
        }
    }
    EXPECT_GT(grew, 0);
}

// The three layouts a start may deal fit the creation size at 56 × 64.
TEST_F(FitTest, TheStartLayoutsFitTheCreationSize)
{
    open("big");
    for (int k : {1, 2, 4}) {
        w().layoutItem(k)->trigger();
        settle();
        EXPECT_EQ(w().board()->size(), QSize(911, 571)) << "layout " << k;
    }
}

// A window the player made larger keeps its size for a smaller board; a
// larger tile size grows only the side that needs it.
TEST_F(FitTest, NeverShrinks)
{
    open("big");
    w().resize(1500, 1000);
    settle();
    const QSize made = w().size();
    w().layoutItem(5)->trigger();  // "Четверка"
    w().sizeItem(49)->trigger();
    w().layoutItem(3)->trigger();
    settle();
    EXPECT_EQ(w().size(), made);
}

// On a small screen the window stays on it: it takes at most the free area,
// and moves back where it would grow past the screen's edge.
TEST_F(FitTest, StaysOnASmallScreen)
{
    open("laptop", {500, 300});
    const QRect available = w().screen()->availableGeometry();
    ASSERT_EQ(available.size(), QSize(1366, 768));
    w().sizeItem(70)->trigger();
    for (int k = 1; k <= 46; ++k) {
        w().layoutItem(k)->trigger();
        settle();
        const QRect frame = w().frameGeometry();
        EXPECT_TRUE(available.contains(frame)) << "layout " << k << ": the window left the screen";
        const QSize need = boardExtent(w()), client = w().board()->size();
        // The board in view, or the window as large as the screen allows.
        EXPECT_TRUE(client.width() >= need.width() || frame.width() == available.width()) << "layout " << k;
        EXPECT_TRUE(client.height() >= need.height() || frame.height() == available.height()) << "layout " << k;
    }
}

TEST_F(FitTest, MaximisedWindowKeepsItsState)
{
    open("laptop");
    w().showMaximized();
    settle();
    const QRect before = w().geometry();
    w().sizeItem(70)->trigger();
    w().layoutItem(46)->trigger();
    settle();
    EXPECT_TRUE(w().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w().geometry(), before);
}

// The arithmetic alone: frame 10 wide on each side, 30 on top (title and menu
// bar), on a free area of 1000 × 700 from (0, 20).
TEST(GrownFrame, Cases)
{
    const QRect available(0, 20, 1000, 700);
    const struct {
        const char* what;
        QRect frame;
        QSize need;
        QRect want;
    } cases[] = {
        {"fits: untouched", {100, 100, 620, 440}, {600, 400}, {100, 100, 620, 440}},
        {"fits even off the screen", {-50, 600, 620, 440}, {500, 300}, {-50, 600, 620, 440}},
        {"wider only", {100, 100, 620, 440}, {700, 300}, {100, 100, 720, 440}},
        {"taller, back up onto the screen", {100, 300, 620, 440}, {600, 500}, {100, 180, 620, 540}},
        {"both, past the right and bottom edges", {500, 100, 620, 440}, {800, 600}, {180, 80, 820, 640}},
        {"larger than the area: takes it", {300, 300, 620, 440}, {1200, 900}, {0, 20, 1000, 700}},
        {"a larger window is not made smaller", {0, 20, 900, 690}, {600, 700}, {0, 20, 900, 700}},
    };
    for (const auto& c : cases) {
        const QSize client = c.frame.size() - QSize(20, 40);
        EXPECT_EQ(grownFrame(c.frame, client, c.need, available), c.want) << c.what;
    }
}

}  // namespace
}  // namespace plitar::test

// Two screens of the test's own for the offscreen platform.
int main(int argc, char** argv)
{
    QTemporaryFile config;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        config.open();
        config.write(R"({"screens": [
            {"name": "big", "x": 0, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96, "dpr": 1},
            {"name": "laptop", "x": 3840, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "dpr": 1}]})");
        config.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
