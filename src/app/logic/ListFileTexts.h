#pragma once
// What the window says of its list file at close.
#include <cstddef>
#include <string>

namespace ferlane {

// One line for what another writer changed in the list file meanwhile: the
// rows it added that were kept, the rows it removed that stay removed.
std::wstring MergedRowsText(const std::wstring& listFile, std::size_t added, std::size_t removed);
// One line for a list file found deleted (missing) or emptied at close: its
// rows were written back, and where what stood in its place was kept.
std::wstring WrittenBackText(const std::wstring& listFile, std::size_t rows, bool missing, const std::wstring& copy);
// The rows of the list file that spelled one path ("C:\a", "c:/A\") were
// written as one: how many lines were joined to the first.
std::wstring JoinedRowsText(const std::wstring& listFile, std::size_t joined);
// A read-only list file: why it cannot be saved and what to do.
std::wstring ReadOnlyListText(const std::wstring& listFile);
// Another program changed the list file at every try of the save.
std::wstring KeepsChangingText(const std::wstring& listFile);

}  // namespace ferlane
