// The side and the cut corners of a tile picture, checked pixel by pixel
// against hand-drawn corners and against sampled rows across every size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/TileFrame.h"

using namespace plitar;

namespace {

// 'B' black, 'b' side blue, 'o' board colour, 'f' face (not part of the side).
char code(const TileShape& s, int x, int y)
{
    if (s.face().contains(x, y))
        return 'f';
    const QRgb c = sidePixel(s, x, y);
    if (c == kSideBlack) return 'B';
    if (c == kSideBlue) return 'b';
    if (c == kBoardColour) return 'o';
    return '?';
}

std::vector<std::string> drawn(const TileShape& s, int x0, int y0, int w, int h)
{
    std::vector<std::string> rows;
    for (int y = y0; y < y0 + h; ++y) {
        std::string row;
        for (int x = x0; x < x0 + w; ++x)
            row += code(s, x, y);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

// The three corners of a 56 x 64 picture (side 4 deep, blue 2 wide), drawn by hand.
TEST(TileFrame, CornersOfTheSmallSidesDrawnByHand)
{
    const TileShape s = tileShape(56);
    // Top-left: the cut leaves 3, 2, 1 board pixels, its edge runs black
    // from the face's corner down to the outer edge.
    EXPECT_EQ(drawn(s, 0, 0, 5, 5), (std::vector<std::string>{
        "oooBf",
        "ooBBf",
        "oBbBf",
        "BbbBf",
        "BbbBf"}));
    // Bottom-left: the 45-degree line from the face's corner to the picture's.
    EXPECT_EQ(drawn(s, 0, 59, 6, 5), (std::vector<std::string>{
        "BbbBff",
        "BbbBBB",
        "BbBbbb",
        "BBbbbb",
        "BBBBBB"}));
    // Bottom-right: the top-left cut turned half round.
    EXPECT_EQ(drawn(s, 51, 59, 5, 5), (std::vector<std::string>{
        "fffff",
        "BBBBB",
        "bbbBo",
        "bbBoo",
        "BBooo"}));
}

TEST(TileFrame, CornersOfTheLargeSidesDrawnByHand)
{
    const TileShape s = tileShape(63);
    EXPECT_EQ(drawn(s, 0, 0, 6, 6), (std::vector<std::string>{
        "ooooBf",
        "oooBBf",
        "ooBbBf",
        "oBbbBf",
        "BbbbBf",
        "BbbbBf"}));
    EXPECT_EQ(drawn(s, 0, 66, 7, 6), (std::vector<std::string>{
        "BbbbBff",
        "BbbbBBB",
        "BbbBbbb",
        "BbBbbbb",
        "BBbbbbb",
        "BBBBBBB"}));
    EXPECT_EQ(drawn(s, 57, 66, 6, 6), (std::vector<std::string>{
        "ffffff",
        "BBBBBB",
        "bbbbBo",
        "bbbBoo",
        "bbBooo",
        "BBoooo"}));
}

struct ShapeCase {
    int size, width, height, depth, faceWidth, faceHeight;
};

class TileShapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(TileShapes, MeasuresOfEachSize)
{
    const ShapeCase c = GetParam();
    const TileShape s = tileShape(c.size);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
    EXPECT_EQ(s.face(), QRect(c.depth, 0, c.faceWidth, c.faceHeight));
    EXPECT_EQ(s.face().right(), c.width - 1);
    EXPECT_EQ(s.face().bottom(), c.height - 1 - c.depth);
}

// Along the whole left edge and the whole bottom edge, away from the cut
// corners: black next to the face, blue d-2 wide, black outside.
TEST_P(TileShapes, SideBandAlongBothEdges)
{
    const ShapeCase c = GetParam();
    const TileShape s = tileShape(c.size);
    const int d = c.depth;
    const std::string band = "B" + std::string(d - 2, 'b') + "B";  // from the outside in
    for (int y = d; y < c.height - d; ++y) {
        std::string across;
        for (int x = 0; x < d; ++x)
            across += code(s, x, y);
        ASSERT_EQ(across, band) << "row " << y;
    }
    for (int x = d; x < c.width - d; ++x) {
        std::string across;
        for (int y = c.height - 1; y >= c.height - d; --y)
            across += code(s, x, y);
        ASSERT_EQ(across, band) << "column " << x;
    }
}

TEST_P(TileShapes, CutCornersInBoardColour)
{
    const ShapeCase c = GetParam();
    const TileShape s = tileShape(c.size);
    int boardPixels = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            boardPixels += code(s, x, y) == 'o';
    const int triangle = (c.depth - 1) * c.depth / 2;  // 4+3+2+1 or 3+2+1
    EXPECT_EQ(boardPixels, 2 * triangle);
    for (int r = 0; r < c.depth - 1; ++r) {
        const int count = c.depth - 1 - r;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(code(s, i, r), 'o') << "top-left row " << r;
            EXPECT_EQ(code(s, c.width - 1 - i, c.height - 1 - r), 'o') << "bottom-right row " << r;
        }
        EXPECT_EQ(code(s, count, r), 'B');
        EXPECT_EQ(code(s, c.width - 1 - count, c.height - 1 - r), 'B');
    }
}

TEST_P(TileShapes, DiagonalFromFaceCornerToPictureCorner)
{
    const ShapeCase c = GetParam();
    const TileShape s = tileShape(c.size);
    for (int k = 0; k < c.depth; ++k)
        EXPECT_EQ(code(s, c.depth - 1 - k, c.height - c.depth + k), 'B') << k;
}

INSTANTIATE_TEST_SUITE_P(AllSizes, TileShapes,
                         testing::Values(ShapeCase{70, 70, 80, 5, 65, 75}, ShapeCase{63, 63, 72, 5, 58, 67},
                                         ShapeCase{56, 56, 64, 4, 52, 60}, ShapeCase{49, 49, 56, 4, 45, 52}),
                         [](const testing::TestParamInfo<ShapeCase>& c) { return std::to_string(c.param.size); });

TEST(TileFrame, NoShapeForOtherSizes)
{
    for (int size : {0, 48, 50, 64, 71})
        EXPECT_EQ(tileShape(size).width, 0) << size;
}
