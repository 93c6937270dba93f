#include "logic/canonical_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/symmetry.h"
#include "tests/support/test_levels.h"

namespace {

using Operation = void (*)(Level&);

/// The eight symmetries of the square as the editor's own flips and turn make
/// them, each applied right to left: the turns, the two mirrors, and the two
/// mirrors along the diagonals.
const std::vector<std::vector<Operation>> Symmetries = {
    {},      {RotateLevel}, {RotateLevel, RotateLevel}, {RotateLevel, RotateLevel, RotateLevel},
    {XFlip}, {YFlip},       {RotateLevel, XFlip},       {RotateLevel, YFlip},
};

std::vector<std::string> ImagesByTheEditorsOperations(const Level& level) {
  std::vector<std::string> codes;
  for (const auto& operations : Symmetries) {
    Level image = level;
    for (Operation operation : operations) operation(image);
    codes.push_back(WriteLevelCode(image));
  }
  return codes;
}

TEST(CanonicalCodeTest, AgreesWithAllEightImagesOnLevelsOfEverySize) {
  std::mt19937 engine(12);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < levels; ++i) {
      const Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      const std::vector<std::string> images = ImagesByTheEditorsOperations(level);
      const std::array<std::string, 8> imageCodes = ImageCodes(level);
      EXPECT_EQ(std::set<std::string>(imageCodes.begin(), imageCodes.end()),
                std::set<std::string>(images.begin(), images.end()));
      const std::string least = *std::min_element(images.begin(), images.end());
      EXPECT_EQ(CanonicalCode(level), least);
      for (const std::string& image : images) {
        const Level imageLevel = testlevels::FromCode(image);
        EXPECT_EQ(CanonicalCode(imageLevel), least) << image;
      }
    }
  }
}

TEST(CanonicalCodeTest, TheSmallMazeHasTheImagesTheFlipsAndTheTurnGive) {
  Level level;
  RandomMaze(level, 3, []() { return 0; });
  ASSERT_EQ(WriteLevelCode(level), "3001122221100bba0");
  const std::array<std::string, 8> codes = ImageCodes(level);
  EXPECT_EQ(codes[0], "3001122221100bba0");
  EXPECT_EQ(codes[1], "30211202011027165");
  EXPECT_EQ(codes[4], "3201102021120aba1");
  EXPECT_NE(std::find(codes.begin(), codes.end(), "3021120201102eae0"), codes.end());
  // The mirror along the main diagonal leaves the default placement where it
  // is and gives the least code.
  EXPECT_EQ(codes[7], "30011222211007345");
  EXPECT_EQ(CanonicalCode(level), "30011222211007345");
}

TEST(CanonicalCodeTest, AnyChangeThatIsNoSymmetryChangesTheCanonicalCode) {
  // A wall flipped, a piece moved, or two colours exchanged: the result is the
  // same level up to symmetry exactly when its code is one of the images.
  std::mt19937 engine(40);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < levels; ++i) {
      const Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      const std::array<std::string, 8> images = ImageCodes(level);
      std::vector<Level> changed(4, level);
      const int column = static_cast<int>(engine() % (size - 1));
      const int row = static_cast<int>(engine() % size);
      ToggleWall(changed[0], column, row, WallKind::East);
      changed[1].holes[0].column =
          static_cast<std::int8_t>((changed[1].holes[0].column + 1) % size);
      std::swap(changed[2].balls[0].colour, changed[2].balls[1].colour);
      std::swap(changed[3].holes[1].colour, changed[3].holes[2].colour);
      for (const Level& other : changed) {
        if (PlacementIsInvalid(other)) continue;
        const std::string code = WriteLevelCode(other);
        const bool isImage = std::find(images.begin(), images.end(), code) != images.end();
        EXPECT_EQ(CanonicalCode(other) == CanonicalCode(level), isImage) << code;
      }
    }
  }
}

TEST(CanonicalCodeTest, ColoursAreKept) {
  // The open 3 x 3 board with the default placement, and the same with the
  // red and the blue ball exchanged: the exchange puts every ball on its own
  // hole, which no image of the first level does.
  Level level;
  ClearMaze(level, 3);
  Level exchanged = level;
  std::swap(exchanged.balls[0].colour, exchanged.balls[2].colour);
  EXPECT_NE(CanonicalCode(level), CanonicalCode(exchanged));
}

}  // namespace
