#pragma once
// The pictures of ImageList1, the program's small pictures (tabs, menus and
// buttons), by their place in the strip IDB_IMAGELIST1. The main window makes
// the list (app/ProgramPictures.h) and lends it to the pages (PageHost).
namespace ferlane {

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

}  // namespace ferlane
