// The menu bar against its tables: names, captions, order, separators, keys
// and the marks at start; each mark flips exactly once per choice.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "AppFixture.h"
#include "maps/modMaps.h"

namespace plitar::test {
namespace {

struct Row {
    const char* name;     // "-" for a separator
    const char* caption;  // separator: its name
    const char* key;
};

struct Got {
    std::string name, caption, key;
};

// One line per entry of a menu, top to bottom; a separator reads "-", its name, "".
std::vector<Got> entries(QMenu* menu)
{
    std::vector<Got> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out.push_back({"-", a->objectName().toStdString(), ""});
        else
            out.push_back({a->objectName().toStdString(), a->text().toStdString(),
                           a->shortcut().toString().toStdString()});
    }
    return out;
}

void expectRows(QMenu* menu, const std::vector<Row>& want)
{
    const auto got = entries(menu);
    ASSERT_EQ(got.size(), want.size()) << menu->title().toStdString();
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(testing::Message() << menu->title().toStdString() << " row " << i + 1);
        EXPECT_EQ(got[i].name, want[i].name);
        EXPECT_EQ(got[i].caption, want[i].caption);
        EXPECT_EQ(got[i].key, want[i].key);
    }
}

using MenuTest = WindowTest;

TEST_F(MenuTest, TreeMatchesTheTables)
{
    const auto menus = w().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "Игра");
    EXPECT_EQ(menus[0]->objectName(), "mnuGame");
    EXPECT_EQ(menus[1]->text(), "Настройки");
    EXPECT_EQ(menus[1]->objectName(), "mnuOptions");

    expectRows(menus[0]->menu(), {
        {"mnuSort", "Перемешать", "F1"},
        {"mnuReNew", "Заново", "F2"},
        {"-", "r1", ""},
        {"mnuGame1", "Черепаха", ""},
        {"mnuGame2", "Монумент", ""},
        {"mnuGame3", "Пирамидки", ""},
        {"mnuGame4", "Арена", ""},
        {"mnuGame5", "Четверка", ""},
        {"mnuGame6", "Стена", ""},
        {"-", "r2", ""},
        {"mnuGameRndL", "Случайный расклад", "F3"},
        {"mnuGameL1L20", "Набор раскладов 1", ""},
        {"mnuGameL21L40", "Набор раскладов 2", ""},
        {"mnuGameL41L60", "Набор раскладов 3", ""},
    });
    expectRows(menus[1]->menu(), {
        {"mnuAutoSort", "Перемешивать когда нет ходов", ""},
        {"mnuGray", "Выделять открытые/закрытые", ""},
        {"mnuESC", "Esc - закрыть программу", ""},
        {"-", "r3", ""},
        {"mnuSize70", "Размер костей 70\u044580", ""},
        {"mnuSize63", "Размер костей 63\u044572", ""},
        {"mnuSize56", "Размер костей 56\u044564", ""},
        {"mnuSize49", "Размер костей 49\u044556", ""},
    });
    expectRows(w().item("mnuGameL1L20")->menu(), {
        {"mnuGameL34", "Баланс", ""},           {"mnuGameL6", "Бесконечность", ""},
        {"mnuGameL29", "Блоки", ""},            {"mnuGameL13", "Бриллиант", ""},
        {"mnuGameL15", "Вишня", ""},            {"mnuGameL17", "Волна", ""},
        {"mnuGameL37", "Глаз смотрящего", ""},  {"mnuGameL4", "Гуманоид", ""},
        {"mnuGameL7", "Дерево", ""},            {"mnuGameL18", "Доллар", ""},
        {"mnuGameL9", "Дом", ""},               {"mnuGameL30", "Космический корабль", ""},
        {"mnuGameL21", "Крест", ""},            {"mnuGameL40", "Лабиринт", ""},
        {"mnuGameL11", "Ладья", ""},            {"mnuGameL31", "Лестница", ""},
        {"mnuGameL2", "Маленькая пирамида", ""}, {"mnuGameL8", "Мяч", ""},
        {"mnuGameL12", "Парусная лодка", ""},   {"mnuGameL25", "Победа", ""},
    });
    expectRows(w().item("mnuGameL21L40")->menu(), {
        {"mnuGameL20", "Привидение", ""},        {"mnuGameL16", "Прицел", ""},
        {"mnuGameL35", "Проказник", ""},         {"mnuGameL1", "Простое начало", ""},
        {"mnuGameL3", "Пять крестов", ""},       {"mnuGameL22", "Пять пирамид", ""},
        {"mnuGameL26", "Раскол", ""},            {"mnuGameL5", "Ромбики", ""},
        {"mnuGameL32", "Ромбическая пирамида", ""}, {"mnuGameL19", "Сетка", ""},
        {"mnuGameL14", "Смешное лицо", ""},      {"mnuGameL27", "Смещение", ""},
        {"mnuGameL36", "Стена", ""},             {"mnuGameL39", "Сторожевая башня", ""},
        {"mnuGameL38", "Треугольники", ""},      {"mnuGameL10", "Цветок", ""},
        {"mnuGameL24", "Чашка", ""},             {"mnuGameL33", "Четыре угла", ""},
        {"mnuGameL23", "Щупальца", ""},          {"mnuGameL28", "Электронная почта", ""},
    });
    QAction* set3 = w().item("mnuGameL41L60");
    EXPECT_FALSE(set3->isEnabled());
    EXPECT_TRUE(set3->menu()->actions().isEmpty());
    for (QAction* a : w().findChildren<QAction*>())
        EXPECT_FALSE(a->text().contains('&')) << a->text().toStdString();
}

