// The window itself: title, client area, background, icon; closing unloads
// it; an internal fault shows its box and ends the program; a second start's
// request brings it forward.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"

namespace plitar::test {
namespace {

using WindowShape = WindowTest;

TEST_F(WindowShape, ClientAreaBackgroundIconAndCaption)
{
    EXPECT_EQ(board().size(), QSize(911, 571));
    EXPECT_EQ(w().centralWidget(), &board());
    EXPECT_EQ(w().findChild<QStatusBar*>(), nullptr);
    // The icon comes right after the first frame, with every size up to 512.
    QTRY_VERIFY(!w().windowIcon().isNull());
    EXPECT_TRUE(w().windowIcon().availableSizes().contains(QSize(512, 512)));
    const QImage shot = board().grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(905, 565)), QColor(192, 192, 255));
    // At a sprite's corner pixel of its face, the picture's own pixel shows.
    const int16_t top = board().stack().front();
    const QRect r = board().spriteRect(top);
    const QPoint p = r.topLeft() + QPoint(r.width() - 2, 2);
    EXPECT_EQ(shot.pixel(p), board().spritePicture(top)->pixel(QPoint(r.width() - 2, 2)));
    // Only the board has the board colour: the menu bar and the menus keep
    // the desktop's colours.
    std::vector<QWidget*> menus{w().menuBar()};
    for (QMenu* m : w().findChildren<QMenu*>())
        menus.push_back(m);
    EXPECT_GE(menus.size(), 6u);  // the bar, two menus, three sets
    for (QWidget* m : menus)
        for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
            EXPECT_EQ(m->palette().color(role), QApplication::palette(m).color(role))
                << m->objectName().toStdString() << " role " << role;
    const QImage bar = w().menuBar()->grab().toImage();
    int boardColoured = 0;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            boardColoured += QColor(bar.pixel(x, y)) == QColor(192, 192, 255);
    EXPECT_EQ(boardColoured, 0);
    const std::string title = caption(w());
    EXPECT_EQ(title.rfind("Плитар ", 0), 0u) << title;
    EXPECT_NE(title.find(" / " + std::to_string(g().nTotal) + " / " + std::to_string(g().nTotal)),
              std::string::npos);
}

// Closing the window tells the program to end, once; the window itself ends
// nothing (main does).
TEST_F(WindowShape, ClosingUnloads)
{
    QSignalSpy unloaded(&w(), &frmMain::unloaded);
    w().close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(w().isVisible());
}

TEST(WindowDeathTest, FaultShowsItsBoxThenEnds)
{
    EXPECT_EXIT(
        {
            auto w = makeWindow(1);
            w->show();
            QTimer::singleShot(0, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    std::_Exit(4);
                fprintf(stderr, "[%s|%s|%d|%d]\n", box->windowTitle().toUtf8().constData(),
                        box->text().toUtf8().constData(), box->icon() == QMessageBox::Warning,
                        static_cast<int>(box->buttons().size()));
                box->accept();
            });
            w->fault("Кость не найдена", "subRemIndex");
        },
        testing::ExitedWithCode(1), "\\[subRemIndex\\|Кость не найдена\\|1\\|1\\]");
}

// A second start asks for the window: it leaves the minimised state, shows
// and becomes the active window.
TEST_F(WindowShape, ComesForwardFromMinimised)
{
    w().showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w().isMinimized());
    w().comeForward();
    EXPECT_FALSE(w().isMinimized());
    EXPECT_TRUE(w().isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w()));
}

}  // namespace
}  // namespace plitar::test
