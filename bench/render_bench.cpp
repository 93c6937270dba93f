// Drawing one whole board frame, as on every pointer move: a 7 x 7 maze with
// a hovered wall position, and with a ball carried over a drop square; the
// classic frame, and designer mode's with the colours' shapes at the device
// pixel ratios of common screens, and the images made for a ratio.

#include <benchmark/benchmark.h>

#include "drawing/board_art.h"
#include "logic/maze.h"
#include "view/board_renderer.h"

namespace {

/// A 7 x 7 random maze from fixed draws, so every run draws the same board.
Level BenchLevel() {
  unsigned state = 12345;
  Level level;
  level.balls[0].column = -1;  // take the default placement
  RandomMaze(level, 7, [&state] {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) & 0x7fff);
  });
  return level;
}

void DrawFrame(benchmark::State& state, const EditingState& editing,
               BoardRenderer renderer = BoardRenderer()) {
  const Level level = BenchLevel();
  for (auto _ : state) benchmark::DoNotOptimize(renderer.DrawFrame(level, editing).constBits());
}

/// Hovering the east side of the first inner square whose side is open (the
/// hatch is drawn) or closed (the marker is drawn).
EditingState HoveringEastSide(const Level& level, bool open) {
  for (int row = 0; row < 7; ++row)
    for (int column = 0; column < 6; ++column)
      if (static_cast<bool>(level.cells[row * 7 + column] & OpenEast) == open)
        return {CarriedPiece::Nothing, WallKind::East,    column, row,
                21 + 42 * column + 36, 21 + 42 * row + 15};
  return {};
}

void BM_FrameWithHoveredPassage(benchmark::State& state) {
  DrawFrame(state, HoveringEastSide(BenchLevel(), true));
}

void BM_FrameWithHoveredWall(benchmark::State& state) {
  DrawFrame(state, HoveringEastSide(BenchLevel(), false));
}

void BM_FrameWithCarriedBall(benchmark::State& state) {
  DrawFrame(state, {CarriedBall(Colour::Green), WallKind::None, 2, 4, 120, 200});
}

/// Designer mode's frame with a ball carried, the shapes on, at the ratio.
void BM_DesignerFrameWithCarriedBall(benchmark::State& state, double ratio) {
  DrawFrame(state, {CarriedBall(Colour::Green), WallKind::None, 2, 4, 120, 200},
            BoardRenderer(DrawOptions{true, BoardScale(ratio), ClassicBackground}));
}

/// The six images for a ratio, made once when a window meets a new screen.
void BM_MakeImagesForScreen(benchmark::State& state, double ratio) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeBoardPixels(BoardScale(ratio)));
}

}  // namespace

BENCHMARK(BM_FrameWithHoveredPassage);
BENCHMARK(BM_FrameWithHoveredWall);
BENCHMARK(BM_FrameWithCarriedBall);
BENCHMARK_CAPTURE(BM_DesignerFrameWithCarriedBall, 1x, 1.0);
BENCHMARK_CAPTURE(BM_DesignerFrameWithCarriedBall, 1_5x, 1.5);
BENCHMARK_CAPTURE(BM_DesignerFrameWithCarriedBall, 2x, 2.0);
BENCHMARK_CAPTURE(BM_DesignerFrameWithCarriedBall, 3x, 3.0);
BENCHMARK_CAPTURE(BM_MakeImagesForScreen, 2x, 2.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakeImagesForScreen, 3x, 3.0)->Unit(benchmark::kMillisecond);
