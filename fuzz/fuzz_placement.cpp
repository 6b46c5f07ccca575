// The placement reader on any four stored texts and any work area: the
// window it decides on is always usable.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/logic/Placement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first 16 bytes give a work area, the rest four texts split at '|'.
  if (size < 16) return 0;
  std::int32_t area[4];
  std::memcpy(area, data, 16);
  std::optional<std::wstring> texts[4];
  std::size_t field = 0;
  for (std::size_t i = 16; i < size && field < 4; ++i) {
    if (data[i] == '|') {
      ++field;
      continue;
    }
    if (!texts[field]) texts[field].emplace();
    texts[field]->push_back(static_cast<wchar_t>(data[i]));
  }
  for (const auto& t : texts)
    if (t) {
      auto v = ferlane::ParseDecimalInt(*t);
      if (v && std::to_wstring(*v) != *t && (*t)[0] != L'+' && (*t)[0] != L'0' &&
          !(t->size() > 1 && (*t)[0] == L'-' && (*t)[1] == L'0'))
        std::abort();  // a plain decimal reads back as itself
    }
  ferlane::WindowBounds bounds;
  ferlane::ApplyPlacementTexts(bounds, texts);
  const std::vector<ferlane::WorkArea> areas{{area[0], area[1], area[2], area[3]}};
  const ferlane::WindowBounds used = ferlane::UsablePlacement(bounds, areas);
  // The fallback: the design size, cut to the work area at the origin.
  const ferlane::WindowBounds design = ferlane::DesignPlacement(ferlane::kDesignDpi, areas);
  const bool isDesign = used.left == design.left && used.top == design.top && used.width == design.width &&
                        used.height == design.height;
  if (!isDesign && !ferlane::IsUsablePlacement(used, areas)) std::abort();
  if (used.width < ferlane::kMinUsableWidth || used.height < ferlane::kMinUsableHeight) std::abort();
  return 0;
}
