// TFileListView: one listing (enumeration into rows), its order and the
// shared image lists.
#include "browse/FileListView.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

#include "browse/FileListViewDetail.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/ScreenDpi.h"
#include "platform/WaitCursor.h"

namespace ferlane {

HANDLE listview_detail::OpenFolderWalk(const std::wstring& pattern, WIN32_FIND_DATAW& fd, FindFirstExFn findEx,
                                       bool& refused) {
  constexpr auto kInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);  // FindExInfoBasic
  constexpr DWORD kLargeFetch = 2;                                 // FIND_FIRST_EX_LARGE_FETCH
  if (!refused) {
    HANDLE find = findEx(pattern.c_str(), kInfoBasic, &fd, FindExSearchNameMatch, nullptr, kLargeFetch);
    if (find != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER) return find;
    refused = true;
  }
  return ::FindFirstFileW(pattern.c_str(), &fd);
}

using namespace listview_detail;
namespace {

constexpr wchar_t kCacheKey[] = L"Software\\Tavrel\\FileBrowser";
constexpr wchar_t kParentImgIdx[] = L"ParentImgIdx";
constexpr std::uint32_t kBlankType = 0;  // the parent row's type text " "

std::uint64_t FileTimeValue(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The listing reads no short name. The first refusal holds for the run.
HANDLE FindFirstEntry(const std::wstring& pattern, WIN32_FIND_DATAW& fd) {
  static std::atomic<bool> refused{false};
  bool refusedNow = refused.load(std::memory_order_relaxed);
  HANDLE find = OpenFolderWalk(pattern, fd, &::FindFirstFileExW, refusedNow);
  if (refusedNow) refused.store(true, std::memory_order_relaxed);
  return find;
}

std::wstring ThousandSeparator() {
  wchar_t buf[8];
  int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8);
  return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring(L",");
}

// Runs the window messages that came in meanwhile, as a long listing would.
void ProcessPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// The default value of a key under HKEY_CLASSES_ROOT, read-only.
std::wstring ClassesDefault(const std::wstring& subKey) {
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD bytes = sizeof(buf) - sizeof(wchar_t), type = 0;
  if (::RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return buf;
}

bool ClassesKeyExists(const std::wstring& subKey) {
  UniqueHKey key;
  return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

// Whether the shell draws each file of an extension with an icon of its own
// (programs, shortcuts, icon files...) rather than the extension's icon.
bool ExtensionHasOwnIcons(const std::wstring& upperExt) {
  static const wchar_t* const kOwn[] = {L".EXE", L".LNK", L".ICO", L".CUR", L".ANI",
                                        L".URL", L".PIF", L".SCR", L".CPL"};
  for (const wchar_t* e : kOwn)
    if (upperExt == e) return true;
  if (upperExt.empty()) return false;
  std::wstring progId = ClassesDefault(upperExt);
  if (progId.empty()) return false;
  if (ClassesDefault(progId + L"\\DefaultIcon").find(L"%1") != std::wstring::npos) return true;
  return ClassesKeyExists(progId + L"\\shellex\\IconHandler");
}

// The pixels of one image of a list drawn on a fixed background.
std::vector<DWORD> ImagePixels(HIMAGELIST list, int index) {
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(list, &cx, &cy);
  std::vector<DWORD> pixels;
  if (cx <= 0 || cy <= 0) return pixels;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  UniqueHBitmap dib(::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (dib && bits) {
    HGDIOBJ old = ::SelectObject(dc, dib.get());
    RECT rc{0, 0, cx, cy};
    UniqueHBrush magenta(::CreateSolidBrush(RGB(255, 0, 255)));
    ::FillRect(dc, &rc, magenta.get());
    ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    pixels.assign(p, p + static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy));
    ::SelectObject(dc, old);
  }
  ::DeleteDC(dc);
  return pixels;
}

// Appends the parent row's picture to one of the shell's image lists, drawn
// at the list's size and transparent where it has its bottom-left colour.
int AppendParentPicture(HIMAGELIST list) {
  int cx = 0, cy = 0;
  if (!::ImageList_GetIconSize(list, &cx, &cy) || cx <= 0 || cy <= 0) return -1;
  UniqueHBitmap source(LoadResourceBitmap(cx <= 16 ? L"PARENT_S" : L"PARENT_L"));
  if (!source) return -1;
  BITMAP info{};
  ::GetObjectW(source.get(), sizeof(info), &info);
  HDC screen = ::GetDC(nullptr);
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  UniqueHBitmap sized(::CreateCompatibleBitmap(screen, cx, cy));
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ oldFrom = ::SelectObject(from, source.get());
  const COLORREF key = ::GetPixel(from, 0, info.bmHeight - 1);
  HGDIOBJ oldTo = ::SelectObject(to, sized.get());
  ::SetStretchBltMode(to, COLORONCOLOR);
  ::StretchBlt(to, 0, 0, cx, cy, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  ::SelectObject(to, oldTo);
  ::SelectObject(from, oldFrom);
  ::DeleteDC(to);
  ::DeleteDC(from);
  return sized ? ::ImageList_AddMasked(list, sized.get(), key) : -1;
}

// Every image list the shell keeps for its icons, one per size, large and
// small first. They share their indexes: a picture added to some but not all
// would shift the shell's later icons onto the wrong pictures.
std::vector<HIMAGELIST> ShellImageLists(HIMAGELIST large, HIMAGELIST small) {
  std::vector<HIMAGELIST> lists{large, small};
  using GetImageListFn = HRESULT(WINAPI*)(int, REFIID, void**);
  // Exported by ordinal only on the oldest systems that have it.
  auto getImageList = reinterpret_cast<GetImageListFn>(
      ::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEA(727)));
  if (!getImageList) return lists;
  static const GUID kIImageList = {0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};
  for (int kind = 0; kind <= 4; ++kind) {  // SHIL_LARGE .. SHIL_JUMBO
    void* object = nullptr;
    if (FAILED(getImageList(kind, kIImageList, &object)) || !object) continue;
    HIMAGELIST list = static_cast<HIMAGELIST>(object);
    if (std::find(lists.begin(), lists.end(), list) == lists.end()) lists.push_back(list);
    static_cast<IUnknown*>(object)->Release();  // the shell keeps its lists for the process
  }
  return lists;
}

}  // namespace

// ---- One listing ---------------------------------------------------------

struct TFileListView::ExtInfo {
  std::uint32_t type = kBlankType;
  int icon = -1;
  bool ownIcons = false;    // each file has an icon of its own
};

// Enumerates the patterns of one listing into rows. The shell is asked once
// per distinct extension (icon and type depend only on it); files whose icon
// is their own get it when drawn; folders that may be customised (read-only
// or system) are asked by path.
class TFileListView::Lister {
 public:
  explicit Lister(TFileListView& view)
      : v_(view), folder_(AddSlash(view.directory_)), root_(IsDriveRoot(folder_)) {
    v_.types_.assign(1, L" ");
    wchar_t windows[MAX_PATH] = L"C:\\";
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    probeFolder_ = std::wstring(windows, 3) + L"~type~\\";
  }

  // Adds the entries of pattern admitted by mask to out and, in the same
  // walk, those admitted by otherMask to other.
  bool AddFiles(const std::wstring& pattern, unsigned mask, std::vector<Row>& out, unsigned otherMask = 0,
                std::vector<Row>* other = nullptr) {
    v_.sortable_ = true;
    const std::size_t before = out.size() + (other ? other->size() : 0);
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstEntry(folder_ + pattern, fd));
    if (!find) return false;
    do {
      std::vector<Row>* target = nullptr;
      if (AdmitEntry(fd.dwFileAttributes, mask))
        target = &out;
      else if (other && AdmitEntry(fd.dwFileAttributes, otherMask))
        target = other;
      if (!target) continue;
      const std::wstring_view name(fd.cFileName);  // the system ends it within MAX_PATH
      if (SkipEntryName(name, v_.parentDirEnabled_, root_)) continue;
      target->emplace_back();
      Fill(target->back(), fd, name);
    } while (::FindNextFileW(find.get(), &fd));
    return out.size() + (other ? other->size() : 0) > before;
  }

 private:
  void Fill(Row& r, const WIN32_FIND_DATAW& fd, std::wstring_view name) {
    r.name = v_.names_.Add(name.data(), name.size());
    r.nameLength = static_cast<std::uint16_t>(name.size());
    r.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    r.writeTime = FileTimeValue(fd.ftLastWriteTime);
    r.attributes = fd.dwFileAttributes;
    r.kind = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Dir : Kind::File;
    v_.listedBytes_ += r.size;
    if (r.Name() == L"..") {
      r.icon = v_.parentIcon_;
      r.type = kBlankType;
    } else if (r.kind == Kind::Dir) {
      if (fd.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) {
        ExtInfo own = Ask(folder_ + r.name, 0, SHGFI_SYSICONINDEX);
        r.icon = own.icon;
        r.type = own.type;
      } else {
        if (!folderInfo_)
          folderInfo_ = Ask(folder_ + r.name, FILE_ATTRIBUTE_DIRECTORY, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
        r.icon = folderInfo_->icon;
        r.type = folderInfo_->type;
      }
    } else {
      const ExtInfo& info = ForExtension(r.Name());
      r.type = info.type;
      r.icon = info.ownIcons ? -1 : info.icon;
    }
  }

  const ExtInfo& ForExtension(std::wstring_view name) {
    const std::size_t dot = name.rfind(L'.');
    const std::wstring_view ext = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
    if (last_ && lastExt_ == ext) return *last_;
    lastExt_ = ext;
    auto exact = exactExts_.find(lastExt_);
    if (exact == exactExts_.end()) {
      // The icon depends on the extension whatever its letter case...
      const std::wstring key = LocaleUpper(lastExt_);
      auto it = exts_.find(key);
      if (it == exts_.end()) {
        ExtInfo info = Ask(folder_ + std::wstring(name), FILE_ATTRIBUTE_NORMAL,
                           SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
        info.ownIcons = ExtensionHasOwnIcons(key);
        it = exts_.emplace(key, info).first;
      }
      // ...the type name may show the extension as written.
      ExtInfo info = it->second;
      if (auto type = TypeOfFileName(L"x" + lastExt_)) info.type = Intern(type->c_str());
      exact = exactExts_.emplace(lastExt_, info).first;
    }
    last_ = &exact->second;
    return *last_;
  }

  // The type name the shell gives a file of this name. It is asked of the
  // name alone, in a folder that does not exist: a query by the real path
  // would make the platform search the listed folder, which in a large folder
  // costs far more than the whole listing.
  std::optional<std::wstring> TypeOfFileName(const std::wstring& name) {
    PIDLIST_ABSOLUTE pidl = ::SHSimpleIDListFromPath((probeFolder_ + name).c_str());
    if (!pidl) return std::nullopt;
    SHFILEINFOW sfi{};
    const bool ok = ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &sfi, sizeof(sfi), SHGFI_PIDL | SHGFI_TYPENAME) != 0;
    ::ILFree(pidl);
    if (!ok) return std::nullopt;
    return std::wstring(sfi.szTypeName);
  }

  // The shell's type name (and, when flags ask for it, icon) of a path.
  ExtInfo Ask(const std::wstring& path, DWORD attributes, UINT flags) {
    SHFILEINFOW sfi{};
    ExtInfo info;
    if (::SHGetFileInfoW(path.c_str(), attributes, &sfi, sizeof(sfi), SHGFI_TYPENAME | flags)) {
      info.icon = (flags & SHGFI_SYSICONINDEX) ? sfi.iIcon : -1;
      info.type = Intern(sfi.szTypeName);
    }
    return info;
  }

  std::uint32_t Intern(const wchar_t* type) {
    auto [it, added] = typeIndex_.emplace(type, static_cast<std::uint32_t>(v_.types_.size()));
    if (added) v_.types_.push_back(type);
    return it->second;
  }

  TFileListView& v_;
  std::wstring folder_;
  bool root_;
  std::wstring probeFolder_;
  std::unordered_map<std::wstring, ExtInfo> exts_;       // by upper-cased extension
  std::unordered_map<std::wstring, ExtInfo> exactExts_;  // by extension as written
  std::unordered_map<std::wstring, std::uint32_t> typeIndex_;
  std::optional<ExtInfo> folderInfo_;
  std::wstring lastExt_;
  const ExtInfo* last_ = nullptr;
};
// ---- Listing ---------------------------------------------------------------

void TFileListView::UpdateFileList() {
  if (!list_) return;
  if (editing_) ListView_CancelEditLabel(list_);
  if (dragging_) EndDrag(false, POINT{});
  {
    WaitCursor wait;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    // No row stays selected or focused. The selection is cleared for all rows
    // at once only when there is one, and the focus on its row alone: a list
    // may visit every row to clear a state for "all", which in a large folder
    // costs a good part of a listing.
    if (ListView_GetSelectedCount(list_) > 0) ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    if (const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED); focused >= 0)
      ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, 0, 0);
    // Nothing of the previous listing stays.
    std::vector<Row>().swap(rows_);
    names_.Clear();
    std::vector<std::uint32_t>().swap(order_);
    drives_.clear();
    types_.clear();
    editedCaptions_.clear();
    listedBytes_ = 0;
    shown_ = Shown{hideFileExt_, fileSize_, parentDirCaption_, datePattern_ + L" " + timePattern_,
                   AddSlash(directory_)};
    driveMode_ = IsDrivesText(directory_);
    if (driveMode_) {
      BuildColumns(true);
      ListDrives();
    } else {
      if (!haveColumns_ || driveColumns_) BuildColumns(false);
      ListFolder();
    }
    descending_ = true;
    if (Header_GetItemCount(ListView_GetHeader(list_)) > 0) SortByColumn(0);
    const int count = ItemCount();
    ListView_SetItemCountEx(list_, count, 0);
    if (count > 0) {
      ListView_SetItemState(list_, 0, LVIS_FOCUSED, LVIS_FOCUSED);
      ListView_EnsureVisible(list_, 0, FALSE);
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
  }
  ProcessPendingMessages();
}

void TFileListView::ListFolder() {
  sortable_ = true;
  Lister lister(*this);
  const unsigned mask = AttributeMask(fileType_);
  const std::vector<std::wstring> patterns = SplitMask(mask_);
  // The folder pass and a "*.*" pattern enumerate the same entries: one walk
  // serves both, the rows keeping the order of two passes.
  int sharedUses = 0;
  for (const auto& p : patterns) sharedUses += (showFolders_ && p == L"*.*") ? 1 : 0;
  std::vector<Row> sharedFiles;
  if (showFolders_) {
    if (sharedUses > 0)
      lister.AddFiles(L"*.*", mask | kAttrDirectory, rows_, mask, &sharedFiles);
    else
      lister.AddFiles(L"*.*", mask | kAttrDirectory, rows_);
  }
  for (const auto& p : patterns) {
    if (showFolders_ && p == L"*.*") {
      if (--sharedUses == 0)
        rows_.insert(rows_.end(), std::make_move_iterator(sharedFiles.begin()),
                     std::make_move_iterator(sharedFiles.end()));
      else
        rows_.insert(rows_.end(), sharedFiles.begin(), sharedFiles.end());
    } else {
      lister.AddFiles(p, mask, rows_);
    }
  }
  order_.resize(rows_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<std::uint32_t>(i);
}

void TFileListView::ListDrives() {
  sortable_ = false;
  const DWORD bits = Platform().LogicalDrives();
  const std::wstring separator = ThousandSeparator();
  for (int i = 0; i < 26; ++i) {
    if (!(bits & (1u << i))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'A' + i);
    DriveRow d;
    d.root = std::wstring(1, letter) + L":\\";
    SHFILEINFOW sfi{};
    if (!::SHGetFileInfoW(d.root.c_str(), 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_TYPENAME))
      continue;  // a drive the shell cannot describe is left out
    d.caption = DriveCaption(letter, sfi.szDisplayName);
    d.icon = sfi.iIcon;
    d.driveType = Platform().DriveType(d.root);
    std::int64_t total = 0, free = 0;
    // Removable and CD-ROM drives are not asked: a listing never waits for slow media.
    if (d.driveType != DRIVE_REMOVABLE && d.driveType != DRIVE_CDROM) {
      total = DiskSizeKB(d.root);
      free = DiskFreeKB(d.root);
    }
    d.total = DriveSizeText(total, separator);
    d.free = DriveSizeText(free, separator);
    drives_.push_back(std::move(d));
  }
}

void TFileListView::BuildColumns(bool driveMode) {
  while (ListView_DeleteColumn(list_, 0)) {
  }
  static constexpr int kDriveWidths[5] = {160, 110, 90, 90, 40};
  static constexpr int kFolderFormats[5] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT};
  static constexpr int kDriveFormats[5] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_LEFT};
  const auto& headings = ColumnHeadings(language_, driveMode);
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = driveMode ? kDriveFormats[i] : kFolderFormats[i];
    c.cx = ScreenDpi().Px(driveMode ? kDriveWidths[i] : colWidth_[i]);  // widths at 96 DPI
    c.pszText = const_cast<wchar_t*>(headings[static_cast<std::size_t>(i)]);
    c.iSubItem = i;
    ListView_InsertColumn(list_, i, &c);
  }
  driveColumns_ = driveMode;
  haveColumns_ = true;
  FitColumns();
}

