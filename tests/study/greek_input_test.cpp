// The "Greek" input read through one table: an index the option list does not
// have (a hand-edited setting) must keep meaning what it always meant to the
// request, the package checks and the drawing, each of which reads the table.
#include "study/greek_input.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "study/instance_state.h"
#include "study/study_function.h"
#include "study/study_inputs.h"
#include "support/study_fixture.h"

using namespace tarvio;

namespace {

struct OutsideCase {
  int32_t index;
  ProfileFamily drawn;
  bool haltedOnClassic;  // "Gamma/Delta requires the State package"
};

TEST(GreekInput, AnIndexOutsideTheListAsksForTheFullGexProfile) {
  const OutsideCase cases[] = {
      {-1, ProfileFamily::Gex, false},      {INT32_MIN, ProfileFamily::Gex, false},
      {7, ProfileFamily::None, true},       {INT32_MAX, ProfileFamily::None, true},
  };
  for (const OutsideCase& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(greekOption(c.index).family, c.drawn);

    StudyFixture fixture;
    fixture.instance.input(kGreekInput).intValue = c.index;
    OrdinaryCallValues values = fixture.prepare();
    EXPECT_TRUE(std::string(hostStringText(values.requestUrl)).ends_with("/classic/full"));
    EXPECT_EQ(values.isGreekProfile, 0);
    EXPECT_EQ(fixture.instance.store().intValue(kRequestsHaltedKey), c.haltedOnClassic ? 1 : 0);

    // The state package has no GEX by open interest for the first two kinds
    // only; an index outside the list is never refused for it.
    StudyFixture state;
    state.instance.input(kPackageInput).intValue = 1;
    state.instance.input(kGreekInput).intValue = c.index;
    state.instance.input(kGexDisplayInput).intValue = 2;
    values = state.prepare();
    EXPECT_EQ(state.instance.store().intValue(kRequestsHaltedKey), 0);
  }
}

TEST(GreekInput, EachOptionAsksForItsFamilysProfile) {
  for (const GreekOption& option : kGreekInputOptions) {
    SCOPED_TRACE(option.profileWord);
    const std::string word = option.profileWord;
    EXPECT_EQ(option.asksGreekProfile(), word.starts_with("gamma") || word.starts_with("delta"));
    EXPECT_EQ(option.needsStatePackage, option.asksGreekProfile());
    EXPECT_NE(option.family, ProfileFamily::None);
  }
}

}  // namespace
