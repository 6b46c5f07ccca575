#include "app/ProgramPictures.h"

#include "platform/MenuPictures.h"
#include "platform/ScreenDpi.h"
#include "resource.h"

namespace ferlane {

HIMAGELIST ImageList1() {
  static const HIMAGELIST list = [] {
    const int dpi = ScreenDpi().value;
    return LoadPictureStrip(::GetModuleHandleW(nullptr), IDB_IMAGELIST1 + PictureStep(dpi) * IDB_DPI_STEP,
                            SmallPictureSize(dpi), kPictureCount);
  }();
  return list;
}

}  // namespace ferlane
