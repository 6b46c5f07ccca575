#include "browse/FileListView.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "browse/DirTree.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/WaitCursor.h"

namespace ferlane {
namespace {

constexpr wchar_t kClassName[] = L"TFileListView";
constexpr UINT kMsgItemClicked = WM_APP + 1;   // an arrow key moved the selection
constexpr UINT kMsgAcceptRename = WM_APP + 2;  // an in-place edit was accepted
constexpr int kListId = 1;
constexpr wchar_t kCacheKey[] = L"Software\\Tavrel\\FileBrowser";
constexpr wchar_t kParentImgIdx[] = L"ParentImgIdx";
constexpr std::uint32_t kBlankType = 0;  // the parent row's type text " "

std::uint64_t FileTimeValue(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool IsDrivesText(const std::wstring& s) { return UpperCase(s) == L"DRIVES"; }

bool IsDriveRoot(const std::wstring& folder) {
  return folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\';
}

std::wstring LocaleUpper(std::wstring s) {
  if (!s.empty()) ::CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

bool SameTextLocale(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

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

HBITMAP LoadResourceBitmap(const wchar_t* name, UINT flags = 0) {
  return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, flags));
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
    UniqueFind find(::FindFirstFileW((folder_ + pattern).c_str(), &fd));
    if (!find) return false;
    do {
      std::vector<Row>* target = nullptr;
      if (AdmitEntry(fd.dwFileAttributes, mask))
        target = &out;
      else if (other && AdmitEntry(fd.dwFileAttributes, otherMask))
        target = other;
      if (!target || SkipEntryName(fd.cFileName, v_.parentDirEnabled_, root_)) continue;
      target->emplace_back();
      Fill(target->back(), fd);
    } while (::FindNextFileW(find.get(), &fd));
    return out.size() + (other ? other->size() : 0) > before;
  }

 private:
  void Fill(Row& r, const WIN32_FIND_DATAW& fd) {
    r.name = fd.cFileName;
    r.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    r.writeTime = FileTimeValue(fd.ftLastWriteTime);
    r.attributes = fd.dwFileAttributes;
    r.kind = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Dir : Kind::File;
    v_.listedBytes_ += r.size;
    if (r.name == L"..") {
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
      const ExtInfo& info = ForExtension(r.name);
      r.type = info.type;
      r.icon = info.ownIcons ? -1 : info.icon;
    }
  }

  const ExtInfo& ForExtension(const std::wstring& name) {
    std::size_t dot = name.rfind(L'.');
    const wchar_t* ext = dot == std::wstring::npos ? L"" : name.c_str() + dot;
    if (last_ && lastExt_ == ext) return *last_;
    lastExt_ = ext;
    auto exact = exactExts_.find(lastExt_);
    if (exact == exactExts_.end()) {
      // The icon depends on the extension whatever its letter case...
      const std::wstring key = LocaleUpper(lastExt_);
      auto it = exts_.find(key);
      if (it == exts_.end()) {
        ExtInfo info = Ask(folder_ + name, FILE_ATTRIBUTE_NORMAL, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
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
  wc.lpfnWndProc = &TFileListView::WndProc;
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

LRESULT CALLBACK TFileListView::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TFileListView* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<TFileListView*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<TFileListView*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->list_ = nullptr;
    self->dragging_ = false;
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // A failure inside one command ends that command only.
    return 0;
  }
}

LRESULT TFileListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (list_) ::MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (list_) ::SetFocus(list_);
      return 0;
    case WM_SETFONT:
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
  if (r.name == L"..") return shown_.parentCaption;
  return CaptionOf(r.name, shown_.hideExt);
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
  const bool parent = r.name == L"..";
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
  return !driveMode_ && row >= 0 && row < ItemCount() && RowAt(row).name == L"..";
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

// ---- Listing ---------------------------------------------------------------

void TFileListView::UpdateFileList() {
  if (!list_) return;
  if (editing_) ListView_CancelEditLabel(list_);
  if (dragging_) EndDrag(false, POINT{});
  {
    WaitCursor wait;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, 0, 0);
    // Nothing of the previous listing stays.
    std::vector<Row>().swap(rows_);
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
    c.cx = driveMode ? kDriveWidths[i] : colWidth_[i];
    c.pszText = const_cast<wchar_t*>(headings[static_cast<std::size_t>(i)]);
    c.iSubItem = i;
    ListView_InsertColumn(list_, i, &c);
  }
  driveColumns_ = driveMode;
  haveColumns_ = true;
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

  std::vector<RowOrderKey> keys(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    RowOrderKey& k = keys[i];
    k.parent = r.name == L"..";
    k.dir = r.kind == Kind::Dir;
    switch (sortColumn_) {
      case 0: {
        auto edited = editedCaptions_.find(static_cast<std::uint32_t>(i));
        k.text = LocaleUpper(edited != editedCaptions_.end() ? edited->second
                             : k.parent                     ? shown_.parentCaption
                                                            : CaptionOf(r.name, shown_.hideExt));
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

  if (selected.empty() && focused < 0) return;
  std::vector<std::uint32_t> position(rows_.size());
  for (std::size_t p = 0; p < order_.size(); ++p) position[order_[p]] = static_cast<std::uint32_t>(p);
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (std::uint32_t r : selected) ListView_SetItemState(list_, position[r], LVIS_SELECTED, LVIS_SELECTED);
  if (focused >= 0) ListView_SetItemState(list_, position[static_cast<std::size_t>(focused)], LVIS_FOCUSED, LVIS_FOCUSED);
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

// ---- Clicks, keys and navigation -------------------------------------------

void TFileListView::ItemClicked() {
  int row = SelectedIndex();
  if (row < 0) return;
  selectedItem_ = FullPath(row);
  if (OnItemChange) OnItemChange(*this, selectedItem_);
  if (OnClick) OnClick(*this);
}

void TFileListView::HandleDblClick() {
  int row = SelectedIndex();
  if (row < 0 || Caption(row).empty()) return;
  if (dblClickToOpen_)
    OpenItem();
  else if (IsParentRow(row))
    OneLevelUp();
  else if (OnDblClick)
    OnDblClick(*this);
}

void TFileListView::KeyDown(WORD key) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  const bool selected = SelectedIndex() >= 0;
  if (key == VK_ESCAPE && dragging_) {
    EndDrag(false, POINT{});
  } else if (key == VK_UP || key == VK_DOWN) {
    // The click behaviour follows once the list has moved the selection.
    ::PostMessageW(hwnd_, kMsgItemClicked, 0, 0);
  } else if (ctrl && !shift && !alt) {
    switch (key) {
      case 'A': SelectAll(); break;
      case 'C': if (selected) CutCopy(foCopy); break;
      case 'X': if (selected) CutCopy(foMove); break;
      case 'V': if (!clipboard_.empty()) Paste(); break;
      case 'N': if (!IsDrivesText(directory_)) NewFolder(); break;
      case 'O': if (selected) OpenItem(); break;
      case 'F': if (selected) ViewFile(); break;
      default: break;
    }
  } else if (shift && !ctrl && !alt && key == VK_DELETE) {
    if (!editing_) ShiftDelete();
  } else if (!ctrl && !shift && !alt && !editing_) {
    switch (key) {
      case VK_BACK: OneLevelUp(); break;
      case VK_RETURN: if (selected) OpenItem(); break;
      case VK_DELETE: if (selected) DeleteSelected(); break;
      case VK_F2: if (selected) RenameSelected(); break;
      case VK_F3: FindFile(); break;
      case VK_F5: F5Refresh(); break;
      default: break;
    }
  }
  if (OnKeyDown) OnKeyDown(*this, key);
}

void TFileListView::F5Refresh() {
  UpdateFileList();
  if (tree_) {
    std::wstring path = tree_->SelectedPath();
    tree_->ReloadTree();
    tree_->ExpandToPath(path);
  }
}

void TFileListView::ShiftDelete() {
  if (SelectedIndex() < 0) return;
  {
    WaitCursor wait;
    for (int row = 0; row < ItemCount(); ++row) {
      if (!IsSelected(row)) continue;
      if (KindTag(row) != L"file") break;  // a folder (or a drive) stops the whole command
      const std::wstring text =
          L"Are you sure you want to permanently delete file\r  \"" + Caption(row) + L"\"?";
      if (AskYesNo(hwnd_, text)) {
        const std::wstring path = FullPath(row);
        if (!::DeleteFileW(path.c_str())) {
          const DWORD error = ::GetLastError();
          ShowError(hwnd_, L"\"" + path + L"\"\r\n" + SystemErrorText(error));
        }
      }
      SetSelected(row, false);
    }
  }
  UpdateFileList();
}

void TFileListView::OpenItem() {
  const int row = SelectedIndex();
  if (row < 0) return;
  WaitCursor wait;
  if (IsParentRow(row)) {
    OneLevelUp();
    return;
  }
  const std::wstring kind = KindTag(row);
  if (kind == L"file") {
    const std::wstring file = FullPath(row);
    ExecuteFile(L"Open", file, L"", ExtractFilePath(file), SW_SHOWNORMAL);
    return;
  }
  const std::wstring path = AddSlash(FullPath(row));
  if (kind == L"drv") {
    const UINT type = Platform().DriveType(path);
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !CheckDriveReady(path[0], true)) return;
  }
  SetDirectory(path);
  if (tree_) tree_->ExpandToPath(path);
}

void TFileListView::OneLevelUp() {
  if (DriveMode()) return;
  const std::wstring from = AddSlash(directory_);
  if (IsDriveRoot(from)) {
    SetDirectory(L"Drives");  // the linked tree stays where it is
    return;
  }
  std::wstring parent = DelSlash(ExtractFilePath(DelSlash(from)));
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
  SetDirectory(parent);
  if (tree_) tree_->ExpandToPath(parent);
  for (int row = 0; row < ItemCount(); ++row) {
    if (!SameTextLocale(AddSlash(FullPath(row)), from)) continue;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
    ItemClicked();
    break;
  }
}

// ---- In-place rename ---------------------------------------------------------

void TFileListView::RenameSelected() {
  const int row = SelectedIndex();
  if (row < 0) return;
  if (readOnly_ || UpperCase(SubItem(row, 3)) == L"R") {
    ShowWarning(hwnd_, Text(Msg::ReadOnly));
    return;
  }
  ::SetFocus(list_);
  ListView_EditLabel(list_, row);
}

bool TFileListView::HandleBeginLabelEdit(int row) {
  // Neither the parent row nor a drive names something that can be renamed.
  if (readOnly_ || driveMode_ || row < 0 || row >= ItemCount() || RowAt(row).name == L"..") return false;
  editing_ = true;
  editOldPath_ = FullPath(row);
  editKind_ = RowAt(row).kind;
  editHideExt_ = shown_.hideExt;
  return true;
}

void TFileListView::HandleEndLabelEdit(int row, const wchar_t* text) {
  const bool wasEditing = editing_;
  editing_ = false;
  if (!wasEditing || !text || row < 0 || row >= ItemCount()) return;
  const std::wstring newText = text;
  if (Trim(newText).empty()) return;  // no name: the edit is refused
  editedCaptions_[order_[static_cast<std::size_t>(row)]] = newText;
  ListView_RedrawItems(list_, row, row);
  editNewText_ = newText;
  // The rename re-lists, which must not happen inside the list's own notification.
  ::PostMessageW(hwnd_, kMsgAcceptRename, 0, 0);
}

void TFileListView::AcceptRename() {
  const std::wstring oldPath = editOldPath_;
  const std::wstring newPath = RenameTarget(oldPath, editNewText_, editHideExt_);
  if (SameTextLocale(newPath, oldPath)) return;
  {
    WaitCursor wait;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    if (!TargetExists(newPath)) DoFileOperation(foRename, oldPath, newPath);
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  }
  UpdateFileList();
  for (int row = 0; row < ItemCount(); ++row) {
    if (SameTextLocale(FullPath(row), newPath)) {
      ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, row, FALSE);
      break;
    }
  }
  if (editKind_ == Kind::Dir && tree_) {
    tree_->ReloadTree();
    tree_->ExpandToPath(ExtractFilePath(oldPath));
  }
}

// ---- Dragging rows out --------------------------------------------------------

void TFileListView::DragMoved(POINT clientPt) {
  POINT pt = clientPt;
  ::ClientToScreen(hwnd_, &pt);
  HWND target = ::WindowFromPoint(pt);
  dragAccepted_ = dragTarget_ && dragTarget_->DragOver(*this, target, pt);
  ::SetCursor(::LoadCursorW(nullptr, dragAccepted_ ? IDC_ARROW : IDC_NO));
}

void TFileListView::EndDrag(bool drop, POINT screenPt) {
  if (!dragging_) return;
  dragging_ = false;
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  if (!drop || !dragTarget_) return;
  HWND target = ::WindowFromPoint(screenPt);
  if (dragTarget_->DragOver(*this, target, screenPt)) dragTarget_->DragDrop(*this, target, screenPt);
}

// ---- Context menu -------------------------------------------------------------

bool TFileListView::ContextMenu(POINT screenPt) {
  if (!hostMenu_ && !popUpMenuEnabled_) return false;
  if (screenPt.x == -1 && screenPt.y == -1) {
    // From the keyboard: at the selected row, or the view's corner.
    RECT rc{};
    const int row = SelectedIndex();
    if (row < 0 || !ListView_GetItemRect(list_, row, &rc, LVIR_LABEL)) rc = RECT{0, 0, 0, 0};
    screenPt = POINT{rc.left, rc.bottom};
    ::ClientToScreen(list_, &screenPt);
  }
  if (hostMenu_) {
    ::TrackPopupMenu(hostMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPt.x, screenPt.y, 0,
                     hostMenuTarget_ ? hostMenuTarget_ : ::GetParent(hwnd_), nullptr);
  } else {
    ShowOwnPopupMenu(screenPt);
  }
  return true;
}

// The view's own context menu comes with the file operations.
void TFileListView::BuildOwnPopupMenu() {}
void TFileListView::ShowOwnPopupMenu(POINT) {}

// ---- File operations ------------------------------------------------------------

// These come with the file operations and their context menu.
void TFileListView::NewFolder() {}
void TFileListView::DeleteSelected() {}
void TFileListView::CutCopy(FileOpCode) {}
void TFileListView::Paste() {}
void TFileListView::ViewFile() {}
void TFileListView::FindFile() {}

}  // namespace ferlane
