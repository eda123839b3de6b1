// Which level each of the study's lines stands for: the names the user gave
// the labels, the level's own name for a blank label, the gamma levels on
// the keys the GEX levels used, and levels without a line left out.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "render/major_levels.h"
#include "support/chart_profile_fixture.h"
#include "tools/chart/drawn_levels.h"

using namespace chart_tool;

namespace {

class DrawnLevels : public ChartProfileFixture {
 protected:
  void drawLevels() {
    int32_t nextDrawingKey = 0;
    study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, 0.0f, 1.0f);
    });
  }
  void setLabel(int32_t place, const char* text) {
    assignHostString(study.instance.input(kZeroGammaLabelInput + place).textValue, text);
  }
  std::vector<std::pair<std::string, float>> namesAndPrices() {
    std::vector<std::pair<std::string, float>> levels;
    for (const DrawnLevel& level : drawnLevels(study.instance)) {
      EXPECT_NE(study.chart.drawings().find(level.lineNumber), nullptr) << level.name;
      levels.emplace_back(level.name, level.price);
    }
    return levels;
  }
  using Levels = std::vector<std::pair<std::string, float>>;
};

TEST_F(DrawnLevels, NameEachGexLineByItsLabelInputInTheOrderTheStudyKeepsThem) {
  EXPECT_TRUE(drawnLevels(study.instance).empty());
  loadGex(gexResponse("[]"));
  setLabel(0, "Flip");  // zero gamma
  setLabel(3, "  ");    // call OI: blank, so the level's own name
  setValue(kShowZeroGammaInput + 4, 0);  // put OI hidden: no line
  drawLevels();
  EXPECT_EQ(namesAndPrices(), (Levels{{"MCV", 5850}, {"MPV", 5750}, {"Flip", 5790.5f}, {"Major Call OI", 5900}}));
}

TEST_F(DrawnLevels, NameTheGammaLinesOnTheKeysTheGexLinesUsed) {
  loadGex(gexResponse("[]"));
  loadGreek(greekResponse("[]"));
  drawLevels();
  setValue(kGreekInput, 3);  // 0dte gamma
  drawLevels();
  EXPECT_EQ(namesAndPrices(), (Levels{{"MLG", 5880}, {"MSG", 5720}}));
  setValue(kGreekInput, 5);  // delta draws no lines of its own
  EXPECT_TRUE(drawnLevels(study.instance).empty());
}

}  // namespace
