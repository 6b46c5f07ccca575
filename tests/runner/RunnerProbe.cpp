// A test program that misbehaves on request, so the runner's verdict on each
// kind of bad run can be checked: RunnerProbe pass|fail|crash|exit0|hang|linger.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {
const char* g_mode = "pass";

TEST(RunnerProbe, BehavesAsAsked) {
  if (std::strcmp(g_mode, "crash") == 0) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (std::strcmp(g_mode, "hang") == 0)
    for (;;) ::Sleep(1000);
  if (std::strcmp(g_mode, "linger") == 0) {
    // Passes, leaving behind a process that shares its output and never
    // ends, as an Explorer window a test opens does.
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" sleep";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  EXPECT_STRNE(g_mode, "exit0") << "a failed assertion the program's exit status hides";
  EXPECT_STRNE(g_mode, "fail") << "an ordinary failed assertion";
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "sleep") == 0)
    for (;;) ::Sleep(1000);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_mode = argv[1];
  const int failed = RUN_ALL_TESTS();
  return std::strcmp(g_mode, "exit0") == 0 ? 0 : failed;
}
