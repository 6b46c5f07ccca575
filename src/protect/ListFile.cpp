#include "protect/ListFile.h"

#include "platform/FileIdentity.h"
#include "platform/logic/PathFold.h"
#include "protect/logic/ExactPath.h"

namespace ferlane {
namespace {

// A merge that meets a file changed again since its read tries anew; a
// writer that never stops makes the save give up and say so.
constexpr int kSaveTries = 5;

// A path no type word follows is a folder or a file as the disk says; one
// that is not there, or cannot be used, is a file.
ItemType TypeOnDisk(std::wstring_view path) {
  const std::wstring text(path);
  if (!IsUsableListPath(text)) return ItemType::File;
  const DWORD attributes = ::GetFileAttributesW(ExactPath(text).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ItemType::Folder
                                                                                           : ItemType::File;
}

std::uint64_t KeyOf(std::wstring_view path, std::wstring& folded) {
  folded.assign(path);
  FoldPathInPlace(folded);
  return PathKey(folded);
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
  for (std::size_t line : layout.strays) content.strays.emplace_back(text.substr(lines[line].at, lines[line].length));
  for (std::size_t r = 0; r < content.records.size(); ++r)
    if (!content.records[r].typed) content.records[r].type = TypeOnDisk(content.Path(r));
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
  bool typed = true;
  for (const ListRecordAt& record : content.records) typed = typed && record.typed;
  // A file in the very form a save would give needs no rewriting at close
  // while neither the list nor the file changes: a long list closes at once.
  if (exists && typed && !content.Unplaced()) {
    ownForm_ = EncodeListLines(content.records.size() * 2, [&](std::size_t line) {
                 return line % 2 ? std::wstring_view(TypeWord(content.records[line / 2].type)) : content.Path(line / 2);
               }) == bytes;
  }
  based_ = true;
  identity_ = FileIdentity(fileName);
  existed_ = exists;
  unplaced_ = content.Unplaced();
  baseBytes_ = std::move(bytes);
  return ERROR_SUCCESS;
}

ListFile::Saved ListFile::Save(const std::wstring& fileName, const IListRows& rows, bool rowsChanged,
                               const ListSaveStop& stopAfter) {
  Saved out;
  // Another file under the name (its folder replaced, or no identity to be
  // had): rows it lacks were never removed by a writer of this list.
  const bool sameFile = !existed_ || (!identity_.empty() && identity_ == FileIdentity(fileName));
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
      window.resize(rows.Count());
      std::wstring folded;
      for (std::size_t i = 0; i < window.size(); ++i)
        window[i] = {KeyOf(rows.Path(i), folded), rows.Type(i), rows.AddedHere(i)};
    }
    if (unchanged) {
      out.merge = MergeRows({}, window, {});  // each path once
    } else {
      if (!baseParsed) {
        baseParsed = true;
        ListContent was;
        if (based_ && !baseBytes_.empty()) Parse(baseBytes_, was);
        base = Keys(was);
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
    // leaves the file only once kept in a copy.
    const bool keep = out.disk.Unplaced() || (unchanged && unplaced_) || (out.merge.writtenBack && !bytes.empty());
    if (exists && keep && !(!out.copy.empty() && copied == bytes)) {
      DWORD error = ERROR_SUCCESS;
      out.copy = BackUpListBytes(fileName, bytes, error, &out.rightsError);
      if (out.copy.empty()) {
        out.error = error ? error : static_cast<DWORD>(ERROR_FILE_EXISTS);
        return out;
      }
      copied = bytes;
    }
    const std::vector<MergePick>& picks = out.merge.rows;
    std::string encoded = EncodeListLines(picks.size() * 2, [&](std::size_t line) {
      const MergePick& pick = picks[line / 2];
      if (line % 2) return std::wstring_view(TypeWord(pick.type));
      return pick.fromDisk ? out.disk.Path(pick.index) : rows.Path(pick.index);
    });
    ListTemp temp;
    DWORD refused = ERROR_SUCCESS;
    if ((out.error = CreateListTemp(fileName, encoded, temp, &refused, stopAfter)) != ERROR_SUCCESS) return out;
    if (refused) out.rightsError = refused;
    // Still the file merged? A writer busy meanwhile (its last line maybe
    // cut) has it merged again rather than lost.
    std::string again;
    bool existsAgain = false;
    if (ReadListBytes(fileName, again, existsAgain) != ERROR_SUCCESS || existsAgain != exists || again != bytes ||
        !SameStamp(fileName, stamped, stamp)) {
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
    based_ = true;
    identity_ = FileIdentity(fileName);
    existed_ = true;
    baseBytes_ = std::move(encoded);
    ownForm_ = true;
    unplaced_ = false;
    return out;
  }
  out.error = kListKeepsChanging;
  return out;
}

}  // namespace ferlane
