#include "solver/DeadGroups.h"

#include "solver/Splits.h"

namespace plitar::solver {

namespace {

// Whether the pair a, b, taken together, has to wait for itself: some pair
// whose partners are already fixed (its group has two tiles left) lies on a or
// b, directly or through a stack, and a or b lies likewise on that pair or on
// one it waits for.
bool inCycle(const Problem& p, int a, int b, const Bits& present)
{
    const Bits holding = (p.needWith(a, b) | p.needWith(b, a)) & present;
    if (!holding.any())
        return false;  // nothing present holds the pair up
    Bits fixed;
    for (int g = 0; g < p.groupCount(); ++g) {
        const Bits r = present & p.groupMembers(g);
        if (r.count() == 2)
            fixed |= r;
    }
    fixed.set(a);
    fixed.set(b);
    const auto partnerOf = [&](int x) -> int {
        if (x == a)
            return b;
        if (x == b)
            return a;
        Bits r = present & p.groupMembers(p.groupOf(x));
        r.reset(x);
        return r.first();
    };
    Bits seen;
    Bits frontier = holding & fixed;
    while (frontier.any()) {
        if (frontier.test(a) || frontier.test(b))
            return true;
        seen |= frontier;
        Bits next;
        frontier.forEach([&](int x) {
            const int y = partnerOf(x);
            next |= p.needWith(x, y) | p.needWith(y, x);
        });
        frontier = (next & fixed).minus(seen);
    }
    return false;
}

}  // namespace

bool groupDead(const Problem& p, int g, const Bits& present)
{
    const Bits r = present & p.groupMembers(g);
    const int c = r.count();
    if (c % 2 != 0)
        return true;
    if (c != 2 && c != 4)
        return false;
    const auto fits = [&](int a, int b) { return !p.pairDead(a, b) && !inCycle(p, a, b, present); };
    if (c == 2) {
        const auto [a, b] = r.firstTwo();
        return !fits(a, b);
    }
    for (const Split& q : splitsOfFour(r))
        if (fits(q[0], q[1]) && fits(q[2], q[3]))
            return false;
    return true;
}

}  // namespace plitar::solver
