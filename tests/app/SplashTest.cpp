#include "app/Splash.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "platform/UniqueHandle.h"
#include "resource.h"

namespace ferlane {
namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

struct Rgb {
  int r, g, b;
};

Rgb PixelAt(const Image& image, int x, int y) {
  const std::uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
  return Rgb{p[2], p[1], p[0]};
}

// Encodes a picture with libjpeg, to feed the decoder pictures of known content.
std::vector<unsigned char> EncodeJpeg(int width, int height, int components,
                                      const std::vector<unsigned char>& samples) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<unsigned char> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

bool Near(int a, int b) { return std::abs(a - b) <= 12; }

std::vector<unsigned char> SplashBytes() {
  HRSRC info = ::FindResourceW(Instance(), MAKEINTRESOURCEW(IDR_SPLASH_JPEG), MAKEINTRESOURCEW(10));
  EXPECT_NE(info, nullptr);
  if (!info) return {};
  auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(Instance(), info)));
  return std::vector<unsigned char>(data, data + ::SizeofResource(Instance(), info));
}

TEST(DecodeJpeg, EmbeddedSplashPictureIs200By200) {
  Image image;
  ASSERT_TRUE(LoadJpegResource(Instance(), IDR_SPLASH_JPEG, image));
  EXPECT_EQ(image.width, 200);
  EXPECT_EQ(image.height, 200);
  EXPECT_EQ(image.pixels.size(), 200u * 200u * 4u);
  // A blue sky above, a yellow disc in the middle: rows run from the top and
  // the bytes are in blue, green, red order.
  Rgb sky = PixelAt(image, 5, 5);
  EXPECT_GT(sky.b, sky.r + 40);
  Rgb disc = PixelAt(image, 100, 100);
  EXPECT_GT(disc.r, 200);
  EXPECT_GT(disc.g, 180);
  EXPECT_LT(disc.b, 160);
  // No resource of that number: a clean failure.
  EXPECT_FALSE(LoadJpegResource(Instance(), 4242, image));
  EXPECT_TRUE(image.empty());
}

TEST(DecodeJpeg, OddWidthColourAndGreyPicturesComeOutAsRgbRows) {
  const int w = 17, h = 9;  // rows of 17 pixels: no padding in the output
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      const bool left = x < 8;
      p[0] = left ? 255 : 0;  // red on the left, blue on the right
      p[1] = 0;
      p[2] = left ? 0 : 255;
    }
  Image image;
  std::vector<unsigned char> colour = EncodeJpeg(w, h, 3, rgb);
  ASSERT_TRUE(DecodeJpeg(colour.data(), colour.size(), image));
  ASSERT_EQ(image.width, w);
  ASSERT_EQ(image.height, h);
  ASSERT_EQ(image.pixels.size(), static_cast<size_t>(w) * h * 4);
  Rgb left = PixelAt(image, 1, h - 1);
  Rgb right = PixelAt(image, w - 1, h - 1);
  EXPECT_GT(left.r, 200);
  EXPECT_LT(left.b, 60);
  EXPECT_GT(right.b, 200);
  EXPECT_LT(right.r, 60);

  std::vector<unsigned char> grey(static_cast<size_t>(w) * h, 128);
  std::vector<unsigned char> jpeg = EncodeJpeg(w, h, 1, grey);
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), image));
  Rgb g = PixelAt(image, w / 2, h / 2);
  EXPECT_TRUE(Near(g.r, 128) && Near(g.g, 128) && Near(g.b, 128));
}

TEST(DecodeJpeg, DamagedDataFailsCleanlyAndLeavesNoPicture) {
  std::vector<unsigned char> good = SplashBytes();
  ASSERT_GT(good.size(), 100u);
  Image image;
  ASSERT_TRUE(DecodeJpeg(good.data(), good.size(), image));

  // Not a JPEG at all.
  std::vector<unsigned char> garbage(512);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 37 + 11);
  EXPECT_FALSE(DecodeJpeg(garbage.data(), garbage.size(), image));
  EXPECT_TRUE(image.empty());
  EXPECT_TRUE(image.pixels.empty());

  // Cut short: libjpeg would fill the rest with grey and only warn.
  ASSERT_TRUE(DecodeJpeg(good.data(), good.size(), image));
  EXPECT_FALSE(DecodeJpeg(good.data(), good.size() / 2, image));
  EXPECT_TRUE(image.empty());
  EXPECT_FALSE(DecodeJpeg(good.data(), 2, image));  // the start marker alone

  // Nothing at all.
  EXPECT_FALSE(DecodeJpeg(nullptr, 10, image));
  EXPECT_FALSE(DecodeJpeg(good.data(), 0, image));

  // A header that claims a huge picture is refused before any allocation.
  std::vector<unsigned char> huge = good;
  bool patched = false;
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // start of frame: length, precision, height, width
      huge[i + 5] = 0xFF;
      huge[i + 6] = 0xF0;
      huge[i + 7] = 0xFF;
      huge[i + 8] = 0xF0;
      patched = true;
      break;
    }
  }
  ASSERT_TRUE(patched);
  EXPECT_FALSE(DecodeJpeg(huge.data(), huge.size(), image));
  EXPECT_TRUE(image.empty());

  // The decoder is still usable after all these failures.
  EXPECT_TRUE(DecodeJpeg(good.data(), good.size(), image));
  EXPECT_EQ(image.width, 200);
}

