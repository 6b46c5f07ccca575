#pragma once
// Pictures beside menu items, taken from an image list the caller owns.
//
// To give a menu item picture N: AttachMenuPicture(menu, itemId, N). The
// picture is drawn by the menu's owner window (the window of a menu bar, or the
// window passed to TrackPopupMenu), which must pass its WM_MEASUREITEM and
// WM_DRAWITEM to MeasureMenuPicture and DrawMenuPicture with the image list
// the numbers refer to; the main window does.
// Drawn through HBMMENU_CALLBACK so that the clear parts stay clear on XP too.
#include <windows.h>
#include <commctrl.h>

namespace ferlane {

// A strip of square pictures of `size` pixels side by side in the bitmap
// resource `bitmapId`, magenta (255, 0, 255) clear; nullptr when it cannot be
// made. The caller owns the list.
HIMAGELIST LoadPictureStrip(HINSTANCE instance, int bitmapId, int size, int count);

// Shows `picture` (0 to 255) beside the item `id` (a command id) of `menu`.
// Uses the item's data word, which must be free. False when there is no such item.
bool AttachMenuPicture(HMENU menu, UINT id, int picture);
// The picture attached to the item `id`, or -1.
int MenuPictureOf(HMENU menu, UINT id);

// For the owner window's WM_MEASUREITEM and WM_DRAWITEM: true when the item
// was one of `pictures` (the message is then answered with TRUE). A picture
// takes the list's own size, so a list made for the screen's DPI draws menus
// at that size.
bool MeasureMenuPicture(MEASUREITEMSTRUCT& item, HIMAGELIST pictures);
bool DrawMenuPicture(const DRAWITEMSTRUCT& item, HIMAGELIST pictures);

}  // namespace ferlane
