#pragma once
// The user's list on disk, apart from the view that shows it: its reading
// (any line shape), the file as the view last read or wrote it (the base),
// and a save that merges the view's rows with whatever another writer (a
// script, Notepad, another window) put in the file meanwhile, then writes
// only when the file is still the one merged.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "protect/ListFileIo.h"
#include "protect/logic/ListFile.h"
#include "protect/logic/ListMerge.h"

namespace ferlane {

// The save gave up: the file changed again each time it was merged (a
// writer that never stops). An application code, never the system's.
inline constexpr DWORD kListKeepsChanging = 0x20000001;

// A list file's text with its records: the paths are spans of text.
struct ListContent {
  std::wstring text;
  std::vector<LineSpan> lines;
  std::vector<ListRecordAt> records;  // one per path; Unknown type where no type word followed
  std::vector<std::wstring> strays;   // type words that follow no path
  std::vector<std::wstring> words;    // words after a path that are no type word
  // The remarks (lines beginning with ";" or "#"), each run of them with the
  // record it stands before (records.size(): after the last), its lines
  // joined by CR LF; by record.
  struct Remarks {
    std::size_t record = 0;
    std::wstring text;
  };
  std::vector<Remarks> remarks;
  std::size_t joined = 0;  // path lines joined to an earlier spelling of their path
  bool whole = true;       // false: a NUL or an undecodable byte cut the text
  std::wstring_view Path(std::size_t record) const {
    const LineSpan& span = lines[records[record].line];
    return std::wstring_view(text).substr(span.at, span.length);
  }
  // The remarks before a record (records.size(): after the last); a null
  // view when there are none.
  std::wstring_view RemarksBefore(std::size_t record) const;
  // Something in the file could not be placed: it is kept in a copy before
  // the file is replaced.
  bool Unplaced() const { return !whole || !strays.empty() || !words.empty(); }
};

// A list's bytes: for each of count records its remarks, its path and its
// type word (no line while the type is unknown), then the remarks after the
// last record.
std::string EncodeRecords(std::size_t count, const std::function<std::wstring_view(std::size_t)>& remarks,
                          const std::function<std::wstring_view(std::size_t)>& path,
                          const std::function<ItemType(std::size_t)>& type, std::wstring_view trailing);

// The rows a view keeps, as the document reads them to save.
class IListRows {
 public:
  virtual ~IListRows() = default;
  virtual std::size_t Count() const = 0;
  virtual std::wstring_view Path(std::size_t row) const = 0;
  virtual ItemType Type(std::size_t row) const = 0;
  // Added since the file was last read or written (a drop).
  virtual bool AddedHere(std::size_t row) const = 0;
  // The remarks kept before a row, and after the last; null views for none.
  virtual std::wstring_view RemarksBefore(std::size_t) const { return {}; }
  virtual std::wstring_view RemarksAfterLast() const { return {}; }
};

class ListFile {
 public:
  // The file's content, which becomes the base. A missing file is an empty
  // list (ERROR_SUCCESS); on an error the base is unknown.
  DWORD Read(const std::wstring& fileName, ListContent& content);

  struct Saved {
    DWORD error = ERROR_SUCCESS;
    bool written = false;
    // The rows now in the file: picks of the view's rows and of disk's.
    MergeResult merge;
    ListContent disk;  // the file as merged (when another writer changed it)
    bool missing = false;  // no file was there (merge.writtenBack tells a lost list)
    std::wstring copy;  // where what could not be placed, or a lost list's file, was kept
    DWORD rightsError = ERROR_SUCCESS;
  };
  // Merges rows with the file as it is now against the base and writes the
  // result, unless the file already holds it or is read-only and nothing
  // changed. rowsChanged: the view's rows differ from the base's. The file
  // is checked just before the rename; when it changed since its merge, it
  // is merged again (a few tries).
  Saved Save(const std::wstring& fileName, const IListRows& rows, bool rowsChanged, const ListSaveStop& stopAfter = {});

 private:
  // The content of bytes, as written: no type is asked of the disk.
  static void Parse(const std::string& bytes, ListContent& content);
  static std::vector<MergeRow> Keys(const ListContent& content);
  // The steps of a save: the view's rows keyed; the base's rows keyed; the
  // merged rows written out; whether the file is still what was merged (a
  // writer busy meanwhile); the written bytes made the next save's base.
  static std::vector<MergeRow> WindowKeys(const IListRows& rows);
  std::vector<MergeRow> BaseKeys() const;
  static std::string Encode(const MergeResult& merge, const ListContent& disk, const IListRows& rows);
  static bool StillAsRead(const std::wstring& fileName, bool exists, const std::string& bytes, bool stamped,
                          const ListFileStamp& stamp);
  void TakeWrittenAsBase(const std::wstring& fileName, std::string written);

  // The base: the file's bytes as this window last read or wrote them, kept
  // whole rather than as rows, so that a long list pays for its rows' keys
  // only when it is written. It stays the base whatever the file's identity
  // says at close; a changed identity only makes the merge keep what the
  // file lacks.
  bool based_ = false;     // a read or a write succeeded
  std::wstring identity_;  // FolderIdentityAndName of the file the base is of
  bool existed_ = false;
  std::string baseBytes_;
  bool ownForm_ = false;
  bool unplaced_ = false;  // the base held what could not be placed
};

}  // namespace ferlane
