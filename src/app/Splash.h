#pragma once
// Tlogo: the splash window shown while the program starts, and the JPEG
// decoding of its picture.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/UniqueHandle.h"
#include "platform/logic/Dpi.h"

namespace ferlane {

// A decoded picture: 32-bit pixels in blue, green, red, unused order, rows
// from the top, no padding (width * 4 bytes a row).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  bool empty() const { return width <= 0 || height <= 0; }
};

// Decodes a JPEG held in memory. On damaged or unsupported data it answers
// false and leaves out empty; it never ends the program or throws.
bool DecodeJpeg(const void* data, std::size_t size, Image& out);
// Decodes the RCDATA resource id of module instance.
bool LoadJpegResource(HINSTANCE instance, int id, Image& out);

class Tlogo {
 public:
  // Client (and window) size of the splash, in pixels at 96 DPI: scaled for
  // the screen, as its title and the title's place.
  static constexpr int kWidth = 253;
  static constexpr int kHeight = 185;

  Tlogo() = default;
  ~Tlogo();
  Tlogo(const Tlogo&) = delete;
  Tlogo& operator=(const Tlogo&) = delete;

  // Creates the hidden window centred on the desktop and decodes its
  // picture. Without its picture the splash still shows the panel and title.
  bool Create(HINSTANCE instance);
  // Shows the window and paints it at once, before start-up goes on.
  void ShowAndPaint();
  // Hides and destroys the window.
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  const Image& Picture() const { return picture_; }

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc) const;

  HWND hwnd_ = nullptr;
  Image picture_;
  UniqueHFont titleFont_;
  Dpi dpi_;  // the screen's, read at creation
};

}  // namespace ferlane
