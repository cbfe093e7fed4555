// The 46 built-in layouts, in catalog order. Every layer line stands exactly
// as the catalog writes it: "y rows: x columns" groups separated by
// semicolons, a run such as 3-9 meaning every second value (3, 5, 7, 9).
// The parenthesised count of the catalog is the second field of each line.
// checkLayout() proves the counts, the span and the stacking of every record.

#include <iterator>

#include "maps/modMaps.h"

namespace plitar {
namespace {

// 1. "Черепаха": 144 tiles in 5 layers; spans columns 1 to 30 and rows 1 to 16.
constexpr LayerLine subGame1Layers[] = {
    {1, 87, "y 1, 7, 9, 15: x 3-25; y 3, 13: x 7-21; y 5, 11: x 5-23; y 8: x 1, 27, 29"},
    {2, 36, "y 3-13: x 9-19"},
    {3, 16, "y 5-11: x 11-17"},
    {4, 4, "y 7, 9: x 13, 15"},
    {5, 1, "y 8: x 14"},
};

// 2. "Монумент": 144 tiles in 5 layers; spans columns 1 to 22 and rows 1 to 16.
constexpr LayerLine subGame2Layers[] = {
    {1, 72, "y 1, 13: x 1-5, 9-13, 17-21; y 3, 11: x 1, 3, 7-15, 19, 21; y 5, 9: x 1, 5-17, 21; y 7: x 3-19; y 15: x 1-7, 11, 15-21"},
    {2, 43, "y 1, 13: x 1, 3, 11, 19, 21; y 3, 11: x 1, 9-13, 21; y 5, 9: x 7-15; y 7: x 5-17; y 15: x 1-5, 17-21"},
    {3, 21, "y 1, 13: x 1, 21; y 3, 11: x 11; y 5, 9: x 9-13; y 7: x 7-15; y 15: x 1, 3, 19, 21"},
    {4, 7, "y 5, 9: x 11; y 7: x 9-13; y 15: x 1, 21"},
    {5, 1, "y 7: x 11"},
};

// 3. "Пирамидки": 144 tiles in 5 layers; spans columns 1 to 22 and rows 1 to 16.
constexpr LayerLine subGame3Layers[] = {
    {1, 40, "y 1, 15: x 2, 8, 14, 20; y 4, 6, 10, 12: x 1, 3, 7, 9, 13, 15, 19, 21"},
    {2, 32, "y 4, 6, 10, 12: x 1, 3, 7, 9, 13, 15, 19, 21"},
    {3, 32, "y 4, 6, 10, 12: x 1, 3, 7, 9, 13, 15, 19, 21"},
    {4, 32, "y 4, 6, 10, 12: x 1, 3, 7, 9, 13, 15, 19, 21"},
    {5, 8, "y 5, 11: x 2, 8, 14, 20"},
};

// 4. "Арена": 144 tiles in 5 layers; spans columns 1 to 26 and rows 1 to 14.
constexpr LayerLine subGame4Layers[] = {
    {1, 63, "y 1, 13: x 1-9, 17-25; y 3, 11: x 1-7, 11-15, 19-25; y 5, 9: x 1-5, 13, 21-25; y 7: x 1, 3, 11-15, 23, 25"},
    {2, 41, "y 1, 13: x 1-7, 19-25; y 3, 11: x 1-5, 13, 21-25; y 5, 9: x 1, 3, 23, 25; y 7: x 1, 13, 25"},
    {3, 24, "y 1, 13: x 1-5, 21-25; y 3, 11: x 1, 3, 23, 25; y 5, 9: x 1, 25"},
    {4, 12, "y 1, 13: x 1, 3, 23, 25; y 3, 11: x 1, 25"},
    {5, 4, "y 1, 13: x 1, 25"},
};

// 5. "Четверка": 144 tiles in 4 layers; spans columns 1 to 18 and rows 1 to 18.
constexpr LayerLine subGame5Layers[] = {
    {1, 67, "y 1, 3, 15, 17: x 1-17; y 5: x 1-7, 13-17; y 7: x 1-5, 13-17; y 9: x 1, 3, 9, 13-17; y 11: x 1, 3, 15, 17; y 13: x 1-9, 13-17"},
    {2, 27, "y 1, 17: x 1, 17; y 3: x 7-13; y 5: x 7, 13; y 7: x 5, 13; y 9: x 3, 9, 13, 15; y 11: x 3, 15; y 13: x 3-9, 13, 15; y 15: x 9-13"},
    {3, 27, "y 1, 17: x 1, 17; y 3: x 7-13; y 5: x 7, 13; y 7: x 5, 13; y 9: x 3, 9, 13, 15; y 11: x 3, 15; y 13: x 3-9, 13, 15; y 15: x 9-13"},
    {4, 23, "y 3: x 7-13; y 5: x 7, 13; y 7: x 5, 13; y 9: x 3, 9, 13, 15; y 11: x 3, 15; y 13: x 3-9, 13, 15; y 15: x 9-13"},
};

// 6. "Стена": 144 tiles in 4 layers; spans columns 1 to 16 and rows 1 to 12.
constexpr LayerLine subGame6Layers[] = {
    {1, 44, "y 1, 3, 9, 11: x 1-15; y 5, 7: x 1-5, 11-15"},
    {2, 36, "y 1, 11: x 1-15; y 3, 9: x 3-13; y 5, 7: x 3, 5, 11, 13"},
    {3, 36, "y 1, 11: x 1-15; y 3, 9: x 3-13; y 5, 7: x 3, 5, 11, 13"},
    {4, 28, "y 1, 11: x 1-15; y 3, 9: x 5-11; y 5, 7: x 5, 11"},
};

// 7. "Простое начало": 20 tiles in 3 layers; spans columns 1 to 8 and rows 1 to 10.
constexpr LayerLine subGameL1Layers[] = {
    {1, 12, "y 1, 9: x 4; y 3, 7: x 2-6; y 5: x 1-7"},
    {2, 6, "y 2, 8: x 4; y 4, 6: x 3, 5"},
    {3, 2, "y 5: x 3, 5"},
};

// 8. "Маленькая пирамида": 34 tiles in 4 layers; spans columns 1 to 10 and rows 1 to 10.
constexpr LayerLine subGameL2Layers[] = {
    {1, 19, "y 1, 9: x 3-7; y 3, 7: x 2-8; y 5: x 1-9"},
    {2, 10, "y 2, 8: x 4, 6; y 4, 6: x 3-7"},
    {3, 3, "y 3-7: x 5"},
    {4, 2, "y 4, 6: x 5"},
};

// 9. "Пять крестов": 40 tiles in 3 layers; spans columns 1 to 22 and rows 1 to 20.
constexpr LayerLine subGameL3Layers[] = {
    {1, 25, "y 1, 5, 15, 19: x 11; y 3, 17: x 9-13; y 8, 12: x 3, 11, 19; y 10: x 1-5, 9-13, 17-21"},
    {2, 10, "y 3, 17: x 10, 12; y 10: x 2, 4, 10, 12, 18, 20"},
    {3, 5, "y 3, 17: x 11; y 10: x 3, 11, 19"},
};

// 10. "Гуманоид": 44 tiles in 2 layers; spans columns 1 to 16 and rows 1 to 16.
constexpr LayerLine subGameL4Layers[] = {
    {1, 29, "y 1, 5, 9: x 7, 9; y 3, 13: x 5-11; y 7: x 3-13; y 8: x 1, 15; y 11: x 6-10; y 15: x 4, 6, 10, 12"},
    {2, 15, "y 2-10: x 8; y 3, 12: x 6, 10; y 7: x 4, 6, 10, 12; y 14: x 5, 11"},
};

// 11. "Ромбики": 42 tiles in 3 layers; spans columns 1 to 26 and rows 1 to 14.
constexpr LayerLine subGameL5Layers[] = {
    {1, 33, "y 1, 13: x 13; y 2, 12: x 11, 15; y 3, 11: x 9, 17; y 4, 10: x 7, 19; y 5, 9: x 5, 9, 17, 21; y 6, 8: x 3, 11, 15, 23; y 7: x 1, 13, 25"},
    {2, 8, "y 4, 10: x 8, 18; y 7: x 2, 12, 14, 24"},
    {3, 1, "y 7: x 13"},
};

// 12. "Бесконечность": 48 tiles in 3 layers; spans columns 1 to 26 and rows 1 to 8.
constexpr LayerLine subGameL6Layers[] = {
    {1, 25, "y 1, 7: x 5, 7, 19, 21; y 2, 6: x 3, 9, 17, 23; y 3, 5: x 1, 11, 15, 25; y 4: x 13"},
    {2, 21, "y 1, 7: x 5, 7, 19, 21; y 2, 6: x 3, 9, 17, 23; y 4: x 1, 11-15, 25"},
    {3, 2, "y 4: x 12, 14"},
};

// 13. "Дерево": 48 tiles in 2 layers; spans columns 1 to 24 and rows 1 to 16.
constexpr LayerLine subGameL7Layers[] = {
    {1, 34, "y 1, 13, 15: x 11, 13; y 3: x 9-15; y 5: x 7, 11, 13, 17; y 7: x 5, 9-15, 19; y 9: x 3, 7, 11, 13, 17, 21; y 11: x 1, 5, 9-15, 19, 23"},
    {2, 14, "y 1, 5, 9, 13, 15: x 12; y 3, 7, 11: x 10-14"},
};

// 14. "Мяч": 48 tiles in 1 layer; spans columns 1 to 20 and rows 1 to 14.
constexpr LayerLine subGameL8Layers[] = {
    {1, 48, "y 1, 13: x 7-13; y 3, 11: x 3-17; y 5, 9: x 1-5, 9, 11, 15-19; y 7: x 1, 3, 7-13, 17, 19"},
};

// 15. "Дом": 50 tiles in 1 layer; spans columns 1 to 20 and rows 1 to 16.
constexpr LayerLine subGameL9Layers[] = {
    {1, 50, "y 1: x 7-13, 17; y 3: x 5, 7, 13-17; y 5, 15: x 3-17; y 7: x 1-19; y 9, 11: x 3, 9, 11, 17; y 13: x 3-11, 17"},
};

// 16. "Цветок": 54 tiles in 2 layers; spans columns 1 to 27 and rows 1 to 18.
constexpr LayerLine subGameL10Layers[] = {
    {1, 33, "y 1: x 7; y 3: x 6, 8; y 4: x 4, 10; y 6: x 1, 3, 7, 11, 13; y 8: x 4, 10, 14; y 9: x 6, 8, 16; y 10, 16: x 18; y 11: x 7, 16, 24; y 12: x 18, 22, 26; y 13: x 10, 12, 16, 20; y 14: x 8, 14, 18; y 15, 17: x 16"},
    {2, 21, "y 2: x 7; y 4: x 4, 10; y 6: x 2, 7, 12; y 8: x 4, 10, 14; y 10: x 7, 17; y 11: x 24; y 12: x 17, 22, 26; y 13: x 11, 19; y 14: x 8, 15, 17; y 16: x 17"},
};

// 17. "Ладья": 54 tiles in 4 layers; spans columns 1 to 10 and rows 1 to 12.
constexpr LayerLine subGameL11Layers[] = {
    {1, 22, "y 1, 3, 9, 11: x 1, 5, 9; y 2, 4, 8, 10: x 3, 7; y 5, 7: x 5"},
    {2, 13, "y 2, 10: x 1, 5, 9; y 3, 9: x 3, 7; y 4-8: x 5"},
    {3, 12, "y 2, 10: x 1, 9; y 3, 9: x 3-7; y 5, 7: x 5"},
    {4, 7, "y 3, 9: x 3, 7; y 4-8: x 5"},
};

// 18. "Парусная лодка": 54 tiles in 1 layer; spans columns 1 to 24 and rows 1 to 18.
constexpr LayerLine subGameL12Layers[] = {
    {1, 54, "y 1: x 11; y 3, 5, 9: x 9, 11; y 4: x 7; y 6, 8: x 7, 13; y 7: x 5, 9, 11; y 10: x 13, 15; y 11: x 1-5, 11, 19-23; y 13: x 2-22; y 15: x 3-21; y 17: x 4-20"},
};

// 19. "Бриллиант": 60 tiles in 2 layers; spans columns 1 to 18 and rows 1 to 14.
constexpr LayerLine subGameL13Layers[] = {
    {1, 37, "y 1, 9: x 5-13; y 3, 7: x 3-15; y 5: x 1-17; y 11: x 7-11; y 13: x 9"},
    {2, 23, "y 2, 8: x 6-12; y 4, 6: x 4-14; y 10: x 8, 10; y 12: x 9"},
};

// 20. "Смешное лицо": 60 tiles in 2 layers; spans columns 1 to 18 and rows 1 to 14.
constexpr LayerLine subGameL14Layers[] = {
    {1, 43, "y 1, 13: x 5-13; y 3: x 3-15; y 5: x 1, 3, 9, 15, 17; y 7: x 1-5, 8, 10, 13-17; y 9: x 1-17; y 11: x 3, 5, 13, 15"},
    {2, 17, "y 2, 13: x 6-12; y 3, 11: x 4, 14; y 6: x 2, 16; y 8: x 2, 9, 16"},
};

// 21. "Вишня": 60 tiles in 2 layers; spans columns 1 to 20 and rows 1 to 16.
constexpr LayerLine subGameL15Layers[] = {
    {1, 38, "y 1: x 9, 11; y 3: x 7-13; y 5: x 6, 8, 12, 14; y 7: x 5, 7, 13, 15; y 9, 15: x 3, 5, 15, 17; y 11, 13: x 1-7, 13-19"},
    {2, 22, "y 2: x 9, 11; y 4: x 7, 13; y 6: x 6, 14; y 8: x 5, 15; y 10, 14: x 3, 5, 15, 17; y 12: x 2-6, 14-18"},
};

// 22. "Прицел": 64 tiles in 1 layer; spans columns 1 to 40 and rows 1 to 20.
constexpr LayerLine subGameL16Layers[] = {
    {1, 64, "y 1, 19: x 18, 22; y 2, 18: x 14, 16, 20, 24, 26; y 3, 17: x 12, 28; y 4, 16: x 10, 20, 30; y 5, 15: x 8, 32; y 6, 14: x 6, 20, 34; y 7, 13: x 4, 36; y 8, 12: x 2, 20, 38; y 10: x 1-39"},
};

// 23. "Волна": 64 tiles in 3 layers; spans columns 1 to 26 and rows 1 to 14.
constexpr LayerLine subGameL17Layers[] = {
    {1, 42, "y 1: x 5-9, 17-21; y 3: x 4-10, 16-22; y 5: x 3, 5, 9, 11, 15, 17, 21, 23; y 7: x 2, 4, 10-16, 22, 24; y 9: x 1, 3, 11-15, 23, 25; y 11: x 2, 12, 14, 24; y 13: x 13"},
    {2, 21, "y 2: x 6, 8, 18, 20; y 4: x 5, 9, 17, 21; y 6: x 3, 11, 15, 23; y 8, 10: x 2, 12, 14, 24; y 12: x 13"},
    {3, 1, "y 9: x 13"},
};

// 24. "Доллар": 64 tiles in 2 layers; spans columns 1 to 18 and rows 1 to 18.
constexpr LayerLine subGameL18Layers[] = {
    {1, 40, "y 1, 5, 7, 11, 13, 17: x 8, 10; y 3, 9, 15: x 6-12; y 4, 14: x 2, 4, 14, 16; y 6: x 1, 3; y 8: x 2, 4; y 10: x 14, 16; y 12: x 15, 17"},
    {2, 24, "y 1, 5, 7, 11, 13, 17: x 9; y 3, 15: x 7-11; y 4, 14: x 3, 15; y 6: x 2; y 8: x 3; y 9: x 6-12; y 10: x 15; y 12: x 16"},
};

// 25. "Сетка": 64 tiles in 1 layer; spans columns 1 to 20 and rows 1 to 16.
constexpr LayerLine subGameL19Layers[] = {
    {1, 64, "y 1-15: x 3, 5, 9, 11, 15, 17; y 2, 6, 10, 14: x 1, 7, 13, 19"},
};

// 26. "Привидение": 66 tiles in 1 layer; spans columns 1 to 22 and rows 1 to 16.
constexpr LayerLine subGameL20Layers[] = {
    {1, 66, "y 1: x 5-17; y 3: x 3-19; y 5: x 1, 7, 13-21; y 7: x 1, 5, 7, 11-21; y 9, 11: x 1-21; y 13, 15: x 1, 5, 9, 13, 17, 21"},
};

// 27. "Крест": 68 tiles in 5 layers; spans columns 1 to 16 and rows 1 to 16.
constexpr LayerLine subGameL21Layers[] = {
    {1, 24, "y 1, 15: x 8; y 3, 5, 11, 13: x 7, 9; y 7, 9: x 3-13; y 8: x 1, 15"},
    {2, 13, "y 2-6, 10-14: x 8; y 8: x 2-14"},
    {3, 12, "y 3-13: x 8; y 8: x 2-6, 10-14"},
    {4, 10, "y 4, 6, 10, 12: x 8; y 8: x 3-13"},
    {5, 9, "y 4, 6, 10, 12: x 8; y 8: x 4-12"},
};

// 28. "Пять пирамид": 70 tiles in 3 layers; spans columns 1 to 30 and rows 1 to 14.
constexpr LayerLine subGameL22Layers[] = {
    {1, 45, "y 1-5: x 7-11, 19-23; y 9-13: x 1-5, 13-17, 25-29"},
    {2, 20, "y 2, 4: x 8, 10, 20, 22; y 10, 12: x 2, 4, 14, 16, 26, 28"},
    {3, 5, "y 3: x 9, 21; y 11: x 3, 15, 27"},
};

// 29. "Щупальца": 74 tiles in 5 layers; spans columns 1 to 30 and rows 1 to 16.
constexpr LayerLine subGameL23Layers[] = {
    {1, 46, "y 1, 15: x 1, 29; y 2, 14: x 3, 27; y 3, 13: x 5, 7, 23, 25; y 4, 12: x 3, 9, 11, 19, 21, 27; y 5, 11: x 1, 13-17, 29; y 7, 9: x 15; y 8: x 9-13, 17-21"},
    {2, 15, "y 3, 13: x 4, 6, 24, 26; y 6, 10: x 15; y 8: x 11-19"},
    {3, 8, "y 3, 13: x 5, 25; y 8: x 12-18"},
    {4, 3, "y 8: x 13-17"},
    {5, 2, "y 8: x 14, 16"},
};

// 30. "Чашка": 76 tiles in 2 layers; spans columns 1 to 14 and rows 1 to 16.
constexpr LayerLine subGameL24Layers[] = {
    {1, 38, "y 1-5: x 1-13; y 7, 15: x 3-11; y 9, 13: x 5-9; y 11: x 7"},
    {2, 38, "y 1-5: x 1-13; y 7, 15: x 3-11; y 9, 13: x 5-9; y 11: x 7"},
};

// 31. "Победа": 82 tiles in 3 layers; spans columns 1 to 24 and rows 1 to 16.
constexpr LayerLine subGameL25Layers[] = {
    {1, 43, "y 1: x 1-5, 19-23; y 3: x 2-6, 18-22; y 5: x 3-7, 17-21; y 7: x 4-8, 16-20; y 9: x 5-9, 15-19; y 11: x 6-10, 14-18; y 13: x 8-16; y 15: x 11, 13"},
    {2, 26, "y 2: x 3, 5, 19, 21; y 4: x 4, 6, 18, 20; y 6: x 5, 7, 17, 19; y 8: x 6, 8, 16, 18; y 10: x 7, 9, 15, 17; y 12: x 8, 10, 14, 16; y 14: x 11, 13"},
    {3, 13, "y 2: x 4, 20; y 4: x 5, 19; y 6: x 6, 18; y 8: x 7, 17; y 10: x 8, 16; y 12: x 9, 15; y 14: x 12"},
};

// 32. "Раскол": 84 tiles in 4 layers; spans columns 1 to 28 and rows 1 to 16.
constexpr LayerLine subGameL26Layers[] = {
    {1, 52, "y 1, 15: x 9-19; y 3, 13: x 10-18; y 5, 11: x 11-17; y 6, 10: x 5, 23; y 7, 9: x 3, 7, 13, 15, 21, 25; y 8: x 1, 5, 9, 19, 23, 27"},
    {2, 19, "y 2, 14: x 10-18; y 4, 6, 10, 12: x 14; y 8: x 4, 6, 14, 22, 24"},
    {3, 8, "y 3-13: x 14; y 8: x 5, 23"},
    {4, 5, "y 4-12: x 14"},
};

// 33. "Смещение": 88 tiles in 4 layers; spans columns 1 to 24 and rows 1 to 12.
constexpr LayerLine subGameL27Layers[] = {
    {1, 42, "y 1: x 1-13; y 3: x 3-15; y 5: x 5-17; y 7: x 7-19; y 9: x 9-21; y 11: x 11-23"},
    {2, 26, "y 2: x 4-12; y 4: x 6-14; y 6: x 8-16; y 8: x 10-18; y 10: x 11-21"},
    {3, 12, "y 3: x 7-11; y 5: x 9-13; y 7: x 11-15; y 9: x 12-16"},
    {4, 8, "y 3: x 8, 10; y 5: x 10, 12; y 7: x 12, 14; y 9: x 13, 15"},
};

// 34. "Электронная почта": 88 tiles in 2 layers; spans columns 1 to 22 and rows 1 to 16.
constexpr LayerLine subGameL28Layers[] = {
    {1, 52, "y 1: x 5-17; y 3: x 3, 5, 17, 19; y 5: x 1, 3, 9-13, 19, 21; y 7: x 1, 3, 7, 9, 13, 15, 19, 21; y 9: x 1, 3, 7, 9, 13-19; y 11: x 1, 3, 9-13, 17, 19; y 13: x 3, 5; y 15: x 5-21"},
    {2, 36, "y 1: x 6-16; y 3: x 3, 5, 17, 19; y 5: x 2, 11, 20; y 6, 10: x 9, 13; y 7: x 2, 20; y 8: x 8, 15; y 9: x 2, 17, 19; y 11: x 2, 11, 18; y 13: x 3, 5; y 15: x 6-18"},
};

// 35. "Блоки": 88 tiles in 2 layers; spans columns 1 to 22 and rows 1 to 14.
constexpr LayerLine subGameL29Layers[] = {
    {1, 44, "y 1, 3, 11, 13: x 1, 3, 7, 9, 13, 15, 19, 21; y 6, 8: x 4, 6, 10, 12, 16, 18"},
    {2, 44, "y 1, 3, 11, 13: x 1, 3, 7, 9, 13, 15, 19, 21; y 6, 8: x 4, 6, 10, 12, 16, 18"},
};

// 36. "Космический корабль": 90 tiles in 4 layers; spans columns 1 to 26 and rows 1 to 14.
constexpr LayerLine subGameL30Layers[] = {
    {1, 46, "y 1, 5, 7: x 13; y 2, 10: x 11, 15; y 3, 9, 11: x 9, 13, 17; y 4, 8: x 2, 4, 11, 15, 22, 24; y 6: x 1-11, 15-25; y 12: x 7, 11, 15, 19; y 13: x 9, 17"},
    {2, 27, "y 2-8: x 13; y 3, 9, 11: x 11, 15; y 5, 7: x 2, 4, 11, 15, 22, 24; y 10: x 9, 13, 17; y 12: x 9, 17"},
    {3, 12, "y 3, 9: x 13; y 5, 7: x 3, 13, 23; y 10: x 11, 15; y 11: x 9, 17"},
    {4, 5, "y 4, 8: x 13; y 6: x 3, 13, 23"},
};

// 37. "Лестница": 90 tiles in 5 layers; spans columns 1 to 10 and rows 1 to 12.
constexpr LayerLine subGameL31Layers[] = {
    {1, 30, "y 1-11: x 1-9"},
    {2, 24, "y 1-11: x 1-7"},
    {3, 18, "y 1-11: x 1-5"},
    {4, 12, "y 1-11: x 1, 3"},
    {5, 6, "y 1-11: x 1"},
};

// 38. "Ромбическая пирамида": 92 tiles in 6 layers; spans columns 1 to 22 and rows 1 to 12.
constexpr LayerLine subGameL32Layers[] = {
    {1, 36, "y 1, 11: x 11; y 2, 10: x 9, 13; y 3, 9: x 7, 11, 15; y 4, 8: x 5, 9, 13, 17; y 5, 7: x 3, 7, 11, 15, 19; y 6: x 1, 5, 9, 13, 17, 21"},
    {2, 25, "y 2, 10: x 11; y 3, 9: x 9, 13; y 4, 8: x 7, 11, 15; y 5, 7: x 5, 9, 13, 17; y 6: x 3, 7, 11, 15, 19"},
    {3, 16, "y 3, 9: x 11; y 4, 8: x 9, 13; y 5, 7: x 7, 11, 15; y 6: x 5, 9, 13, 17"},
    {4, 9, "y 4, 8: x 11; y 5, 7: x 9, 13; y 6: x 7, 11, 15"},
    {5, 4, "y 5, 7: x 11; y 6: x 9, 13"},
    {6, 2, "y 6: x 10, 12"},
};

// 39. "Четыре угла": 92 tiles in 3 layers; spans columns 1 to 20 and rows 1 to 12.
constexpr LayerLine subGameL33Layers[] = {
    {1, 48, "y 1: x 1-9, 13-17; y 3: x 1-17; y 5: x 1-9, 15, 17; y 7: x 3, 5, 11-19; y 9: x 3-19; y 11: x 3-7, 11-19"},
    {2, 28, "y 2: x 2-8, 14, 16; y 3: x 10, 12; y 4: x 2-8, 15; y 6: x 5, 15; y 8: x 5, 12-18; y 9: x 8, 10; y 10: x 4, 6, 12-18"},
    {3, 16, "y 3: x 3-11, 15; y 5, 7: x 5, 15; y 9: x 5, 9-17"},
};

// 40. "Баланс": 94 tiles in 2 layers; spans columns 1 to 26 and rows 1 to 16.
constexpr LayerLine subGameL34Layers[] = {
    {1, 54, "y 1, 13: x 13; y 3: x 5-21; y 5: x 4, 6, 13, 20, 22; y 7: x 3-7, 13, 19-23; y 9: x 2-8, 13, 18-24; y 11: x 1-9, 13, 17-25; y 15: x 3-23"},
    {2, 40, "y 2, 12, 14: x 13; y 3: x 7-11, 15-19; y 4: x 5, 13, 21; y 6: x 4, 6, 13, 20, 22; y 8: x 4, 6, 13, 19-23; y 10: x 2-8, 13, 18-24; y 15: x 5-11, 15-21"},
};

// 41. "Проказник": 94 tiles in 4 layers; spans columns 1 to 20 and rows 1 to 15.
constexpr LayerLine subGameL35Layers[] = {
    {1, 44, "y 1, 5: x 2, 4, 16, 18; y 3: x 3-17; y 7: x 1-19; y 9: x 1, 3, 17, 19; y 10: x 5, 15; y 11: x 3, 7, 13, 17; y 12: x 5, 9, 11, 15; y 13: x 7, 13; y 14: x 9, 11"},
    {2, 29, "y 1, 5: x 3, 17; y 3: x 4-16; y 7: x 2-18; y 9: x 2, 18; y 11: x 4, 16; y 12: x 6, 14; y 13: x 8-12"},
    {3, 15, "y 3: x 5-15; y 7: x 3-7, 10, 13-17; y 13: x 9, 11"},
    {4, 6, "y 7: x 4, 6, 10, 14, 16; y 13: x 10"},
};

// 42. "Стена": 98 tiles in 9 layers; spans columns 1 to 24 and rows 1 to 8.
constexpr LayerLine subGameL36Layers[] = {
    {1, 38, "y 1, 7: x 5-19; y 3, 5: x 3-21; y 4: x 1, 23"},
    {2, 11, "y 4: x 2-22"},
    {3, 10, "y 4: x 3-21"},
    {4, 9, "y 4: x 4-20"},
    {5, 8, "y 4: x 5-19"},
    {6, 7, "y 4: x 6-18"},
    {7, 6, "y 4: x 7-17"},
    {8, 5, "y 4: x 8-16"},
    {9, 4, "y 4: x 9-15"},
};

// 43. "Глаз смотрящего": 98 tiles in 2 layers; spans columns 1 to 38 and rows 1 to 16.
constexpr LayerLine subGameL37Layers[] = {
    {1, 58, "y 1, 15: x 12-26; y 3, 13: x 9-13, 25-29; y 5, 11: x 6, 8, 18, 20, 30, 32; y 7, 9: x 3, 5, 16-22, 33, 35; y 8: x 1, 37"},
    {2, 40, "y 1, 15: x 13-25; y 3, 13: x 10, 12, 26, 28; y 5, 11: x 7, 19, 31; y 7, 9: x 4, 17-21, 34; y 8: x 2, 36"},
};

// 44. "Треугольники": 100 tiles in 4 layers; spans columns 1 to 16 and rows 1 to 16.
constexpr LayerLine subGameL38Layers[] = {
    {1, 36, "y 1: x 8; y 3: x 7, 9; y 5: x 6-10; y 7: x 5-11; y 9: x 4-12; y 11: x 3-13; y 13: x 2-14; y 15: x 1-15"},
    {2, 28, "y 2: x 8; y 4: x 7, 9; y 6: x 6-10; y 8: x 5-11; y 10: x 4-12; y 12: x 3-13; y 14: x 2-14"},
    {3, 21, "y 3: x 8; y 5: x 7, 9; y 7: x 6-10; y 9: x 5-11; y 11: x 4-12; y 13: x 3-13"},
    {4, 15, "y 4: x 8; y 6: x 7, 9; y 8: x 6-10; y 10: x 5-11; y 12: x 4-12"},
};

// 45. "Сторожевая башня": 102 tiles in 9 layers; spans columns 3 to 10 and rows 3 to 10.
constexpr LayerLine subGameL39Layers[] = {
    {1, 16, "y 3-9: x 3-9"},
    {2, 12, "y 4-8: x 3-9"},
    {3, 12, "y 4-8: x 3-9"},
    {4, 12, "y 4-8: x 3-9"},
    {5, 12, "y 4-8: x 3-9"},
    {6, 12, "y 4-8: x 3-9"},
    {7, 12, "y 4-8: x 3-9"},
    {8, 10, "y 4, 8: x 3-9; y 6: x 3, 9"},
    {9, 4, "y 4, 8: x 3, 9"},
};

// 46. "Лабиринт": 102 tiles in 2 layers; spans columns 1 to 32 and rows 1 to 14.
constexpr LayerLine subGameL40Layers[] = {
    {1, 66, "y 1: x 1, 5-31; y 3: x 1, 5, 19, 27, 31; y 5: x 1, 5, 9, 11, 15-19, 23-27, 31; y 7: x 1, 11, 15, 31; y 9: x 1-11, 15, 17, 21, 23, 27-31; y 11: x 1, 23, 31; y 13: x 1-27, 31"},
    {2, 36, "y 1: x 6-28; y 2-12: x 1, 31; y 13: x 4-26"},
};

// number, builder, menu item, caption, menu, place, tiles, columns, rows, layer lines
constexpr LayoutRecord kRecords[] = {
    {1, "subGame1", "mnuGame1", "Черепаха", "Игра", 1, 144, 1, 30, 1, 16, subGame1Layers},
    {2, "subGame2", "mnuGame2", "Монумент", "Игра", 2, 144, 1, 22, 1, 16, subGame2Layers},
    {3, "subGame3", "mnuGame3", "Пирамидки", "Игра", 3, 144, 1, 22, 1, 16, subGame3Layers},
    {4, "subGame4", "mnuGame4", "Арена", "Игра", 4, 144, 1, 26, 1, 14, subGame4Layers},
    {5, "subGame5", "mnuGame5", "Четверка", "Игра", 5, 144, 1, 18, 1, 18, subGame5Layers},
    {6, "subGame6", "mnuGame6", "Стена", "Игра", 6, 144, 1, 16, 1, 12, subGame6Layers},
    {7, "subGameL1", "mnuGameL1", "Простое начало", "Набор раскладов 2", 4, 20, 1, 8, 1, 10, subGameL1Layers},
    {8, "subGameL2", "mnuGameL2", "Маленькая пирамида", "Набор раскладов 1", 17, 34, 1, 10, 1, 10, subGameL2Layers},
    {9, "subGameL3", "mnuGameL3", "Пять крестов", "Набор раскладов 2", 5, 40, 1, 22, 1, 20, subGameL3Layers},
    {10, "subGameL4", "mnuGameL4", "Гуманоид", "Набор раскладов 1", 8, 44, 1, 16, 1, 16, subGameL4Layers},
    {11, "subGameL5", "mnuGameL5", "Ромбики", "Набор раскладов 2", 8, 42, 1, 26, 1, 14, subGameL5Layers},
    {12, "subGameL6", "mnuGameL6", "Бесконечность", "Набор раскладов 1", 2, 48, 1, 26, 1, 8, subGameL6Layers},
    {13, "subGameL7", "mnuGameL7", "Дерево", "Набор раскладов 1", 9, 48, 1, 24, 1, 16, subGameL7Layers},
    {14, "subGameL8", "mnuGameL8", "Мяч", "Набор раскладов 1", 18, 48, 1, 20, 1, 14, subGameL8Layers},
    {15, "subGameL9", "mnuGameL9", "Дом", "Набор раскладов 1", 11, 50, 1, 20, 1, 16, subGameL9Layers},
    {16, "subGameL10", "mnuGameL10", "Цветок", "Набор раскладов 2", 16, 54, 1, 27, 1, 18, subGameL10Layers},
    {17, "subGameL11", "mnuGameL11", "Ладья", "Набор раскладов 1", 15, 54, 1, 10, 1, 12, subGameL11Layers},
    {18, "subGameL12", "mnuGameL12", "Парусная лодка", "Набор раскладов 1", 19, 54, 1, 24, 1, 18, subGameL12Layers},
    {19, "subGameL13", "mnuGameL13", "Бриллиант", "Набор раскладов 1", 4, 60, 1, 18, 1, 14, subGameL13Layers},
    {20, "subGameL14", "mnuGameL14", "Смешное лицо", "Набор раскладов 2", 11, 60, 1, 18, 1, 14, subGameL14Layers},
    {21, "subGameL15", "mnuGameL15", "Вишня", "Набор раскладов 1", 5, 60, 1, 20, 1, 16, subGameL15Layers},
    {22, "subGameL16", "mnuGameL16", "Прицел", "Набор раскладов 2", 2, 64, 1, 40, 1, 20, subGameL16Layers},
    {23, "subGameL17", "mnuGameL17", "Волна", "Набор раскладов 1", 6, 64, 1, 26, 1, 14, subGameL17Layers},
    {24, "subGameL18", "mnuGameL18", "Доллар", "Набор раскладов 1", 10, 64, 1, 18, 1, 18, subGameL18Layers},
    {25, "subGameL19", "mnuGameL19", "Сетка", "Набор раскладов 2", 10, 64, 1, 20, 1, 16, subGameL19Layers},
    {26, "subGameL20", "mnuGameL20", "Привидение", "Набор раскладов 2", 1, 66, 1, 22, 1, 16, subGameL20Layers},
    {27, "subGameL21", "mnuGameL21", "Крест", "Набор раскладов 1", 13, 68, 1, 16, 1, 16, subGameL21Layers},
    {28, "subGameL22", "mnuGameL22", "Пять пирамид", "Набор раскладов 2", 6, 70, 1, 30, 1, 14, subGameL22Layers},
    {29, "subGameL23", "mnuGameL23", "Щупальца", "Набор раскладов 2", 19, 74, 1, 30, 1, 16, subGameL23Layers},
    {30, "subGameL24", "mnuGameL24", "Чашка", "Набор раскладов 2", 17, 76, 1, 14, 1, 16, subGameL24Layers},
    {31, "subGameL25", "mnuGameL25", "Победа", "Набор раскладов 1", 20, 82, 1, 24, 1, 16, subGameL25Layers},
    {32, "subGameL26", "mnuGameL26", "Раскол", "Набор раскладов 2", 7, 84, 1, 28, 1, 16, subGameL26Layers},
    {33, "subGameL27", "mnuGameL27", "Смещение", "Набор раскладов 2", 12, 88, 1, 24, 1, 12, subGameL27Layers},
    {34, "subGameL28", "mnuGameL28", "Электронная почта", "Набор раскладов 2", 20, 88, 1, 22, 1, 16, subGameL28Layers},
    {35, "subGameL29", "mnuGameL29", "Блоки", "Набор раскладов 1", 3, 88, 1, 22, 1, 14, subGameL29Layers},
    {36, "subGameL30", "mnuGameL30", "Космический корабль", "Набор раскладов 1", 12, 90, 1, 26, 1, 14, subGameL30Layers},
    {37, "subGameL31", "mnuGameL31", "Лестница", "Набор раскладов 1", 16, 90, 1, 10, 1, 12, subGameL31Layers},
    {38, "subGameL32", "mnuGameL32", "Ромбическая пирамида", "Набор раскладов 2", 9, 92, 1, 22, 1, 12, subGameL32Layers},
    {39, "subGameL33", "mnuGameL33", "Четыре угла", "Набор раскладов 2", 18, 92, 1, 20, 1, 12, subGameL33Layers},
    {40, "subGameL34", "mnuGameL34", "Баланс", "Набор раскладов 1", 1, 94, 1, 26, 1, 16, subGameL34Layers},
    {41, "subGameL35", "mnuGameL35", "Проказник", "Набор раскладов 2", 3, 94, 1, 20, 1, 15, subGameL35Layers},
    {42, "subGameL36", "mnuGameL36", "Стена", "Набор раскладов 2", 13, 98, 1, 24, 1, 8, subGameL36Layers},
    {43, "subGameL37", "mnuGameL37", "Глаз смотрящего", "Набор раскладов 1", 7, 98, 1, 38, 1, 16, subGameL37Layers},
    {44, "subGameL38", "mnuGameL38", "Треугольники", "Набор раскладов 2", 15, 100, 1, 16, 1, 16, subGameL38Layers},
    {45, "subGameL39", "mnuGameL39", "Сторожевая башня", "Набор раскладов 2", 14, 102, 3, 10, 3, 10, subGameL39Layers},
    {46, "subGameL40", "mnuGameL40", "Лабиринт", "Набор раскладов 1", 14, 102, 1, 32, 1, 14, subGameL40Layers},
};
static_assert(std::size(kRecords) == kLayoutCount);

}  // namespace

std::span<const LayoutRecord> layoutCatalog() { return kRecords; }

}  // namespace plitar
