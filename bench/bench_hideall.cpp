// The program's first job at scale: "Tout Cacher" then "Tout Voir" on 10,000
// and on 100,000 listed files, through the real main window's commands on its
// list view (progress window, read-back of every item and all), against a
// bare loop over the same files in the same run that reads each file's
// attributes and sets them (GetFileAttributes then SetFileAttributes: the
// least a hide or a show must do). Also "Cacher ou Voir la sélection" on a
// 1,000-row selection of visible files, against the bare loop on those files.
// Other programs share the machine's cores, so the load changes from one
// second to the next: each round times the two sides one right after the
// other, alternating which goes first, and the median of the rounds' ratios
// counts; a pass over every file first warms the caches both use.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchFiles.h"
#include "app/MainWindow.h"
#include "protect/ListFileIo.h"
#include "resource.h"

namespace {

constexpr int kPerFolder = 1000;
constexpr int kFolders = 100;  // 100,000 files
constexpr int kSelection = 1000;

std::wstring FolderName(int d) { return L"d" + std::to_wstring(d); }

std::wstring FileName(int f) {
  wchar_t name[32];
  swprintf(name, 32, L"f%05d.txt", f);
  return name;
}

bool MakeFiles(const std::wstring& root, const std::wstring& marker) {
  if (!::CreateDirectoryW(root.c_str(), nullptr)) return false;
  if (bench::UnixNameFn unixName = bench::WineUnixName()) {
    const std::string script = "cd '" + bench::UnixPath(unixName, root) + "' || exit 1; for d in $(seq 0 " +
                               std::to_string(kFolders - 1) + "); do mkdir d$d && (cd d$d && seq -f 'f%05g.txt' 0 " +
                               std::to_string(kPerFolder - 1) + " | xargs touch) || exit 1; done; touch '" +
                               bench::UnixPath(unixName, marker) + "'";
    return bench::RunUnixShell(script, marker);
  }
  for (int d = 0; d < kFolders; ++d) {
    const std::wstring folder = root + L"\\" + FolderName(d);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (int f = 0; f < kPerFolder; ++f) {
      HANDLE h = ::CreateFileW((folder + L"\\" + FileName(f)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      ::CloseHandle(h);
    }
  }
  return true;
}

// The bare loops: one read and one write per file.
void BareHide(const std::vector<std::wstring>& paths, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (::GetFileAttributesW(paths[i].c_str()) != INVALID_FILE_ATTRIBUTES)
      ::SetFileAttributesW(paths[i].c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
}

void BareShow(const std::vector<std::wstring>& paths, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const DWORD a = ::GetFileAttributesW(paths[i].c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN)) {
      const DWORD shown = a & ~FILE_ATTRIBUTE_HIDDEN;
      ::SetFileAttributesW(paths[i].c_str(), shown ? shown : FILE_ATTRIBUTE_NORMAL);
    }
  }
}

// Every file and every row as the command should have left them.
bool AllAre(const std::vector<std::wstring>& paths, std::size_t count, ferlane::ProtectedList& list, bool hidden) {
  const std::wstring word = hidden ? L"Cach\u00E9" : L"Visible";
  for (std::size_t i = 0; i < count; ++i) {
    const DWORD a = ::GetFileAttributesW(paths[i].c_str());
    if (a == INVALID_FILE_ATTRIBUTES || ((a & FILE_ATTRIBUTE_HIDDEN) != 0) != hidden) return false;
  }
  for (int row = 0; row < list.ItemCount(); ++row)
    if (list.StateText(row) != word) return false;
  return true;
}

void Pump() {
  MSG msg;
  // A quit posted by a main window that went away is not for this program.
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) ::DispatchMessageW(&msg);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Paired timings, one pair a round.
struct Pairs {
  std::vector<double> bare, program, ratio;
  void Take(double b, double p) {
    bare.push_back(b);
    program.push_back(p);
    ratio.push_back(p / b);
  }
  void Print(const char* bareName, const char* programName, const char* what, const char* aim) const {
    std::printf("  %-16s %7.3f s   %-14s %7.3f s   ratio %s / bare %.2f (median of %zu, %.2f to %.2f)%s\n",
                bareName, Median(bare), programName, Median(program), what, Median(ratio), ratio.size(),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()), aim);
  }
};

template <class F>
double Timed(F&& f) {
  const double t0 = Now();
  f();
  return Now() - t0;
}

// One list of `count` files in a fresh main window: rounds of "Tout Cacher"
// and "Tout Voir" against the bare loops; with a selection, also the toggle.
bool RunList(const std::wstring& programFolder, const std::wstring& listFile, const std::vector<std::wstring>& paths,
             std::size_t count, int rounds, bool selection) {
  std::vector<std::wstring> lines;
  lines.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    lines.push_back(paths[i]);
    lines.emplace_back(L"Fichier");
  }
  const std::string bytes = ferlane::EncodeListLines(lines);
  HANDLE h = ::CreateFileW(listFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);

