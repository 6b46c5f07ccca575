#pragma once
// One way to compare paths: the letter case folded as NTFS and FAT compare
// names (each letter to its simple upper case, nothing else changed), and
// the 64-bit digest that keys a folded path in the merge and the claim.
// No <windows.h>: the same answer natively and under Windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace ferlane {

// The upper case of one UTF-16 unit where the file system treats the two as
// one name: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
// Other units come back as they are.
wchar_t FoldPathChar(wchar_t c);

// Two spellings of one name fold alike: "C:\Données\Été" and "c:\DONNÉES\été".
std::wstring FoldPath(std::wstring_view path);
// The same, in place.
void FoldPathInPlace(std::wstring& path);

// Whether two paths name the same item by their text alone.
bool SamePathText(std::wstring_view a, std::wstring_view b);

// A 64-bit digest (FNV-1a over the UTF-16 units) of a folded path.
std::uint64_t PathKey(std::wstring_view foldedPath);

}  // namespace ferlane
