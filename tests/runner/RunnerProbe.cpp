// A test program that misbehaves on request, so the runner's verdict on each
// kind of bad run can be checked: RunnerProbe pass|fail|crash|exit0|hang.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {
const char* g_mode = "pass";

TEST(RunnerProbe, BehavesAsAsked) {
  if (std::strcmp(g_mode, "crash") == 0) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (std::strcmp(g_mode, "hang") == 0)
    for (;;) ::Sleep(1000);
  EXPECT_STRNE(g_mode, "exit0") << "a failed assertion the program's exit status hides";
  EXPECT_STRNE(g_mode, "fail") << "an ordinary failed assertion";
}
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_mode = argv[1];
  const int failed = RUN_ALL_TESTS();
  return std::strcmp(g_mode, "exit0") == 0 ? 0 : failed;
}
