#include "protect/ListFileIo.h"

#include <gtest/gtest.h>

#include "platform/ErrorText.h"
#include "protect/ProtectTestSupport.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using Lines = std::vector<std::wstring>;

const Lines kExample{L"C:\\Documents and Settings\\dupont\\Mes documents\\Priv\u00E9", L"Dossier",
                     L"C:\\Comptes\\budget.xls", L"Fichier"};
const char kExampleBytes[] =
    "C:\\Documents and Settings\\dupont\\Mes documents\\Priv\xE9\r\nDossier\r\n"
    "C:\\Comptes\\budget.xls\r\nFichier\r\n";

// Every file in the folder but the list itself, to catch a left-over temp file.
std::vector<std::wstring> OtherFiles(const test::ScratchDir& dir, const std::wstring& keep) {
  std::vector<std::wstring> names = test::FilesIn(dir);
  std::erase(names, keep);
  return names;
}

TEST(ListFileEncoding, AnsiWhenTheCodePageHoldsEveryLine) {
  ASSERT_EQ(::GetACP(), 1252u) << "the byte expectations assume Windows-1252";
  EXPECT_EQ(EncodeListLines(kExample), kExampleBytes);
  EXPECT_EQ(EncodeListLines({}), "");
  EXPECT_EQ(DecodeListBytes(kExampleBytes), kExample);
}

TEST(ListFileEncoding, Utf8WithMarkWhenALineNeedsIt) {
  // Greek and Japanese have no Windows-1252 spelling; "é" on the other line
  // must then be written as UTF-8 too.
  Lines lines{L"C:\\\u03A9mega\\\u65E5\u672C", L"Dossier", L"C:\\Priv\u00E9", L"Fichier"};
  std::string bytes = EncodeListLines(lines);
  EXPECT_EQ(bytes,
            "\xEF\xBB\xBF"
            "C:\\\xCE\xA9mega\\\xE6\x97\xA5\xE6\x9C\xAC\r\nDossier\r\nC:\\Priv\xC3\xA9\r\nFichier\r\n");
  EXPECT_EQ(DecodeListBytes(bytes), lines);
}

TEST(ListFileEncoding, NoBestFitSubstitution) {
  // A best-fit mapping would silently turn this letter into a plain "a".
  Lines lines{L"C:\\\u0101", L"Fichier"};
  EXPECT_TRUE(EncodeListLines(lines).starts_with("\xEF\xBB\xBF"));
  EXPECT_EQ(DecodeListBytes(EncodeListLines(lines)), lines);
}

TEST(ListFileEncoding, AnsiTextThatLooksLikeAnotherFormIsWrittenAsUtf8) {
  // The mark itself, UTF-16's marks, and Windows-1252 letters whose bytes
  // are valid UTF-8 ("Ã©" is the UTF-8 of "é"): each must load as written.
  for (const Lines& lines : {Lines{L"\u00EF\u00BB\u00BFodd", L"Fichier"}, Lines{L"\u00FF\u00FEx", L"Fichier"},
                             Lines{L"\u00FE\u00FFx", L"Fichier"}, Lines{L"C:\\caf\u00C3\u00A9", L"Dossier"}}) {
    const std::string bytes = EncodeListLines(lines);
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << bytes;
    EXPECT_EQ(DecodeListBytes(bytes), lines);
  }
}

