#include "app/Splash.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>

#include "platform/ScreenDpi.h"
#include "platform/WindowThunk.h"
#include "resource.h"

namespace ferlane {
namespace {

// libjpeg's own error exit ends the process: this one jumps back into the
// decoder instead, which then fails cleanly.
struct JpegErrors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }
// Warnings are still counted, but nothing is printed.
void PrintNothing(j_common_ptr) {}

// Larger than any picture the program carries; stops a damaged header from
// asking for gigabytes.
constexpr unsigned long long kMaxPixels = 16ull * 1024 * 1024;

}  // namespace

bool DecodeJpeg(const void* data, std::size_t size, Image& out) {
  out = Image{};
  if (!data || size == 0 || size > ULONG_MAX) return false;

  jpeg_decompress_struct cinfo{};
  JpegErrors errors{};
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = JumpOnError;
  errors.pub.output_message = PrintNothing;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    out = Image{};
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  // Grey and colour pictures both come out as RGB; CMYK is refused by libjpeg.
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);

  const unsigned long long pixels =
      static_cast<unsigned long long>(cinfo.output_width) * cinfo.output_height;
  bool ok = cinfo.output_components == 3 && pixels > 0 && pixels <= kMaxPixels;
  if (ok) {
    try {
      out.pixels.resize(static_cast<std::size_t>(pixels) * 4);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (ok) {
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    // The row buffer belongs to libjpeg's pool and goes with the decoder.
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * 3, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
      const std::size_t y = cinfo.output_scanline;
      if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
      std::uint8_t* dst = out.pixels.data() + y * static_cast<std::size_t>(out.width) * 4;
      const JSAMPLE* src = row[0];
      for (int x = 0; x < out.width; ++x, src += 3, dst += 4) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = 0;
      }
    }
    jpeg_finish_decompress(&cinfo);
    // A truncated or damaged stream is only warned about by libjpeg, which
    // fills the rest with grey: that is no picture to show either.
    ok = errors.pub.num_warnings == 0;
  }
  jpeg_destroy_decompress(&cinfo);
  if (!ok) out = Image{};
  return ok;
}

bool LoadJpegResource(HINSTANCE instance, int id, Image& out) {
  out = Image{};
  HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return false;
  HGLOBAL loaded = ::LoadResource(instance, info);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  const DWORD size = ::SizeofResource(instance, info);
  return data && DecodeJpeg(data, size, out);
}

// ---- Tlogo -------------------------------------------------------------------

Tlogo::~Tlogo() { Destroy(); }

bool Tlogo::Create(HINSTANCE instance) {
  if (hwnd_) return true;
  static const wchar_t kClass[] = L"Tlogo";
  WNDCLASSEXW existing{sizeof(existing)};
  if (!::GetClassInfoExW(instance, kClass, &existing)) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = &ThunkProc<Tlogo>;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    if (!::RegisterClassExW(&wc)) return false;
  }
  LoadJpegResource(instance, IDR_SPLASH_JPEG, picture_);
  dpi_ = ScreenDpi();
  titleFont_.reset(::CreateFontW(-dpi_.Px(19), 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));

  const int width = dpi_.Px(kWidth), height = dpi_.Px(kHeight);
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // Borderless, no taskbar button, and disabled: the splash takes no input.
  ::CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Ferlane", WS_POPUP | WS_DISABLED, x, y, width, height, nullptr,
                    nullptr, instance, this);
  return hwnd_ != nullptr;
}

void Tlogo::ShowAndPaint() {
  if (!hwnd_) return;
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(hwnd_);
}

void Tlogo::Destroy() {
  if (!hwnd_) return;
  ::ShowWindow(hwnd_, SW_HIDE);
  ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void Tlogo::Paint(HDC dc) const {
  RECT panel{0, 0, dpi_.Px(kWidth), dpi_.Px(kHeight)};
  // The panel: a single border, then a raised inner bevel.
  ::FrameRect(dc, &panel, ::GetSysColorBrush(COLOR_WINDOWFRAME));
  ::InflateRect(&panel, -1, -1);
  ::DrawEdge(dc, &panel, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);

  if (!picture_.empty()) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = picture_.width;
    bmi.bmiHeader.biHeight = -picture_.height;  // rows from the top
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top, 0, 0,
                    picture_.width, picture_.height, picture_.pixels.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
  } else {
    ::FillRect(dc, &panel, ::GetSysColorBrush(COLOR_BTNFACE));
  }

  static const wchar_t kTitle[] = L"FERLANE 1.0";
  HGDIOBJ oldFont = ::SelectObject(dc, titleFont_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 0, 0));
  ::TextOutW(dc, dpi_.Px(40), dpi_.Px(24), kTitle, static_cast<int>(sizeof(kTitle) / sizeof(kTitle[0]) - 1));
  ::SelectObject(dc, oldFont);
}

LRESULT Tlogo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTNOWHERE;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATEANDEAT;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      if (dc) Paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace ferlane
