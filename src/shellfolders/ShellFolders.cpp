#include "shellfolders/ShellFolders.h"

#include <shlobj.h>

#include <utility>

#include "platform/Controls.h"
#include "platform/Deadline.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

std::wstring WindowText(HWND h) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

// ---- Views ---------------------------------------------------------------------

void ShellFolders::CreateShellView(const PageHost& host, TFileListView& view, const ShellViewSetup& setup,
                                   HMENU popup) {
  window_ = host.window;
  host_ = host;
  view.Create(host.window, setup.id, RECT{0, 0, 0, 0});
  view.SetLanguage(lnFrench);
  view.SetViewStyle(vsIcon);
  view.SetShowFolders(setup.showFolders);
  view.SetHideFileExt(true);
  view.SetDblClickToOpen(setup.dblClickToOpen);
  view.SetParentDirCaption(setup.parentCaption);
  view.SetParentDirEnabled(false);
  view.SetPopUpMenuEnabled(false);
  if (popup) view.SetPopupMenu(popup, host.window);
  view.SetColWidth_Mod(125);  // at 96 DPI, as every column width
  view.SetMultiSelect(true);
  view.SetReadOnly(false);
  view.SetDragTarget(this);
  ::ShowWindow(view.hwnd(), SW_HIDE);
  AddHint(host.tooltip, host.window, view.ListHwnd(), setup.hint);
  views_.push_back({setup.name, &view});
}

TFileListView* ShellFolders::View(std::wstring_view name) const {
  for (const auto& v : views_)
    if (name == v.name) return v.view;
  return nullptr;
}

const wchar_t* ShellFolders::NameOf(const TFileListView& view) const {
  for (const auto& v : views_)
    if (v.view == &view) return v.name;
  return nullptr;
}

std::wstring ShellFolders::FolderPath(ShellFolder folder) const {
  HWND panel = Panel(folder);
  return panel ? WindowText(panel) : std::wstring();
}

// ---- Look-ups and the store -------------------------------------------------------

void ShellFolders::LookupShellFolders(HWND mainWindow) {
  window_ = mainWindow;
  for (const auto& row : kShellFolderRows) {
    const auto path = SpecialFolderPath(mainWindow, row.csidl);
    if (!path) continue;
    for (const wchar_t* name : row.views)
      if (TFileListView* view = name ? View(name) : nullptr) view->SetDirectory(*path);
    if (HWND panel = Panel(row.folder)) SetPanelPath(host_, panel, *path);
  }
}

void ShellFolders::CreateHiddenStore(const std::wstring& roleLabel) {
  ComposeStorePaths(roleLabel);
  MakeHiddenStore();
  AdoptOlderStores(roleLabel);
  ShowStoreFolder(View(L"burcach"), StoreFolder::Desktop);
  ShowStoreFolder(View(L"progcach"), StoreFolder::Programs);
}

void ShellFolders::MakeHiddenStore() {
  // Before the first showing the paths are empty, and nothing is made.
  DWORD rightsError = ERROR_SUCCESS;
  storeError_ = MakeStoreFolders(store_, &rightsError);
  TellRightsRefused(rightsError);
}

void ShellFolders::AdoptOlderStores(const std::wstring& roleLabel) {
  DWORD rightsError = ERROR_SUCCESS;
  const std::vector<StrandedItems> stranded = ferlane::AdoptOlderStores(store_, roleLabel, &rightsError, trail_);
  std::vector<std::wstring> paths;
  for (const StrandedItems& left : stranded) {
    for (const std::wstring& name : left.names) paths.push_back(JoinPath(left.oldFolder, name));
    // A folder read only in part is in the set as a whole.
    if (left.readError) paths.push_back(JoinPath(left.oldFolder, L"*"));
  }
  // The same items, still kept out by the same names, were named at an
  // earlier start: a box at every start would say nothing new.
  std::wstring digest = StrandedDigest(std::move(paths));
  if (digest != strandedTold_)
    for (const StrandedItems& left : stranded) {
      if (left.readError) ShowError(window_, UnreadableOlderStoreText(left.oldFolder, SystemErrorText(left.readError)));
      if (!left.names.empty())
        ShowError(window_, StrandedItemsText(left.oldFolder, store_[static_cast<int>(left.folder)], left.names));
    }
  strandedTold_ = std::move(digest);
  TellRightsRefused(rightsError);
}

void ShellFolders::NameSetAside(const std::wstring& programFolder) {
  const std::vector<std::wstring> found = FindSetAside(store_, programFolder, kWindowLookupMs);
  if (!found.empty()) ShowError(window_, SetAsideText(found));
}

void ShellFolders::TellRightsRefused(DWORD error) {
  rightsNotice_->Refused(window_, StoreUserFolder(store_), error);
}

