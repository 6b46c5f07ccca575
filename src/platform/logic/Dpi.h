#pragma once
// Sizes for the screen's DPI. Every figure of the layout is a pixel count at
// 96 DPI (100 %); it is scaled once, where it is used, so that a larger font
// gets a larger control instead of a cut caption.
namespace ferlane {

inline constexpr int kDesignDpi = 96;

// design * dpi / 96, rounded half away from zero (as MulDiv), saturated to
// the range of int.
int ScaleForDpi(int design, int dpi);
// The DPI to lay out by: what the screen reports, or 96 when that is not a
// plausible screen (nothing, a failed call, a corrupt setting).
int UsableDpi(int reported);
// The height for CreateFont of a font of `points` points: negative, so that
// it is the characters' height as the point size means.
int FontHeightForDpi(int points, int dpi);

// The pictures are drawn at four sizes, one per step: 96, 120, 144 and 192
// DPI. A screen gets the largest step not above its DPI, so a picture is never
// larger than the room made for it.
inline constexpr int kPictureSteps = 4;
inline constexpr int kPictureStepDpi[kPictureSteps] = {96, 120, 144, 192};
int PictureStep(int dpi);
// The small pictures of tabs, menus and buttons: 16, 20, 24 or 32 pixels.
int SmallPictureSize(int dpi);
// The toolbar's pictures: 42 pixels at 96 DPI, scaled for the step.
int ToolbarPictureSize(int dpi);

// The screen's DPI with the scaling of design figures; read once at start.
struct Dpi {
  int value = kDesignDpi;
  // A design figure (pixels at 96 DPI) in this screen's pixels.
  int Px(int design) const { return ScaleForDpi(design, value); }
};

}  // namespace ferlane
