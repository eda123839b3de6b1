// The study's 19 output series as the set-defaults pass declares them: seven
// level series the host draws as lines, then twelve value series that carry
// net GEX and the largest change per prior interval.
#include <cstdint>
#include <iterator>

#include "study/study_inputs.h"

namespace tarvio {

namespace {

struct SubgraphDeclaration {
  const char* name;
  HostColor color;
};

// Subgraphs 0..6: the major levels.
constexpr SubgraphDeclaration kLevelSubgraphs[] = {
    {"Major Call Gamma by Volume", rgb(3, 255, 53)},
    {"Major Put Gamma by Volume", rgb(255, 0, 0)},
    {"Zero Gamma", rgb(255, 165, 0)},
    {"Major Call Gamma by OI", rgb(3, 255, 53)},
    {"Major Put Gamma by OI", rgb(255, 0, 0)},
    {"Major Long Gamma", rgb(0, 255, 255)},
    {"Major Short Gamma", rgb(128, 0, 128)},
};
constexpr int32_t kLevelDrawStyle = 4;
constexpr int32_t kLevelLineWidth = 2;
constexpr int32_t kLevelLineAttribute = 1;

// Subgraphs 7..18: values rather than prices; only their draw style is set.
constexpr SubgraphDeclaration kValueSubgraphs[] = {
    {"Net GEX Volume", rgb(0, 255, 0)},
    {"Net GEX OI", rgb(0, 255, 0)},
    {"1 Minute Max Change Call/Put GEX Strike", rgb(255, 255, 255)},
    {"1 Minute Max Change Call/Put GEX Value", rgb(255, 255, 255)},
    {"5 Minute Max Change Call/Put GEX Strike", rgb(93, 214, 245)},
    {"5 Minute Max Change Call/Put GEX Value", rgb(93, 214, 245)},
    {"10 Minute Max Change Call/Put GEX Strike", rgb(0, 162, 222)},
    {"10 Minute Max Change Call/Put GEX Value", rgb(0, 162, 222)},
    {"15 Minute Max Change Call/Put GEX Strike", rgb(0, 108, 192)},
    {"15 Minute Max Change Call/Put GEX Value", rgb(0, 108, 192)},
    {"30 Minute Max Change Call/Put GEX Strike", rgb(0, 52, 148)},
    {"30 Minute Max Change Call/Put GEX Value", rgb(0, 52, 148)},
};
constexpr int32_t kValueDrawStyle = 5;

static_assert(std::size(kLevelSubgraphs) + std::size(kValueSubgraphs) == kSubgraphCount);

}  // namespace

void declareSubgraphs(HostStudyInterface& sc) {
  int32_t index = 0;
  for (const SubgraphDeclaration& declaration : kLevelSubgraphs) {
    HostSubgraph& subgraph = subgraphAt(sc, index++);
    assignHostString(subgraph.name, declaration.name);
    subgraph.primaryColor = declaration.color;
    subgraph.drawStyle = kLevelDrawStyle;
    subgraph.lineWidth = kLevelLineWidth;
    subgraph.lineAttribute = kLevelLineAttribute;
  }
  for (const SubgraphDeclaration& declaration : kValueSubgraphs) {
    HostSubgraph& subgraph = subgraphAt(sc, index++);
    assignHostString(subgraph.name, declaration.name);
    subgraph.primaryColor = declaration.color;
    subgraph.drawStyle = kValueDrawStyle;
  }
}

}  // namespace tarvio
