#include "app/frmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <chrono>
#include <cstdlib>
#include <utility>

#include "app/FirstFrame.h"
#include "app/MenuTree.h"
#include "app/WaylandActivation.h"
#include "app/WindowFit.h"
#include "app/X11Activation.h"
#include "view/Geometry.h"

namespace plitar {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

constexpr int16_t kKeyEscape = 27;
constexpr int16_t kKeyPageUp = 33;
constexpr int16_t kKeyPageDown = 34;
}  // namespace

frmMain::frmMain(const frmMainOptions& options) : options_(options)
{
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("Плитар"));
    // Only the board has the board colour (its view paints it); the menu bar
    // and the menus keep the desktop's colours.

    board_ = new BoardView(this);
    setCentralWidget(board_);
    // The pictures are made for the screen's device pixel ratio, and again
    // when the window moves to a screen with another.
    board_->setPictureSource(&pictures_);
    connect(board_, &BoardView::spriteClicked, this, [this](int n) { im_Click(static_cast<int16_t>(n)); });
    connect(board_, &BoardView::spriteDoubleClicked, this,
            [this](int n) { im_DblClick(static_cast<int16_t>(n)); });
    connect(board_, &BoardView::backgroundClicked, this, [this] { Form_Click(); });
    // The board holds the keyboard focus and plays with the keys too.
    board_->setTiles(&tiles_);
    board_->setFocus();

    createMenus();
    // The client area below the menu bar is 911 x 571 at creation.
    resize(911, 571 + menuBar()->sizeHint().height());

    QCoreApplication::instance()->installEventFilter(this);  // the keys, see eventFilter
    Form_Load();
    // What the first frame does not show waits until it is on the screen: the
    // icon's eight sizes, up to 512 pixels, and the selected look of the
    // pictures (Form_Load made only those the board shows). It waits a moment
    // longer, so as not to take the processor from the X server and the
    // compositor while they show that frame: handing the icon to X takes
    // about as long as the server needs for the frame. Nobody sees an icon
    // or can select a tile within that moment; a selection before it makes
    // its look on the spot.
    afterFirstFrame(
        board_,
        [this] {
            setWindowIcon(plitarIcon());
            pictures_.prepare(game_.nSize);
        },
        std::chrono::milliseconds(100));
}

frmMain::~frmMain() { QCoreApplication::instance()->removeEventFilter(this); }

// ---------------------------------------------------------------- menus

QAction* frmMain::addItem(QMenu* menu, const char* name, const QString& caption, void (frmMain::*handler)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
}

QAction* frmMain::addOption(QMenu* menu, const char* name, const QString& caption, bool checked)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

void frmMain::connectMarked(QAction* action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)] {
        action->setChecked(!action->isChecked());
        handler();
    });
}

QActionGroup* frmMain::oneOfMany(void (frmMain::*handler)(int))
{
    // Each item carries its layout number or tile size as data, and the group
    // answers for all of them. Qt has moved the group's mark to the chosen
    // item already, which is what the handler then does itself: a layout item
    // unmarks every layout and marks its own; a size item marks its own and
    // unmarks the others, or changes nothing when its size is the current one.
    auto* group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    connect(group, &QActionGroup::triggered, this,
            [this, handler](QAction* chosen) { (this->*handler)(chosen->data().toInt()); });
    return group;
}

