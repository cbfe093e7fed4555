#include "view/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include "board/TileNames.h"
#include "view/BoardFocus.h"
#include "view/BoardTiles.h"
#include "view/BoardView.h"

namespace plitar {

namespace {

QString words(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// One tile. It lives from the screen reader's first question about it until
// its sprite goes; a tile number dealt again in a new game gets a new one.
class TileAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TileAccessible(BoardView& view, int n) : view_(&view), n_(n) {}
    int number() const { return n_; }

    bool isValid() const override { return view_ && view_->spriteExists(n_); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const TileFacts f = facts();
        if (f.n == 0)
            return {};
        switch (t) {
        case QAccessible::Name: return words(faceName(f.face));
        case QAccessible::Description:
            return QStringLiteral("%1, слой %2")
                .arg(f.selected ? QStringLiteral("выбрана")
                                : f.free ? QStringLiteral("свободна") : QStringLiteral("закрыта"))
                .arg(f.z);
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = view_->spriteRect(n_);
        return {view_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const TileFacts f = facts();
        if (f.n == 0) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.focused = view_->window()->focusWidget() == view_ && view_->focus().lastTile() == n_;
        s.selectable = true;
        s.selected = f.selected;
        s.disabled = !f.free;
        s.invisible = !view_->spriteVisible(n_);
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (!isValid())
            return;
        if (name == pressAction()) {
            // After the reader's call has returned: the click may take this
            // very tile, and its interface with it.
            QPointer<BoardView> view = view_;
            const int n = n_;
            QMetaObject::invokeMethod(
                view.data(),
                [view, n] {
                    if (view && view->spriteExists(n))
                        view->activateTile(n);
                },
                Qt::QueuedConnection);
        } else if (name == setFocusAction()) {
            view_->setFocus(Qt::OtherFocusReason);
            view_->focus().moveTo(n_, true);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    TileFacts facts() const
    {
        if (!isValid() || !view_->tiles())
            return {};
        return view_->tiles()->tile(n_);
    }

    QPointer<BoardView> view_;
    int n_;
};

// The board: a list of its tiles in scan order. Tile numbers run backwards
// along the scan order and the sprites stack by tile number, so the list is
// the stack read from the bottom.
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardView* view) : QAccessibleWidget(view, QAccessible::List) {}

    BoardView* board() const { return static_cast<BoardView*>(widget()); }

    int childCount() const override { return static_cast<int>(board()->stack().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const auto& stack = board()->stack();
        if (index < 0 || index >= static_cast<int>(stack.size()))
            return nullptr;
        return board()->accessibility().tile(stack[stack.size() - 1 - static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* tile = dynamic_cast<const TileAccessible*>(child);
        if (!tile || !tile->isValid())
            return -1;
        const auto& stack = board()->stack();
        for (size_t i = 0; i < stack.size(); ++i)
            if (stack[i] == tile->number())
                return static_cast<int>(stack.size() - 1 - i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int n = board()->spriteAt(board()->mapFromGlobal(QPoint(x, y)));
        return n ? board()->accessibility().tile(n) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const int n = board()->focus().lastTile();
        return board()->window()->focusWidget() == board() && board()->spriteExists(n) ? board()->accessibility().tile(n) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QStringLiteral("Доска") : QAccessibleWidget::text(t);
    }
};

}  // namespace

BoardAccessibility::~BoardAccessibility()
{
    for (QAccessible::Id& id : ids_)
        if (id != 0) {
            QAccessible::deleteAccessibleInterface(id);
            id = 0;
        }
}

QAccessibleInterface* BoardAccessibility::tile(int n)
{
    if (!view_.spriteExists(n))
        return nullptr;
    QAccessible::Id& id = ids_[static_cast<size_t>(n)];
    if (id == 0) {
        id = QAccessible::registerAccessibleInterface(new TileAccessible(view_, n));
        if (BoardTiles* tiles = view_.tiles()) {
            const TileFacts f = tiles->tile(n);
            told_[static_cast<size_t>(n)] = {f.face, f.free, f.selected};
        }
    }
    return QAccessible::accessibleInterface(id);
}

void BoardAccessibility::spriteMade(int n)
{
    if (!QAccessible::isActive())
        return;
    if (QAccessibleInterface* iface = tile(n)) {
        QAccessibleEvent event(iface, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&event);
    }
}

void BoardAccessibility::spriteGone(int n)
{
    QAccessible::Id& id = ids_[static_cast<size_t>(n)];
    if (id == 0)
        return;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&event);
    }
    QAccessible::deleteAccessibleInterface(id);
    id = 0;
}

void BoardAccessibility::focusMoved(int n)
{
    // The board holds its window's keyboard focus. Whether the window counts
    // as active is left out: without a window manager Qt may not count it so
    // although the keys reach it.
    if (!QAccessible::isActive() || view_.window()->focusWidget() != &view_)
        return;
    if (QAccessibleInterface* iface = tile(n)) {
        QAccessibleEvent event(iface, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void BoardAccessibility::picturesChanged()
{
    if (queued_ || !QAccessible::isActive())
        return;
    queued_ = true;
    QPointer<BoardView> view(&view_);
    QMetaObject::invokeMethod(
        &view_,
        [this, view] {
            if (view)
                tellChanges();
        },
        Qt::QueuedConnection);
}

void BoardAccessibility::tellChanges()
{
    queued_ = false;
    BoardTiles* tiles = view_.tiles();
    if (!tiles)
        return;
    for (int n = 1; n <= kMaxTiles; ++n) {
        const QAccessible::Id id = ids_[static_cast<size_t>(n)];
        if (id == 0)
            continue;  // never asked about: nothing to correct
        const TileFacts f = tiles->tile(n);
        Told& told = told_[static_cast<size_t>(n)];
        QAccessibleInterface* iface = QAccessible::accessibleInterface(id);
        if (f.n == 0 || !iface)
            continue;
        if (f.face != told.face) {
            QAccessibleEvent event(iface, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (f.free != told.free) {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(iface, changed);
            QAccessible::updateAccessibility(&event);
        }
        if (f.selected != told.selected) {
            QAccessibleEvent event(iface, f.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            QAccessible::updateAccessibility(&event);
        }
        if (f.free != told.free || f.selected != told.selected) {
            QAccessibleEvent event(iface, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
        told = {f.face, f.free, f.selected};
    }
}

QAccessibleInterface* boardAccessibleFactory(const QString& /*className*/, QObject* object)
{
    if (auto* view = qobject_cast<BoardView*>(object))
        return new BoardAccessible(view);
    return nullptr;
}

}  // namespace plitar
