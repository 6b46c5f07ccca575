#pragma once
// Reading and writing the per-user list file. Files are ANSI text as before;
// a list holding a path the ANSI code page cannot spell is written as UTF-8
// behind a byte-order mark instead, so no path is saved as "?".
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UniqueHandle.h"
#include "protect/logic/ExactPath.h"

namespace ferlane {

// The file's lines. A missing file (or folder) gives no lines and
// ERROR_SUCCESS; a file that exists but cannot be read gives the system's
// error code. Other programs may read, write or delete it meanwhile.
// whole (optional) tells whether every byte of the file went into the lines.
DWORD ReadListFile(const std::wstring& fileName, std::vector<std::wstring>& lines, bool* whole = nullptr);

// What tells that a list file was changed since it was read: its size and
// last write time. False when the file cannot be asked.
struct ListFileStamp {
  unsigned long long size = 0, written = 0;
  bool operator==(const ListFileStamp&) const = default;
};
bool StampListFile(const std::wstring& fileName, ListFileStamp& stamp);

// The steps of a save, for a test that stops it after one of them as a
// crash or a kill would: nothing after that step runs, not even the cleanup.
enum class ListSaveStep { Write, Flush, Rename };
using ListSaveStop = std::function<bool(ListSaveStep)>;

// Replaces the file's content with the lines, each ended by CR LF; an empty
// list gives a zero-byte file. The old file stays whole until the new one is
// complete on disk. A read-only list file is not replaced (ERROR_ACCESS_DENIED).
// The new file carries the private rights before it takes the old one's
// place; *rightsError, when given, tells whether the system refused them (the
// list is written all the same). Returns ERROR_SUCCESS or the system's error
// code.
DWORD WriteListFile(const std::wstring& fileName, const std::vector<std::wstring>& lines,
                    const ListSaveStop& stopAfter = {});
// The same with the file's bytes already encoded (EncodeListLines).
DWORD WriteListBytes(const std::wstring& fileName, const std::string& bytes, const ListSaveStop& stopAfter = {},
                     DWORD* rightsError = nullptr);

// Deletes the temporary files a save killed half-way left in the list file's
// folder: only those no one holds open. A save in progress keeps its own
// open until its rename, so it is spared.
void RemoveStaleListTempFiles(const std::wstring& fileName);

// Keeps bytes a list file held (one that could not be read whole, or that
// held lines nothing could place) under the first free name of
// ListBackupName, private from its creation; the name used, empty on
// failure. *rightsError (when given) tells a refusal of the rights.
std::wstring BackUpListBytes(const std::wstring& fileName, const std::string& bytes, DWORD& error,
                             DWORD* rightsError = nullptr);

// The file's bytes; exists false (and ERROR_SUCCESS) when there is no such
// file, or a folder has the name. Every sharing is allowed, so no writer is
// refused; a writer holding the file unshared for a moment is waited for a
// little (ERROR_SHARING_VIOLATION after that).
DWORD ReadListBytes(const std::wstring& fileName, std::string& bytes, bool& exists);
// The one decoding of a list file's bytes on Windows (DetectListEncoding's,
// with the system's ANSI code page) into one text, lines not yet split
// (ListLineSpans finds them); false when some bytes do not decode. A NUL
// byte is left in the text, for the split to stop at.
bool DecodeListFileBytes(std::string_view bytes, std::wstring& text);

// A save's new file, held open from its creation until it has taken the
// list's place or been thrown away (shared for read and delete, so that the
// rename can take it): another window's clean-up never takes it for debris.
struct ListTemp {
  std::wstring name;
  UniqueFile file;
};

// The three steps of a save, apart, so that what is on disk can be checked
// between the write and the rename: the bytes written, flushed, to a new
// file beside the list (private from creation; *rightsError tells a
// refusal), then renamed over the list (the temporary file is gone on
// failure), or thrown away.
DWORD CreateListTemp(const std::wstring& fileName, const std::string& bytes, ListTemp& temp, DWORD* rightsError,
                     const ListSaveStop& stopAfter = {});
DWORD CommitListTemp(ListTemp& temp, const std::wstring& fileName);
void DiscardListTemp(ListTemp& temp);
bool IsReadOnlyFile(const std::wstring& fileName);

// The bytes of a list file, and back.
std::string EncodeListLines(const std::vector<std::wstring>& lines);
// The same for count lines handed out one by one, so a long list is
// encoded straight from where it is kept, without a copy; a null view is
// no line at all.
std::string EncodeListLines(std::size_t count, const std::function<std::wstring_view(std::size_t)>& line);
std::vector<std::wstring> DecodeListBytes(std::string_view bytes, bool* whole = nullptr);

// "Impossible d'ouvrir le fichier "<name>". <system reason>"
std::wstring OpenListFileErrorText(const std::wstring& fileName, DWORD error);
// "Impossible de créer le fichier "<name>". <system reason>"
std::wstring CreateListFileErrorText(const std::wstring& fileName, DWORD error);

// What a list path names on this system: a folder, a device (by its name,
// never opened, or by what the system answers for it), else a file on disk
// or nothing yet. A list file can only be the last.
ListFileKind ListPathKind(const std::wstring& fileName);

}  // namespace ferlane
