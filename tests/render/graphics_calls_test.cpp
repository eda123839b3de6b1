// The profile's graphics operations, looked up once per drawing: a present
// operation is called as given, one the host left out does nothing and
// answers 0, like every host operation.
#include "render/graphics_calls.h"

#include <gtest/gtest.h>

using namespace tarvio;

namespace {

int gCalls = 0;

TEST(GraphicsCalls, OperationsTheHostLeftOutDoNothingAndAnswerZero) {
  const HostOperations none{};
  const GraphicsCalls graphics(none);
  const HostFillRecord fill{1, 0, 0, 0};
  const HostPoint corners[2] = {{0, 0}, {1, 1}};
  EXPECT_EQ(graphics.priceToY(5800.0f, 0), 0);
  graphics.selectBrush(fill);
  graphics.graphicsReset1();
  graphics.graphicsReset2();
  graphics.graphicsReset3();
  graphics.graphicsReset4();
  graphics.graphicsReset5();
  graphics.graphicsReset6();
  graphics.fillRectangle(HostRect{0, 0, 1, 1}, 0);
  graphics.drawPolygon(corners, 2);
  graphics.drawEllipse(0, 0, 1, 1, fill);
}

TEST(GraphicsCalls, PresentOperationsAreCalledAsGiven) {
  HostOperations ops{};
  ops.HostPriceToY = [](float price, int32_t region) { return static_cast<int32_t>(price) + region; };
  ops.HostFillRectangle = [](const HostRect& rect, const HostColor&) { gCalls += rect.right; };
  ops.HostGraphicsReset4 = [] { gCalls += 100; };
  const GraphicsCalls graphics(ops);
  gCalls = 0;
  EXPECT_EQ(graphics.priceToY(5800.0f, 2), 5802);
  graphics.fillRectangle(HostRect{0, 0, 7, 1}, 0);
  graphics.graphicsReset4();
  graphics.graphicsReset5();  // left out: nothing
  EXPECT_EQ(gCalls, 107);
}

}  // namespace
