#include "browse/ShellOps.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>

#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "browse/WindowAnswerer.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void PressYes(HWND dlg) { ::PostMessageW(dlg, WM_COMMAND, IDYES, 0); }

// The messages come in the French of the main window.
class ShellOps : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadListTexts(lnFrench);
    LoadTreeTexts(lnFrench);
  }
  void TearDown() override {
    LoadListTexts(lnEnglish);
    LoadTreeTexts(lnEnglish);
  }
  test::RecordingMessages messages;
  test::ScratchDir dir;
};

TEST_F(ShellOps, TargetExistsNamesTheEntryInQuotes) {
  std::wstring file = dir.File(L"Lettre.txt");
  std::wstring folder = dir.Folder(L"Archives");

  EXPECT_TRUE(TargetExists(file));
  ASSERT_EQ(messages.shown.size(), 1u);
  // The French text brings its own second double quote.
  EXPECT_EQ(messages.shown[0].text, L"\"Lettre.txt\" \" existe d\u00E9j\u00E0 !");
  EXPECT_EQ(messages.shown[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

  // A folder with its trailing backslash, and a path in the shell's NUL-ended form.
  EXPECT_TRUE(TargetExists(folder + L"\\"));
  EXPECT_TRUE(TargetExists(std::wstring(file) + L'\0'));
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[1].text, L"\"Archives\" \" existe d\u00E9j\u00E0 !");
  EXPECT_EQ(messages.shown[2].text, L"\"Lettre.txt\" \" existe d\u00E9j\u00E0 !");

  EXPECT_FALSE(TargetExists(dir / L"absent.txt"));
  EXPECT_FALSE(TargetExists(dir / L"*.txt"));  // a pattern is no entry
  EXPECT_FALSE(TargetExists(L""));
  EXPECT_EQ(messages.shown.size(), 3u);
}

// Records the error mode the drive was asked under, and answers a fixed size.
class SizedPlatform : public test::FakePlatform {
 public:
  std::wstring askedRoot;
  UINT modeWhileAsked = 0;
  bool DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) override {
    askedRoot = root;
    modeWhileAsked = ::SetErrorMode(0);
    ::SetErrorMode(modeWhileAsked);
    if (!FakePlatform::DiskSpace(root, total, free)) return false;
    total = 10ull * 1024 * 1024 + 1023;
    free = 3ull * 1024 + 5;
    return true;
  }
};

TEST_F(ShellOps, DriveWithoutMediumIsNotReady) {
  SizedPlatform fake;
  fake.drivesWithoutMedium = {L"A:\\"};
  const UINT before = SEM_NOGPFAULTERRORBOX;
  const UINT saved = ::SetErrorMode(before);

  EXPECT_FALSE(CheckDriveReady(L'a', true));
  EXPECT_EQ(fake.askedRoot, L"A:\\");
  // The system's own "insert a disk" box is off while the drive is asked, and the old mode is back.
  EXPECT_TRUE(fake.modeWhileAsked & SEM_FAILCRITICALERRORS);
  EXPECT_EQ(::SetErrorMode(saved), before);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, L"Il n'y a pas de disque dans le lecteur ou le lecteur n'est pas pr\u00EAt.");
  EXPECT_EQ(messages.shown[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));

  EXPECT_FALSE(CheckDriveReady(L'A', false));  // quiet when asked to be
  EXPECT_TRUE(CheckDriveReady(L'c', true));
  EXPECT_EQ(fake.askedRoot, L"C:\\");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ShellOps, BadDriveLetterIsToldAndNotReady) {
  SizedPlatform fake;
  EXPECT_FALSE(CheckDriveReady(L'1', true));
  EXPECT_EQ(fake.askedRoot, L"");  // nothing named by "1:" is asked
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, L"ID de lecteur non valide");
  EXPECT_EQ(messages.shown[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(messages.shown[1].text, TextIn(lnFrench, Msg::NoDisk));

  EXPECT_FALSE(CheckDriveReady(L'\0', false));
  EXPECT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[2].text, L"ID de lecteur non valide");
}

