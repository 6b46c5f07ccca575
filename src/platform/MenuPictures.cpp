#include "platform/MenuPictures.h"

namespace ferlane {
namespace {

constexpr COLORREF kClear = RGB(255, 0, 255);
// Marks the data word of an item whose picture we draw; the low byte is the number.
constexpr ULONG_PTR kTag = 0x46E70000;
constexpr ULONG_PTR kTagMask = 0xFFFFFF00;

int PictureFromData(ULONG_PTR data) {
  if ((data & kTagMask) != kTag) return -1;
  return static_cast<int>(data & 0xFF);
}

// The picture of the item when `pictures` holds it, else -1.
int PictureIn(HIMAGELIST pictures, ULONG_PTR data) {
  const int picture = PictureFromData(data);
  return pictures && picture >= 0 && picture < ImageList_GetImageCount(pictures) ? picture : -1;
}

}  // namespace

HIMAGELIST LoadPictureStrip(HINSTANCE instance, int bitmapId, int size, int count) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0);
  auto strip = static_cast<HBITMAP>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (list && strip) ImageList_AddMasked(list, strip, kClear);
  if (strip) ::DeleteObject(strip);
  return list;
}

bool AttachMenuPicture(HMENU menu, UINT id, int picture) {
  if (picture < 0 || picture > 0xFF) return false;
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

bool MeasureMenuPicture(MEASUREITEMSTRUCT& item, HIMAGELIST pictures) {
  if (item.CtlType != ODT_MENU || PictureIn(pictures, item.itemData) < 0) return false;
  int cx = 0, cy = 0;
  ImageList_GetIconSize(pictures, &cx, &cy);
  // A gap of an eighth of the picture (2 pixels at 16) keeps a picture that
  // fills its square, the red X, off the caption beside it.
  item.itemWidth = static_cast<UINT>(cx + (cx >= 16 ? cx / 8 : 2));
  item.itemHeight = static_cast<UINT>(cy);
  return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT& item, HIMAGELIST pictures) {
  if (item.CtlType != ODT_MENU) return false;
  const int picture = PictureIn(pictures, item.itemData);
  if (picture < 0) return false;
  int cx = 0, cy = 0;
  ImageList_GetIconSize(pictures, &cx, &cy);
  const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - cy) / 2;
  const bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  ImageList_Draw(pictures, picture, item.hDC, item.rcItem.left, y, ILD_TRANSPARENT | (greyed ? ILD_BLEND50 : 0));
  return true;
}

}  // namespace ferlane