void frmMain::createMenus()
{
    QMenu* game = menuBar()->addMenu(QStringLiteral("Игра"));
    game->setObjectName("mnuGame");
    game->menuAction()->setObjectName("mnuGame");

    auto withKey = [this](QAction* a, Qt::Key key) {
        a->setShortcut(QKeySequence(key));
        addAction(a);  // the key acts while the window is active, menu open or not
        return a;
    };
    withKey(addItem(game, "mnuSort", QStringLiteral("Перемешать"), &frmMain::mnuSort_Click), Qt::Key_F1);
    withKey(addItem(game, "mnuReNew", QStringLiteral("Заново"), &frmMain::mnuReNew_Click), Qt::Key_F2);
    game->addSeparator()->setObjectName("r1");

    // The layouts, and below the tile sizes, are one-of-many choices and show
    // the toolkit's mark for them; the three options are check boxes.
    QActionGroup* layouts = oneOfMany(&frmMain::mnuGame_Click);
    auto addLayout = [this, layouts](QMenu* menu, int number) {
        const LayoutItem& li = kLayoutItems[static_cast<size_t>(number - 1)];
        QAction* a = addOption(menu, std::string(li.name).c_str(), qs(li.caption), false);
        a->setData(number);
        layouts->addAction(a);
        layoutItems_[static_cast<size_t>(number - 1)] = a;
    };
    for (int k = 1; k <= 6; ++k)
        addLayout(game, k);
    game->addSeparator()->setObjectName("r2");
    withKey(addItem(game, "mnuGameRndL", QStringLiteral("Случайный расклад"), &frmMain::mnuGameRndL_Click),
            Qt::Key_F3);

    auto addSet = [&](const char* name, const QString& caption, const std::array<int, 20>* order) {
        QMenu* sub = game->addMenu(caption);
        sub->setObjectName(name);
        sub->menuAction()->setObjectName(name);
        if (order) {
            for (int number : *order)
                addLayout(sub, number);
        } else {
            sub->menuAction()->setEnabled(false);
        }
    };
    addSet("mnuGameL1L20", QStringLiteral("Набор раскладов 1"), &kSet1Order);
    addSet("mnuGameL21L40", QStringLiteral("Набор раскладов 2"), &kSet2Order);
    addSet("mnuGameL41L60", QStringLiteral("Набор раскладов 3"), nullptr);

    QMenu* opts = menuBar()->addMenu(QStringLiteral("Настройки"));
    opts->setObjectName("mnuOptions");
    opts->menuAction()->setObjectName("mnuOptions");
    mnuAutoSort_ = addOption(opts, "mnuAutoSort", QStringLiteral("Перемешивать когда нет ходов"), true);
    connectMarked(mnuAutoSort_, [this] { mnuAutoSort_Click(); });
    mnuGray_ = addOption(opts, "mnuGray", QStringLiteral("Выделять открытые/закрытые"), true);
    connectMarked(mnuGray_, [this] { mnuGray_Click(); });
    mnuESC_ = addOption(opts, "mnuESC", QStringLiteral("Esc - закрыть программу"), true);
    connectMarked(mnuESC_, [this] { mnuESC_Click(); });
    opts->addSeparator()->setObjectName("r3");

    // The letter between the numbers is the Cyrillic х.
    const struct {
        int16_t size;
        const char* name;
        QString caption;
    } sizes[] = {
        {70, "mnuSize70", QStringLiteral("Размер костей 70х80")},
        {63, "mnuSize63", QStringLiteral("Размер костей 63х72")},
        {56, "mnuSize56", QStringLiteral("Размер костей 56х64")},
        {49, "mnuSize49", QStringLiteral("Размер костей 49х56")},
    };
    QActionGroup* sizeGroup = oneOfMany(&frmMain::mnuSize_Click);
    for (size_t i = 0; i < 4; ++i) {
        QAction* a = addOption(opts, sizes[i].name, sizes[i].caption, sizes[i].size == 56);
        a->setData(sizes[i].size);
        sizeGroup->addAction(a);
        sizeItems_[i] = a;
    }
}

QAction* frmMain::item(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

QAction* frmMain::layoutItem(int number) const
{
    return number >= 1 && number <= 46 ? layoutItems_[static_cast<size_t>(number - 1)] : nullptr;
}

QAction* frmMain::sizeItem(int size) const
{
    for (size_t i = 0; i < 4; ++i)
        if (kTileSizes[i] == size)
            return sizeItems_[i];
    return nullptr;
}

int frmMain::currentLayout() const
{
    for (int k = 1; k <= 46; ++k)
        if (layoutItems_[static_cast<size_t>(k - 1)]->isChecked())
            return k;
    return 0;
}

// ---------------------------------------------------------------- start-up and closing

void frmMain::Form_Load()
{
    if (options_.seed) {
        random_.seed(*options_.seed);
    } else {
        const auto now = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
        std::seed_seq seq{static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32)};
        random_.seed(seq);
    }

    game_.nSize = 56;
    subReSize();
    switch (game_.funDraw(3) - 1) {
    case 0: mnuGame_Click(1); break;  // "Черепаха"
    case 1: mnuGame_Click(2); break;  // "Монумент"
    default: mnuGame_Click(4); break; // "Арена"
    }
}

void frmMain::Form_Unload() { emit unloaded(); }

void frmMain::comeForward(const QVariantMap& platformData)
{
    const LaunchTokens launch = LaunchTokens::fromPlatformData(platformData);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        activateOnWayland(windowHandle(), launch.activationToken);
        return;
    }
    activateWindow();
    completeStartupOnX11(this, launch.startupId);
    activateOnX11(this, startupTime(launch.startupId));  // Qt's own request may be refused as focus stealing
}