TEST_F(ShellOps, DiskSizesInKilobytes) {
  SizedPlatform fake;
  fake.drivesWithoutMedium = {L"A:\\"};
  EXPECT_EQ(DiskSizeKB(L"c:\\"), 10 * 1024);
  EXPECT_EQ(fake.askedRoot, L"C:\\");
  EXPECT_EQ(DiskFreeKB(L"C:\\Windows\\"), 3);
  EXPECT_EQ(DiskSizeKB(L"A:\\"), 0);
  EXPECT_EQ(DiskFreeKB(L"a"), 0);
  EXPECT_EQ(DiskSizeKB(L""), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ShellOpsReal, RealDiskSizesOfTheSystemDrive) {
  EXPECT_GT(DiskSizeKB(L"C:\\"), 0);
  EXPECT_GE(DiskSizeKB(L"C:\\"), DiskFreeKB(L"C:\\"));
}

TEST_F(ShellOps, FileOperationsOnRealFiles) {
  std::wstring a = dir.File(L"a.txt", 10);
  std::wstring sub = dir.Folder(L"sub");

  EXPECT_TRUE(DoFileOperation(foRename, a, dir / L"b.txt"));
  EXPECT_FALSE(Exists(a));
  EXPECT_TRUE(Exists(dir / L"b.txt"));

  EXPECT_TRUE(DoFileOperation(foCopy, dir / L"b.txt", sub + L"\\b.txt"));
  EXPECT_TRUE(Exists(dir / L"b.txt"));
  EXPECT_TRUE(Exists(sub + L"\\b.txt"));

  std::wstring c = dir.File(L"c.txt", 3);
  EXPECT_TRUE(DoFileOperation(foMove, c, sub + L"\\"));
  EXPECT_FALSE(Exists(c));
  EXPECT_TRUE(Exists(sub + L"\\c.txt"));

  // Several sources in one operation, each ending in NUL; the shell asks before deleting.
  std::wstring both = dir / L"b.txt" + L'\0' + sub + L"\\b.txt" + L'\0';
  SHQUERYRBINFO bin{sizeof bin};
  ASSERT_EQ(::SHQueryRecycleBinW(L"C:\\", &bin), S_OK);
  const __int64 inBinBefore = bin.i64NumItems;
  {
    test::WindowAnswerer yes(test::WindowAnswerer::kDialogClass, PressYes);
    EXPECT_TRUE(DoFileOperation(foDelete, both, L""));
    EXPECT_EQ(yes.answered(), 1);  // the shell's own confirmation, once for all
  }
  ASSERT_EQ(::SHQueryRecycleBinW(L"C:\\", &bin), S_OK);
  EXPECT_EQ(bin.i64NumItems, inBinBefore + 2);  // undoable: both went to the recycle bin
  EXPECT_FALSE(Exists(dir / L"b.txt"));
  EXPECT_FALSE(Exists(sub + L"\\b.txt"));
  EXPECT_TRUE(Exists(sub + L"\\c.txt"));
  EXPECT_TRUE(messages.shown.empty());  // the shell reports for itself
}

TEST_F(ShellOps, FileOperationFailuresAreNotSuccess) {
  EXPECT_FALSE(DoFileOperation(foRename, dir / L"absent.txt", dir / L"other.txt"));
  EXPECT_FALSE(Exists(dir / L"other.txt"));
  EXPECT_FALSE(DoFileOperation(foCopy, L"", dir / L"x.txt"));
  EXPECT_FALSE(DoFileOperation(foDelete, std::wstring(1, L'\0'), L""));
  EXPECT_FALSE(DoFileOperation(static_cast<FileOpCode>(7), dir.File(L"keep.txt"), L""));
  EXPECT_TRUE(Exists(dir / L"keep.txt"));
}

TEST_F(ShellOps, PropertiesOfAMissingPath) {
  ShowFileProperties(dir / L"absent.txt");
  ShowFileProperties(dir / L"absent\\inner.txt");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, L"The specified file was not found.");
  EXPECT_EQ(messages.shown[0].flags, static_cast<UINT>(MB_OK));
  EXPECT_EQ(messages.shown[1].text, L"The specified path was not found.");
}

