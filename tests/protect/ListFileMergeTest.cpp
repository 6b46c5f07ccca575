// The list file as many hands write it: Notepad's line shapes, a script's
// list of one path per line, another writer busy while the window closes.
#include <gtest/gtest.h>

#include "platform/logic/PathFold.h"
#include "protect/ListFileIo.h"
#include "protect/ProtectTestSupport.h"
#include "protect/ProtectedList.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

using test::FilesIn;
using test::ReadBytes;
using test::WriteBytes;

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

class ListFileMerge : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(list.Create(parent.hwnd(), 1001, RECT{0, 0, 400, 300})); }
  static std::vector<std::wstring> Rows(const ProtectedList& l) {
    std::vector<std::wstring> out;
    for (int i = 0; i < l.ItemCount(); ++i) out.push_back(l.Caption(i) + L"|" + l.TypeText(i));
    return out;
  }
  test::RecordingMessages messages;
  test::ScratchDir dir;
  test::HiddenParent parent;
  ProtectedList list;
  std::wstring name = dir / L"dupont";
  std::wstring a = dir.File(L"alpha.txt"), b = dir.File(L"beta.txt"), d = dir.Folder(L"delta");
};

TEST_F(ListFileMerge, EveryLineShapeLoadsEveryItemAndWhatCannotBePlacedIsKept) {
  const std::string A = Narrow(a), B = Narrow(b), D = Narrow(d);
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::wstring> rows;
    std::vector<std::wstring> strays;
  } cases[] = {
      {"an extra Enter typed in Notepad", A + "\r\nFichier\r\n\r\n" + B + "\r\nFichier\r\n",
       {a + L"|Fichier", b + L"|Fichier"}, {}},
      {"one path per line, the type from the disk", A + "\n" + D + "\n\n" + B, {a + L"|Fichier", d + L"|Dossier", b + L"|Fichier"}, {}},
      {"words that follow no path", "Fichier\r\n" + A + "\r\nFichier\r\nDossier\r\n", {a + L"|Fichier"},
       {L"Fichier", L"Dossier"}},
  };
  for (const Case& c : cases) {
    ProtectedList fresh;
    ASSERT_TRUE(fresh.Create(parent.hwnd(), 1002));
    ASSERT_TRUE(WriteBytes(name, c.bytes));
    ASSERT_EQ(fresh.LoadListFile(name), 0u) << c.what;
    EXPECT_EQ(Rows(fresh), c.rows) << c.what;
    EXPECT_EQ(fresh.LoadUnplaced().strays, c.strays) << c.what;
    ASSERT_EQ(fresh.SaveListFile(name), 0u) << c.what;
    // Saved as two lines an item; the original bytes kept when lines were left over.
    ProtectedList again;
    ASSERT_TRUE(again.Create(parent.hwnd(), 1003));
    ASSERT_EQ(again.LoadListFile(name), 0u);
    EXPECT_EQ(Rows(again), c.rows) << c.what;
    EXPECT_EQ(ReadBytes(ListBackupName(name, 1)), c.strays.empty() ? "" : c.bytes) << c.what;
    ::DeleteFileW(ListBackupName(name, 1).c_str());
  }
  const std::wstring said = ProtectedList::UnplacedText(name, {true, {L"Dossier"}});
  EXPECT_NE(said.find(L"\"Dossier\""), std::wstring::npos);
  EXPECT_NE(said.find(ListBackupName(name, 1)), std::wstring::npos);
}

