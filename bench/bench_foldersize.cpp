// The size of a tree of 100,000 files in 10,000 folders, against a bare
// single-threaded recursive FindFirstFile walk over the same tree in the same
// run. The byte counts must agree exactly; the ratio is what counts (at most 0.8).
//
// On a machine whose cores other programs share, one walk alone can be
// starved while the other is not, and a walk that follows another finds the
// caches that one left: the two walks are paired in rounds that alternate
// which runs first, each round's ratio is taken within the pair, and the
// median of those ratios counts. Each walk's processor time is shown beside
// its wall time, so a starved walk shows as one whose wall time far exceeds
// the processor time it got.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "browse/FolderSize.h"

namespace {

constexpr int kTop = 100;            // folders below the root...
constexpr int kPerTop = 99;          // ...each with this many subfolders: 10,000 folders in all
constexpr int kFilesPerFolder = 10;  // 100,000 files
constexpr int kRounds = 7;

std::uint64_t BareWalk(const std::wstring& folder) {
  std::uint64_t bytes = 0;
  WIN32_FIND_DATAW e;
  HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &e);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (wcscmp(e.cFileName, L".") == 0 || wcscmp(e.cFileName, L"..") == 0) continue;
    if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      bytes += BareWalk(folder + L"\\" + e.cFileName);
    else
      bytes += (static_cast<std::uint64_t>(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
  } while (::FindNextFileW(h, &e));
  ::FindClose(h);
  return bytes;
}

void MakeFiles(const std::wstring& folder, int seed, std::vector<std::wstring>& files) {
  for (int f = 0; f < kFilesPerFolder; ++f) {
    std::wstring path = folder + L"\\f" + std::to_wstring(f) + L".dat";
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    // Sizes without writing: the end of file moved to a length that varies.
    LARGE_INTEGER size;
    size.QuadPart = (seed * 131 + f * 17) % 5000;
    ::SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(h);
    ::CloseHandle(h);
    files.push_back(path);
  }
}

// The processor time this process has had, every thread counted.
double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto value = [](const FILETIME& f) { return (static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  const std::wstring root = std::wstring(tmp) + L"ferlane-bench-size-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(root.c_str(), nullptr);
  std::vector<std::wstring> folders, files;
  for (int t = 0; t < kTop; ++t) {
    const std::wstring top = root + L"\\t" + std::to_wstring(t);
    ::CreateDirectoryW(top.c_str(), nullptr);
    folders.push_back(top);
    MakeFiles(top, t, files);
    for (int s = 0; s < kPerTop; ++s) {
      const std::wstring sub = top + L"\\s" + std::to_wstring(s);
      ::CreateDirectoryW(sub.c_str(), nullptr);
      folders.push_back(sub);
      MakeFiles(sub, t * kPerTop + s, files);
    }
  }

  const std::uint64_t expected = BareWalk(root);  // warms the caches both sides use
  ferlane::FolderSize(root);
  std::vector<double> bare, pooled, ratios, bareCpu, pooledCpu;
  std::uint64_t bareBytes = 0, pooledBytes = 0;
  bool same = true;
  for (int round = 0; round < kRounds; ++round) {
    double bareTime = 0, pooledTime = 0;
    auto timeBare = [&] {
      const double c0 = CpuSeconds(), t0 = Now();
      bareBytes = BareWalk(root);
      bareTime = Now() - t0;
      bareCpu.push_back(CpuSeconds() - c0);
    };
    auto timePooled = [&] {
      const double c0 = CpuSeconds(), t0 = Now();
      pooledBytes = ferlane::FolderSize(root);
      pooledTime = Now() - t0;
      pooledCpu.push_back(CpuSeconds() - c0);
    };
    if (round % 2 == 0) {
      timeBare();
      timePooled();
    } else {
      timePooled();
      timeBare();
    }
    bare.push_back(bareTime);
    pooled.push_back(pooledTime);
    ratios.push_back(pooledTime / bareTime);
    same = same && bareBytes == expected && pooledBytes == expected;
    std::printf("round %d (%s first): bare %.1f ms (%.1f ms of processor), FolderSize %.1f ms (%.1f ms), ratio %.2f\n",
                round + 1, round % 2 == 0 ? "bare" : "FolderSize", bareTime * 1000, bareCpu.back() * 1000,
                pooledTime * 1000, pooledCpu.back() * 1000, ratios.back());
  }

  const double bareMs = Median(bare) * 1000, pooledMs = Median(pooled) * 1000;
  const double ratio = Median(ratios);
  std::printf("tree: %zu folders, %zu files\n", folders.size(), files.size());
  std::printf("bytes: bare walk %llu, FolderSize %llu %s\n", static_cast<unsigned long long>(bareBytes),
              static_cast<unsigned long long>(pooledBytes), same ? "(equal)" : "DIFFERENT");
  std::printf("bare single-threaded walk: %.1f ms (median of %d)\n", bareMs, kRounds);
  std::printf("FolderSize, %d threads:     %.1f ms (median of %d)\n", ferlane::FolderSizeWalk::kThreads, pooledMs,
              kRounds);
  std::printf("ratio FolderSize / bare walk: %.2f (median of the %d rounds' ratios, from %.2f to %.2f; limit 0.80) %s\n",
              ratio, kRounds, *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()), ratio <= 0.8 ? "ok" : "TOO SLOW");

  for (const auto& f : files) ::DeleteFileW(f.c_str());
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) ::RemoveDirectoryW(it->c_str());
  ::RemoveDirectoryW(root.c_str());
  return same ? 0 : 1;
}
