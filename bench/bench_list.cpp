// Listing a folder of 100,000 files: the bare FindFirstFile/FindNextFile walk
// against a TFileListView showing the same folder (report style, default
// properties), both timed in this run, and the memory a listed row costs.
// The two are timed in rounds, one right after the other, alternating which
// goes first; the median of the rounds' ratios counts.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchFiles.h"
#include "browse/FileListView.h"

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 7;
// A mix of kinds, as a large folder of documents and logs would hold.
const wchar_t* const kExtensions[] = {L".txt", L".log", L".dat", L".jpg", L".doc"};
constexpr std::size_t kExtensionCount = sizeof(kExtensions) / sizeof(kExtensions[0]);

std::wstring FileName(int i) {
  wchar_t name[64];
  swprintf(name, 64, L"document_%06d%ls", i, kExtensions[static_cast<std::size_t>(i) % kExtensionCount]);
  return name;
}

bool MakeFolder(const std::wstring& folder, const std::wstring& marker) {
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) return false;
  if (bench::UnixNameFn unixName = bench::WineUnixName()) {
    const std::string dir = bench::UnixPath(unixName, folder), done = bench::UnixPath(unixName, marker);
    // No double quote may appear: the line is one quoted argument.
    std::string pick;
    for (std::size_t k = 0; k < kExtensionCount; ++k) {
      const wchar_t* e = kExtensions[k];
      pick += std::to_string(k) + ") e=" + std::string(e + 1, e + wcslen(e)) + ";; ";
    }
    const std::string script = "cd '" + dir + "' || exit 1; i=0; while [ $i -lt " + std::to_string(kFiles) +
                               " ]; do case $((i % " + std::to_string(kExtensionCount) + ")) in " + pick +
                               "esac; printf 'document_%06d.%s\\n' $i $e; i=$((i+1)); done | xargs touch && touch '" +
                               done + "'";
    return bench::RunUnixShell(script, marker);
  }
  for (int i = 0; i < kFiles; ++i) {
    HANDLE h = ::CreateFileW((folder + FileName(i)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
  }
  return true;
}

int BareWalk(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((folder + L"*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (::FindNextFileW(h, &fd));
  ::FindClose(h);
  return n;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
  return pmc;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"bench_list\\";
  const std::wstring marker = std::wstring(temp) + L"bench_list.ready";
  std::printf("creating %d files...\n", kFiles);
  std::fflush(stdout);
  if (!MakeFolder(folder, marker)) {
    std::printf("could not create the files\n");
    return 1;
  }

  HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                800, 600, nullptr, nullptr, nullptr, nullptr);
  int rows = 0;
  std::vector<double> walks, listings, ratios;
  std::size_t growth = 0, retained = 0;
  {
    ferlane::TFileListView view;
    RECT rc{0, 0, 780, 560};
    view.Create(host, 1, rc);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    BareWalk(folder);  // both timings start from the same warm folder
    for (int run = 0; run < kRuns; ++run) {
      double walk = 0, listing = 0;
      auto timeWalk = [&] {
        const double t0 = Now();
        const int n = BareWalk(folder);
        walk = Now() - t0;
        if (run == 0) std::printf("bare walk: %d entries\n", n);
      };
      auto timeListing = [&] {
        const PROCESS_MEMORY_COUNTERS before = Memory();
        const double t0 = Now();
        if (run == 0)
          view.SetDirectory(folder);
        else
          view.UpdateFileList();
        listing = Now() - t0;
        rows = view.ItemCount();
        if (run == 0) {
          const PROCESS_MEMORY_COUNTERS after = Memory();
          growth =
              after.PeakWorkingSetSize > before.WorkingSetSize ? after.PeakWorkingSetSize - before.WorkingSetSize : 0;
          retained = after.WorkingSetSize > before.WorkingSetSize ? after.WorkingSetSize - before.WorkingSetSize : 0;
        }
      };
      // The two one right after the other, alternating which goes first.
      if (run % 2 == 0) {
        timeWalk();
        timeListing();
      } else {
        timeListing();
        timeWalk();
      }
      walks.push_back(walk);
      listings.push_back(listing);
      ratios.push_back(listing / walk);
    }
  }
  ::DestroyWindow(host);
  bench::RemoveTree(folder.substr(0, folder.size() - 1), marker);

  std::printf("rows listed: %d\n", rows);
  std::printf("bare walk:   %.3f s (median of %d)\n", Median(walks), kRuns);
  std::printf("listing:     %.3f s (median of %d)\n", Median(listings), kRuns);
  std::printf("ratio listing / walk: %.2f (median of the rounds' ratios, %.2f to %.2f; aim <= 1.10)\n", Median(ratios),
              *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
  if (rows > 0) {
    std::printf("memory per listed row: %.0f bytes peak working set growth (aim <= 150), %.0f bytes retained\n",
                static_cast<double>(growth) / rows, static_cast<double>(retained) / rows);
  }
  ::OleUninitialize();
  return rows == kFiles + 1 ? 0 : 1;  // the files and the parent row
}
