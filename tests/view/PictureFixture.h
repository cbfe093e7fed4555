// One application and one store of tile pictures for a whole run of the
// picture tests: making them is what the game does once, and every test only
// reads them. With the colour tolerance that the tests of drawn art share.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

#include "view/TilePictures.h"

namespace plitar::fixture {

inline constexpr TileLook kLooks[] = {TileLook::Normal, TileLook::Selected, TileLook::Grey};

// Equal but for the rounding of a barely covered or blended edge pixel.
inline bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) <= 3;
}

class PictureFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_view_pictures";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
        static TilePictures shared;  // one store for every suite of the run
        pictures = &shared;
    }
    static inline TilePictures* pictures = nullptr;

    const QImage& pic(TileLook look, int size, int face) { return pictures->picture(look, size, face); }
};

}  // namespace plitar::fixture
