#include "shellfolders/ShellFolders.h"

#include <shlobj.h>

#include <unordered_set>

#include "platform/MenuPictures.h"
#include "platform/Controls.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"

namespace ferlane {
namespace {

// A path as the shell's double-null-terminated list of one entry.
std::wstring OneEntryList(const std::wstring& path) { return path + L'\0'; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

std::optional<std::wstring> SpecialFolderPath(HWND owner, int csidl) {
  IMalloc* allocator = nullptr;
  if (FAILED(::SHGetMalloc(&allocator)) || !allocator) return std::nullopt;
  LPITEMIDLIST pidl = nullptr;
  wchar_t buffer[MAX_PATH + 1] = {};
  // A folder the system does not have leaves the buffer empty: no path.
  if (SUCCEEDED(::SHGetSpecialFolderLocation(owner, csidl, &pidl)) && pidl) {
    ::SHGetPathFromIDListW(pidl, buffer);
    allocator->Free(pidl);
  }
  allocator->Release();
  if (!buffer[0]) return std::nullopt;
  return std::wstring(buffer);
}

namespace {

// One request to the shell; from and to are null-separated lists ending in a
// second null. Every field not set is zero.
int RunShellOperation(HWND owner, UINT operation, const std::wstring& from, const std::wstring& to,
                      FILEOP_FLAGS flags, bool* aborted) {
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = operation;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = flags;
  const int result = ::SHFileOperationW(&op);
  if (aborted) *aborted = op.fAnyOperationsAborted != FALSE;
  return result;
}

}  // namespace

int ShellMoveList(HWND owner, const std::vector<std::wstring>& sources, const std::wstring& destination,
                  FILEOP_FLAGS flags, bool* aborted) {
  std::wstring from, to;
  for (const auto& source : sources) from += source + L'\0';
  from += L'\0';
  if (sources.size() == 1) {
    to = OneEntryList(destination);
  } else {
    // Several sources name one target each: Wine's shell refuses several
    // sources into one folder, and every shell keeps the names this way.
    for (const auto& source : sources) to += JoinPath(destination, EntryName(source)) + L'\0';
    to += L'\0';
    flags = static_cast<FILEOP_FLAGS>(flags | FOF_MULTIDESTFILES);
  }
  return RunShellOperation(owner, FO_MOVE, from, to, flags, aborted);
}

bool MoveFolder(const std::wstring& source, const std::wstring& destination, FILEOP_FLAGS extraFlags,
                bool* aborted) {
  return ShellMoveList(nullptr, {source}, destination, static_cast<FILEOP_FLAGS>(FOF_FILESONLY | extraFlags),
                       aborted) == 0;
}

int ShellFileOp(HWND owner, const std::wstring& source, const std::wstring& destination, UINT operation,
                FILEOP_FLAGS extraFlags, bool* aborted) {
  return RunShellOperation(owner, operation, OneEntryList(source), OneEntryList(destination), extraFlags, aborted);
}

DWORD CreateFolderPath(const std::wstring& path) {
  // Each level in turn; levels that exist (or cannot be made, like a share's
  // name) are passed, and only the result counts.
  DWORD error = ERROR_SUCCESS;
  for (std::size_t i = path.find_first_of(L"\\/", 1); i != std::wstring::npos; i = path.find_first_of(L"\\/", i + 1))
    if (i > 0 && path[i - 1] != L':' && path[i - 1] != L'\\' && !Exists(path.substr(0, i)))
      if (!::CreateDirectoryW(path.substr(0, i).c_str(), nullptr)) error = ::GetLastError();
  if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    error = ::GetLastError();
  const DWORD attrs = ::GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_SUCCESS;
  return error != ERROR_SUCCESS ? error : ERROR_PATH_NOT_FOUND;
}

// ---- Group boxes and panels ----------------------------------------------------

void PlaceGroup(HWND group, HWND panel, HWND view, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  constexpr int kTop = 15, kSide = 6, kPanel = 18;
  MoveChild(group, r.left, r.top, w, h);
  int top = r.top + kTop;
  if (panel) {
    MoveChild(panel, r.left + kSide, top, w - 2 * kSide, kPanel);
    top += kPanel + 2;
  }
  MoveChild(view, r.left + kSide, top, w - 2 * kSide, r.bottom - kSide - top);
}

HWND CreateGroup(const PageHost& host, const wchar_t* caption, int id) {
  return CreateChild(host.window, host.instance, L"BUTTON", caption, BS_GROUPBOX, id, host.font);
}

HWND CreatePanel(const PageHost& host, int id) {
  return CreateChild(host.window, host.instance, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, id,
                     host.font, WS_EX_STATICEDGE);
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
  view.SetColWidth_Mod(125);
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
    if (HWND panel = Panel(row.folder)) ::SetWindowTextW(panel, path->c_str());
  }
}

void ShellFolders::CreateHiddenStore(const std::wstring& roleLabel) {
  const wchar_t* const leaves[2] = {L"Desktop", L"Programs"};
  for (int i = 0; i < 2; ++i) {
    store_[i] = HiddenStorePath(GetProgramFilesDir(), roleLabel, leaves[i]);
    storeError_[i] = CreateFolderPath(store_[i]);
  }
  // The last level carries exactly the hidden attribute, at every start.
  for (const auto& path : store_) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ShowStoreFolder(View(L"burcach"), StoreFolder::Desktop);
  ShowStoreFolder(View(L"progcach"), StoreFolder::Programs);
}

void ShellFolders::ShowShellFolder(TFileListView* view, int csidl) {
  if (!view) return;
  if (const auto path = SpecialFolderPath(window_, csidl)) view->SetDirectory(*path);
}

void ShellFolders::ShowStoreFolder(TFileListView* view, StoreFolder f) {
  if (view && !StorePath(f).empty()) view->SetDirectory(StorePath(f));
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

// The names a folder holds, in lower case: one listing answers every "is this
// name taken?" of a command, where asking the file system for each absent
// name costs a scan of the folder under Wine.
std::unordered_set<std::wstring> NamesIn(const std::wstring& folder) {
  std::unordered_set<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(LowerCase(fd.cFileName));
  while (::FindNextFileW(h, &fd));
  ::FindClose(h);
  return names;
}

}  // namespace

ShellFolders::MoveOutcome ShellFolders::MoveSelected(TFileListView& view, const std::wstring& from,
                                                     const std::wstring& to, ItemRule rule, bool quiet) {
  // A shell move into a folder that is not there would rename the item to the
  // folder's name instead: nothing moves unless both ends exist.
  if (!FolderReady(from, quiet) || !FolderReady(to, quiet)) return MoveOutcome::FolderMissing;
  const bool sameFolder = ::lstrcmpiW(from.c_str(), to.c_str()) == 0;
  std::unordered_set<std::wstring> taken = NamesIn(to);
  std::vector<PlannedMove> plan;
  std::vector<std::wstring> sources;
  const int n = view.ItemCount();
  for (int row = 0; row < n; ++row) {
    if (!view.IsSelected(row)) continue;
    // The real entry name, with its own extension, whatever the caption shows.
    const std::wstring name(EntryName(view.SubItem(row, 4)));
    const ItemMove move = ApplyItemRule(rule, view.SubItem(row, 5) == L"dir", name);
    if (move == ItemMove::Skip || name.empty()) continue;
    const std::wstring source = JoinPath(from, name);
    const bool found = Exists(source);
    // Wine's shell replaces without a word: ask first, and once the user has
    // agreed, keep a shell that asks too from asking again.
    MoveStep step = DecideMove(found && !sameFolder && taken.count(LowerCase(name)) > 0);
    if (step == MoveStep::Ask)
      step = DecideMove(true, ShowMessage(window_, ReplaceQuestion(name, to), MB_YESNO | MB_ICONQUESTION) == IDYES);
    if (step == MoveStep::SkipItem) continue;
    plan.push_back({move, step == MoveStep::MoveConfirmed, found});
    sources.push_back(source);
    taken.insert(LowerCase(name));
  }
  // Plain shortcut moves go to the shell together, in their order: one
  // request for a thousand shortcuts instead of a thousand.
  std::vector<std::size_t> claimed;
  for (const MoveBatch& b : MoveBatches(plan)) RunBatch(plan, sources, b, to, claimed);
  CheckClaimedMoves(plan, sources, claimed, from, to);
  return MoveOutcome::Done;
}

void ShellFolders::CheckClaimedMoves(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                                     const std::vector<std::size_t>& claimed, const std::wstring& from,
                                     const std::wstring& to) {
  // A shell that reports its failures has said so already; one that answers
  // success for a missing source or a folder it left in place (Wine's) would
  // otherwise fail without a word.
  if (claimed.empty() || ::lstrcmpiW(from.c_str(), to.c_str()) == 0) return;
  const std::unordered_set<std::wstring> left = NamesIn(from);
  std::vector<std::wstring> notMoved;
  for (std::size_t i : claimed) {
    const std::wstring name(EntryName(sources[i]));
    if (!plan[i].sourceFound || left.count(LowerCase(name))) notMoved.push_back(name);
  }
  if (!notMoved.empty()) ShowError(window_, NotMovedText(notMoved, to));
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
  const FILEOP_FLAGS extra = first.confirmed ? FOF_NOCONFIRMATION : 0;
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
    if (Exists(sources[i]) && MoveOne(first.move, sources[i], to, extra)) claimed.push_back(i);
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

}  // namespace ferlane
