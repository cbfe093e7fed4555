// The board as a screen reader sees it, in process through Qt's own
// accessibility interfaces: one item per tile left, named from the table,
// its states and description, its actions. (Qt sends events only to a
// reader on a real accessibility bus, which the offscreen platform lacks;
// the end-to-end test tests/e2e/access.sh hears them.)
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <set>

#include "AppFixture.h"
#include "board/TileNames.h"
#include "view/BoardFocus.h"

namespace plitar::test {
namespace {

const std::vector<Tile> kRow = {
    {1, 1, 1, 5}, {3, 1, 1, 9}, {5, 1, 1, 9}, {7, 1, 1, 5}, {1, 5, 1, 35}, {5, 5, 1, 42},
};

class AccessTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        tiles = layBoard(w(), kRow);
        QCoreApplication::processEvents();
    }
    QAccessibleInterface* boardIface() { return QAccessible::queryAccessibleInterface(&board()); }
    QAccessibleInterface* item(int n)
    {
        QAccessibleInterface* b = boardIface();
        for (int i = 0; i < b->childCount(); ++i)
            if (b->child(i)->rect().topLeft() == board().mapToGlobal(board().spritePos(n)))
                return b->child(i);
        return nullptr;
    }
    std::vector<int16_t> tiles;
};

TEST(TileNames, EveryFaceHasItsOwnName)
{
    std::set<std::string_view> names;
    for (int f = 1; f <= kFaceCount; ++f) {
        EXPECT_FALSE(faceName(f).empty()) << f;
        names.insert(faceName(f));
    }
    EXPECT_EQ(names.size(), size_t(kFaceCount));
    EXPECT_EQ(faceName(3), "Круг 3");
    EXPECT_EQ(faceName(12), "Бамбук 3");
    EXPECT_EQ(faceName(27), "Знак 9");
    EXPECT_EQ(faceName(28), "Ветер восток");
    EXPECT_EQ(faceName(32), "Дракон красный");
    EXPECT_EQ(faceName(35), "Цветок слива");
    EXPECT_EQ(faceName(39), "Сезон весна");
    EXPECT_TRUE(faceName(0).empty());
    EXPECT_TRUE(faceName(43).empty());
}

TEST_F(AccessTest, OneItemPerTileInScanOrderWithNameStatesAndDescription)
{
    QAccessibleInterface* b = boardIface();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->role(), QAccessible::List);
    ASSERT_EQ(b->childCount(), 6);
    const struct {
        const char* name;
        bool free;
        const char* description;
    } expected[] = {
        {"Круг 5", true, "свободна, слой 1"},   {"Круг 9", false, "закрыта, слой 1"},
        {"Круг 9", false, "закрыта, слой 1"},   {"Круг 5", true, "свободна, слой 1"},
        {"Цветок слива", true, "свободна, слой 1"}, {"Сезон зима", true, "свободна, слой 1"},
    };
    for (int i = 0; i < 6; ++i) {
        QAccessibleInterface* t = b->child(i);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->role(), QAccessible::ListItem);
        EXPECT_EQ(t->text(QAccessible::Name), QString::fromUtf8(expected[i].name)) << i;
        EXPECT_EQ(t->text(QAccessible::Description), QString::fromUtf8(expected[i].description)) << i;
        EXPECT_EQ(t->state().disabled, !expected[i].free) << i;
        EXPECT_FALSE(t->state().selected) << i;
        EXPECT_EQ(b->indexOfChild(t), i);
        EXPECT_EQ(t->parent(), b);
        EXPECT_EQ(b->childAt(t->rect().center().x(), t->rect().center().y()), t);
    }
    // The focused tile is the board's focus child.
    board().focus().moveTo(tiles[1], false);
    EXPECT_EQ(b->focusChild(), b->child(1));
    EXPECT_TRUE(b->child(1)->state().focused);
}

TEST_F(AccessTest, TheDefaultActionIsTheClickAndTheFocusActionMovesTheFocus)
{
    QAccessibleInterface* first = item(tiles[0]);
    ASSERT_NE(first, nullptr);
    QAccessibleActionInterface* act = first->actionInterface();
    ASSERT_NE(act, nullptr);
    ASSERT_EQ(act->actionNames().value(0), QAccessibleActionInterface::pressAction());
    act->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(g().nSel1, tiles[0]);
    EXPECT_TRUE(first->state().selected);
    EXPECT_EQ(first->text(QAccessible::Description), QStringLiteral("выбрана, слой 1"));

    // A blocked tile's action is a click too: nothing happens.
    item(tiles[1])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(g().nSel1, tiles[0]);

    item(tiles[3])->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(board().focus().tile(), tiles[3]);
    item(tiles[3])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(boardIface()->childCount(), 4) << "the pair has left the list";
    EXPECT_EQ(g().funTilesLeft(), 4);
}

}  // namespace
}  // namespace plitar::test
