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
// Net GEX first, then a strike and a value subgraph for each prior interval.
constexpr SubgraphDeclaration kNetGexSubgraphs[] = {
    {"Net GEX Volume", rgb(0, 255, 0)},
    {"Net GEX OI", rgb(0, 255, 0)},
};
constexpr SubgraphDeclaration kMaxChangeIntervals[] = {
    {"1 Minute", rgb(255, 255, 255)}, {"5 Minute", rgb(93, 214, 245)},
    {"10 Minute", rgb(0, 162, 222)},  {"15 Minute", rgb(0, 108, 192)},
    {"30 Minute", rgb(0, 52, 148)},
};
constexpr const char* kMaxChangeParts[] = {"Strike", "Value"};
constexpr int32_t kValueDrawStyle = 5;

static_assert(std::size(kLevelSubgraphs) + std::size(kNetGexSubgraphs) +
                  std::size(kMaxChangeIntervals) * std::size(kMaxChangeParts) ==
              kSubgraphCount);

HostSubgraph& declareValueSubgraph(HostStudyInterface& sc, int32_t index, HostColor color) {
  HostSubgraph& subgraph = subgraphAt(sc, index);
  subgraph.primaryColor = color;
  subgraph.drawStyle = kValueDrawStyle;
  return subgraph;
}

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
  for (const SubgraphDeclaration& declaration : kNetGexSubgraphs) {
    assignHostString(declareValueSubgraph(sc, index++, declaration.color).name, declaration.name);
  }
  for (const SubgraphDeclaration& interval : kMaxChangeIntervals) {
    for (const char* part : kMaxChangeParts) {
      formatHostString(declareValueSubgraph(sc, index++, interval.color).name,
                       "%s Max Change Call/Put GEX %s", interval.name, part);
    }
  }
}

}  // namespace tarvio
