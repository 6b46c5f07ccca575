#pragma once
// ImageList1, the program's small pictures, and the pictures beside menu items.
//
// To give a menu item picture N: AttachMenuPicture(menu, itemId, N). The
// picture is drawn by the menu's owner window (the window of a menu bar, or the
// window passed to TrackPopupMenu), which must pass its WM_MEASUREITEM and
// WM_DRAWITEM to MeasureMenuPicture and DrawMenuPicture; the main window does.
// Drawn through HBMMENU_CALLBACK so that the clear parts stay clear on XP too.
#include <windows.h>
#include <commctrl.h>

namespace ferlane {

// Picture numbers of ImageList1.
enum MenuPicture : int {
  kPicSelectAll = 0,
  kPicRemoveAll = 1,
  kPicRemoveSelection = 2,
  kPicFiles = 3,
  kPicShow = 4,
  kPicRestore = 5,
  kPicHide = 6,
  kPicClose = 7,
  kPicHelp = 8,
  kPicPassword = 9,
  kPicMail = 10,
  kPicHiddenStore = 11,
  kPicSpecialOperations = 12,
  kPicRestoreDesktop = 13,
  kPictureCount = 14
};

// The process's ImageList1 (16 x 16 at 96 DPI; 20, 24 or 32 for a larger
// DPI), made on first use and kept for the run: nobody frees it.
HIMAGELIST ImageList1();

// Shows `picture` beside the item `id` (a command id) of `menu`. Uses the
// item's data word, which must be free. False when there is no such item.
bool AttachMenuPicture(HMENU menu, UINT id, int picture);
// The picture attached to the item `id`, or -1.
int MenuPictureOf(HMENU menu, UINT id);

// For the owner window's WM_MEASUREITEM and WM_DRAWITEM: true when the item
// was one of these pictures (the message is then answered with TRUE).
bool MeasureMenuPicture(MEASUREITEMSTRUCT& item);
bool DrawMenuPicture(const DRAWITEMSTRUCT& item);

}  // namespace ferlane
