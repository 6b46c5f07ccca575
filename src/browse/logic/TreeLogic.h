#pragma once
// The text rules of the directory tree: node paths from node texts, drive
// captions and their keys, the segment walk that finds a folder's node, and
// the checks and questions of an in-place folder rename.
#include <string>
#include <vector>

namespace ferlane::treelogic {

// The path standing for the root (the list of drives).
inline constexpr wchar_t kDrivesPath[] = L"Drives";

// True for "Drives" in any letter case.
bool IsDrivesPath(const std::wstring& path);

// " (" + letter + ":)  " + the display name up to, not including, its first "(".
std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName);

// "C:\" for a caption " (C:)  ...": the characters at positions 3 and 4 and a
// backslash; empty when the caption is too short to hold them.
std::wstring DriveKey(const std::wstring& caption);

// The path of a node from the texts of the nodes from the root (index 0) down
// to it: the root gives "", a drive "X:\", a deeper folder "X:\A\B" (no
// trailing backslash).
std::wstring NodePathFromTexts(const std::vector<std::wstring>& texts);

// What the selection of a node at `level` with this node path stands for:
// "Drives" for the root, the node path otherwise.
std::wstring SelectionPath(int level, const std::wstring& nodePath);

// The segments of a folder path as the tree walks them: each text up to and
// including a backslash ("C:\", "Windows\", ...). Text after the last
// backslash is not a segment.
std::vector<std::wstring> PathSegments(const std::wstring& path);

// Whether a segment names the node of `level` with `text`, ignoring case. The
// root never matches; a drive matches by its key, a folder by text + "\".
bool SegmentMatches(const std::wstring& segment, int level, const std::wstring& text);

enum class NameCheck { Ok, Empty, InvalidChars };
// A new folder name: not empty and none of the characters kInvalidFolderChars.
NameCheck CheckFolderName(const std::wstring& name);

// The error shown for a refused name: the message text, CR, the name.
std::wstring InvalidNameMessage(const std::wstring& message, const std::wstring& name);

// The rename question: question, two CRs, four blanks, from label, old name,
// CR, four blanks, to label, new name.
std::wstring RenameQuestion(const std::wstring& question, const std::wstring& fromLabel,
                            const std::wstring& toLabel, const std::wstring& oldName,
                            const std::wstring& newName);

// The path a folder gets when renamed: the folder part of oldPath (its
// trailing backslash ignored) + newName.
std::wstring RenamedPath(const std::wstring& oldPath, const std::wstring& newName);

}  // namespace ferlane::treelogic