TEST(Tlogo, BorderlessCentredWindowOfTheRightSize) {
  Tlogo logo;
  ASSERT_TRUE(logo.Create(Instance()));
  HWND h = logo.hwnd();
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(::IsWindowVisible(h));
  EXPECT_EQ(logo.Picture().width, 200);
  EXPECT_EQ(logo.Picture().height, 200);

  RECT client{}, window{};
  ::GetClientRect(h, &client);
  ::GetWindowRect(h, &window);
  EXPECT_EQ(client.right, 253);
  EXPECT_EQ(client.bottom, 185);
  EXPECT_EQ(window.right - window.left, 253);  // no frame around the client
  EXPECT_EQ(window.bottom - window.top, 185);
  EXPECT_EQ(window.left, (::GetSystemMetrics(SM_CXSCREEN) - 253) / 2);
  EXPECT_EQ(window.top, (::GetSystemMetrics(SM_CYSCREEN) - 185) / 2);
  const LONG style = ::GetWindowLongW(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
}

TEST(Tlogo, ShownAtOnceAndDeafToInput) {
  HWND before = ::GetForegroundWindow();
  Tlogo logo;
  ASSERT_TRUE(logo.Create(Instance()));
  logo.ShowAndPaint();
  HWND h = logo.hwnd();
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_FALSE(::IsWindowEnabled(h));
  EXPECT_NE(::GetForegroundWindow(), h);
  EXPECT_EQ(::GetForegroundWindow(), before);
  // The mouse finds nothing there, and a click does not activate it.
  RECT window{};
  ::GetWindowRect(h, &window);
  EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(window.left + 50, window.top + 50)), HTNOWHERE);
  EXPECT_EQ(::SendMessageW(h, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATEANDEAT);

  logo.Destroy();
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(logo.hwnd(), nullptr);
  logo.Destroy();  // twice is harmless
}

TEST(Tlogo, PaintsThePictureStretchedAndTheRedTitleOverIt) {
  Tlogo logo;
  ASSERT_TRUE(logo.Create(Instance()));
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = 253;
  bmi.bmiHeader.biHeight = -185;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueHBitmap bitmap(::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(bitmap);
  HGDIOBJ old = ::SelectObject(dc, bitmap.get());
  ::SendMessageW(logo.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::GdiFlush();
  auto at = [&](int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(bits) + (static_cast<size_t>(y) * 253 + x) * 4;
    return Rgb{p[2], p[1], p[0]};
  };
  // The picture's middle (its disc) lands in the middle of the window, its
  // corners near the window's corners: stretched over the whole panel.
  Rgb middle = at(126, 92);
  EXPECT_GT(middle.r, 200);
  EXPECT_GT(middle.g, 180);
  Rgb topLeft = at(6, 6);
  EXPECT_GT(topLeft.b, topLeft.r + 40);
  Rgb bottomRight = at(246, 178);
  EXPECT_GT(bottomRight.b, bottomRight.r + 40);
  // The outer border differs from the picture next to it.
  Rgb border = at(0, 90);
  Rgb inside = at(4, 90);
  EXPECT_FALSE(Near(border.r, inside.r) && Near(border.g, inside.g) && Near(border.b, inside.b));
  // Red title text in the band below (40, 24), nowhere above it.
  int redInTitle = 0, redAbove = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 253; ++x) {
      Rgb c = at(x, y);
      const bool red = c.r > 180 && c.g < 80 && c.b < 80;
      if (!red) continue;
      if (y >= 24 && x >= 40) ++redInTitle;
      else ++redAbove;
    }
  EXPECT_GT(redInTitle, 50);
  EXPECT_EQ(redAbove, 0);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace ferlane
