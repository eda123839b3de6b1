// The test-route build of the module, loaded from its DLL, asks the stand-in
// for the futures conversion through WinHTTP inside the study call and
// rewrites the two premium inputs from the answer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "study/study_inputs.h"
#include "support/test_platform.h"
#include "windows/module_on_chart.h"

using namespace tarvio;

namespace {

TEST(ModuleConversionTest, TheModuleFetchesTheConversionAndRewritesThePremiums) {
  const char* route = std::getenv("TARVIO_STANDIN");
  ASSERT_NE(route, nullptr) << "TARVIO_STANDIN is not set: run these tests through ./run test-windows";
  setTestEnvironment("TARVIO_TEST_CONNECT_TO", route);

  {
    ModuleOnChart study(TARVIO_TEST_ROUTE_MODULE_PATH);
    ASSERT_TRUE(study.loaded()) << study.error;
    study.setText(kApiKeyInput, "standin-key");
    study.setText(kFuturesTargetInput, "ES");
    study.call();
    EXPECT_EQ(study.logged("Tarvio Futures Conversion: sending request (ticker=ES_SPX -> future=ES)"), 1);
    EXPECT_EQ(study.logged("Tarvio Futures Conversion: -> "), 1);
    EXPECT_EQ(study.logged("request failed"), 0);
    const HostInput& multiplier = study.instance->input(kMultiplicativePremiumInput);
    const HostInput& additive = study.instance->input(kAdditivePremiumInput);
    // The stand-in's ES contract trades above the index: some premium is set.
    EXPECT_TRUE(multiplier.floatValue != 1.0f || additive.floatValue != 0.0f)
        << multiplier.floatValue << " " << additive.floatValue;
  }
  clearTestEnvironment("TARVIO_TEST_CONNECT_TO");
}

}  // namespace
