// The finished window: menus with their pictures and access keys, pictures on
// the tabs and the toolbar, and the help command.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include "platform/MenuPictures.h"
#include "app/ProgramPictures.h"
#include "platform/Termination.h"
#include "resource.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

struct Expected {
  const wchar_t* caption;  // nullptr: separator
  int picture;
};

std::wstring Caption(HMENU menu, int pos) {
  wchar_t buf[256] = {};
  ::GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
  return buf;
}

void ExpectMenu(HMENU menu, std::initializer_list<Expected> items) {
  ASSERT_EQ(::GetMenuItemCount(menu), static_cast<int>(items.size()));
  int pos = 0;
  for (const auto& e : items) {
    if (!e.caption) {
      EXPECT_EQ(::GetMenuState(menu, pos, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    } else {
      EXPECT_EQ(Caption(menu, pos), e.caption);
      EXPECT_EQ(MenuPictureOf(menu, ::GetMenuItemID(menu, pos)), e.picture) << Caption(menu, pos);
    }
    ++pos;
  }
}

// Pixels of a DC that differ from `background`.
struct Drawn {
  int changed = 0, coloured = 0;
};
Drawn Inspect(HDC dc, int width, int height, COLORREF background) {
  Drawn d;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = ::GetPixel(dc, x, y);
      if (c == background) continue;
      ++d.changed;
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (std::max({r, g, b}) - std::min({r, g, b}) > 24) ++d.coloured;
    }
  return d;
}

class MemoryDc {
 public:
  MemoryDc(int w, int h) : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    RECT rc{0, 0, w, h};
    ::FillRect(dc_, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~MemoryDc() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

class WindowPicturesTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    platform.userName = L"dupont";
    main = std::make_unique<Tficheprincipale>(scratch.Folder(L"Outils") + L"\\");
    ASSERT_TRUE(main->Create(::GetModuleHandleW(nullptr)));
  }
  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::unique_ptr<Tficheprincipale> main;
};

TEST_F(WindowPicturesTest, MainMenuHasItsCaptionsAccessKeysAndPictures) {
  HMENU bar = ::GetMenu(main->hwnd());
  ASSERT_EQ(::GetMenuItemCount(bar), 3);
  EXPECT_EQ(Caption(bar, 0), L"&Action");
  EXPECT_EQ(Caption(bar, 1), L"&Aide");
  EXPECT_EQ(Caption(bar, 2), L"A &Propos");
  ExpectMenu(::GetSubMenu(bar, 0), {{L"Tout &Cacher", 6},
                                    {L"Tout &Voir", 4},
                                    {L"Ac&tualiser\tF5", -1},
                                    {nullptr, -1},
                                    {L"&Ajouter la sélection à la liste\tF6", 3},
                                    {L"&Déplacer la sélection en face\tF6", 5},
                                    {nullptr, -1},
                                    {L"&Rétablir le bureau et les programmes", 13},
                                    {nullptr, -1},
                                    {L"Changer le mot de &Passe", 9},
                                    {nullptr, -1},
                                    {L"&Fermer", 7}});
  ExpectMenu(::GetSubMenu(bar, 1), {{L"Aide de Ferlane", 8}, {L"M'écrire", 10}});
  HMENU about = ::GetSubMenu(bar, 2);
  ASSERT_EQ(::GetMenuItemCount(about), 1);
  const std::wstring line = Caption(about, 0);
  EXPECT_EQ(line.rfind(L"Ferlane 1.0", 0), 0u) << "names the program and its version";
  EXPECT_EQ(line.find(L'&'), std::wstring::npos) << "an informational line has no access key";
}

TEST_F(WindowPicturesTest, PopupsOfTheShellFolderTabsCarryTheirPictures) {
  ExpectMenu(main->PersonalItems().opspepro(), {{L"Tout Sélectionner", 0}, {nullptr, -1}, {L"&Cacher", 6}});
  ExpectMenu(main->PersonalItems().opspebur(), {{L"&Tout sélectionner", 0}, {L"&Cacher", 6}});
  ExpectMenu(main->HiddenStore().menucacheprog(), {{L"&Tout sélectionner", 0}, {nullptr, -1}, {L"&Rétablir", 5}});
  ExpectMenu(main->HiddenStore().menucachebur(), {{L"&Tout sélectionner", 0}, {nullptr, -1}, {L"&Rétablir", 5}});
  ICONINFO info{};
  HICON picture = reinterpret_cast<HICON>(
      ::SendMessageW(main->HiddenStore().SpeedButton4(), BM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_TRUE(picture && ::GetIconInfo(picture, &info)) << "\"Menu <Démarrer>\" shows a picture";
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

TEST_F(WindowPicturesTest, OwnerDrawsAttachedPicturesWithTheirClearPartsClear) {
  HMENU action = ::GetSubMenu(::GetMenu(main->hwnd()), 0);
  MENUITEMINFOW info{sizeof(info), MIIM_DATA};
  ASSERT_TRUE(::GetMenuItemInfoW(action, IDM_TOUT_VOIR, FALSE, &info));

  MEASUREITEMSTRUCT measure{ODT_MENU, 0, IDM_TOUT_VOIR, 0, 0, info.dwItemData};
  EXPECT_TRUE(::SendMessageW(main->hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  // Two pixels beside the picture keep it off the caption.
  EXPECT_EQ(measure.itemWidth, 18u);
  EXPECT_EQ(measure.itemHeight, 16u);

  MemoryDc canvas(16, 16);
  DRAWITEMSTRUCT draw{ODT_MENU, 0, IDM_TOUT_VOIR, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(action),
                      canvas.dc(), RECT{0, 0, 16, 16}, info.dwItemData};
  EXPECT_TRUE(::SendMessageW(main->hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
  const Drawn eye = Inspect(canvas.dc(), 16, 16, RGB(255, 255, 255));
  EXPECT_GT(eye.coloured, 8) << "the blue of the eye";
  EXPECT_EQ(::GetPixel(canvas.dc(), 0, 0), RGB(255, 255, 255)) << "the corner stays clear, not magenta";

  // An item without a picture is not ours to draw.
  draw.itemData = 0;
  EXPECT_FALSE(::SendMessageW(main->hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
}

TEST_F(WindowPicturesTest, TabsCarryTheirPictures) {
  const int expected[] = {6, 5, 12, 11};
  EXPECT_EQ(TabCtrl_GetImageList(main->PageControl1()), ImageList1());
  EXPECT_EQ(ImageList_GetImageCount(ImageList1()), 14);
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    ASSERT_TRUE(TabCtrl_GetItem(main->PageControl1(), i, &item));
    EXPECT_EQ(item.iImage, expected[i]);
  }
}

TEST_F(WindowPicturesTest, AllFourTabsFitTheStripAtTheDesignSize) {
  RECT strip, last;
  ::GetClientRect(main->PageControl1(), &strip);
  ASSERT_TRUE(TabCtrl_GetItemRect(main->PageControl1(), 3, &last));
  EXPECT_EQ(TabCtrl_GetRowCount(main->PageControl1()), 1);
  EXPECT_LE(last.right, strip.right) << "the tabs scroll (is fonts-wine installed?)";
}

TEST_F(WindowPicturesTest, DisabledToolbarButtonShowsItsPictureGreyed) {
  HWND button = main->SpeedButton(1);
  RECT rc;
  ::GetClientRect(button, &rc);
  ASSERT_EQ(rc.right, 42);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  auto paint = [&] {
    MemoryDc canvas(42, 42);
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return Inspect(canvas.dc(), 42, 42, face);
  };
  ::EnableWindow(button, TRUE);
  const Drawn enabled = paint();
  EXPECT_GT(enabled.coloured, 50);
  ::EnableWindow(button, FALSE);
  const Drawn disabled = paint();
  EXPECT_GT(disabled.changed, 200) << "not a blank square";
  EXPECT_EQ(disabled.coloured, 0) << "greyed";
}

BOOL CALLBACK CountVisible(HWND h, LPARAM p) {
  if (::IsWindowVisible(h)) ++*reinterpret_cast<int*>(p);
  return TRUE;
}

TEST_F(WindowPicturesTest, HelpWithTheFileMissingDoesNothingVisible) {
  auto visibleWindows = [] {
    int count = 0;
    ::EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
  };
  const int before = visibleWindows();
  ::SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_AIDE, 0), 0);
  test::PumpMessages();
  EXPECT_EQ(visibleWindows(), before);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace ferlane