void TFileListView::FitColumns() {
  const auto& headings = ColumnHeadings(language_, driveColumns_);
  for (int i = 0; i < 5; ++i) FitColumnToCaption(list_, i, headings[static_cast<std::size_t>(i)]);
}

// ---- Order -----------------------------------------------------------------

void TFileListView::SortByColumn(int column) {
  if (!sortable_ || !list_ || column < 0 || column > 4) return;
  if (column == sortColumn_) {
    descending_ = !descending_;
  } else {
    sortColumn_ = column;
    descending_ = true;
  }
  SortRows();
  SetSortImages();
  ::InvalidateRect(list_, nullptr, TRUE);
}

void TFileListView::SortRows() {
  if (driveMode_ || order_.empty()) return;
  // The selection belongs to rows, not to positions: carry it over the sort
  // (not during a listing, when the list does not show the rows yet).
  const int shown = ListView_GetItemCount(list_) == ItemCount() ? ItemCount() : 0;
  std::vector<std::uint32_t> selected;
  for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0 && i < shown;
       i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
    selected.push_back(order_[static_cast<std::size_t>(i)]);
  const int focusedPos = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
  std::int64_t focused = -1;
  if (focusedPos >= 0 && focusedPos < shown) focused = order_[static_cast<std::size_t>(focusedPos)];

  if (sortColumn_ != 0 || !editedCaptions_.empty() || !SortByCaption()) SortByKeys();

  if (selected.empty() && focused < 0) return;
  std::vector<std::uint32_t> position(rows_.size());
  for (std::size_t p = 0; p < order_.size(); ++p) position[order_[p]] = static_cast<std::uint32_t>(p);
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (std::uint32_t r : selected) ListView_SetItemState(list_, position[r], LVIS_SELECTED, LVIS_SELECTED);
  if (focused >= 0) ListView_SetItemState(list_, position[static_cast<std::size_t>(focused)], LVIS_FOCUSED, LVIS_FOCUSED);
}

