#include "protect/ListFile.h"

#include <algorithm>
#include <unordered_set>

#include "platform/FolderIdentity.h"

namespace ferlane {
namespace {

// A merge that meets a file changed again since its read tries anew; a
// writer that never stops makes the save give up and say so.
constexpr int kSaveTries = 5;

std::uint64_t KeyOf(std::wstring_view path, std::wstring&) { return ListPathKey(path); }

// Each line of a run of remarks (CR LF between them).
template <class F>
void EachRemarkLine(std::wstring_view run, F&& f) {
  if (!run.data()) return;
  for (std::size_t at = 0;;) {
    const std::size_t end = std::min(run.find(L"\r\n", at), run.size());
    f(run.substr(at, end - at));
    if (end == run.size()) return;
    at = end + 2;
  }
}

// Whether some remark line of disk would not be written by the merge.
bool LeavesRemarks(const ListContent& disk, const MergeResult& merge, const IListRows& rows) {
  if (disk.remarks.empty()) return false;
  std::unordered_set<std::wstring_view> written;
  auto add = [&](std::wstring_view line) { written.insert(line); };
  for (const MergePick& pick : merge.rows)
    EachRemarkLine(pick.fromDisk ? disk.RemarksBefore(pick.index) : rows.RemarksBefore(pick.index), add);
  EachRemarkLine(rows.RemarksAfterLast(), add);
  bool left = false;
  for (const ListContent::Remarks& run : disk.remarks)
    EachRemarkLine(run.text, [&](std::wstring_view line) { left = left || !written.count(line); });
  return left;
}

bool SameStamp(const std::wstring& fileName, bool stamped, const ListFileStamp& stamp) {
  ListFileStamp now;
  const bool stampedNow = StampListFile(fileName, now);
  return stampedNow == stamped && (!stamped || now == stamp);
}

}  // namespace

void ListFile::Parse(const std::string& bytes, ListContent& content) {
  content = ListContent{};
  const bool decoded = DecodeListFileBytes(bytes, content.text);
  bool whole = true;
  content.lines = ListLineSpans(content.text, &whole);
  content.whole = decoded && whole;
  const std::wstring_view text(content.text);
  const std::vector<LineSpan>& lines = content.lines;
  ListLayout layout = LayOutListLines(
      lines.size(), [&](std::size_t i) { return text.substr(lines[i].at, lines[i].length); });
  content.records = std::move(layout.records);
  auto texts = [&](const std::vector<std::size_t>& at, std::vector<std::wstring>& out) {
    for (std::size_t line : at) out.emplace_back(text.substr(lines[line].at, lines[line].length));
  };
  texts(layout.strays, content.strays);
  texts(layout.words, content.words);
  // Each remark stays before the record that followed it.
  std::size_t next = 0;
  for (std::size_t line : layout.remarks) {
    while (next < content.records.size() && content.records[next].line < line) ++next;
    if (content.remarks.empty() || content.remarks.back().record != next) content.remarks.push_back({next, {}});
    else content.remarks.back().text += L"\r\n";
    content.remarks.back().text += text.substr(lines[line].at, lines[line].length);
  }
  content.joined = layout.joined;
}

std::wstring_view ListContent::RemarksBefore(std::size_t record) const {
  const auto at = std::lower_bound(remarks.begin(), remarks.end(), record,
                                   [](const Remarks& r, std::size_t wanted) { return r.record < wanted; });
  return at != remarks.end() && at->record == record ? std::wstring_view(at->text) : std::wstring_view();
}

std::string EncodeRecords(std::size_t count, const std::function<std::wstring_view(std::size_t)>& remarks,
                          const std::function<std::wstring_view(std::size_t)>& path,
                          const std::function<ItemType(std::size_t)>& type, std::wstring_view trailing) {
  // Three lines a record, any of them none: its remarks (one view, CR LF
  // inside), its path, its type word; then the remarks after the last.
  return EncodeListLines(count * 3 + 1, [&](std::size_t line) {
    const std::size_t record = line / 3;
    if (record == count) return trailing;
    switch (line % 3) {
      case 0: return remarks(record);
      case 1: return path(record);
      default: return TypeLine(type(record));
    }
  });
}

std::vector<MergeRow> ListFile::Keys(const ListContent& content) {
  std::vector<MergeRow> keys(content.records.size());
  std::wstring folded;
  for (std::size_t r = 0; r < keys.size(); ++r) keys[r] = {KeyOf(content.Path(r), folded), content.records[r].type};
  return keys;
}

DWORD ListFile::Read(const std::wstring& fileName, ListContent& content) {
  based_ = false;
  identity_.clear();
  ownForm_ = false;
  content = ListContent{};
  std::string bytes;
  bool exists = false;
  if (const DWORD error = ReadListBytes(fileName, bytes, exists)) return error;
  Parse(bytes, content);
  // A file in the very form a save would give needs no rewriting at close
  // while neither the list nor the file changes: a long list closes at once.
  if (exists && !content.Unplaced() && content.joined == 0) {
    const std::size_t count = content.records.size();
    ownForm_ = EncodeRecords(
                   count, [&](std::size_t r) { return content.RemarksBefore(r); },
                   [&](std::size_t r) { return content.Path(r); }, [&](std::size_t r) { return content.records[r].type; },
                   content.RemarksBefore(count)) == bytes;
  }
  based_ = true;
  identity_ = FolderIdentityAndName(fileName);
  existed_ = exists;
  unplaced_ = content.Unplaced();
  baseBytes_ = std::move(bytes);
  return ERROR_SUCCESS;
}

std::vector<MergeRow> ListFile::WindowKeys(const IListRows& rows) {
  std::vector<MergeRow> window(rows.Count());
  std::wstring folded;
  for (std::size_t i = 0; i < window.size(); ++i) window[i] = {KeyOf(rows.Path(i), folded), rows.Type(i), rows.AddedHere(i)};
  return window;
}

std::vector<MergeRow> ListFile::BaseKeys() const {
  ListContent was;
  if (based_ && !baseBytes_.empty()) Parse(baseBytes_, was);
  return Keys(was);
}

std::string ListFile::Encode(const MergeResult& merge, const ListContent& disk, const IListRows& rows) {
  const std::vector<MergePick>& picks = merge.rows;
  return EncodeRecords(
      picks.size(),
      [&](std::size_t r) {
        const MergePick& pick = picks[r];
        return pick.fromDisk ? disk.RemarksBefore(pick.index) : rows.RemarksBefore(pick.index);
      },
      [&](std::size_t r) {
        const MergePick& pick = picks[r];
        return pick.fromDisk ? disk.Path(pick.index) : rows.Path(pick.index);
      },
      [&](std::size_t r) { return picks[r].type; }, rows.RemarksAfterLast());
}

bool ListFile::StillAsRead(const std::wstring& fileName, bool exists, const std::string& bytes, bool stamped,
                           const ListFileStamp& stamp) {
  std::string again;
  bool existsAgain = false;
  return ReadListBytes(fileName, again, existsAgain) == ERROR_SUCCESS && existsAgain == exists && again == bytes &&
         SameStamp(fileName, stamped, stamp);
}

void ListFile::TakeWrittenAsBase(const std::wstring& fileName, std::string written) {
  based_ = true;
  identity_ = FolderIdentityAndName(fileName);
  existed_ = true;
  baseBytes_ = std::move(written);
  ownForm_ = true;
  unplaced_ = false;
}

ListFile::Saved ListFile::Save(const std::wstring& fileName, const IListRows& rows, bool rowsChanged,
                               const ListSaveStop& stopAfter) {
  Saved out;
  // Another file under the name (its folder replaced, or no identity to be
  // had): rows it lacks were never removed by a writer of this list.
  const bool sameFile = !existed_ || (!identity_.empty() && identity_ == FolderIdentityAndName(fileName));
  std::vector<MergeRow> window, base;  // made only when something is written
  bool keyed = false, baseParsed = false;
  std::string copied;  // the bytes a copy was made of
  for (int attempt = 0; attempt < kSaveTries; ++attempt) {
    ListFileStamp stamp;
    const bool stamped = StampListFile(fileName, stamp);
    std::string bytes;
    bool exists = false;
    if ((out.error = ReadListBytes(fileName, bytes, exists)) != ERROR_SUCCESS) return out;
    const bool unchanged = based_ && exists == existed_ && bytes == baseBytes_;
    out.disk = ListContent{};
    out.merge = MergeResult{};
    out.missing = !exists;
    // Nothing to save: the file holds the rows already, or is read-only and
    // holds what it held, in whatever form.
    if (unchanged && !rowsChanged && ((ownForm_ && !unplaced_) || IsReadOnlyFile(fileName))) return out;
    if (!keyed) {
      keyed = true;
      window = WindowKeys(rows);
    }
    if (unchanged) {
      out.merge = MergeRows({}, window, {});  // each path once
    } else {
      if (!baseParsed) {
        baseParsed = true;
        base = BaseKeys();
      }
      Parse(bytes, out.disk);
      out.merge = MergeRows(base, window, Keys(out.disk), sameFile);
    }
    // A read-only file is the user's choice: it is not replaced.
    if (exists && IsReadOnlyFile(fileName)) {
      out.error = ERROR_ACCESS_DENIED;
      return out;
    }
    // What could not be placed, or what stands in a lost list's place,
    // leaves the file only once kept in a copy. A remark another writer put
    // before a row this window keeps is not merged: the file is kept in a
    // copy when one would not be written.
    const bool remarksLeft = !unchanged && LeavesRemarks(out.disk, out.merge, rows);
    const bool keep = out.disk.Unplaced() || remarksLeft || (unchanged && unplaced_) ||
                      (out.merge.writtenBack && !bytes.empty());
    if (exists && keep && !(!out.copy.empty() && copied == bytes)) {
      DWORD error = ERROR_SUCCESS;
      out.copy = BackUpListBytes(fileName, bytes, error, &out.rightsError);
      if (out.copy.empty()) {
        out.error = error ? error : static_cast<DWORD>(ERROR_FILE_EXISTS);
        return out;
      }
      copied = bytes;
    }
    std::string encoded = Encode(out.merge, out.disk, rows);
    ListTemp temp;
    DWORD refused = ERROR_SUCCESS;
    if ((out.error = CreateListTemp(fileName, encoded, temp, &refused, stopAfter)) != ERROR_SUCCESS) return out;
    if (refused) out.rightsError = refused;
    // Still the file merged? A writer busy meanwhile (its last line maybe
    // cut) has it merged again rather than lost.
    if (!StillAsRead(fileName, exists, bytes, stamped, stamp)) {
      DiscardListTemp(temp);
      continue;
    }
    if ((out.error = CommitListTemp(temp, fileName)) != ERROR_SUCCESS) return out;
    if (stopAfter && stopAfter(ListSaveStep::Rename)) {
      out.error = ERROR_CANCELLED;
      return out;
    }
    out.written = true;
    // The file written is the base of the next save.
    TakeWrittenAsBase(fileName, std::move(encoded));
    return out;
  }
  out.error = kListKeepsChanging;
  return out;
}

}  // namespace ferlane
