// TFileListView: construction, window procedure, properties and rows.
#include "browse/FileListView.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "browse/DirTree.h"
#include "browse/FileListViewDetail.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/Platform.h"
#include "platform/WindowThunk.h"

namespace ferlane {
using namespace listview_detail;
namespace {

constexpr wchar_t kClassName[] = L"TFileListView";
constexpr int kListId = 1;

std::wstring LocaleText(LCTYPE type) {
  wchar_t buf[100];
  int n = ::GetLocaleInfoW(::GetThreadLocale(), type, buf, 100);
  return n > 0 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

LocaleTime CurrentLocaleTime() {
  LocaleTime t;
  t.twelveHour = LocaleText(LOCALE_ITIME) == L"0";
  t.leadingZero = LocaleText(LOCALE_ITLZERO) == L"1";
  t.timeFormat = LocaleText(LOCALE_STIMEFORMAT);
  return t;
}

}  // namespace

// ---- Construction and window --------------------------------------------

TFileListView::TFileListView() {
  LoadListTexts(language_);
  datePattern_ = DatePattern(dateFormat_, LocaleText(LOCALE_SSHORTDATE));
  timePattern_ = TimePattern(timeFormat_, CurrentLocaleTime());
}

TFileListView::~TFileListView() {
  SetDirTree(nullptr);
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool TFileListView::Create(HWND parent, int id, const RECT& rc) {
  if (hwnd_) return false;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &ThunkProc<TFileListView>;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (!::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc.left,
                         rc.top, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this))
    return false;
  static constexpr DWORD kViewBits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS |
                kViewBits[viewStyle_] | (readOnly_ ? 0 : LVS_EDITLABELS) | (multiSelect_ ? 0 : LVS_SINGLESEL);
  list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, w, h, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  if (!list_) {
    ::DestroyWindow(hwnd_);
    return false;
  }
  CreateImageLists();
  ListView_SetImageList(list_, largeImages_, LVSIL_NORMAL);
  ListView_SetImageList(list_, smallImages_, LVSIL_SMALL);
  bmpUp_.reset(LoadResourceBitmap(L"BMP_UP", LR_LOADMAP3DCOLORS));
  bmpDown_.reset(LoadResourceBitmap(L"BMP_DOWN", LR_LOADMAP3DCOLORS));
  BuildColumns(false);
  BuildOwnPopupMenu();  // its Send To entries are those of this moment
  return true;
}

HWND TFileListView::hwnd() const { return hwnd_; }
HWND TFileListView::ListHwnd() const { return list_; }

TFileListView* TFileListView::FromHwnd(HWND hwnd) {
  for (int level = 0; level < 2 && hwnd; ++level, hwnd = ::GetParent(hwnd)) {
    wchar_t cls[32];
    if (::GetClassNameW(hwnd, cls, 32) && lstrcmpW(cls, kClassName) == 0)
      return reinterpret_cast<TFileListView*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return nullptr;
}

void TFileListView::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  if (hwnd) return;
  list_ = nullptr;
  dragging_ = false;
}

LRESULT TFileListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (list_) ::MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (list_) ::SetFocus(list_);
      return 0;
    case WM_SETFONT: {
      // The columns were made with the list's first font.
      const LRESULT result = list_ ? ::SendMessageW(list_, msg, wp, lp) : 0;
      if (haveColumns_) FitColumns();
      return result;
    }
    case WM_GETFONT:
      return list_ ? ::SendMessageW(list_, msg, wp, lp) : 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr && list_ && hdr->hwndFrom == list_) return HandleNotify(hdr);
      break;
    }
    case WM_CONTEXTMENU:
      if (ContextMenu(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))})) return 0;
      break;  // no menu of its own: the host may show one
    case WM_MOUSEMOVE:
      if (dragging_) DragMoved(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ::ClientToScreen(hwnd_, &pt);
        EndDrag(true, pt);
      }
      return 0;
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
      if (dragging_) EndDrag(false, POINT{});
      return 0;
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0) RunMenuCommand(LOWORD(wp));  // the view's own menu
      return 0;
    case kMsgItemClicked:
      ItemClicked();
      return 0;
    case kMsgAcceptRename:
      AcceptRename();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT TFileListView::HandleNotify(NMHDR* hdr) {
  switch (hdr->code) {
    case LVN_GETDISPINFOW:
      HandleGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr));
      return 0;
    case LVN_ODFINDITEMW:
      return HandleFindItem(reinterpret_cast<NMLVFINDITEMW*>(hdr));
    case LVN_COLUMNCLICK:
      SortByColumn(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
      return 0;
    case NM_CLICK:
      ItemClicked();
      return 0;
    case NM_DBLCLK:
      HandleDblClick();
      return 0;
    case LVN_KEYDOWN:
      KeyDown(reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey);
      return 0;
    case LVN_BEGINLABELEDITW:
      return HandleBeginLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(hdr)->item.iItem) ? FALSE : TRUE;
    case LVN_ENDLABELEDITW: {
      const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
      HandleEndLabelEdit(item.iItem, item.pszText);
      return FALSE;  // the caption is the widget's own, not the control's
    }
    case LVN_BEGINDRAG:
      dragging_ = true;
      dragAccepted_ = false;
      ::SetCapture(hwnd_);
      ::SetCursor(::LoadCursorW(nullptr, IDC_NO));
      return 0;
    default:
      return 0;
  }
}