TEST(ListFileRead, MissingFileOrFolderIsAnEmptyListWithoutError) {
  test::ScratchDir dir;
  Lines lines{L"stale"};
  EXPECT_EQ(ReadListFile(dir / L"nobody", lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(ReadListFile(dir / L"no-folder\\nobody", lines), static_cast<DWORD>(ERROR_SUCCESS));
  dir.Folder(L"dupont");
  EXPECT_EQ(ReadListFile(dir / L"dupont", lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(lines.empty());
}

TEST(ListFileRead, ReadsEveryLineEndAndStopsAtNul) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, std::string("a\rb\nc\r\nd\0e\r\n", 13)));
  Lines lines;
  ASSERT_EQ(ReadListFile(name, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(lines, (Lines{L"a", L"b", L"c"}));  // "d" may be the start of a longer line
}

TEST(ListFileRead, FileHeldExclusivelyReportsTheSystemError) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, kExampleBytes));
  HANDLE lock = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Lines lines;
  EXPECT_EQ(ReadListFile(name, lines), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(lines.empty());
  ::CloseHandle(lock);
}

TEST(ListFileWrite, WritesTheLinesByteForByte) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_EQ(WriteListFile(name, kExample), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(name), kExampleBytes);
  EXPECT_TRUE(OtherFiles(dir, L"dupont").empty());
}

TEST(ListFileWrite, EmptyListReplacesTheFileWithZeroBytes) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, kExampleBytes));
  ASSERT_EQ(WriteListFile(name, {}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(::GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadBytes(name), "");
  Lines lines{L"stale"};
  EXPECT_EQ(ReadListFile(name, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(lines.empty());
}

TEST(ListFileWrite, RefusedReplacementKeepsTheOldListWhole) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, kExampleBytes));
  // Another program holds the list open and lets nobody replace it.
  HANDLE holder = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  DWORD error = WriteListFile(name, {L"C:\\other", L"Fichier"});
  ::CloseHandle(holder);
  EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(name), kExampleBytes);
  EXPECT_TRUE(OtherFiles(dir, L"dupont").empty()) << "the half-made file must not stay behind";
}

TEST(ListFileWrite, ReplacesTheFileByRenameNotByWritingIntoIt) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, kExampleBytes));
  // A second name of the old file: after a rename it still holds the old
  // bytes; after a write in place it would hold the new ones.
  const std::wstring oldFile = dir / L"old-link";
  ASSERT_TRUE(::CreateHardLinkW(oldFile.c_str(), name.c_str(), nullptr));
  ASSERT_EQ(WriteListFile(name, {L"C:\\other", L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(oldFile), kExampleBytes);
  EXPECT_EQ(ReadBytes(name), "C:\\other\r\nFichier\r\n");
}

TEST(ListFileWrite, MissingFolderIsReportedAndNothingIsCreated) {
  test::ScratchDir dir;
  std::wstring name = dir / L"gone\\dupont";
  EXPECT_NE(WriteListFile(name, kExample), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(::GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ListFileWrite, HiddenListFileStaysHidden) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  ASSERT_TRUE(WriteBytes(name, kExampleBytes));
  ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(WriteListFile(name, {L"C:\\x", L"Fichier"}), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(name), "C:\\x\r\nFichier\r\n");
  EXPECT_TRUE(::GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(ListFileWrite, NonAnsiPathSurvivesWriteAndRead) {
  test::ScratchDir dir;
  std::wstring name = dir / L"dupont";
  Lines lines{L"C:\\\u03A9mega\\\u65E5\u672C", L"Dossier", L"C:\\Priv\u00E9", L"Fichier"};
  ASSERT_EQ(WriteListFile(name, lines), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(ReadBytes(name).starts_with("\xEF\xBB\xBF"));
  Lines back;
  ASSERT_EQ(ReadListFile(name, back), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(back, lines);
}

TEST(ListFileMessages, NameTheFileAndGiveTheSystemReason) {
  std::wstring reason = SystemErrorText(ERROR_ACCESS_DENIED);
  EXPECT_EQ(ProtectedList::OpenErrorText(L"C:\\Outils\\dupont", ERROR_ACCESS_DENIED),
            L"Impossible d'ouvrir le fichier \"C:\\Outils\\dupont\". " + reason);
  EXPECT_EQ(ProtectedList::CreateErrorText(L"C:\\Outils\\dupont", ERROR_ACCESS_DENIED),
            L"Impossible de cr\u00E9er le fichier \"C:\\Outils\\dupont\". " + reason);
}

}  // namespace
}  // namespace ferlane