  bool whole = true;
  Pairs hide, show, toggleHide, toggleShow;
  {
    ferlane::Tficheprincipale main(programFolder);
    if (!main.Create(::GetModuleHandleW(nullptr))) return false;
    main.FormShow();
    ::ShowWindow(main.hwnd(), SW_SHOW);
    Pump();
    ferlane::ProtectedList& list = main.ListView1();
    if (static_cast<std::size_t>(list.ItemCount()) != count) {
      std::printf("the list holds %d items, not %zu\n", list.ItemCount(), count);
      return false;
    }
    auto command = [&](UINT id) { ::SendMessageW(main.hwnd(), WM_COMMAND, id, 0); };
    auto cacher = [&] {
      const double t = Timed([&] { command(IDM_TOUT_CACHER); });
      whole &= AllAre(paths, count, list, true);
      return t;
    };
    auto voir = [&] {
      const double t = Timed([&] { command(IDM_TOUT_VOIR); });
      whole &= AllAre(paths, count, list, false);
      return t;
    };
    auto bareHide = [&] { return Timed([&] { BareHide(paths, count); }); };
    auto bareShow = [&] { return Timed([&] { BareShow(paths, count); }); };
    BareShow(paths, count);  // warms the caches both sides use
    for (int round = 0; round < rounds; ++round) {
      // Every pass starts from the state the one before left; each pair of
      // hides and each pair of shows is timed close together.
      double bh, bs, ph, ps;
      if (round % 2 == 0) {
        bh = bareHide();
        ps = voir();
        ph = cacher();
        bs = bareShow();
      } else {
        ph = cacher();
        bs = bareShow();
        bh = bareHide();
        ps = voir();
      }
      hide.Take(bh, ph);
      show.Take(bs, ps);
    }
    if (selection) {
      // Rows and files agree again (a bare loop leaves the rows as they were).
      command(IDM_TOUT_VOIR);
      HWND lv = list.hwnd();
      ListView_SetItemState(lv, -1, 0, LVIS_SELECTED);
      for (int i = 0; i < kSelection; ++i) ListView_SetItemState(lv, i, LVIS_SELECTED, LVIS_SELECTED);
      auto toggle = [&](bool nowHidden) {
        const double t = Timed([&] { command(IDM_POPUP2_CACHER_OU_VOIR); });
        const std::wstring word = nowHidden ? L"Cach\u00E9" : L"Visible";
        whole &= list.StateText(0) == word && list.StateText(kSelection - 1) == word &&
                 list.StateText(kSelection) == L"Visible";
        return t;
      };
      for (int round = 0; round < 3 * rounds; ++round) {
        double bh, bs, ph, ps;
        if (round % 2 == 0) {
          bh = Timed([&] { BareHide(paths, kSelection); });
          ps = toggle(false);
          ph = toggle(true);
          bs = Timed([&] { BareShow(paths, kSelection); });
        } else {
          ph = toggle(true);
          bs = Timed([&] { BareShow(paths, kSelection); });
          bh = Timed([&] { BareHide(paths, kSelection); });
          ps = toggle(false);
        }
        toggleHide.Take(bh, ph);
        toggleShow.Take(bs, ps);
      }
    }
  }
  Pump();
  std::printf("%zu files, %d rounds:\n", count, rounds);
  hide.Print("bare hide loop:", "\"Tout Cacher\":", "hide all", " (aim <= 1.50)");
  show.Print("bare show loop:", "\"Tout Voir\":", "show all", " (aim <= 1.50)");
  if (selection) {
    std::printf("%d selected rows, %d rounds:\n", kSelection, 3 * rounds);
    toggleHide.Print("bare hide loop:", "\"Cacher\":", "hide selection", "");
    toggleShow.Print("bare show loop:", "\"Voir\":", "show selection", "");
  }
  if (!whole) std::printf("the commands did not leave every file and row as they should\n");
  return whole;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");  // no password window

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring programFolder = std::wstring(temp) + L"bench_hideall\\";
  const std::wstring root = std::wstring(temp) + L"bench_hideall_files";
  const std::wstring marker = std::wstring(temp) + L"bench_hideall.ready";
  ::CreateDirectoryW(programFolder.c_str(), nullptr);
  wchar_t user[256] = {};
  DWORD n = 256;
  ::GetUserNameW(user, &n);
  const std::wstring listFile = programFolder + user;

  std::printf("creating %d files...\n", kFolders * kPerFolder);
  std::fflush(stdout);
  if (!MakeFiles(root, marker)) {
    std::printf("could not create the files\n");
    return 1;
  }
  // Listed folder by folder, as items dropped from a few folders are.
  std::vector<std::wstring> paths;
  paths.reserve(static_cast<std::size_t>(kFolders) * kPerFolder);
  for (int d = 0; d < kFolders; ++d)
    for (int f = 0; f < kPerFolder; ++f) paths.push_back(root + L"\\" + FolderName(d) + L"\\" + FileName(f));

  bool ok = RunList(programFolder, listFile, paths, 10000, 5, true);
  std::fflush(stdout);
  ok = RunList(programFolder, listFile, paths, paths.size(), 5, false) && ok;

  bench::RemoveTree(root, marker);
  ::DeleteFileW(listFile.c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  ::OleUninitialize();
  return ok ? 0 : 1;
}