// ---- Properties ------------------------------------------------------------

const std::wstring& TFileListView::Directory() const { return directory_; }

void TFileListView::SetDirectory(const std::wstring& value) {
  if (SameTextLocale(value, directory_)) return;
  if (IsDrivesText(value)) {
    directory_ = value;
    UpdateFileList();
  } else if (FolderExists(value)) {
    directory_ = AddSlash(value);
    ::SetCurrentDirectoryW(directory_.c_str());
    UpdateFileList();
  }
}

void TFileListView::ShowMissingFolder(const std::wstring& path) {
  directory_ = AddSlash(path);
  UpdateFileList();
}

void TFileListView::SetMask(const std::wstring& value) {
  if (value == mask_) return;
  mask_ = value;
  UpdateFileList();
}

void TFileListView::SetFileType(TFileAttrs value) {
  if (value == fileType_) return;
  fileType_ = value;
  UpdateFileList();
}

void TFileListView::SetShowFolders(bool value) {
  if (value == showFolders_) return;
  showFolders_ = value;
  UpdateFileList();
}

void TFileListView::SetDateFormat(TDtFormat value) {
  if (value == dateFormat_) return;
  dateFormat_ = value;
  datePattern_ = DatePattern(value, LocaleText(LOCALE_SSHORTDATE));
}

void TFileListView::SetTimeFormat(TTmFormat value) {
  if (value == timeFormat_) return;
  timeFormat_ = value;
  timePattern_ = TimePattern(value, CurrentLocaleTime());
}

void TFileListView::SetParentDirCaption(const std::wstring& value) {
  std::wstring trimmed = Trim(value);
  if (!SameTextLocale(trimmed, Trim(parentDirCaption_))) parentDirCaption_ = L" " + trimmed;
}

void TFileListView::SetLanguage(TLanguage value) {
  TLanguage l = value == lnSysDefault ? LanguageFromLangId(::GetSystemDefaultLangID()) : value;
  if (l == language_) return;
  language_ = l;
  LoadListTexts(l);
  BuildOwnPopupMenu();
  hostMenu_ = nullptr;
  popUpMenuEnabled_ = true;
  if (list_) {
    BuildColumns(driveColumns_);
    if (sortable_) SetSortImages();
    ::InvalidateRect(list_, nullptr, TRUE);
  }
}

void TFileListView::SetPopUpMenuEnabled(bool value) {
  if (value == popUpMenuEnabled_) return;
  popUpMenuEnabled_ = value;
  hostMenu_ = nullptr;
  if (!value) {
    HWND capture = ::GetCapture();
    if (capture && (capture == hwnd_ || capture == list_)) ::ReleaseCapture();
  } else {
    BuildOwnPopupMenu();
  }
}

void TFileListView::SetPopupMenu(HMENU menu, HWND commandWindow) {
  hostMenu_ = menu;
  hostMenuTarget_ = commandWindow;
}

void TFileListView::ApplyStyle(DWORD bit, bool on) {
  if (!list_) return;
  LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  LONG_PTR updated = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
  if (updated != style) ::SetWindowLongPtrW(list_, GWL_STYLE, updated);
}

void TFileListView::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  ApplyStyle(LVS_EDITLABELS, !value);
}

void TFileListView::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  ApplyStyle(LVS_SINGLESEL, !value);
}

void TFileListView::SetViewStyle(TViewStyle value) {
  if (value == viewStyle_) return;
  viewStyle_ = value;
  if (!list_) return;
  static constexpr DWORD kViewBits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  ::SetWindowLongPtrW(list_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViewBits[value]);
  // The headers show from now on: their captions whole.
  if (value == vsReport && haveColumns_) FitColumns();
}

int TFileListView::SelectedNumber() const {
  if (!list_) return 0;
  int selected = static_cast<int>(ListView_GetSelectedCount(list_));
  return selected > 0 ? selected : ItemCount();
}

std::int64_t TFileListView::SelectedSize() const {
  if (!list_) return 0;
  std::int64_t total = 0;
  for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(SubItem(i, 4).c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      total += static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  }
  return total;
}

std::int64_t TFileListView::DriveFreeSpace() const {
  if (directory_.empty() || DriveMode()) return 0;
  return DiskFreeKB(directory_.substr(0, 1) + L":\\");
}

TDirTree* TFileListView::DirTree() const { return tree_; }

void TFileListView::SetDirTree(TDirTree* tree) {
  if (tree == tree_) return;
  if (tree_) {
    TDirTree* old = tree_;
    tree_ = nullptr;
    if (old->FileList() == this) old->SetFileList(nullptr);
  }
  tree_ = tree;
  if (tree) tree->SetFileList(this);
}

