#pragma once
// The name under which a move across volumes sets its source aside while it
// copies: the source's name, this mark, and "-2", "-3"... when taken.
#include <string_view>

namespace ferlane {

inline constexpr wchar_t kAsideMark[] = L".ferlane-deplacement";

// Whether a file or folder name is such an aside name (letter case aside):
// what carries it was left by a move that a crash or a refused put-back
// did not let finish.
bool HasAsideMark(std::wstring_view name);

}  // namespace ferlane
