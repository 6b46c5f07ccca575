// Expanding a tree node over a folder of 10,000 subfolders, against the bare
// file-system calls the expansion cannot avoid: the listing of the folder and
// one probe of each subfolder for a subfolder of its own. Both are timed in
// the same run; the ratio is what counts (at most 2).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "browse/DirTree.h"

namespace {

constexpr int kFolders = 10000;
constexpr int kRounds = 5;

bool IsSubFolder(const WIN32_FIND_DATAW& e) {
  return (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(e.cFileName, L".") != 0 &&
         wcscmp(e.cFileName, L"..") != 0;
}

bool Probe(const std::wstring& folder) {
  WIN32_FIND_DATAW e;
  HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &e);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    found = IsSubFolder(e);
  } while (!found && ::FindNextFileW(h, &e));
  ::FindClose(h);
  return found;
}

// The listing and the probes, and nothing else; returns the folders with a subfolder.
int BareWalk(const std::wstring& folder) {
  int withSub = 0;
  WIN32_FIND_DATAW e;
  HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &e);
  if (h == INVALID_HANDLE_VALUE) return -1;
  do {
    if (IsSubFolder(e) && Probe(folder + L"\\" + e.cFileName)) ++withSub;
  } while (::FindNextFileW(h, &e));
  ::FindClose(h);
  return withSub;
}

int CountChildren(HWND tree, HTREEITEM node, int& withButton) {
  int n = 0;
  withButton = 0;
  for (HTREEITEM c = TreeView_GetChild(tree, node); c; c = TreeView_GetNextSibling(tree, c)) {
    ++n;
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = c;
    TreeView_GetItem(tree, &item);
    if (item.cChildren) ++withButton;
  }
  return n;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);

  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  const std::wstring base = std::wstring(tmp) + L"ferlane-bench-tree-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring big = base + L"\\big";
  ::CreateDirectoryW(base.c_str(), nullptr);
  ::CreateDirectoryW(big.c_str(), nullptr);
  std::vector<std::wstring> made;
  for (int i = 0; i < kFolders; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"\\d%05d", (i * 7919) % kFolders);  // not made in name order
    made.push_back(big + name);
    ::CreateDirectoryW(made.back().c_str(), nullptr);
    if (i % 10 == 0) {
      made.push_back(big + name + L"\\inner");
      ::CreateDirectoryW(made.back().c_str(), nullptr);
    }
  }

  HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  ferlane::TDirTree tree;
  if (!tree.Create(host, 1, RECT{0, 0, 300, 500})) {
    std::printf("bench_tree: cannot create the tree\n");
    return 1;
  }
  const HWND tv = tree.TreeHwnd();

  const int expectedWithSub = BareWalk(big);  // warms the caches both sides use
  std::vector<double> bare, expand;
  int children = 0, withButton = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = Now();
    const int withSub = BareWalk(big);
    bare.push_back(Now() - t0);
    if (withSub != expectedWithSub) std::printf("bench_tree: the walk changed between rounds\n");

    tree.ReloadTree();
    tree.ExpandToPath(base);
    HTREEITEM baseNode = TreeView_GetSelection(tv);
    HTREEITEM bigNode = baseNode ? TreeView_GetChild(tv, baseNode) : nullptr;
    if (!bigNode) {
      std::printf("bench_tree: the folder's node was not found\n");
      return 1;
    }
    t0 = Now();
    TreeView_Expand(tv, bigNode, TVE_EXPAND);
    expand.push_back(Now() - t0);
    children = CountChildren(tv, bigNode, withButton);
  }

  const double bareMs = Median(bare) * 1000, expandMs = Median(expand) * 1000;
  const double ratio = expandMs / bareMs;
  std::printf("folders: %d (%d with a subfolder); nodes: %d (%d with a button)\n", kFolders, expectedWithSub,
              children, withButton);
  std::printf("bare listing + probes: %.1f ms (median of %d)\n", bareMs, kRounds);
  std::printf("tree node expansion:   %.1f ms (median of %d)\n", expandMs, kRounds);
  std::printf("ratio: %.2f (limit 2.00) %s\n", ratio, ratio <= 2.0 ? "ok" : "TOO SLOW");

  ::DestroyWindow(host);
  for (auto it = made.rbegin(); it != made.rend(); ++it) ::RemoveDirectoryW(it->c_str());
  ::RemoveDirectoryW(big.c_str());
  ::RemoveDirectoryW(base.c_str());
  ::OleUninitialize();
  const bool ok = children == kFolders && withButton == expectedWithSub;
  if (!ok) std::printf("bench_tree: the tree does not hold what the folder does\n");
  return ok ? 0 : 1;
}
