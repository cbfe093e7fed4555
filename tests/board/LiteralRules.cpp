#include "LiteralRules.h"

#include <cmath>
#include <vector>

namespace plitar::literal {

namespace {

int draw(int k, const std::function<float()>& rnd)
{
    int i = static_cast<int>(std::floor(static_cast<double>(k) * rnd()));
    return i >= k ? k : i + 1;
}

int16_t takeAt(std::vector<int16_t>& list, int index)
{
    const int16_t f = list[static_cast<std::size_t>(index - 1)];
    list.erase(list.begin() + (index - 1));
    return f;
}

}  // namespace

bool findTile(const modPlitar& g, int16_t n, int& x, int& y, int& z)
{
    for (z = 1; z <= 10; ++z)
        for (y = 1; y <= 30; ++y)
            for (x = 1; x <= 50; ++x)
                if (g.aIndex(x, y, z) == n)
                    return true;
    return false;
}

int enSel(const modPlitar& g, int16_t n)
{
    if (n == 0)
        return 0;
    int x, y, z;
    if (!findTile(g, n, x, y, z))
        return -1;
    if (z < 10)
        for (int j = y - 1; j <= y + 1; ++j)
            for (int i = x - 1; i <= x + 1; ++i)
                if (g.aMap(i, j, z + 1) != 0)
                    return 0;
    const bool left = g.aMap(x - 2, y - 1, z) == 0 && g.aMap(x - 2, y, z) == 0 && g.aMap(x - 2, y + 1, z) == 0;
    const bool right = g.aMap(x + 2, y - 1, z) == 0 && g.aMap(x + 2, y, z) == 0 && g.aMap(x + 2, y + 1, z) == 0;
    return left || right ? 1 : 0;
}

int pairs(const modPlitar& g)
{
    std::vector<int16_t> faces;
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x)
                if (g.aMap(x, y, z) != 0 && enSel(g, g.aIndex(x, y, z)) == 1)
                    faces.push_back(g.aMap(x, y, z));
    int count = 0;
    for (std::size_t j = 0; j < faces.size(); ++j)
        for (std::size_t k = 0; k < faces.size(); ++k)
            if (j != k && facesMatch(faces[j], faces[k]))
                ++count;
    return count;
}

void sort(modPlitar& g, const std::function<float()>& rnd)
{
    g.nSel1 = 0;
    g.nSel2 = 0;
    std::vector<int16_t> list;
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x)
                if (g.aMap(x, y, z) != 0)
                    list.push_back(g.aMap(x, y, z));
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x)
                if (g.aMap(x, y, z) != 0)
                    g.aMap.set(x, y, z, takeAt(list, draw(static_cast<int>(list.size()), rnd)));
}

void set144(modPlitar& g, const std::function<float()>& rnd)
{
    std::vector<int16_t> pool;
    for (int c = 0; c < 4; ++c)
        for (int f = 1; f <= 27; ++f)
            pool.push_back(static_cast<int16_t>(f));
    for (int c = 0; c < 4; ++c)
        for (int f = 28; f <= 34; ++f)
            pool.push_back(static_cast<int16_t>(f));
    for (int f = 35; f <= 42; ++f)
        pool.push_back(static_cast<int16_t>(f));
    int n = 0;
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x)
                if (g.aMap(x, y, z) != 0)
                    ++n;
    g.nTotal = static_cast<int16_t>(n);
    const int half = n / 2;
    std::vector<int16_t> first, second;
    for (int j = 1; j <= half; ++j) {
        const int16_t f = takeAt(pool, draw(static_cast<int>(pool.size()), rnd));
        first.push_back(f);
        second.push_back(f);
    }
    int t = n, m = 0;
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x) {
                if (g.aMap(x, y, z) == 0)
                    continue;
                if (m == 0)
                    m = half;
                auto& list = t > half ? first : second;
                g.aMap.set(x, y, z, takeAt(list, draw(m, rnd)));
                g.aIndex.set(x, y, z, static_cast<int16_t>(t));
                --t;
                --m;
            }
}

}  // namespace plitar::literal