TEST(ShellOpsReal, ShellFoldersEndInABackslash) {
  for (int kind = 0; kind <= 9; ++kind) {
    std::wstring folder = GetShellFolder(kind);
    if (!folder.empty()) {
      EXPECT_EQ(folder.back(), L'\\') << kind;
    }
    EXPECT_EQ(folder.find(L"\\\\"), std::wstring::npos) << kind;
  }
  wchar_t windows[MAX_PATH], system[MAX_PATH], desktop[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  ::GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(GetShellFolder(8), std::wstring(windows) + L"\\");
  EXPECT_EQ(GetShellFolder(9), std::wstring(system) + L"\\");
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
  EXPECT_TRUE(SameTextIgnoreCase(GetShellFolder(0), std::wstring(desktop) + L"\\"));
  EXPECT_EQ(GetShellFolder(10), L"");
  EXPECT_EQ(GetShellFolder(-1), L"");
}

TEST(ShellOpsReal, MissingShellFoldersKeyIsCreated) {
  const wchar_t* kPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  ASSERT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, kPath), ERROR_SUCCESS);
  EXPECT_EQ(GetShellFolder(3), L"");  // no value yet
  HKEY key = nullptr;
  EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  if (key) ::RegCloseKey(key);
  EXPECT_NE(GetShellFolder(8), L"");
}

TEST_F(ShellOps, ExecuteFileFailureIsTold) {
  std::wstring missing = dir / L"absent.xyz";
  EXPECT_LE(ExecuteFile(L"Open", missing, L"", L"", SW_SHOWNORMAL), 32);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, L"ERREUR - Impossible de Open le fichier  " + missing);
  EXPECT_EQ(messages.shown[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

  EXPECT_GT(ExecuteFile(L"open", L"cmd.exe", L"/c exit", dir.path(), SW_HIDE), 32);
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ShellOps, IconIndexesFromTheSystemList) {
  std::wstring t1 = dir.File(L"one.txt"), t2 = dir.File(L"two.txt");
  std::wstring folder = dir.Folder(L"folder");
  EXPECT_EQ(GetSmallIconIndex(t1), GetSmallIconIndex(t2));
  EXPECT_NE(GetSmallIconIndex(t1), GetSmallIconIndex(folder));
  EXPECT_GE(GetOpenIconIndex(folder), 0);
}

TEST_F(ShellOps, FolderPickerAnswersTheChosenFolder) {
  std::wstring picked = dir.Folder(L"Choisi");
  std::wstring title;
  test::WindowAnswerer choose(test::WindowAnswerer::kDialogClass, [&](HWND dlg) {
    // The picker shows the French title among its texts.
    for (HWND child = ::GetWindow(dlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t text[128] = {};
      ::GetWindowTextW(child, text, 128);
      if (std::wstring(text) == Text(Msg::ChooseFolderTitle)) title = text;
    }
    // The picker fills its tree as it goes: select until the folder is the tree's selection.
    HWND tree = ::FindWindowExW(dlg, nullptr, L"SysTreeView32", nullptr);
    for (int tries = 0; tree && tries < 100; ++tries) {
      ::SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(picked.c_str()));
      wchar_t text[MAX_PATH] = {};
      TVITEMW item{};
      item.mask = TVIF_TEXT;
      item.hItem = TreeView_GetSelection(tree);
      item.pszText = text;
      item.cchTextMax = MAX_PATH;
      if (item.hItem && TreeView_GetItem(tree, &item) && std::wstring(text) == L"Choisi") break;
      ::Sleep(50);
    }
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  });
  auto result = BrowseForFolder(nullptr);
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(SameTextIgnoreCase(*result, picked + L"\\"));
  EXPECT_EQ(title, L"SVP choisissez un r\u00E9pertoire");
}

TEST_F(ShellOps, FolderPickerCancelledAnswersNothing) {
  test::WindowAnswerer cancel(test::WindowAnswerer::kDialogClass, [](HWND dlg) { ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_FALSE(BrowseForFolder(nullptr).has_value());
  EXPECT_EQ(cancel.answered(), 1);
}

}  // namespace
}  // namespace ferlane
