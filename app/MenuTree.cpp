#include "app/MenuTree.h"

namespace plitar {

const std::array<LayoutItem, 46> kLayoutItems{{
    {"mnuGame1", "Черепаха"},
    {"mnuGame2", "Монумент"},
    {"mnuGame3", "Пирамидки"},
    {"mnuGame4", "Арена"},
    {"mnuGame5", "Четверка"},
    {"mnuGame6", "Стена"},
    {"mnuGameL1", "Простое начало"},
    {"mnuGameL2", "Маленькая пирамида"},
    {"mnuGameL3", "Пять крестов"},
    {"mnuGameL4", "Гуманоид"},
    {"mnuGameL5", "Ромбики"},
    {"mnuGameL6", "Бесконечность"},
    {"mnuGameL7", "Дерево"},
    {"mnuGameL8", "Мяч"},
    {"mnuGameL9", "Дом"},
    {"mnuGameL10", "Цветок"},
    {"mnuGameL11", "Ладья"},
    {"mnuGameL12", "Парусная лодка"},
    {"mnuGameL13", "Бриллиант"},
    {"mnuGameL14", "Смешное лицо"},
    {"mnuGameL15", "Вишня"},
    {"mnuGameL16", "Прицел"},
    {"mnuGameL17", "Волна"},
    {"mnuGameL18", "Доллар"},
    {"mnuGameL19", "Сетка"},
    {"mnuGameL20", "Привидение"},
    {"mnuGameL21", "Крест"},
    {"mnuGameL22", "Пять пирамид"},
    {"mnuGameL23", "Щупальца"},
    {"mnuGameL24", "Чашка"},
    {"mnuGameL25", "Победа"},
    {"mnuGameL26", "Раскол"},
    {"mnuGameL27", "Смещение"},
    {"mnuGameL28", "Электронная почта"},
    {"mnuGameL29", "Блоки"},
    {"mnuGameL30", "Космический корабль"},
    {"mnuGameL31", "Лестница"},
    {"mnuGameL32", "Ромбическая пирамида"},
    {"mnuGameL33", "Четыре угла"},
    {"mnuGameL34", "Баланс"},
    {"mnuGameL35", "Проказник"},
    {"mnuGameL36", "Стена"},
    {"mnuGameL37", "Глаз смотрящего"},
    {"mnuGameL38", "Треугольники"},
    {"mnuGameL39", "Сторожевая башня"},
    {"mnuGameL40", "Лабиринт"},
}};

// mnuGameLk has catalog number k + 6.
const std::array<int, 20> kSet1Order{
    34 + 6, 6 + 6, 29 + 6, 13 + 6, 15 + 6, 17 + 6, 37 + 6, 4 + 6, 7 + 6, 18 + 6,
    9 + 6, 30 + 6, 21 + 6, 40 + 6, 11 + 6, 31 + 6, 2 + 6, 8 + 6, 12 + 6, 25 + 6,
};
const std::array<int, 20> kSet2Order{
    20 + 6, 16 + 6, 35 + 6, 1 + 6, 3 + 6, 22 + 6, 26 + 6, 5 + 6, 32 + 6, 19 + 6,
    14 + 6, 27 + 6, 36 + 6, 39 + 6, 38 + 6, 10 + 6, 24 + 6, 33 + 6, 23 + 6, 28 + 6,
};

}  // namespace plitar