void TFileListView::SetDragTarget(IFileDragTarget* target) { dragTarget_ = target; }

// ---- Rows ------------------------------------------------------------------

bool TFileListView::DriveMode() const { return IsDrivesText(directory_); }

int TFileListView::ItemCount() const {
  return static_cast<int>(driveMode_ ? drives_.size() : order_.size());
}

std::wstring TFileListView::Caption(int row) const {
  if (row < 0 || row >= ItemCount()) return {};
  if (driveMode_) return drives_[static_cast<std::size_t>(row)].caption;
  auto edited = editedCaptions_.find(order_[static_cast<std::size_t>(row)]);
  if (edited != editedCaptions_.end()) return edited->second;
  const Row& r = RowAt(row);
  if (r.Name() == L"..") return shown_.parentCaption;
  return CaptionOf(std::wstring(r.Name()), shown_.hideExt);
}

std::wstring TFileListView::FullPath(int row) const { return SubItem(row, 4); }

std::wstring TFileListView::KindTag(int row) const { return SubItem(row, 5); }

std::wstring TFileListView::SubItem(int row, int index) const {
  if (row < 0 || row >= ItemCount() || index < 0 || index > 6) return {};
  if (driveMode_) {
    const DriveRow& d = drives_[static_cast<std::size_t>(row)];
    switch (index) {
      case 0: return DriveTypeText(language_, d.driveType);
      case 1: return d.total;
      case 2: return d.free;
      case 4: return d.root;
      case 5: return L"drv";
      default: return {};
    }
  }
  const Row& r = RowAt(row);
  const bool parent = r.Name() == L"..";
  const wchar_t* kind = r.kind == Kind::Dir ? L"dir" : L"file";
  switch (index) {
    case 0: return SizeText(r.size, kind, shown_.fileSize);
    case 1: return parent ? std::wstring(L" ") : types_[r.type];
    case 2: return parent ? std::wstring(L" ") : ModifiedText(r);
    case 3: return parent ? std::wstring(L" ") : AttributeLetters(r.attributes);
    case 4: return shown_.folder + r.name;
    case 5: return kind;
    default: return SortKeyText(r.writeTime);
  }
}

std::wstring TFileListView::ModifiedText(const Row& r) const {
  FILETIME utc, local;
  utc.dwLowDateTime = static_cast<DWORD>(r.writeTime);
  utc.dwHighDateTime = static_cast<DWORD>(r.writeTime >> 32);
  SYSTEMTIME st;
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st)) return {};
  return FormatDateTime(shown_.timePattern, {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
}

bool TFileListView::IsSelected(int row) const {
  return list_ && row >= 0 && row < ItemCount() && ListView_GetItemState(list_, row, LVIS_SELECTED) != 0;
}

void TFileListView::SetSelected(int row, bool selected) {
  if (!list_ || row < 0 || row >= ItemCount()) return;
  ListView_SetItemState(list_, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int TFileListView::SelectedIndex() const {
  return list_ ? ListView_GetNextItem(list_, -1, LVNI_SELECTED) : -1;
}

void TFileListView::SelectAll() {
  if (list_ && multiSelect_) ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

// The ".." entry, whatever caption it was listed with.
bool TFileListView::IsParentRow(int row) const {
  return !driveMode_ && row >= 0 && row < ItemCount() && RowAt(row).Name() == L"..";
}

int TFileListView::IconOf(int row) {
  if (driveMode_) return drives_[static_cast<std::size_t>(row)].icon;
  Row& r = rows_[order_[static_cast<std::size_t>(row)]];
  if (r.icon < 0) {
    // Asked only now that the row is drawn: the file's own icon.
    SHFILEINFOW sfi{};
    std::wstring path = shown_.folder + r.name;
    if (::SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX) ||
        ::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &sfi, sizeof(sfi),
                         SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
      r.icon = sfi.iIcon;
    else
      r.icon = 0;
  }
  return r.icon;
}

void TFileListView::HandleGetDispInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  if (item.iItem < 0 || item.iItem >= ItemCount()) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    std::wstring text = item.iSubItem == 0 ? Caption(item.iItem) : SubItem(item.iItem, item.iSubItem - 1);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = IconOf(item.iItem);
}

int TFileListView::HandleFindItem(const NMLVFINDITEMW* find) const {
  const int n = ItemCount();
  if (n == 0 || !(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
  const std::wstring wanted = LocaleUpper(find->lvfi.psz);
  const bool partial = (find->lvfi.flags & LVFI_PARTIAL) != 0;
  const bool wrap = (find->lvfi.flags & LVFI_WRAP) != 0;
  int start = find->iStart < 0 || find->iStart >= n ? 0 : find->iStart;
  for (int k = 0; k < n; ++k) {
    int i = start + k;
    if (i >= n) {
      if (!wrap) break;
      i -= n;
    }
    std::wstring caption = LocaleUpper(Caption(i));
    if (partial ? caption.compare(0, wanted.size(), wanted) == 0 : caption == wanted) return i;
  }
  return -1;
}

}  // namespace ferlane
