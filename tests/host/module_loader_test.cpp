// Loading the real module from its shared library, and refusing files that
// are not study modules of this host's interface version.
#include "host/module_loader.h"

#include <gtest/gtest.h>

#include "host/chart.h"
#include "host/scripted_transport.h"
#include "host/study_instance.h"
#include "study/instance_state.h"

using namespace chart_host;
using namespace tarvio;

namespace {

TEST(ModuleLoaderTest, LoadsTheModuleAndRunsItsPasses) {
  std::string error;
  std::unique_ptr<LoadedModule> module = ModuleLoader::load(TARVIO_MODULE_PATH, error);
  ASSERT_TRUE(module) << error;
  EXPECT_EQ(module->name(), "tarvio_v4_graphics");
  EXPECT_EQ(module->version(), 2911);

  Chart chart;
  chart.appendBar(Bar{46083LL * kMicrosecondsPerDay + 36000000000LL, 5000, 5001, 4999, 5000, 10});
  {
    StudyInstance instance(chart, module->studyFunction(), 1);
    instance.setHttpTransport(std::make_shared<ScriptedTransport>());
    instance.runSetDefaultsPass();
    EXPECT_EQ(instance.studyName(), "Gex Profile");
    EXPECT_STREQ(hostStringText(instance.input(2).name),
                 "Ticker (e.g. SPX, NDX, ES_SPX, NQ_NDX, SPY, AAPL...)");

    CallSettings settings;
    settings.currentDateTime = chart.barDateTimes().back();
    settings.fullRecalculation = true;
    instance.runCall(settings);
    EXPECT_EQ(instance.store().intValue(kRequestStateKey), kRequestDue);
    instance.runLastCall(false);
    EXPECT_TRUE(instance.ended());
  }
}

struct RefusalCase {
  const char* path;
  const char* expectedInMessage;
};

TEST(ModuleLoaderTest, RefusesWhatIsNotAStudyModuleOfThisHost) {
  const RefusalCase cases[] = {
      {"/nonexistent/tarvio_v4_graphics_64.so", "cannot load module"},
      {TARVIO_MISSING_EXPORT_MODULE_PATH, "does not export scsf_TarvioLevels"},
      {TARVIO_WRONG_VERSION_MODULE_PATH, "interface version 2910"},
      {TARVIO_SOURCE_DIR "/CMakeLists.txt", "cannot load module"},
  };
  for (const RefusalCase& c : cases) {
    std::string error;
    EXPECT_EQ(ModuleLoader::load(c.path, error), nullptr) << c.path;
    EXPECT_NE(error.find(c.expectedInMessage), std::string::npos) << error;
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
  }
}

}  // namespace
