#include "app/ToolbarPictures.h"

#include <algorithm>
#include <vector>

#include "platform/logic/Dpi.h"
#include "resource.h"

namespace ferlane {
namespace {

constexpr COLORREF kClear = RGB(255, 0, 255);

// A copy of a 24-bit picture in light greys, its clear colour kept.
HBITMAP GreyCopy(HBITMAP source, int size) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<RGBQUAD> pixels(static_cast<std::size_t>(size) * size);
  HDC dc = ::GetDC(nullptr);
  const bool read = ::GetDIBits(dc, source, 0, size, pixels.data(), &bi, DIB_RGB_COLORS) == size;
  ::ReleaseDC(nullptr, dc);
  if (!read) return nullptr;
  for (auto& p : pixels) {
    if (p.rgbRed == 255 && p.rgbGreen == 0 && p.rgbBlue == 255) continue;
    const int luminance = (p.rgbRed * 30 + p.rgbGreen * 59 + p.rgbBlue * 11) / 100;
    const BYTE grey = static_cast<BYTE>(120 + luminance * 110 / 255);  // washed out, as Windows greys
    p.rgbRed = p.rgbGreen = p.rgbBlue = grey;
  }
  void* bits = nullptr;
  HBITMAP copy = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (copy) std::copy(pixels.begin(), pixels.end(), static_cast<RGBQUAD*>(bits));
  return copy;
}

}  // namespace

ToolbarPictures::~ToolbarPictures() {
  if (list_) ImageList_Destroy(list_);
}

bool ToolbarPictures::Load(HINSTANCE instance, const int* bitmapIds, int count, int dpi) {
  if (list_) ImageList_Destroy(list_);
  size_ = ToolbarPictureSize(dpi);
  const int offset = PictureStep(dpi) * IDB_DPI_STEP;
  list_ = ImageList_Create(size_, size_, ILC_COLOR24 | ILC_MASK, count * 2, 0);
  count_ = count;
  std::vector<HBITMAP> greys;
  bool all = list_ != nullptr;
  for (int i = 0; i < count && all; ++i) {
    auto picture = static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(bitmapIds[i] + offset), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HBITMAP grey = picture ? GreyCopy(picture, size_) : nullptr;
    all = picture && grey && ImageList_AddMasked(list_, picture, kClear) == i;
    greys.push_back(grey);
    if (picture) ::DeleteObject(picture);
  }
  for (HBITMAP grey : greys)
    if (all && grey) ImageList_AddMasked(list_, grey, kClear);
  for (HBITMAP grey : greys)
    if (grey) ::DeleteObject(grey);
  return all;
}

void ToolbarPictures::Draw(const DRAWITEMSTRUCT& item, int index, bool raised) const {
  RECT rc = item.rcItem;
  ::FillRect(item.hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  if (pressed)
    ::DrawEdge(item.hDC, &rc, BDR_SUNKENOUTER, BF_RECT);
  else if (raised)
    ::DrawEdge(item.hDC, &rc, EDGE_RAISED, BF_RECT);
  if (list_ && index >= 0 && index < count_) {
    const int shift = pressed ? 1 : 0;
    ImageList_Draw(list_, disabled ? count_ + index : index, item.hDC,
                   rc.left + (rc.right - rc.left - size_) / 2 + shift,
                   rc.top + (rc.bottom - rc.top - size_) / 2 + shift,
                   ILD_TRANSPARENT);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rc;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace ferlane
