// Texts cross the module boundary in both directions and are released on the
// side that did not allocate them. That holds only while both sides take
// their blocks from the one process heap: the module is the real DLL, with a
// C++ runtime of its own linked in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "windows/module_on_chart.h"

namespace {

TEST(ProcessHeapTest, TheModulesTextsAreProcessHeapBlocksTheHostCanFree) {
  ModuleOnChart study(TARVIO_MODULE_PATH);
  ASSERT_TRUE(study.loaded()) << study.error;
  HostString& name = study.instance->record().studyName;
  ASSERT_EQ(std::string(hostStringText(name)), "Gex Profile");

  char* block = name.text;
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), static_cast<SIZE_T>(name.length) + 1);
  // The host takes the block over and frees it itself.
  name = HostString{};
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST(ProcessHeapTest, TheModuleFreesATextTheHostAllocated) {
  ModuleOnChart study(TARVIO_MODULE_PATH, false);
  ASSERT_TRUE(study.loaded()) << study.error;
  const std::string text(64 * 1024, 'x');
  HostString& name = study.instance->record().studyName;
  assignHostString(name, text.c_str());
  const char* hostBlock = name.text;
  ASSERT_TRUE(HeapValidate(GetProcessHeap(), 0, hostBlock));

  // Declaring its name, the study replaces the host's text and frees it.
  study.instance->runSetDefaultsPass();
  ASSERT_EQ(std::string(hostStringText(name)), "Gex Profile");
  // Freed, the block is gone from the process heap, or its place went to a
  // later, smaller text; still in use, it would keep its size.
  EXPECT_NE(HeapSize(GetProcessHeap(), 0, hostBlock), text.size() + 1)
      << "the host's block is still in use";
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

}  // namespace
