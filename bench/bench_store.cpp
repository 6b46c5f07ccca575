// Hiding 1,000 personal desktop shortcuts into the hidden store and restoring
// them, through the real main window's "&Cacher" and "&Rétablir" commands,
// against a bare MoveFileEx loop moving the same files there and back, all
// timed in this run. A second baseline is the shell's own move of the same
// files (one SHFileOperation request each way), which the commands go through:
// it tells the shell's share from the program's, and the commands are held to
// it (at most 1.1 times). The bench's own counts of the moved files are not
// timed. Runs in the benchmark's own prefix, whose personal
// desktop is a real folder inside it.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/MainWindow.h"
#include "resource.h"

namespace {

constexpr int kFiles = 1000;
constexpr int kRuns = 5;

std::wstring Name(int i) { return L"Raccourci " + std::to_wstring(i) + L".lnk"; }

int BareMoves(const std::wstring& from, const std::wstring& to) {
  int moved = 0;
  for (int i = 0; i < kFiles; ++i)
    moved += ::MoveFileExW((from + L"\\" + Name(i)).c_str(), (to + L"\\" + Name(i)).c_str(), 0) ? 1 : 0;
  return moved;
}

// The same moves as one shell request each way, as the commands hand them over.
bool ShellMoves(const std::wstring& from, const std::wstring& to) {
  std::vector<std::wstring> there, back;
  for (int i = 0; i < kFiles; ++i) {
    there.push_back(from + L"\\" + Name(i));
    back.push_back(to + L"\\" + Name(i));
  }
  return ferlane::ShellMoveList(nullptr, there, to, 0) == 0 && ferlane::ShellMoveList(nullptr, back, from, 0) == 0;
}

int Count(const std::wstring& folder) {
  int n = 0;
  for (int i = 0; i < kFiles; ++i) n += ::GetFileAttributesW((folder + L"\\" + Name(i)).c_str()) != INVALID_FILE_ATTRIBUTES;
  return n;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring programFolder = std::wstring(temp) + L"bench_store\\";
  ::CreateDirectoryW(programFolder.c_str(), nullptr);
  ferlane::Tficheprincipale main(programFolder);
  if (!main.Create(::GetModuleHandleW(nullptr))) return 1;
  main.FormShow();
  Pump();
  auto& folders = main.ShellFolderViews();
  const std::wstring desktop = folders.FolderPath(ferlane::ShellFolder::PersonalDesktop);
  const std::wstring store = folders.StorePath(ferlane::StoreFolder::Desktop);
  for (int i = 0; i < kFiles; ++i) {
    HANDLE h = ::CreateFileW((desktop + L"\\" + Name(i)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    ::CloseHandle(h);
  }
  ferlane::TFileListView& burperso = *folders.View(L"burperso");
  ferlane::TFileListView& burcach = *folders.View(L"burcach");
  auto command = [&](UINT id) { ::SendMessageW(main.hwnd(), WM_COMMAND, id, 0); };

  // Rounds time the three ways one right after the other; the median of the
  // rounds' ratios counts, as the load of the shared cores changes.
  std::vector<double> bare, shell, commands, commandsToShell, commandsToBare;
  bool whole = true;
  for (int run = 0; run < kRuns; ++run) {
    double t0 = Now();
    whole &= BareMoves(desktop, store) == kFiles && BareMoves(store, desktop) == kFiles;
    bare.push_back(Now() - t0);
    t0 = Now();
    whole &= ShellMoves(desktop, store);
    shell.push_back(Now() - t0);

    // The views show the desktop as it stands, as they would after any listing.
    burperso.UpdateFileList();
    t0 = Now();
    command(IDM_OPSPEBUR_TOUT_SELECTIONNER);
    command(IDM_OPSPEBUR_CACHER);
    double took = Now() - t0;
    const int hidden = Count(store);  // not timed: the bench's own check
    t0 = Now();
    command(IDM_MENUCACHEBUR_TOUT_SELECTIONNER);
    command(IDM_MENUCACHEBUR_RETABLIR);
    took += Now() - t0;
    commands.push_back(took);
    commandsToShell.push_back(took / shell.back());
    commandsToBare.push_back(took / bare.back());
    whole &= hidden == kFiles && Count(desktop) == kFiles && burcach.ItemCount() == 0;
  }
  for (int i = 0; i < kFiles; ++i) ::DeleteFileW((desktop + L"\\" + Name(i)).c_str());

  std::printf("shortcuts: %d, hidden and restored whole: %s\n", kFiles, whole ? "yes" : "NO");
  std::printf("bare MoveFileEx there and back: %.3f s (median of %d)\n", Median(bare), kRuns);
  std::printf("shell requests there and back:  %.3f s (median of %d)\n", Median(shell), kRuns);
  std::printf("hide and restore commands:      %.3f s (median of %d)\n", Median(commands), kRuns);
  std::printf("ratio commands / shell requests: %.2f (median of the rounds' ratios; aim <= 1.10)\n",
              Median(commandsToShell));
  std::printf("ratio commands / bare moves: %.2f (the shell's own share included)\n", Median(commandsToBare));
  ::OleUninitialize();
  return whole ? 0 : 1;
}
