// A hide or show command that keeps its window answering: stopped by Esc or
// by its progress window's button between two items, every item is either
// done (the file changed and its row saying so) or untouched (neither the
// file nor its row changed).
#include <windows.h>

#include <functional>
#include <gtest/gtest.h>

#include "protect/ProtectTestSupport.h"
#include "protect/ProtectedList.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

const std::wstring kHidden = L"Cach\u00E9";

DWORD Kept(const std::wstring& path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? a : a & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL);
}

// The real file system, watched: onSet runs before each write, with the
// number of writes so far.
class WatchedFiles : public IFileAttributes {
 public:
  std::function<void(int)> onSet;
  std::vector<std::wstring> written;
  std::uint32_t Get(const std::wstring& path) override { return real_.Get(path); }
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override {
    written.push_back(path);
    if (onSet) onSet(static_cast<int>(written.size()));
    return real_.Set(path, attributes);
  }

 private:
  Win32FileAttributes real_;
};

BOOL CALLBACK FindProgress(HWND h, LPARAM lp) {
  wchar_t cls[64] = {};
  ::GetClassNameW(h, cls, 64);
  if (std::wstring(cls) != L"TProgressWindow") return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

HWND ProgressWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindProgress, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    wchar_t text[128] = {};
    ::GetWindowTextW(c, text, 128);
    texts.push_back(text);
  }
  return texts;
}

class CommandProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(list.Create(parent.hwnd(), 1001, RECT{0, 0, 400, 300}));
    // The window answers after every item and the progress shows at once.
    list.SetPace({0, 0});
    list.SetFileSystem(&files);
    // Three kinds of file, twice over: plain, read-only, hidden and system.
    const DWORD kinds[] = {0, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    std::string bytes;
    for (int i = 0; i < 6; ++i) {
      paths.push_back(dir.File(L"f" + std::to_wstring(i) + L".txt", 0, kinds[i % 3]));
      before.push_back(Kept(paths.back()));
      bytes += std::string(paths.back().begin(), paths.back().end()) + "\r\nFichier\r\n";
    }
    test::WriteBytes(dir / L"dupont", bytes);
    ASSERT_EQ(list.LoadListFile(dir / L"dupont"), 0u);
    for (int i = 0; i < 6; ++i) wordsBefore.push_back(list.StateText(i));
  }
  // The first `done` items hidden and shown so; the others as they were.
  void ExpectHiddenUpTo(int done) {
    for (int i = 0; i < 6; ++i) {
      if (i < done) {
        EXPECT_EQ(Kept(paths[i]), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)) << i;
        EXPECT_EQ(list.StateText(i), kHidden) << i;
      } else {
        EXPECT_EQ(Kept(paths[i]), before[i]) << i;
        EXPECT_EQ(list.StateText(i), wordsBefore[i]) << i;
      }
    }
    EXPECT_EQ(files.written.size(), static_cast<std::size_t>(done));
  }

  test::RecordingMessages messages;
  test::ScratchDir dir;
  test::HiddenParent parent;
  ProtectedList list;
  WatchedFiles files;
  std::vector<std::wstring> paths, wordsBefore;
  std::vector<DWORD> before;
};

TEST_F(CommandProgressTest, EscStopsTheCommandAfterTheItemAtHand) {
  files.onSet = [&](int n) {
    if (n == 3) ::PostMessageW(list.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  list.SpeedButton2Click();  // Tout Cacher
  ExpectHiddenUpTo(3);
  EXPECT_FALSE(list.Busy());
  EXPECT_EQ(ProgressWindow(), nullptr);
  // The one message says how far the command went.
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(L"3 \u00E9l\u00E9ments trait\u00E9s, 3 laiss\u00E9s tels qu'ils"),
            std::wstring::npos)
      << messages.shown[0].text;
  EXPECT_TRUE(messages.shown[0].flags & MB_ICONINFORMATION);
  messages.shown.clear();
  // Run again whole, the command finishes what it left.
  files.onSet = nullptr;
  list.SpeedButton2Click();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.StateText(i), kHidden) << i;
}

TEST_F(CommandProgressTest, TheStopButtonOfTheProgressWindowStopsItAndTheOwnerWaits) {
  bool ownerEnabled = true;
  std::vector<std::wstring> texts;
  files.onSet = [&](int n) {
    if (n != 2) return;
    HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    texts = ChildTexts(progress);
    ownerEnabled = ::IsWindowEnabled(parent.hwnd()) != FALSE;
    ::PostMessageW(::GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
  };
  list.SpeedButton2Click();
  ExpectHiddenUpTo(2);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(parent.hwnd()));
  EXPECT_EQ(ProgressWindow(), nullptr);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], L"Masquage des \u00E9l\u00E9ments de la liste...");
  EXPECT_EQ(texts[3], L"Arr\u00EAter");
}

TEST_F(CommandProgressTest, ClicksAndListChangesWaitForTheRunningCommand) {
  files.onSet = [&](int n) {
    if (n != 2) return;
    // What a message reaching the window meanwhile could ask.
    list.Supprimer1Click();
    list.SpeedButton1Click();
    EXPECT_TRUE(list.Busy());
    // A click on the list is dropped, not run in the middle of the command.
    ::PostMessageW(list.hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    ::PostMessageW(list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  };
  list.SpeedButton2Click();
  ASSERT_EQ(list.ItemCount(), 6);
  ExpectHiddenUpTo(6);
}

}  // namespace
}  // namespace ferlane
