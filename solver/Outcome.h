// What a solver run answers about a position.
#pragma once

namespace plitar::solver {

// Undecided: the run reached its limits first; never a guess.
enum class Outcome { Won, Lost, Undecided };

inline const char* outcomeName(Outcome o)
{
    switch (o) {
    case Outcome::Won:
        return "won";
    case Outcome::Lost:
        return "lost";
    case Outcome::Undecided:
        break;
    }
    return "undecided";
}

}  // namespace plitar::solver
