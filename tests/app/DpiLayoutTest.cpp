// The window at the screen's DPI: run as it is at 96 DPI, and by CTest again
// in prefixes whose screen is at 120 and 144 DPI (FERLANE_LOGPIXELS).
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/PasswordWindows.h"
#include "app/logic/Placement.h"
#include "platform/MenuPictures.h"
#include "app/ProgramPictures.h"
#include "platform/ScreenDpi.h"
#include "platform/Termination.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  ::GetClassNameW(h, name, 64);
  return name;
}

std::wstring TextOf(HWND h) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                             out.data(), static_cast<int>(out.size()), nullptr,
                                                             nullptr)));
  return out;
}

// The caption's size as the control draws it: in its own font, one line,
// "&" marking the access key unless the control shows it as is.
SIZE CaptionExtent(HWND h, bool prefix) {
  HDC dc = ::GetDC(h);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)));
  const std::wstring text = TextOf(h);
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
  ::SelectObject(dc, old);
  ::ReleaseDC(h, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Shown on the current tab: the control and each window up to the main one.
bool ShownOnTab(HWND h, HWND main) {
  for (; h && h != main; h = ::GetParent(h))
    if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE)) return false;
  return h == main;
}

struct CaptionCheck {
  HWND main;
  Dpi dpi;
  std::string where;  // for the failure messages
  int checked = 0;
};

// Fails for a caption that does not fit in the room its control leaves for
// text: a check box or radio button gives part of its width to its box, a
// push button to its edges, a group box to the frame line either side of its
// title. A path panel ends its path in an ellipsis and is left out.
BOOL CALLBACK CheckCaption(HWND h, LPARAM param) {
  auto& c = *reinterpret_cast<CaptionCheck*>(param);
  const std::wstring cls = ClassOf(h);
  const LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
  if ((cls != L"Button" && cls != L"Static") || TextOf(h).empty() || !ShownOnTab(h, c.main)) return TRUE;
  if (cls == L"Static" && (style & SS_ELLIPSISMASK)) return TRUE;
  RECT rc;
  ::GetClientRect(h, &rc);
  int room = rc.right;
  const int height = rc.bottom;
  const LONG_PTR kind = style & BS_TYPEMASK;
  // A picture button's text is its name for assistive technology, never drawn.
  if (cls == L"Button" && (kind == BS_OWNERDRAW || (style & (BS_ICON | BS_BITMAP)))) return TRUE;
  if (cls == L"Button") {
    if (kind == BS_GROUPBOX) {
      room -= 2 * c.dpi.Px(8);
    } else if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
               kind == BS_AUTORADIOBUTTON) {
      room -= ::GetSystemMetrics(SM_CXMENUCHECK) + c.dpi.Px(4);
    } else {
      room -= 2 * c.dpi.Px(3);
    }
  }
  const bool prefix = cls == L"Button" || !(style & SS_NOPREFIX);
  const SIZE text = CaptionExtent(h, prefix);
  ++c.checked;
  const std::string caption = Utf8(TextOf(h));
  EXPECT_LE(text.cx, room) << c.where << ": \"" << caption << "\" is cut (" << text.cx << " px in " << room << ")";
  EXPECT_LE(text.cy, height) << c.where << ": \"" << caption << "\" is cut at the bottom";
  return TRUE;
}

struct HeaderCheck {
  HWND main;
  Dpi dpi;
  std::string where;
  int checked = 0;
};

// Fails for a column whose header caption does not fit: the header keeps a
// margin either side of its text. A view showing icons shows no header.
BOOL CALLBACK CheckHeaders(HWND h, LPARAM param) {
  auto& c = *reinterpret_cast<HeaderCheck*>(param);
  if (ClassOf(h) != WC_LISTVIEWW || !ShownOnTab(h, c.main)) return TRUE;
  HWND header = ListView_GetHeader(h);
  if (!header || !::IsWindowVisible(header)) return TRUE;
  HDC dc = ::GetDC(header);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(header, WM_GETFONT, 0, 0)));
  for (int i = 0, n = Header_GetItemCount(header); i < n; ++i) {
    wchar_t text[128] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    Header_GetItem(header, i, &item);
    RECT cell{}, extent{0, 0, 0, 0};
    Header_GetItemRect(header, i, &cell);
    ::DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int room = cell.right - cell.left - 2 * c.dpi.Px(6);
    ++c.checked;
    EXPECT_LE(extent.right, room) << c.where << ": the header \"" << Utf8(text) << "\" is cut (" << extent.right
                                  << " px in " << room << ")";
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(header, dc);
  return TRUE;
}

