// The Windows test program's entry point. A fault inside a test ends the
// program at once with a line naming it, instead of waiting on a debugger
// or an error dialog that nobody answers under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

LONG WINAPI endOnFault(EXCEPTION_POINTERS* fault) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "fatal exception 0x%08lx at %p in %s.%s\n",
               static_cast<unsigned long>(fault->ExceptionRecord->ExceptionCode),
               fault->ExceptionRecord->ExceptionAddress,
               test != nullptr ? test->test_suite_name() : "(no test)",
               test != nullptr ? test->name() : "");
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(endOnFault);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
