// The shipped DLL on a chart whose host fetches through WinHTTP: the history
// and profile requests go to the loopback stand-in of the service, and their
// answers end in placed level lines, all on Windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "host/winhttp_transport.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "windows/module_on_chart.h"

using namespace chart_host;
using namespace tarvio;

namespace {

TEST(ModuleCycleTest, HistoryThenProfileThroughWinHttpEndInLevelLines) {
  const char* standin = std::getenv("TARVIO_STANDIN");
  ASSERT_NE(standin, nullptr) << "TARVIO_STANDIN is not set: run these tests through ./run test-windows";
  ModuleOnChart study(TARVIO_MODULE_PATH);
  ASSERT_TRUE(study.loaded()) << study.error;
  WinHttpTransportOptions options;
  options.connectTo = standin;
  study.instance->setHttpTransport(std::make_shared<WinHttpTransport>(options));
  study.setText(kApiKeyInput, "standin-key");

  study.callAndWait(0, true);  // the history goes out
  study.callAndWait(1);        // its answer arrives; the profile goes out
  study.callAndWait(2);        // the profile arrives
  EXPECT_EQ(study.alerts(), 0);
  EXPECT_EQ(study.logged("HTTP_REQUEST_ERROR"), 0);
  EXPECT_EQ(study.instance->store().intValue(kProfileReadyKey), 1);
  EXPECT_EQ(study.chart.drawings().all().size(), 5u);
}

}  // namespace
