#include "shellfolders/ShellFolders.h"

#include <shlobj.h>

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/MenuPictures.h"
#include "platform/Controls.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "shellfolders/logic/StoreLocation.h"

namespace ferlane {
namespace {

std::wstring LowerCase(std::wstring text) {
  if (!text.empty()) ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring WindowText(HWND h) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

// ---- Group boxes and panels ----------------------------------------------------

void PlaceGroup(HWND group, HWND panel, HWND view, const RECT& r, const Dpi& dpi) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int kTop = dpi.Px(15), kSide = dpi.Px(6), kPanel = dpi.Px(18);
  MoveChild(group, r.left, r.top, w, h);
  int top = r.top + kTop;
  if (panel) {
    MoveChild(panel, r.left + kSide, top, w - 2 * kSide, kPanel);
    top += kPanel + dpi.Px(2);
  }
  MoveChild(view, r.left + kSide, top, w - 2 * kSide, r.bottom - kSide - top);
}

HWND CreateGroup(const PageHost& host, const wchar_t* caption, int id) {
  return CreateChild(host.window, host.instance, L"BUTTON", caption, BS_GROUPBOX, id, host.font);
}

HWND CreatePanel(const PageHost& host, int id) {
  // SS_NOTIFY: a static is otherwise transparent to the pointer, and its hint never shows.
  HWND panel = CreateChild(host.window, host.instance, L"STATIC", L"",
                           SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | SS_PATHELLIPSIS | SS_NOTIFY, id,
                           host.font, WS_EX_STATICEDGE);
  AddHint(host.tooltip, host.window, panel, L"");
  return panel;
}

void SetPanelPath(const PageHost& host, HWND panel, const std::wstring& path) {
  ::SetWindowTextW(panel, path.c_str());  // whole: FolderPath reads it back
  SetHintText(host.tooltip, host.window, panel, path.c_str());
}

HMENU BuildPageMenu(const PageMenuEntry* entries, std::size_t count) {
  HMENU menu = ::CreatePopupMenu();
  for (std::size_t i = 0; i < count; ++i) {
    if (entries[i].caption) {
      ::AppendMenuW(menu, MF_STRING, entries[i].id, entries[i].caption);
      AttachMenuPicture(menu, entries[i].id, entries[i].picture);
    } else
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

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
  storeError_ = MakeStoreFolders(store_);
}

void ShellFolders::AdoptOlderStores(const std::wstring& roleLabel) {
  for (const StrandedItems& left : ferlane::AdoptOlderStores(store_, roleLabel))
    ShowError(window_, StrandedItemsText(left.oldFolder, store_[static_cast<int>(left.folder)], left.names));
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
  if (busy_) return;
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

// ---- Moves ----------------------------------------------------------------------

HWND ShellFolders::OperationOwner() const {
  // The application's own top-level window: the main window's owner if it has one.
  HWND owner = window_ ? ::GetWindow(window_, GW_OWNER) : nullptr;
  return owner ? owner : window_;
}

bool ShellFolders::FolderReady(const std::wstring& folder, bool quiet) const {
  const DWORD attrs = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(folder.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return true;
  DWORD reason = folder.empty() ? ERROR_PATH_NOT_FOUND : ::GetLastError();
  if (attrs != INVALID_FILE_ATTRIBUTES) reason = ERROR_DIRECTORY;  // a file of that name
  if (quiet) return false;
  for (int i = 0; i < 2; ++i) {
    if (!folder.empty() && folder == store_[i]) {
      if (storeError_[i] != ERROR_SUCCESS) reason = storeError_[i];
      ShowError(window_, MissingStoreText(folder, SystemErrorText(reason)));
      return false;
    }
  }
  ShowError(window_, MissingFolderText(folder, SystemErrorText(reason)));
  return false;
}

namespace {

// The entries of a folder. One listing answers every "is this name taken?"
// of a command, where asking the file system for each absent name costs a
// scan of the folder under Wine.
std::vector<FolderEntry> EntriesIn(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  ReadFolderEntries(folder, entries, error);
  return entries;
}

// Lower-cased name -> whether it is a folder.
std::unordered_map<std::wstring, bool> TakenIn(const std::wstring& folder) {
  std::unordered_map<std::wstring, bool> taken;
  for (auto& e : EntriesIn(folder)) taken.emplace(LowerCase(std::move(e.name)), e.isFolder);
  return taken;
}

struct SelectedItem {
  std::wstring name;
  ItemMove move;
  bool found;
};

// The items that `rule` moves, in their order.
std::vector<SelectedItem> ItemsToMove(const std::vector<MoveItem>& chosen, const std::wstring& from, ItemRule rule) {
  std::vector<SelectedItem> items;
  for (const MoveItem& item : chosen) {
    if (item.name.empty()) continue;
    const ItemMove move = ApplyItemRule(rule, item.isDirectory, item.name);
    if (move == ItemMove::Skip) continue;
    items.push_back({item.name, move, PathExists(JoinPath(from, item.name))});
  }
  return items;
}

}  // namespace

bool ShellFolders::Ask(const std::wstring& question) const {
  return ShowMessage(window_, question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool ShellFolders::IsStoreFolder(const std::wstring& folder) const {
  for (const auto& s : store_)
    if (!s.empty() && ::lstrcmpiW(s.c_str(), folder.c_str()) == 0) return true;
  return false;
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

ShellFolders::MoveOutcome ShellFolders::MoveItems(const std::vector<MoveItem>& chosen, const std::wstring& from,
                                                  const std::wstring& to, ItemRule rule, bool quiet) {
  // A shell move into a folder that is not there would rename the item to the
  // folder's name instead: nothing moves unless both ends exist.
  if (!FolderReady(from, quiet) || !FolderReady(to, quiet)) return MoveOutcome::FolderMissing;
  const bool wasBusy = std::exchange(busy_, true);
  std::vector<SelectedItem> items = ItemsToMove(chosen, from, rule);
  // A name the destination cannot take is said before anything moves.
  std::vector<std::wstring> tooLong;
  std::erase_if(items, [&](const SelectedItem& item) {
    const bool folder = item.move == ItemMove::Folder;
    const InsideLengths inside = folder && item.found ? LengthsInside(JoinPath(from, item.name)) : InsideLengths{};
    if (FitsIn(to.size(), item.name, folder, inside)) return false;
    tooLong.push_back(item.name);
    return true;
  });
  if (!tooLong.empty()) ShowError(window_, TooLongText(tooLong, to, IsStoreFolder(to)));

  const bool sameFolder = ::lstrcmpiW(from.c_str(), to.c_str()) == 0;
  std::unordered_map<std::wstring, bool> taken = TakenIn(to);
  std::vector<PlannedMove> plan;
  std::vector<std::wstring> sources, merges, left, kept;
  for (const SelectedItem& item : items) {
    const bool folder = item.move == ItemMove::Folder;
    const auto existing = taken.find(LowerCase(item.name));
    const ClashStep step = ClashFor(folder, item.found && !sameFolder && existing != taken.end()
                                                ? std::optional<bool>(existing->second)
                                                : std::nullopt);
    // Wine's shell replaces a file without a word and leaves a folder where
    // it was: both are asked here, whatever the shell would do.
    ClashOutcome outcome = Resolve(step);
    if (step == ClashStep::AskReplace) outcome = Resolve(step, Ask(ReplaceQuestion(item.name, to)));
    if (step == ClashStep::AskMerge) outcome = Resolve(step, Ask(MergeQuestion(item.name, from, to)));
    if (outcome == ClashOutcome::Move || outcome == ClashOutcome::Replace) {
      // Once the user agreed, a shell that asks too does not ask again.
      plan.push_back({item.move, outcome == ClashOutcome::Replace, item.found});
      sources.push_back(JoinPath(from, item.name));
    } else if (outcome == ClashOutcome::Merge) {
      merges.push_back(item.name);
    } else if (outcome == ClashOutcome::Leave) {
      left.push_back(item.name);  // a file and a folder of one name
    } else if (outcome == ClashOutcome::Declined) {
      kept.push_back(item.name);  // the user's "Non": no failure
    }
    taken.emplace(LowerCase(item.name), folder);
  }
  // Plain shortcut moves go to the shell together, in their order: one
  // request for a thousand shortcuts instead of a thousand.
  std::vector<std::size_t> claimed;
  for (const MoveBatch& b : MoveBatches(plan)) RunBatch(plan, sources, b, to, claimed);
  if (!sameFolder) CheckClaimedMoves(plan, sources, claimed, from, left);
  const std::size_t keptBeforeMerges = kept.size();
  for (const auto& name : merges) MergeInto(JoinPath(from, name), JoinPath(to, name), name, left, kept);
  bool failed = false;
  const std::wstring report = MoveReportText(left, kept, kept.size() > keptBeforeMerges, to, &failed);
  if (!report.empty()) ShowMessage(window_, report, MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
  busy_ = wasBusy;
  return MoveOutcome::Done;
}

void ShellFolders::CheckClaimedMoves(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                                     const std::vector<std::size_t>& claimed, const std::wstring& from,
                                     std::vector<std::wstring>& notMoved) const {
  // A shell that reports its failures has said so already; one that answers
  // success for a missing source or a folder it left in place (Wine's) would
  // otherwise fail without a word.
  if (claimed.empty()) return;
  const std::unordered_map<std::wstring, bool> left = TakenIn(from);
  for (std::size_t i : claimed) {
    const std::wstring name(EntryName(sources[i]));
    if (!plan[i].sourceFound || left.count(LowerCase(name))) notMoved.push_back(name);
  }
}

void ShellFolders::MergeInto(const std::wstring& source, const std::wstring& target, const std::wstring& shownAs,
                             std::vector<std::wstring>& left, std::vector<std::wstring>& kept) {
  std::vector<std::wstring> namedInside, keptHere;
  for (const MergeItem& item : PlanMerge(EntriesIn(source), EntriesIn(target), &LowerCase)) {
    const std::wstring path = JoinPath(source, item.name);
    ClashOutcome outcome = Resolve(item.step);
    if (item.step == ClashStep::AskReplace) outcome = Resolve(item.step, Ask(ReplaceQuestion(item.name, target)));
    if (item.step == ClashStep::AskMerge) outcome = Resolve(item.step, Ask(MergeQuestion(item.name, source, target)));
    if (outcome == ClashOutcome::Merge) {
      const std::size_t before = left.size(), keptBefore = kept.size();
      MergeInto(path, JoinPath(target, item.name), JoinPath(shownAs, item.name), left, kept);
      if (left.size() > before || kept.size() > keptBefore) namedInside.push_back(item.name);
    } else if (outcome == ClashOutcome::Declined) {
      kept.push_back(JoinPath(shownAs, item.name));
      keptHere.push_back(LowerCase(item.name));
    } else if (outcome == ClashOutcome::Move || outcome == ClashOutcome::Replace) {
      MoveOne(item.isFolder ? ItemMove::Folder : ItemMove::File, path, target,
              outcome == ClashOutcome::Replace ? FOF_NOCONFIRMATION : 0);
    }
  }
  // What the folder still holds is named, whatever kept it (a refusal, or a
  // shell that said it moved what it left), except what the user kept back.
  std::vector<FolderEntry> remaining = EntriesIn(source);
  std::erase_if(remaining, [&](const FolderEntry& e) {
    return std::find(keptHere.begin(), keptHere.end(), LowerCase(e.name)) != keptHere.end();
  });
  if (remaining.empty() && !keptHere.empty()) return;  // it holds what the user kept
  if (remaining.empty()) {
    // The read-only mark of a customised folder must not keep it.
    ::SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::RemoveDirectoryW(source.c_str())) left.push_back(shownAs);
    return;
  }
  const std::vector<std::wstring> named = MergeLeftovers(shownAs, remaining, namedInside, &LowerCase);
  left.insert(left.end(), named.begin(), named.end());
}

bool ShellFolders::MoveOne(ItemMove move, const std::wstring& source, const std::wstring& to,
                           FILEOP_FLAGS extra) {
  bool aborted = false;
  const bool done = move == ItemMove::Folder
                        ? MoveFolder(source, to, extra, &aborted)
                        : ShellFileOp(OperationOwner(), source, to, FO_MOVE, extra, &aborted) == 0;
  return done && !aborted;
}

void ShellFolders::RunBatch(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                            MoveBatch batch, const std::wstring& to, std::vector<std::size_t>& claimed) {
  const PlannedMove& first = plan[batch.first];
  const FILEOP_FLAGS extra = static_cast<FILEOP_FLAGS>(first.confirmed ? FOF_NOCONFIRMATION : 0);
  if (batch.last - batch.first == 1) {
    if (MoveOne(first.move, sources[batch.first], to, extra)) claimed.push_back(batch.first);
    return;
  }
  const std::vector<std::wstring> list(sources.begin() + static_cast<std::ptrdiff_t>(batch.first),
                                       sources.begin() + static_cast<std::ptrdiff_t>(batch.last));
  bool aborted = false;
  if (ShellMoveList(OperationOwner(), list, to, extra, &aborted) == 0) {
    if (!aborted)
      for (std::size_t i = batch.first; i < batch.last; ++i) claimed.push_back(i);
    return;
  }
  if (aborted) return;
  // A request that failed part-way: the items still in place go one by one,
  // so one refused item does not hold back the others.
  for (std::size_t i = batch.first; i < batch.last; ++i)
    if (PathExists(sources[i]) && MoveOne(first.move, sources[i], to, extra)) claimed.push_back(i);
}

bool ShellFolders::DragOver(TFileListView& source, HWND target, POINT) {
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