void ShellFolders::ShowShellFolder(TFileListView* view, int csidl) {
  if (!view) return;
  if (const auto path = SpecialFolderPath(window_, csidl)) view->SetDirectory(*path);
}

namespace {

StoreLook LookAt(const std::wstring& path) {
  StoreLook look;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return look;
  look.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  look.isFile = !look.isFolder;
  // A folder's write time moves whenever an entry comes, goes or is renamed.
  look.stamp = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
  return look;
}

constexpr const wchar_t* kStoreViews[2] = {L"burcach", L"progcach"};

}  // namespace

void ShellFolders::ShowStoreFolder(TFileListView* view, StoreFolder f) {
  const int i = static_cast<int>(f);
  if (!view || store_[i].empty()) return;
  // Looked at before the listing: a change during it lists again later.
  const StoreLook look = LookAt(store_[i]);
  StoreWatch& watch = storeWatch_[i];
  watch.listed = look.isFolder;
  watch.stamp = look.stamp;
  if (look.isFolder) {
    watch.told = false;
    view->SetDirectory(store_[i]);
  } else {
    view->ShowMissingFolder(store_[i]);
  }
}

void ShellFolders::WatchStore(bool visible) {
  // Never while a command moves items out of these views, nor again while
  // the message of a previous look is up.
  if (busy_ || moves_.Busy()) return;
  const bool wasBusy = std::exchange(busy_, true);
  std::vector<std::wstring> gone;
  std::vector<bool> isFile;
  for (int i = 0; i < 2; ++i) {
    TFileListView* view = View(kStoreViews[i]);
    if (!view || store_[i].empty()) continue;
    const StoreLook look = LookAt(store_[i]);
    const WatchAction action = NextWatchAction(storeWatch_[i], look, visible);
    const std::wstring shown = view->Directory();
    if (action.relist && ::lstrcmpiW(shown.c_str(), (store_[i] + L"\\").c_str()) != 0 && FolderExists(shown)) {
      // A sub-folder of the store opened in the view stays open.
      storeWatch_[i] = {true, look.stamp, false};
      view->UpdateFileList();
    } else if (action.relist) {
      ShowStoreFolder(view, static_cast<StoreFolder>(i));
    }
    if (action.showEmpty) view->ShowMissingFolder(store_[i]);
    if (action.tell) {
      gone.push_back(store_[i]);
      isFile.push_back(look.isFile);
    }
  }
  if (!gone.empty()) ShowError(window_, StoreGoneText(gone, isFile));
  busy_ = wasBusy;
}

ShellFolders::MoveOutcome ShellFolders::MoveSelected(TFileListView& view, const std::wstring& from,
                                                     const std::wstring& to, ItemRule rule, bool quiet) {
  std::vector<MoveItem> items;
  const int n = view.ItemCount();
  for (int row = 0; row < n; ++row)
    if (view.IsSelected(row))
      // The real entry name, with its own extension, whatever the caption shows.
      items.push_back({std::wstring(EntryName(view.SubItem(row, 4))), view.SubItem(row, 5) == L"dir"});
  return MoveItems(items, from, to, rule, quiet);
}
ShellFolders::MoveOutcome ShellFolders::MoveItems(const std::vector<MoveItem>& items, const std::wstring& from,
                                                  const std::wstring& to, ItemRule rule, bool quiet) {
  return moves_.Move(items, from, to, rule, quiet) == ShellMoves::Outcome::Done ? MoveOutcome::Done
                                                                                   : MoveOutcome::FolderMissing;
}

bool ShellFolders::DragOver
(TFileListView& source, HWND target, POINT) {
  const TFileListView* onto = TFileListView::FromHwnd(target);
  const wchar_t* sourceName = NameOf(source);
  const wchar_t* targetName = onto ? NameOf(*onto) : nullptr;
  return sourceName && targetName && AcceptsDrag(targetName, sourceName);
}

void ShellFolders::DragDrop(TFileListView& source, HWND target, POINT pt) {
  if (!DragOver(source, target, pt)) return;
  const Route* route = RouteOf(NameOf(*TFileListView::FromHwnd(target)));
  MoveSelected(source, FolderPath(route->from), FolderPath(route->to), route->rule);
  ShowShellFolder(View(route->commonView), route->commonCsidl);
  ShowShellFolder(View(route->personalView), route->personalCsidl);
}

bool ShellFolders::SendToFacingView(TFileListView& source) {
  const wchar_t* name = NameOf(source);
  const Route* route = name ? RouteFrom(name) : nullptr;
  TFileListView* facing = route ? View(route->target) : nullptr;
  if (!facing) return false;
  DragDrop(source, facing->hwnd(), POINT{});
  return true;
}

}  // namespace ferlane