TEST_F(MenuTest, MarksAtStart)
{
    const int layout = w().currentLayout();
    std::vector<std::string> marked;
    for (QAction* a : w().findChildren<QAction*>())
        if (a->isChecked())
            marked.push_back(a->objectName().toStdString());
    std::sort(marked.begin(), marked.end());
    std::vector<std::string> want{"mnuAutoSort", "mnuESC", "mnuGray", "mnuSize56",
                                  std::string(w().layoutItem(layout)->objectName().toStdString())};
    std::sort(want.begin(), want.end());
    EXPECT_EQ(marked, want);
    EXPECT_TRUE(layout == 1 || layout == 2 || layout == 4) << layout;
    expectViewMatchesGame(w());
}

// The layouts and the sizes are one-of-many in the toolkit's sense, so the
// menus show its round mark for them; the options are check boxes.
TEST_F(MenuTest, LayoutsAndSizesAreOneOfMany)
{
    std::vector<QAction*> layouts, sizes;
    for (int k = 1; k <= 46; ++k)
        layouts.push_back(w().layoutItem(k));
    for (int s : {70, 63, 56, 49})
        sizes.push_back(w().sizeItem(s));
    for (const auto* items : {&layouts, &sizes}) {
        QActionGroup* group = items->front()->actionGroup();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
        EXPECT_EQ(group->actions().size(), static_cast<qsizetype>(items->size()));
        for (QAction* a : *items) {
            EXPECT_TRUE(a->isCheckable()) << a->objectName().toStdString();
            EXPECT_EQ(a->actionGroup(), group) << a->objectName().toStdString();
        }
    }
    EXPECT_NE(layouts.front()->actionGroup(), sizes.front()->actionGroup());
    for (const char* name : {"mnuAutoSort", "mnuGray", "mnuESC"}) {
        EXPECT_TRUE(w().item(name)->isCheckable()) << name;
        EXPECT_EQ(w().item(name)->actionGroup(), nullptr) << name;
    }
}

// The captions here and the layouts they start agree with the catalog.
TEST_F(MenuTest, LayoutItemsStartTheirCatalogLayouts)
{
    for (const LayoutRecord& rec : layoutCatalog()) {
        QAction* a = w().item(std::string(rec.menuItem).c_str());
        ASSERT_NE(a, nullptr) << rec.menuItem;
        EXPECT_EQ(a, w().layoutItem(rec.number));
        EXPECT_EQ(a->text().toStdString(), rec.caption);
    }
    const auto rec = layoutByNumber(27);
    start(27);
    EXPECT_EQ(g().nTotal, rec.tiles);
    EXPECT_EQ(w().currentLayout(), 27);
}

// Qt flips a checkable item on its own before the handler runs; the handler
// must still flip it exactly once, and choosing the current size not at all.
TEST_F(MenuTest, EveryChoiceFlipsItsMarkOnce)
{
    for (const char* name : {"mnuAutoSort", "mnuGray", "mnuESC"}) {
        QAction* a = w().item(name);
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << name;
        a->trigger();
        EXPECT_TRUE(a->isChecked()) << name;
    }
    // The current size: nothing at all, the selection stays.
    const int16_t a = openPair(g()).first;
    int x, y, z;
    ASSERT_TRUE(cellOf(g(), a, x, y, z));
    const int face = g().aMap(x, y, z);
    clickTile(w(), a);
    w().item("mnuSize56")->trigger();
    EXPECT_TRUE(w().item("mnuSize56")->isChecked());
    EXPECT_EQ(g().nSel1, a);
    EXPECT_EQ(board().spritePicture(a), &w().pictures().picture(TileLook::Selected, 56, face));
    // Another size drops the selection.
    w().item("mnuSize49")->trigger();
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(board().spritePicture(a), &w().pictures().picture(TileLook::Normal, 49, face));
    for (int s : {70, 63, 56, 49})
        EXPECT_EQ(w().sizeItem(s)->isChecked(), s == 49) << s;
    EXPECT_EQ(g().nSize, 49);

    const int layout = w().currentLayout();
    w().layoutItem(layout)->trigger();  // the marked item deals its layout anew
    EXPECT_EQ(w().currentLayout(), layout);
    int marked = 0;
    for (int k = 1; k <= 46; ++k)
        marked += w().layoutItem(k)->isChecked();
    EXPECT_EQ(marked, 1);
    w().item("mnuGameL41L60")->trigger();  // no action at all
    EXPECT_EQ(w().currentLayout(), layout);
    expectViewMatchesGame(w());
}

}  // namespace
}  // namespace plitar::test