// The usual order, by caption: the keys borrow the listed names, compared
// through the locale's upper case of each character, so a long listing
// makes no upper-cased copy of each name.
bool TFileListView::SortByCaption() {
  std::vector<RowOrderView> keys(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    RowOrderView& k = keys[i];
    k.parent = r.Name() == L"..";
    k.dir = r.kind == Kind::Dir;
    if (k.parent) {
      k.text = shown_.parentCaption;
    } else {
      k.text = r.Name();
      const std::size_t dot = shown_.hideExt ? k.text.rfind(L'.') : std::wstring_view::npos;
      if (dot != std::wstring_view::npos) k.text = k.text.substr(0, dot);
      // A character of two units may change case as a whole: such names
      // take the general way.
      if (HasSurrogate(k.text)) return false;
    }
  }
  SortRowOrderByText(order_, keys, LocaleUpperTable(), descending_);
  return true;
}

void TFileListView::SortByKeys() {
  std::vector<RowOrderKey> keys(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    RowOrderKey& k = keys[i];
    k.parent = r.Name() == L"..";
    k.dir = r.kind == Kind::Dir;
    switch (sortColumn_) {
      case 0: {
        auto edited = editedCaptions_.find(static_cast<std::uint32_t>(i));
        k.text = LocaleUpper(edited != editedCaptions_.end() ? edited->second
                             : k.parent                     ? shown_.parentCaption
                                                            : CaptionOf(std::wstring(r.Name()), shown_.hideExt));
        break;
      }
      case 1:
        k.number = k.dir ? 0.0 : static_cast<double>(shown_.fileSize == fsKB ? KBCount(r.size) : r.size);
        break;
      case 2: k.text = LocaleUpper(k.parent ? std::wstring(L" ") : types_[r.type]); break;
      case 3: k.number = SortKeyValue(r.writeTime); break;
      default: k.text = k.parent ? std::wstring(L" ") : AttributeLetters(r.attributes); break;
    }
  }
  SortRowOrder(order_, keys, sortColumn_, descending_);
}

