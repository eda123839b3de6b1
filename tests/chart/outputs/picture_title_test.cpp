// The picture's words: the ticker the study asks for, the futures conversion
// in use, the title's shorter forms and the names of the levels for their tags.
#include "tools/chart/outputs/picture_title.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render/major_levels.h"
#include "support/chart_profile_fixture.h"
#include "tools/chart/study_door/study_door.h"

using namespace chart_tool;
using namespace chart_tool::outputs;

namespace {

TitleParts fullParts() {
  TitleParts parts;
  parts.ticker = "SPX";
  parts.conversion = "ESZ6 \u00d71.0000 +7.38";
  parts.contract = "ESZ6";
  parts.package = "State";
  parts.greek = "0dte Gamma (State Package Only)";
  parts.dateTime = "2026-03-02 11:00";
  return parts;
}

// The title's parts, split at its separators.
std::vector<std::string> partsOf(const std::string& title) {
  const std::string separator = "  \u00b7  ";
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = title.find(separator, start)) != std::string::npos; start = at + separator.size())
    parts.push_back(title.substr(start, at - start));
  parts.push_back(title.substr(start));
  return parts;
}

TEST(PictureTitle, ShorterFormsDropWholePartsInAFixedOrder) {
  const std::vector<std::string> forms = titleForms(fullParts());
  ASSERT_GE(forms.size(), 2u);
  EXPECT_EQ(forms.front(),
            "SPX \u2192 ESZ6 \u00d71.0000 +7.38  \u00b7  State  \u00b7  0dte Gamma (State Package Only)  "
            "\u00b7  2026-03-02 11:00");
  EXPECT_EQ(forms.back(), "SPX");
  const std::vector<std::string> whole = {"SPX \u2192 ESZ6 \u00d71.0000 +7.38", "SPX \u2192 ESZ6", "SPX", "State",
                                          "0dte Gamma (State Package Only)", "0dte Gamma", "2026-03-02 11:00",
                                          "11:00"};
  for (std::size_t i = 0; i < forms.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(forms[i].size(), forms[i - 1].size()) << forms[i];
    }
    for (const std::string& part : partsOf(forms[i]))
      EXPECT_NE(std::find(whole.begin(), whole.end(), part), whole.end()) << "cut mid-text: " << part;
  }
  // The date goes before the package, the package before the profile.
  const auto firstWithout = [&](const std::string& part) {
    for (std::size_t i = 0; i < forms.size(); ++i)
      if (forms[i].find(part) == std::string::npos) return i;
    return forms.size();
  };
  EXPECT_LT(firstWithout("2026-03-02"), firstWithout("State"));
  EXPECT_LT(firstWithout("State"), firstWithout("0dte Gamma"));
  EXPECT_LT(firstWithout("\u00d7"), firstWithout("ESZ6"));

  TitleParts plain = fullParts();
  plain.conversion.clear();
  plain.contract.clear();
  for (const std::string& form : titleForms(plain)) EXPECT_EQ(form.find("\u2192"), std::string::npos) << form;
}

class PictureDescribed : public testing::Test {
 protected:
  std::string title(HostDateTime now = atTimeOfDay(kMonday2026_03_02, 11, 0)) {
    ChartPictureOptions picture;
    description.describe(picture, study.instance, now);
    EXPECT_FALSE(picture.shorterTitles.empty());
    return picture.title;
  }
  StudyFixture study;
  PictureDescription description;
};

TEST_F(PictureDescribed, ShowsTheFuturesConversionTheLevelsAreDrawnWith) {
  study.setText(kTickerInput, " spx ");
  EXPECT_EQ(title().rfind("SPX  \u00b7  Classic", 0), 0u) << "no target, no conversion";

  // The pair the study keeps once it asks for a conversion.
  assignHostString(study.instance.store().stringValue(kLastConversionTickerKey), "SPX");
  assignHostString(study.instance.store().stringValue(kLastConversionFutureKey), "ES");
  EXPECT_EQ(title().rfind("SPX \u2192 ES \u00d71.0000 +0.00  \u00b7  ", 0), 0u) << title();
  // The study took a conversion: its contract and the premiums it wrote.
  study.instance.log().add("Tarvio Futures Conversion: -> ESZ6  x1.0000  +7.38", false);
  study.instance.log().add("Tarvio Futures Conversion: sending request (ticker=SPX -> future=ES)...", false);
  study.instance.input(kMultiplicativePremiumInput).floatValue = 1.0f;
  study.instance.input(kAdditivePremiumInput).floatValue = 7.38f;
  EXPECT_EQ(title().rfind("SPX \u2192 ESZ6 \u00d71.0000 +7.38  \u00b7  ", 0), 0u) << title();
}

TEST_F(PictureDescribed, NamesTheTickerAsTheStudyAsksForIt) {
  auto transport = std::make_shared<ScriptedTransport>();
  study.instance.setHttpTransport(transport);
  study.setText(kApiKeyInput, "PICTURE-KEY-7731");
  study.setText(kTickerInput, "  ");
  // Before any answer, the typed ticker as the study's rule trims it: nothing.
  EXPECT_EQ(title().rfind("Classic", 0), 0u) << title();
  study.call(true);
  ASSERT_GE(transport->received().size(), 1u);
  ASSERT_TRUE(transport->answer("{}"));
  study.call();
  ASSERT_TRUE(study.instance.lastCallAnswer().has_value());
  // The study asked for its own ticker in place of the blank one.
  const std::string named = title();
  EXPECT_EQ(named.rfind(study_door::tickerOfRequestUrl(transport->received().front().url) + "  \u00b7  ", 0), 0u) << named;
  EXPECT_EQ(named.rfind("SPX  \u00b7  ", 0), 0u) << named;
  EXPECT_EQ(named.find("PICTURE-KEY-7731"), std::string::npos);
  // A later call without an answer keeps it.
  study.call();
  EXPECT_EQ(title().rfind("SPX  \u00b7  ", 0), 0u);
}

class PictureLevelNames : public ChartProfileFixture {};

TEST_F(PictureLevelNames, NameEachLevelLineForItsTag) {
  loadGex(gexResponse("[[5800,100,0,[]],[5790,-70,0,[]]]"));
  int32_t nextDrawingKey = 0;
  study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, 0.0f, 1.0f);
  });
  ChartPictureOptions picture;
  PictureDescription description;
  description.describe(picture, study.instance, atTimeOfDay(kMonday2026_03_02, 11, 0));
  const std::vector<study_door::DrawnLevel> levels = study_door::drawnLevels(study.instance);
  ASSERT_FALSE(levels.empty());
  EXPECT_EQ(picture.levelNames.size(), levels.size());
  for (const study_door::DrawnLevel& level : levels) EXPECT_EQ(picture.levelNames[level.lineNumber], level.name);
}

}  // namespace