TEST_F(ListFileMerge, TheCloseKeepsWhatEachWriterAddedAndRemoved) {
  const std::wstring c = dir.File(L"gamma.txt"), e = dir.File(L"epsilon.txt"), f = dir.File(L"phi.txt");
  ASSERT_EQ(WriteListFile(name, {a, L"Fichier", b, L"Fichier", c, L"Fichier"}), 0u);
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.SetSelected(2, true);
  list.Supprimer2Click();           // c goes here
  list.AddItem(e, ItemType::File);  // e comes here
  // Meanwhile a script drops b, writes a in other letters, and appends d and f
  // one per line, as it writes its own lists.
  ASSERT_TRUE(WriteBytes(name, Narrow(FoldPath(a)) + "\r\nFichier\r\n" + Narrow(c) + "\r\nFichier\r\n" + Narrow(d) +
                                   "\r\n" + Narrow(f) + "\r\n"));
  ASSERT_EQ(list.SaveListFile(name), 0u);
  const std::vector<std::wstring> merged{a + L"|Fichier", e + L"|Fichier", d + L"|Dossier", f + L"|Fichier"};
  EXPECT_EQ(Rows(list), merged);
  EXPECT_EQ(list.MergedFromDisk(), 2u);
  EXPECT_EQ(list.RemovedOnDisk(), 1u);
  EXPECT_EQ(ReadBytes(name), EncodeListLines({a, L"Fichier", e, L"Fichier", d, L"Dossier", f, L"Fichier"}));

  // Emptied by another writer: what the window has not added since goes too.
  ASSERT_TRUE(WriteBytes(name, ""));
  list.AddItem(b, ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  EXPECT_EQ(Rows(list), std::vector<std::wstring>{b + L"|Fichier"});
  EXPECT_EQ(list.RemovedOnDisk(), 4u);
  EXPECT_EQ(ReadBytes(name), EncodeListLines({b, L"Fichier"}));
}

TEST_F(ListFileMerge, AWriterBusyDuringTheSaveIsMergedAgainAndOneThatNeverStopsIsNotOverwritten) {
  ASSERT_EQ(WriteListFile(name, {a, L"Fichier"}), 0u);
  ASSERT_EQ(list.LoadListFile(name), 0u);
  list.AddItem(b, ItemType::File);
  // The other writer is half-way through a line at the first check, done at
  // the second: its row is read whole, never as the cut-off "Fich".
  int flushes = 0;
  auto busy = [&](ListSaveStep step) {
    if (step != ListSaveStep::Flush) return false;
    ++flushes;
    if (flushes == 1) WriteBytes(name, EncodeListLines({a, L"Fichier"}) + Narrow(d) + "\r\nDoss");
    if (flushes == 2) WriteBytes(name, EncodeListLines({a, L"Fichier", d, L"Dossier"}));
    return false;
  };
  ASSERT_EQ(list.SaveListFile(name, busy), 0u);
  EXPECT_EQ(flushes, 3);
  EXPECT_EQ(ReadBytes(name), EncodeListLines({a, L"Fichier", b, L"Fichier", d, L"Dossier"}));

  std::string last;
  auto endless = [&](ListSaveStep step) {
    if (step == ListSaveStep::Flush) WriteBytes(name, last = ReadBytes(name) + Narrow(a) + "\r\nFichier\r\n");
    return false;
  };
  list.AddItem(a, ItemType::File);
  EXPECT_EQ(list.SaveListFile(name, endless), kListKeepsChanging);
  EXPECT_EQ(ReadBytes(name), last);
  EXPECT_EQ(FilesIn(dir).size(), 4u);  // no temporary file left: the list, two files and a folder
}

TEST_F(ListFileMerge, ANewListAndAKeptCopyArePrivateFromTheirFirstByte) {
  test::FakePlatform platform;
  platform.keptRights.emplace();
  ASSERT_TRUE(WriteBytes(name, "Dossier\r\n" + Narrow(a) + "\r\nFichier\r\n"));
  ASSERT_EQ(list.LoadListFile(name), 0u);
  ASSERT_EQ(list.SaveListFile(name), 0u);
  ASSERT_EQ(platform.createdPrivate.size(), 2u);
  EXPECT_EQ(platform.createdPrivate[0], ListBackupName(name, 1));
  EXPECT_TRUE(IsListTempName(platform.createdPrivate[1].substr(dir.path().size())));
  EXPECT_TRUE(SameRights((*platform.keptRights)[name + L".bak"], PrivateRights(false)));
  EXPECT_TRUE(platform.rightsWrites.empty());  // nothing narrowed afterwards
  EXPECT_EQ(list.RightsError(), 0u);

  platform.keptRights.reset();
  platform.rightsRefusal = ERROR_NOT_SUPPORTED;
  list.AddItem(b, ItemType::File);
  ASSERT_EQ(list.SaveListFile(name), 0u);  // written all the same, and said
  EXPECT_EQ(list.RightsError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(ReadBytes(name), EncodeListLines({a, L"Fichier", b, L"Fichier"}));
}

}  // namespace
}  // namespace ferlane
