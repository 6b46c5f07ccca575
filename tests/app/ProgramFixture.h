#pragma once
// The real ferlane.exe started as a user would start it, from a folder of its
// own: the window's tests drive it through its messages, the command line's
// read what it writes on its standard handles.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/PasswordWindows.h"
#include "password/logic/PasswordHash.h"
#include "password/logic/PasswordSamples.h"
#include "shellfolders/logic/StoreLocation.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "protect/ListFileIo.h"
#include "protect/logic/ListFile.h"
#include "resource.h"
#include "shellfolders/ShellFolders.h"
#include "support/Fakes.h"
#include "support/ShippedProgram.h"

namespace ferlane::test {

inline constexpr wchar_t kSettings[] = L"Software\\Ferlane";

inline std::string FileBytes(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<absent>";
  std::string bytes(::GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  ::CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

inline bool PutBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
  return put == bytes.size();
}

inline std::wstring Self() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return self;
}

// The machine an exe is built for, from its PE header (0 when unreadable).
inline WORD ImageMachine(const std::wstring& exe) {
  HANDLE f = ::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 0;
  IMAGE_DOS_HEADER dos{};
  IMAGE_FILE_HEADER file{};
  DWORD signature = 0, got = 0;
  bool ok = ::ReadFile(f, &dos, sizeof(dos), &got, nullptr) && got == sizeof(dos) && dos.e_magic == IMAGE_DOS_SIGNATURE &&
            ::SetFilePointer(f, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
            ::ReadFile(f, &signature, sizeof(signature), &got, nullptr) && signature == IMAGE_NT_SIGNATURE &&
            ::ReadFile(f, &file, sizeof(file), &got, nullptr) && got == sizeof(file);
  ::CloseHandle(f);
  return ok ? file.Machine : 0;
}

inline std::wstring UserName() {
  wchar_t buf[256] = {};
  DWORD n = 256;
  ::GetUserNameW(buf, &n);
  return buf;
}

inline std::wstring ReadSetting(const std::wstring& name) {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSettings) != ERROR_SUCCESS) return L"<no key>";
  return key.ReadString(name).value_or(L"<absent>");
}

class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
    folder = scratch.Folder(L"Ferlane") + L"\\";
    program = folder + L"ferlane.exe";
    const std::wstring built = test::ShippedProgram();
    ASSERT_TRUE(::CopyFileW(built.c_str(), program.c_str(), FALSE)) << "no program to start at " << built;
    ASSERT_EQ(ImageMachine(program), ImageMachine(Self())) << "the program and its tests are built for one machine";
    user = UserName();
  }
  void TearDown() override {
    if (process.hProcess) {
      ::TerminateProcess(process.hProcess, 1);
      ::CloseHandle(process.hProcess);
      ::CloseHandle(process.hThread);
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettings);
  }

  void Start() {
    if (process.hProcess) {
      ::CloseHandle(process.hProcess);
      ::CloseHandle(process.hThread);
    }
    process = {};
    STARTUPINFOW si{sizeof(si)};
    std::wstring cmd = L"\"" + program + L"\"";
    ASSERT_TRUE(::CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                 &si, &process));
  }
  bool Exited(DWORD timeoutMs = 30000) { return ::WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0; }

  static void Type(HWND window, int id, const wchar_t* text) {
    ::SendMessageW(::GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void ClickOk(HWND window) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(kIdButton1, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, kIdButton1)));
  }
  HWND MainWindow() {
    return test::WaitForTopWindow(process.dwProcessId, L"Ferlane 1.0 - Administrateur : " + user);
  }
  // The right password in the login prompt, then the main window closed.
  void OpenWithPasswordAndClose(HWND passe, const wchar_t* password) {
    Type(passe, kIdMaskEdit1, password);
    ClickOk(passe);
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Exited());
  }

  test::ScratchDir scratch;
  std::wstring folder, program, user;
  PROCESS_INFORMATION process{};
};

// The silent command line: the program started with arguments, its standard
// handles on pipes, its windows watched for as long as it runs.
struct SilentRun {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;
  std::vector<std::wstring> windowsSeen;  // visible top-level windows of the program
};

struct WatchedProcess {
  DWORD pid;
  std::vector<std::wstring>* seen;
};

inline BOOL CALLBACK NoteVisibleWindow(HWND h, LPARAM lp) {
  auto* w = reinterpret_cast<WatchedProcess*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (pid == w->pid && ::IsWindowVisible(h)) {
    wchar_t name[128] = {};
    ::GetClassNameW(h, name, 128);
    w->seen->push_back(name);
  }
  return TRUE;
}

inline void Drain(HANDLE pipe, std::string& out) {
  DWORD ready = 0;
  while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &ready, nullptr) && ready > 0) {
    char buffer[4096];
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) return;
    out.append(buffer, got);
  }
}

class CommandLineTest : public EndToEndTest {
 protected:
  SilentRun Run(const std::wstring& args, const std::string& input = {}) {
    return RunLine(L"\"" + program + L"\" " + args, input);
  }
  // The whole command line as given; with keepInputOpen the writer of
  // standard input keeps its end open, as a hung one would.
  SilentRun RunLine(std::wstring cmd, const std::string& input, bool keepInputOpen = false) {
    SilentRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, inRead = nullptr, inWrite = nullptr;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0) || !::CreatePipe(&inRead, &inWrite, &inherit, 0)) {
      ADD_FAILURE() << "no pipes";
      return run;
    }
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    DWORD put = 0;
    if (!input.empty()) ::WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &put, nullptr);
    if (!keepInputOpen) ::CloseHandle(inWrite);
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead;
    si.hStdOutput = outWrite;
    si.hStdError = outWrite;
    PROCESS_INFORMATION pi{};
    const BOOL started =
        ::CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi);
    ::CloseHandle(outWrite);
    ::CloseHandle(inRead);
    if (!started) {
      ::CloseHandle(outRead);
      ADD_FAILURE() << "the program did not start";
      return run;
    }
    WatchedProcess watch{pi.dwProcessId, &run.windowsSeen};
    const DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(pi.hProcess, 10) == WAIT_TIMEOUT) {
      ::EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&watch));
      Drain(outRead, run.output);
      if (::GetTickCount() - start > 60000) {
        ::TerminateProcess(pi.hProcess, 99);
        ADD_FAILURE() << "the program is still running after a minute (waiting on someone?)";
      }
    }
    Drain(outRead, run.output);
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(outRead);
    if (keepInputOpen) ::CloseHandle(inWrite);
    return run;
  }

  static bool Says(const SilentRun& run, const std::string& text) { return run.output.find(text) != std::string::npos; }
  static std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

  void SetPassword(const std::wstring& password) {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kSettings, true), ERROR_SUCCESS);
    key.WriteString(user, HashPassword(password, kCheapestPasswordCost).value());
  }
};

}  // namespace ferlane::test
