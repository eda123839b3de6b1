// The graphics operations of one profile drawing, looked up once. A repaint
// paints thousands of shapes; with the operations resolved up front each
// shape costs one call through a pointer and no test. An operation the host
// left out follows the typed layer's rule (study/host_calls.h): it does
// nothing and answers 0. Lives for the drawing it was made for.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

class GraphicsCalls {
 public:
  explicit GraphicsCalls(const HostOperations& ops)
      : priceToY_(orNeutral(ops.HostPriceToY, [](float, int32_t) { return 0; })),
        selectBrush_(orNeutral(ops.HostSelectBrush, [](const HostFillRecord&) {})),
        reset1_(orNeutral(ops.HostGraphicsReset1, [] {})),
        reset2_(orNeutral(ops.HostGraphicsReset2, [] {})),
        reset3_(orNeutral(ops.HostGraphicsReset3, [] {})),
        reset4_(orNeutral(ops.HostGraphicsReset4, [] {})),
        reset5_(orNeutral(ops.HostGraphicsReset5, [] {})),
        reset6_(orNeutral(ops.HostGraphicsReset6, [] {})),
        fillRectangle_(orNeutral(ops.HostFillRectangle, [](const HostRect&, const HostColor&) {})),
        drawPolygon_(orNeutral(ops.HostDrawPolygon, [](const HostPoint*, int32_t) {})),
        drawEllipse_(orNeutral(ops.HostDrawEllipse,
                               [](int32_t, int32_t, int32_t, int32_t, const HostFillRecord&) {})) {}

  int32_t priceToY(float price, int32_t region) const { return priceToY_(price, region); }
  void selectBrush(const HostFillRecord& fill) const { selectBrush_(fill); }
  void graphicsReset1() const { reset1_(); }
  void graphicsReset2() const { reset2_(); }
  void graphicsReset3() const { reset3_(); }
  void graphicsReset4() const { reset4_(); }
  void graphicsReset5() const { reset5_(); }
  void graphicsReset6() const { reset6_(); }
  void fillRectangle(const HostRect& rect, const HostColor& color) const { fillRectangle_(rect, color); }
  void drawPolygon(const HostPoint* points, int32_t count) const { drawPolygon_(points, count); }
  void drawEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom,
                   const HostFillRecord& fill) const {
    drawEllipse_(left, top, right, bottom, fill);
  }

 private:
  template <typename Operation, typename Neutral>
  static Operation orNeutral(Operation operation, Neutral neutral) {
    return operation != nullptr ? operation : static_cast<Operation>(neutral);
  }

  decltype(HostOperations::HostPriceToY) priceToY_;
  decltype(HostOperations::HostSelectBrush) selectBrush_;
  decltype(HostOperations::HostGraphicsReset1) reset1_;
  decltype(HostOperations::HostGraphicsReset2) reset2_;
  decltype(HostOperations::HostGraphicsReset3) reset3_;
  decltype(HostOperations::HostGraphicsReset4) reset4_;
  decltype(HostOperations::HostGraphicsReset5) reset5_;
  decltype(HostOperations::HostGraphicsReset6) reset6_;
  decltype(HostOperations::HostFillRectangle) fillRectangle_;
  decltype(HostOperations::HostDrawPolygon) drawPolygon_;
  decltype(HostOperations::HostDrawEllipse) drawEllipse_;
};

}  // namespace tarvio
