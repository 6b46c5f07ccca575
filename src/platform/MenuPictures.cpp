#include "platform/MenuPictures.h"

#include "resource.h"

namespace ferlane {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kClear = RGB(255, 0, 255);
// Marks the data word of an item whose picture we draw; the low byte is the number.
constexpr ULONG_PTR kTag = 0x46E70000;
constexpr ULONG_PTR kTagMask = 0xFFFFFF00;

int PictureFromData(ULONG_PTR data) {
  if ((data & kTagMask) != kTag) return -1;
  const int picture = static_cast<int>(data & 0xFF);
  return picture < kPictureCount ? picture : -1;
}

}  // namespace

HIMAGELIST ImageList1() {
  static HIMAGELIST list = [] {
    HIMAGELIST l = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, kPictureCount, 0);
    auto strip = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_IMAGELIST1),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (l && strip) ImageList_AddMasked(l, strip, kClear);
    if (strip) ::DeleteObject(strip);
    return l;
  }();
  return list;
}

bool AttachMenuPicture(HMENU menu, UINT id, int picture) {
  if (picture < 0 || picture >= kPictureCount) return false;
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  info.hbmpItem = HBMMENU_CALLBACK;
  info.dwItemData = kTag | static_cast<ULONG_PTR>(picture);
  return ::SetMenuItemInfoW(menu, id, FALSE, &info) != FALSE;
}

int MenuPictureOf(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  if (!::GetMenuItemInfoW(menu, id, FALSE, &info) || info.hbmpItem != HBMMENU_CALLBACK) return -1;
  return PictureFromData(info.dwItemData);
}

bool MeasureMenuPicture(MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU || PictureFromData(item.itemData) < 0) return false;
  item.itemWidth = kSize;
  item.itemHeight = kSize;
  return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU) return false;
  const int picture = PictureFromData(item.itemData);
  if (picture < 0) return false;
  const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - kSize) / 2;
  const bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  ImageList_Draw(ImageList1(), picture, item.hDC, item.rcItem.left, y,
                 ILD_TRANSPARENT | (greyed ? ILD_BLEND50 : 0));
  return true;
}

}  // namespace ferlane