void frmMain::completeLaunch(const LaunchTokens& launch)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland")) {
        completeStartupOnX11(this, launch.startupId);
        return;
    }
    // A surface not yet on the screen cannot be activated. Without a token a
    // new window needs no attention asked for: it is new.
    if (!launch.activationToken.isEmpty())
        afterFirstFrame(board_, [this, token = launch.activationToken] { activateOnWayland(windowHandle(), token); });
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

// Every key press of this window passes here first, whichever of its widgets
// would get it. While a menu is open the menu takes its keys (Esc closes that
// menu only). Otherwise Esc, PageUp and PageDown go to the key handler: the
// menu bar would keep them once a menu was closed with Esc or Alt was tapped,
// and it gives the keyboard back here.
bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || QApplication::activePopupWidget())
        return QMainWindow::eventFilter(watched, event);
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != this)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    int16_t code = 0;
    switch (key->key()) {
    case Qt::Key_Escape: code = kKeyEscape; break;
    case Qt::Key_PageUp: code = kKeyPageUp; break;
    case Qt::Key_PageDown: code = kKeyPageDown; break;
    default: return QMainWindow::eventFilter(watched, event);
    }
    if (menuBar()->hasFocus())
        menuBar()->clearFocus();  // leaves its keyboard mode and the marked title
    const int16_t shift = static_cast<int16_t>((key->modifiers() & Qt::ShiftModifier) ? 1 : 0);
    Form_KeyDown(code, shift);
    return true;
}

void frmMain::Form_KeyDown(int16_t keyCode, int16_t /*shift*/)
{
    switch (keyCode) {
    case kKeyEscape:
        if (mnuESC_->isChecked())
            close();
        break;
    case kKeyPageUp: subNextMap(); break;
    case kKeyPageDown: subPrevMap(); break;
    default: break;
    }
}

// ---------------------------------------------------------------- the board view

void frmMain::subReSize() { plitar::subReSize(game_); }

const QImage& frmMain::displayPicture(int16_t face, int16_t n)
{
    const bool grey = mnuGray_->isChecked() && game_.funEnSel(n) != 1;
    return pictures_.picture(grey ? TileLook::Grey : TileLook::Normal, game_.nSize, face);
}

void frmMain::subShow()
{
    // The reverse of the scan order, so that the i-th sprite made sits on the
    // cell of tile number i; each new sprite goes beneath those made before.
    int16_t i = 0;
    forEachPlayableCellReversed([&](int cell, int x, int y, int z) {
        const int16_t f = game_.aMap.atIndex(cell);
        if (f == 0)
            return;
        ++i;
        game_.aLoaded[static_cast<size_t>(i)] = 1;
        board_->createSprite(i);
        board_->setSpritePos(i, QPoint(game_.aLeft(x, y, z), game_.aTop(x, y, z)));
        board_->setSpritePicture(i, &displayPicture(f, game_.aIndex.atIndex(cell)));
        board_->showSprite(i);
    });
    game_.nSizeOld = game_.nSize;
    game_.subCaption();
}

void frmMain::subRepaint()
{
    game_.nSel1 = 0;
    game_.nSel2 = 0;
    const bool move = game_.nSize != game_.nSizeOld;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        const int16_t n = game_.aIndex.atIndex(cell);
        if (n == 0)
            return;
        board_->hideSprite(n);
        board_->setSpritePicture(n, &displayPicture(game_.aMap.atIndex(cell), n));
        if (move)
            board_->setSpritePos(n, QPoint(game_.aLeft(x, y, z), game_.aTop(x, y, z)));
    });
    forEachPlayableCell([&](int cell, int, int, int) {
        if (const int16_t n = game_.aIndex.atIndex(cell))
            board_->showSprite(n);
    });
    game_.nSizeOld = game_.nSize;
}

void frmMain::mnuGray_Click()
{
    mnuGray_->setChecked(!mnuGray_->isChecked());
    subRepaint();
}

void frmMain::mnuSize_Click(int size)
{
    if (game_.nSize == size)
        return;
    game_.nSize = static_cast<int16_t>(size);
    subReSize();
    subRepaint();
    fitBoard();
    QAction* own = sizeItem(size);
    if (!own->isChecked())
        own->setChecked(true);
    for (int other : kTileSizes)
        if (other != size && sizeItem(other)->isChecked())
            sizeItem(other)->setChecked(false);
}