void TFileListView::SetSortImages() {
  HWND header = ListView_GetHeader(list_);
  const int n = Header_GetItemCount(header);
  for (int i = 0; i < n; ++i) {
    HDITEMW hd{};
    hd.mask = HDI_FORMAT;
    if (!Header_GetItem(header, i, &hd)) continue;
    hd.mask = HDI_FORMAT | HDI_BITMAP;
    hd.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    hd.hbm = nullptr;
    if (i == sortColumn_) {
      hd.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
      hd.hbm = descending_ ? bmpDown_.get() : bmpUp_.get();
    }
    Header_SetItem(header, i, &hd);
  }
}

// ---- Images ------------------------------------------------------------------

void TFileListView::CreateImageLists() {
  SHFILEINFOW sfi{};
  largeImages_ = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX));
  smallImages_ = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!largeImages_ || !smallImages_) return;

  // The parent row's picture is added to the shared lists once; its index is
  // remembered, and checked, because every view of the process shares them.
  RegistryKey key;
  const bool open = key.Open(HKEY_CURRENT_USER, kCacheKey, true) == ERROR_SUCCESS;
  std::optional<DWORD> cached = open ? key.ReadDword(kParentImgIdx) : std::nullopt;
  if (cached && static_cast<int>(*cached) >= 0 &&
      static_cast<int>(*cached) < ::ImageList_GetImageCount(largeImages_)) {
    int probe = AppendParentPicture(largeImages_);
    bool same = probe >= 0 && ImagePixels(largeImages_, static_cast<int>(*cached)) == ImagePixels(largeImages_, probe);
    if (probe >= 0) ::ImageList_Remove(largeImages_, probe);
    if (same) {
      parentIcon_ = static_cast<int>(*cached);
      return;
    }
  }
  parentIcon_ = -1;
  for (HIMAGELIST list : ShellImageLists(largeImages_, smallImages_)) {
    int index = AppendParentPicture(list);
    if (list == largeImages_) parentIcon_ = index;
  }
  if (open && parentIcon_ >= 0) key.WriteDword(kParentImgIdx, static_cast<DWORD>(parentIcon_));
}

}  // namespace ferlane
