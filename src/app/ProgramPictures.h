#pragma once
// ImageList1, the program's small pictures (tabs, menus, buttons), made for
// the screen's DPI. The main window lends it to the pages (PageHost::pictures)
// and draws the menus' pictures from it; the numbers are in picture_numbers.h.
#include <windows.h>
#include <commctrl.h>

#include "picture_numbers.h"

namespace ferlane {

// The process's ImageList1 (16 x 16 at 96 DPI; 20, 24 or 32 for a larger
// DPI), made on first use and kept for the run: nobody frees it.
HIMAGELIST ImageList1();

}  // namespace ferlane