TEST(DpiLayout, EveryColumnHeaderShowsItsWholeCaption) {
  ResetTermination();
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  platform.userName = L"dupont";
  Tficheprincipale main(scratch.Folder(L"Outils") + L"\\");
  ASSERT_TRUE(main.Create(::GetModuleHandleW(nullptr)));
  main.FormShow();
  ::ShowWindow(main.hwnd(), SW_SHOW);
  // The drives' columns too, which the file list shows at the top, and a
  // view of tab 3 as the user may switch it to details.
  main.FileListView1().SetDirectory(L"Drives");
  main.ShellFolderViews().View(L"progperso")->SetViewStyle(vsReport);
  int checked = 0;
  for (int tab = 0; tab < 4; ++tab) {
    TabCtrl_SetCurFocus(main.PageControl1(), tab);
    HeaderCheck check{main.hwnd(), ScreenDpi(), "tab " + std::to_string(tab + 1)};
    ::EnumChildWindows(main.hwnd(), CheckHeaders, reinterpret_cast<LPARAM>(&check));
    checked += check.checked;
  }
  // Tab 1's file list (5) and protected list (3), and the view of tab 3 in
  // details (5); the others show icons.
  EXPECT_EQ(checked, 8 + 5);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
}

TEST(DpiLayout, TheWindowTheTabsAndEveryCaptionGrowWithTheDpi) {
  ResetTermination();
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  platform.userName = L"dupont";
  Tficheprincipale main(scratch.Folder(L"Outils") + L"\\");
  ASSERT_TRUE(main.Create(::GetModuleHandleW(nullptr)));

  // The prefix's screen is the one CTest asked for; a run that silently stayed
  // at 96 DPI would prove nothing.
  const Dpi dpi = ScreenDpi();
  if (const char* asked = std::getenv("FERLANE_LOGPIXELS")) {
    EXPECT_EQ(dpi.value, std::atoi(asked));
  }
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(dpi.value, ::GetDeviceCaps(screen, LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);

  // The window is the design size scaled; its font is "MS Sans Serif" 8 point there.
  RECT r;
  ::GetWindowRect(main.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, dpi.Px(kDesignWidth));
  EXPECT_EQ(r.bottom - r.top, dpi.Px(kDesignHeight));
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(main.PageControl1(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, FontHeightForDpi(8, dpi.value));
  EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");

  // The pictures come at the size drawn for this DPI, all of them.
  int cx = 0, cy = 0;
  ImageList_GetIconSize(ImageList1(), &cx, &cy);
  EXPECT_EQ(cx, SmallPictureSize(dpi.value));
  EXPECT_EQ(ImageList_GetImageCount(ImageList1()), kPictureCount);
  // The menus' and context menus' pictures too, with a gap before the caption.
  HMENU action = ::GetSubMenu(::GetMenu(main.hwnd()), 0);
  MENUITEMINFOW info{sizeof(info), MIIM_DATA};
  ASSERT_TRUE(::GetMenuItemInfoW(action, 0, TRUE, &info));
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0, 0, 0, info.dwItemData};
  EXPECT_TRUE(::SendMessageW(main.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(SmallPictureSize(dpi.value)));
  EXPECT_GT(measure.itemWidth, static_cast<UINT>(SmallPictureSize(dpi.value)));
  ::GetClientRect(main.SpeedButton(1), &r);
  EXPECT_EQ(r.right, dpi.Px(42));

  // The four tabs side by side, no scroll arrows.
  RECT strip, last;
  ::GetClientRect(main.PageControl1(), &strip);
  ASSERT_TRUE(TabCtrl_GetItemRect(main.PageControl1(), 3, &last));
  EXPECT_EQ(TabCtrl_GetRowCount(main.PageControl1()), 1);
  EXPECT_LE(last.right, strip.right) << "the tabs scroll";
  HWND arrows = ::FindWindowExW(main.PageControl1(), nullptr, UPDOWN_CLASSW, nullptr);
  EXPECT_FALSE(arrows && (::GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE)) << "the tabs scroll";

  for (int tab = 0; tab < 4; ++tab) {
    TabCtrl_SetCurFocus(main.PageControl1(), tab);  // as a click: the page comes to the front
    CaptionCheck check{main.hwnd(), dpi, "tab " + std::to_string(tab + 1)};
    ::EnumChildWindows(main.hwnd(), CheckCaption, reinterpret_cast<LPARAM>(&check));
    // Every caption was looked at: tab 1's group box, tab 2's four boxes (its
    // path panels end in an ellipsis), tab 3's seven boxes, six check boxes,
    // two radio buttons and three buttons, tab 4's two boxes.
    const int expected[4] = {1, 4, 18, 2};
    EXPECT_EQ(check.checked, expected[tab]) << "tab " << tab + 1;
  }
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

HWND g_found = nullptr;
BOOL CALLBACK FindTooltip(HWND h, LPARAM owner) {
  if (ClassOf(h) == TOOLTIPS_CLASSW && ::GetWindow(h, GW_OWNER) == reinterpret_cast<HWND>(owner)) {
    g_found = h;
    return FALSE;
  }
  return TRUE;
}

std::wstring HintOf(HWND tooltip, HWND owner, HWND control) {
  wchar_t text[1024] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = text;
  ::SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
  return text;
}

TEST(DpiLayout, PathPanelsKeepTheEndOfALongPathAndHintTheWholeOne) {
  ResetTermination();
  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  Tficheprincipale main(scratch.Folder(L"Outils") + L"\\");
  ASSERT_TRUE(main.Create(::GetModuleHandleW(nullptr)));
  g_found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(main.hwnd()));
  ASSERT_TRUE(g_found);
  int panels = 0;
  for (ShellFolder folder : {ShellFolder::CommonPrograms, ShellFolder::PersonalPrograms, ShellFolder::CommonDesktop,
                             ShellFolder::PersonalDesktop}) {
    HWND panel = main.ShellFolderViews().Panel(folder);
    ASSERT_TRUE(panel);
    const std::wstring path = main.ShellFolderViews().FolderPath(folder);
    if (path.empty()) continue;  // a folder this system does not have
    ++panels;
    EXPECT_EQ(path, TextOf(panel)) << "the panel keeps the whole path: the moves read it";
    EXPECT_EQ(::GetWindowLongPtrW(panel, GWL_STYLE) & SS_ELLIPSISMASK, SS_PATHELLIPSIS) << Utf8(path);
    EXPECT_EQ(HintOf(g_found, main.hwnd(), panel), path);
    // The pointer reaches the panel, so that its hint can show.
    RECT r;
    ::GetWindowRect(panel, &r);
    EXPECT_NE(::SendMessageW(panel, WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2)), HTTRANSPARENT);
  }
  EXPECT_GE(panels, 2);
}

TEST(DpiLayout, PasswordWindowsCaptionsFit) {
  ResetTermination();
  test::RecordingMessages messages;
  TPasse passe;
  Tsaisie saisie;
  Tnouveaupasse nouveaupasse;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  ASSERT_TRUE(passe.Create(instance) && saisie.Create(instance) && nouveaupasse.Create(instance));
  const int expected[3] = {2, 3, 4};  // the prompts and the OK button (the user's name comes later)
  int n = 0;
  for (HWND window : {passe.hwnd(), saisie.hwnd(), nouveaupasse.hwnd()}) {
    CaptionCheck check{window, ScreenDpi(), "password window " + std::to_string(n + 1)};
    ::EnumChildWindows(window, CheckCaption, reinterpret_cast<LPARAM>(&check));
    EXPECT_EQ(check.checked, expected[n++]);
  }
}

}  // namespace
}  // namespace ferlane
