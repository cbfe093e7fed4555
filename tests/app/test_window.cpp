// The window itself: title, client area, background, icon; closing ends the
// program; an internal fault shows its box and ends it; one copy per user,
// which comes forward when the game is started again.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "AppFixture.h"
#include "app/SingleInstance.h"

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

TEST(WindowDeathTest, ClosingEndsTheProgram)
{
    EXPECT_EXIT(
        {
            frmMainOptions o;
            o.seed = 1;
            o.singleInstanceCheck = false;
            frmMain w(o);
            w.show();
            w.close();
            std::_Exit(3);  // not reached
        },
        testing::ExitedWithCode(0), "");
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

// A name held as any process could hold it: bound, and listening or not.
class RawHolder {
public:
    RawHolder(const std::string& name, bool listening)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto [addr, len] = address(name);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), len), 0) << name;
        if (listening) {
            EXPECT_EQ(::listen(fd_, 4), 0);
        }
    }
    ~RawHolder() { ::close(fd_); }
    RawHolder(const RawHolder&) = delete;
    RawHolder& operator=(const RawHolder&) = delete;

    static std::pair<sockaddr_un, socklen_t> address(const std::string& name)
    {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path + 1, name.data(), name.size());
        return {addr, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())};
    }
    // Whether something listens on the name.
    static bool answers(const std::string& name)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto [addr, len] = address(name);
        const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0;
        ::close(fd);
        return ok;
    }

private:
    int fd_ = -1;
};

SingleInstance::Names testNames(uid_t uid)
{
    static int serial = 0;
    return {QString(), "plitar-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial), uid};
}

// Without a session bus: only a holder of this user counts as the running
// copy. Holders of "another user" are made here by letting the starting copy
// take itself for a user it is not.
TEST(SingleInstance, OnlyACopyOfThisUserCounts)
{
    struct Case {
        const char* what;
        bool otherUser;                      // the holders run as another user
        std::vector<int> listening, boundOnly;  // names held
        bool first;
        int takes;  // the name the starting copy then holds; -1 none
    };
    const Case cases[] = {
        {"no name held", false, {}, {}, true, 0},
        {"a copy of this user holds name 0", false, {0}, {}, false, -1},
        {"a copy of this user holds name 1, name 0 is free again", false, {1}, {}, false, -1},
        {"another user holds name 0", true, {0}, {}, true, 1},
        {"another user bound name 0 and takes no connections", true, {}, {0}, true, 1},
        {"another user holds names 0 to 2", true, {0, 1, 2}, {}, true, 3},
        {"another user holds every name", true, {0, 1, 2, 3, 4, 5, 6, 7}, {}, true, -1},
    };
    static_assert(SingleInstance::kSocketNames == 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SingleInstance::Names names = testNames(c.otherUser ? ::getuid() + 1 : ::getuid());
        auto name = [&](int k) { return names.socketBase + "-" + std::to_string(k); };
        std::vector<std::unique_ptr<RawHolder>> holders;
        for (int k : c.listening)
            holders.push_back(std::make_unique<RawHolder>(name(k), true));
        for (int k : c.boundOnly)
            holders.push_back(std::make_unique<RawHolder>(name(k), false));
        SingleInstance starting(names);
        EXPECT_EQ(starting.first(), c.first);
        for (int k = 0; k < SingleInstance::kSocketNames; ++k) {
            const bool held = std::find(c.listening.begin(), c.listening.end(), k) != c.listening.end();
            EXPECT_EQ(RawHolder::answers(name(k)), held || k == c.takes) << "name " << k;
        }
    }
}

// The running copy comes forward when a copy of its user starts, not when
// anyone else knocks; its name is free again once it ends.
TEST(SingleInstance, RunningCopyComesForwardAndFreesItsName)
{
    const SingleInstance::Names names = testNames(::getuid());
    {
        SingleInstance running(names);
        ASSERT_TRUE(running.first());
        QSignalSpy asked(&running, &SingleInstance::comeForward);
        SingleInstance second(names);
        EXPECT_FALSE(second.first());
        EXPECT_TRUE(asked.wait(2000));
    }
    SingleInstance again(names);
    EXPECT_TRUE(again.first());

    SingleInstance::Names otherUser = testNames(::getuid() + 1);
    SingleInstance running(otherUser);
    ASSERT_TRUE(running.first());
    QSignalSpy asked(&running, &SingleInstance::comeForward);
    EXPECT_TRUE(RawHolder::answers(running.socketName(0)));  // a process of this test's user: not the copy's
    EXPECT_FALSE(asked.wait(200));
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