// The window grows, within the free area of its screen, until its client
// area holds the whole board at the current size; a maximised or full-screen
// window, or one that holds the board already, is left as it is. Tiles of
// high layers in the top row reach above the client area whatever the
// window's size, so only the right and bottom edges count. The window
// manager may refuse; nothing depends on it.
void frmMain::fitBoard()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect bounds = board_->spritesBounds();
    if (bounds.isEmpty())
        return;
    const QSize need(bounds.right() + 1, bounds.bottom() + 1);
    // Until the window is first shown its layout has not placed the board.
    const QSize client = isVisible() ? board_->size() : size() - QSize(0, menuBar()->sizeHint().height());
    const QRect frame = frameGeometry();
    const QRect available = screen()->availableGeometry();
    const QRect grown = grownFrame(frame, client, need, available);
    if (grown == frame)
        return;
    resize(grown.size() - (frame.size() - size()));
    // Before the first show the window manager places the window itself.
    if (isVisible() && grown.topLeft() != frame.topLeft())
        move(grown.topLeft());
}

// ---------------------------------------------------------------- game starts

void frmMain::subUncheckMaps()
{
    for (QAction* a : layoutItems_)
        if (a->isChecked())
            a->setChecked(false);
}

void frmMain::mnuGame_Click(int number)
{
    subUncheckMaps();
    layoutItem(number)->setChecked(true);
    game_.subClear();
    maps_.build(number);
    subShow();
    if (game_.funAutoSort() == 1)
        subRepaint();
    fitBoard();
}

void frmMain::mnuReNew_Click()
{
    game_.subClear();
    for (int k = 1; k <= 46; ++k)
        if (layoutItem(k)->isChecked())
            maps_.build(k);
    subShow();
    if (game_.funAutoSort() == 1)
        subRepaint();
    fitBoard();
}

void frmMain::mnuGameRndL_Click()
{
    const int n = game_.funDraw(40);
    mnuGame_Click(n + 6);  // mnuGameLn
}

void frmMain::subNextMap()
{
    const int m = currentLayout();
    if (m != 0)
        mnuGame_Click(m == 46 ? 1 : m + 1);
}

void frmMain::subPrevMap()
{
    const int m = currentLayout();
    if (m != 0)
        mnuGame_Click(m == 1 ? 46 : m - 1);
}

// ---------------------------------------------------------------- options

void frmMain::mnuAutoSort_Click()
{
    if (mnuAutoSort_->isChecked()) {
        mnuAutoSort_->setChecked(false);
        return;
    }
    mnuAutoSort_->setChecked(true);
    if (game_.funAutoSort() == 1)
        subRepaint();
}

void frmMain::mnuESC_Click() { mnuESC_->setChecked(!mnuESC_->isChecked()); }

// ---------------------------------------------------------------- play

void frmMain::im_Click(int16_t n)
{
    if (game_.funClick(n) == 1)
        subRepaint();  // tiles freed by the pair turn from grey to normal
}

void frmMain::im_DblClick(int16_t n) { im_Click(n); }

void frmMain::Form_Click()
{
    game_.subRemIndex(game_.nSel1);
    game_.nSel1 = 0;
    game_.subRemIndex(game_.nSel2);
    game_.nSel2 = 0;
}

void frmMain::mnuSort_Click()
{
    if (game_.funSort() != 0)
        subRepaint();
}

// ---------------------------------------------------------------- the world of the game state

std::string frmMain::caption() const { return windowTitle().toStdString(); }

void frmMain::setCaption(const std::string& text)
{
    setWindowTitle(QString::fromStdString(text));
    captionNotice_.changed();  // the status line, for screen readers
}

bool frmMain::autoSortChecked() const { return mnuAutoSort_->isChecked(); }

void frmMain::setSpritePicture(int16_t n, TileLook look, int16_t size, int16_t face)
{
    board_->setSpritePicture(n, &pictures_.picture(look, size, face));
}

void frmMain::destroySprite(int16_t n) { board_->destroySprite(n); }

float frmMain::rnd()
{
    // 24 random bits: exactly representable, always below 1.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

void frmMain::fault(const std::string& text, const std::string& title)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, this);
    box.exec();
    // The game state is broken past repair: nothing may run after the box,
    // not even the destructors, so the process ends here with the fault's status.
    std::_Exit(1);
}

}  // namespace plitar
