#include "commandline/logic/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "commandline/logic/CommandTrial.h"
#include "password/logic/PasswordHash.h"

namespace ferlane {
namespace {

bool HasLine(const Report& report, const std::wstring& line) {
  for (const auto& l : report.lines)
    if (l == line) return true;
  return false;
}

TEST(CommandLineParse, SwitchesInAnyCaseAndThePasswordExactly) {
  EXPECT_EQ(ParseCommandLine({}).action, CommandAction::None);
  EXPECT_TRUE(ParseCommandLine({}).error.empty());
  EXPECT_EQ(ParseCommandLine({L"/cacher"}).action, CommandAction::Hide);
  EXPECT_EQ(ParseCommandLine({L"/CACHER"}).action, CommandAction::Hide);
  EXPECT_EQ(ParseCommandLine({L"/Voir"}).action, CommandAction::Show);
  EXPECT_EQ(ParseCommandLine({L"/retablir"}).action, CommandAction::Restore);
  EXPECT_EQ(ParseCommandLine({L"/r\u00E9tablir"}).action, CommandAction::Restore);

  // The switch's name takes any case; the text after it is the password as typed.
  CommandLine voir = ParseCommandLine({L"/MotDePasse: S\u00E9same A", L"/voir"});
  EXPECT_TRUE(voir.error.empty());
  EXPECT_EQ(voir.action, CommandAction::Show);
  EXPECT_EQ(voir.password, std::optional<std::wstring>(L" S\u00E9same A"));
  EXPECT_FALSE(voir.passwordFromInput);

  CommandLine input = ParseCommandLine({L"/retablir", L"/motdepasse:-"});
  EXPECT_TRUE(input.passwordFromInput);
  EXPECT_FALSE(input.password.has_value());

  EXPECT_EQ(ParseCommandLine({L"/?"}).action, CommandAction::Usage);
  EXPECT_EQ(ParseCommandLine({L"/cacher", L"/?"}).action, CommandAction::Usage);
}

TEST(CommandLineParse, WrongArgumentsAreNamed) {
  EXPECT_EQ(ParseCommandLine({L"/cacher", L"/tout"}).error, L"Argument inconnu : /tout");
  EXPECT_EQ(ParseCommandLine({L"cacher"}).error, L"Argument inconnu : cacher");
  EXPECT_EQ(ParseCommandLine({L""}).error, L"Argument inconnu : ");
  EXPECT_EQ(ParseCommandLine({L"/?", L"/x"}).error, L"Argument inconnu : /x");  // a wrong one is never hidden
  EXPECT_FALSE(ParseCommandLine({L"/cacher", L"/voir"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/voir", L"/motdepasse:"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/motdepasse:a"}).error.empty());  // no action
  // Any switch given twice is a usage error, in any spelling, whichever of
  // the two the script meant: one rule for every switch.
  const struct {
    std::vector<std::wstring> args;
    std::wstring error;
  } twice[] = {
      {{L"/cacher", L"/cacher"}, L"/cacher est donn\u00E9 deux fois."},
      {{L"/voir", L"/VOIR"}, L"/voir est donn\u00E9 deux fois."},
      {{L"/retablir", L"/r\u00E9tablir"}, L"/retablir est donn\u00E9 deux fois."},
      {{L"/?", L"/cacher", L"/?"}, L"/? est donn\u00E9 deux fois."},
      {{L"/voir", L"/motdepasse:a", L"/MotDePasse:a"}, L"/motdepasse est donn\u00E9 deux fois."},
      {{L"/voir", L"/motdepasse:-", L"/motdepasse:b"}, L"/motdepasse est donn\u00E9 deux fois."},
      {{L"/cacher", L"/liste:a", L"/liste:b"}, L"/liste est donn\u00E9 deux fois."},
  };
  for (const auto& c : twice) EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << c.args[1];
}

TEST(CommandLineParse, AListFileGoesWithHideAndShowOnly) {
  const CommandLine hide = ParseCommandLine({L"/cacher", L"/Liste:\\\\serveur\\partage\\Liste Postes.txt"});
  EXPECT_TRUE(hide.error.empty());
  EXPECT_EQ(hide.listFile, std::optional<std::wstring>(L"\\\\serveur\\partage\\Liste Postes.txt"));
  EXPECT_TRUE(ParseCommandLine({L"/liste:C:\\l.txt", L"/voir"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/cacher"}).listFile.has_value());
  // Each of these is a wrong argument (exit 2), even beside /?.
  for (const auto& args : std::vector<std::vector<std::wstring>>{{L"/retablir", L"/liste:C:\\l.txt"},
                                                                 {L"/liste:C:\\l.txt", L"/retablir", L"/?"},
                                                                 {L"/cacher", L"/liste:"},
                                                                 {L"/cacher", L"/liste:a", L"/liste:a"}})
    EXPECT_FALSE(ParseCommandLine(args).error.empty()) << args[0] << L" " << args[1];
}

// Each job run, and tried with /essai (in any case, anywhere on the line):
// the trial is one more switch under the line's own rules.
TEST(CommandLineParse, EachJobRunsOrIsTriedWithEssai) {
  struct Row {
    std::vector<std::wstring> args;
    CommandAction action;
    bool trial;
    bool wrong;
  };
  const Row rows[] = {
      {{L"/cacher"}, CommandAction::Hide, false, false},
      {{L"/cacher", L"/essai"}, CommandAction::Hide, true, false},
      {{L"/ESSAI", L"/voir", L"/motdepasse:-"}, CommandAction::Show, true, false},
      {{L"/Essai", L"/r\u00E9tablir"}, CommandAction::Restore, true, false},
      {{L"/essai", L"/?"}, CommandAction::Usage, true, false},
      {{L"/essai"}, CommandAction::None, true, true},  // a trial of no job
      {{L"/cacher", L"/essai", L"/essai"}, CommandAction::Hide, true, true},
      {{L"/essai", L"/retablir", L"/liste:C:\\l.txt"}, CommandAction::Restore, true, true},
      {{L"/cacher", L"/essai:oui"}, CommandAction::Hide, false, true},
  };
  for (const Row& row : rows) {
    const CommandLine line = ParseCommandLine(row.args);
    std::wstring args;
    for (const auto& a : row.args) args += a + L" ";
    EXPECT_EQ(!line.error.empty(), row.wrong) << args;
    if (row.wrong) continue;
    EXPECT_EQ(line.action, row.action) << args;
    EXPECT_EQ(line.trial, row.trial) << args;
  }
  EXPECT_NE(UsageText().find(L"/essai"), std::wstring::npos);
}

TEST(CommandLineArguments, TheProgramsNameIsTakenWholeEvenUnquotedWithBlanks) {
  const std::wstring module = L"C:\\Program Files\\Ferlane\\ferlane.exe";
  // The autostart value holds the bare path: no argument, the window starts.
  EXPECT_EQ(ArgumentsAfterProgram(module, module), L"");
  EXPECT_EQ(ArgumentsAfterProgram(L"c:\\program files\\ferlane\\FERLANE.EXE  /cacher", module), L"/cacher");
  EXPECT_EQ(ArgumentsAfterProgram(L"\"" + module + L"\" /voir /motdepasse:\"a b\"", module),
            L"/voir /motdepasse:\"a b\"");
  EXPECT_EQ(ArgumentsAfterProgram(L"ferlane.exe\t/cacher", module), L"/cacher");
  EXPECT_EQ(ArgumentsAfterProgram(L"ferlane", module), L"");
  EXPECT_EQ(ArgumentsAfterProgram(L"\"C:\\x y\\ferlane.exe\"", module), L"");
  // As the system splits it: the closing quote ends the name, blank or not.
  EXPECT_EQ(ArgumentsAfterProgram(L"\"" + module + L"\"/cacher", module), L"/cacher");
  EXPECT_EQ(ArgumentsAfterProgram(L"\"" + module + L"\"/voir /liste:x", module), L"/voir /liste:x");
}

TEST(CommandLinePassword, CheckedAsTheLoginPromptChecksIt) {
  const std::wstring hashed = HashPassword(L"S\u00E9same", kCheapestPasswordCost).value();
  using V = PasswordVerdict;
  EXPECT_EQ(CheckCommandPassword(CommandAction::Hide, hashed, std::nullopt), V::NotNeeded);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, L"", std::nullopt), V::NotNeeded);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, hashed, std::nullopt), V::Missing);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Restore, hashed, std::nullopt), V::Missing);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, hashed, L"S\u00E9same"), V::Right);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Restore, hashed, L"s\u00E9same"), V::Wrong);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, hashed, L"S\u00E9same "), V::Wrong);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, hashed, L""), V::Wrong);
  // The old plain form still opens.
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, L"Cl\u00E9", L"Cl\u00E9"), V::Right);
  EXPECT_EQ(CheckCommandPassword(CommandAction::Show, L"Cl\u00E9", L"Cle"), V::Wrong);
  EXPECT_TRUE(PasswordVerdictLine(V::Right).empty());
  EXPECT_FALSE(PasswordVerdictLine(V::Wrong).empty());
}

TEST(CommandLinePassword, TheFirstLineOfStandardInputInEachEncodingAWriterMaySend) {
  int asked = 0;
  // The ANSI code page (1252), as Notepad saves a file.
  auto ansi = [&](std::string_view bytes) {
    ++asked;
    return bytes == "S\xE9same" ? std::wstring(L"S\u00E9same") : std::wstring(L"?");
  };
  struct Case {
    std::string bytes;
    std::wstring password;
    bool lineArrived;
  };
  const Case cases[] = {
      {"secret\r\nnext\r\n", L"secret", true},
      {"secret", L"secret", false},  // no line end yet: the writer may send more
      {"a b \n", L"a b ", true},     // blanks are the password's
      {"", L"", false},
      {"\xEF\xBB\xBFS\xC3\xA9same\r\n", L"S\u00E9same", true},
      {"S\xC3\xA9same", L"S\u00E9same", false},
      {std::string("\xFF\xFEp\0w\0\r\0\n\0x\0", 12), L"pw", true},
      {std::string("\xFE\xFF\0S\0\xE9\0\n", 8), L"S\u00E9", true},
      // A UTF-16 character whose low byte is 0x0A (U+010A) is no line end.
      {std::string("\xFF\xFE\x0A\x01", 4), L"\u010A", false},
      // "cmd /u" writes UTF-16 without a mark: a NUL in every other byte.
      {std::string("p\0w\0\r\0\n\0", 8), L"pw", true},
      {std::string("S\0\xE9\0", 4), L"S\u00E9", false},
      {std::string("\0p\0w\0\n", 6), L"pw", true},
      {std::string("p\0\x0A\x01", 4), L"p\u010A", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PasswordFromInput(c.bytes, ansi), c.password) << c.bytes;
    EXPECT_EQ(FirstLineArrived(c.bytes), c.lineArrived) << c.bytes;
  }
  EXPECT_EQ(asked, 0);
  // NUL bytes in no UTF-16 pattern are no text; those after a whole line of
  // bytes are not looked at.
  struct Seen {
    std::string bytes;
    InputEncoding encoding;
  };
  for (const Seen& seen : {Seen{"", InputEncoding::Bytes}, Seen{"ab", InputEncoding::Bytes},
                           Seen{std::string("ab\0c", 4), InputEncoding::Unknown},
                           Seen{std::string("\0\0ab", 4), InputEncoding::Unknown},
                           Seen{std::string("\0\r\n", 3), InputEncoding::Unknown},
                           Seen{std::string("ab\n\0", 4), InputEncoding::Bytes},
                           Seen{std::string("a\0", 2), InputEncoding::Utf16Le},
                           Seen{std::string("\xFE\xFF", 2), InputEncoding::Utf16Be}})
    EXPECT_EQ(InputEncodingOf(seen.bytes), seen.encoding) << seen.bytes.size();
  // Bytes that are not UTF-8 are the ANSI code page's.
  EXPECT_EQ(PasswordFromInput("S\xE9same\r\n", ansi), L"S\u00E9same");
  EXPECT_EQ(asked, 1);
}

constexpr std::uint32_t kHidden = 0x2, kReadOnly = 0x1, kNotFound = 2, kAccessDenied = 5;

class FakeFiles : public IFileAttributes {
 public:
  std::map<std::wstring, std::uint32_t> attributes;
  std::map<std::wstring, std::uint32_t> refused;
  std::uint32_t Get(const std::wstring& path) override {
    auto it = attributes.find(path);
    return it == attributes.end() ? kInvalidFileAttributes : it->second;
  }
  std::uint32_t Set(const std::wstring& path, std::uint32_t value) override {
    if (auto r = refused.find(path); r != refused.end()) return r->second;
    auto it = attributes.find(path);
    if (it == attributes.end()) return kNotFound;
    it->second = value;
    return 0;
  }
};

std::wstring FakeReason(std::uint32_t code) { return L"<" + std::to_wstring(code) + L">"; }

TEST(CommandLineList, HideNamesTheMissingAndTheRefusedItemsAndExitsOne) {
  FakeFiles fs;
  fs.attributes = {{L"C:\\a", kReadOnly}, {L"C:\\b", 0}, {L"C:\\ro", 0}};
  fs.refused[L"C:\\ro"] = kAccessDenied;
  const std::vector<ListRecord> records{{L"C:\\a", ItemType::File}, {L"C:\\gone", ItemType::Folder},
                                        {L"C:\\ro", ItemType::File}, {L"C:\\b", ItemType::File}};
  std::vector<ItemOutcome> outcomes = RunListAction(fs, records, CommandAction::Hide);
  ASSERT_EQ(outcomes.size(), 4u);
  EXPECT_EQ(fs.attributes[L"C:\\a"], kHidden);  // the hidden bit alone, as "Tout Cacher" writes it
  EXPECT_EQ(outcomes[0].state, ItemState::Hidden);
  EXPECT_EQ(outcomes[1].state, ItemState::Missing);
  EXPECT_EQ(outcomes[1].error, 0u);  // the runner reads why
  EXPECT_EQ(outcomes[2].state, ItemState::Visible);
  EXPECT_EQ(outcomes[2].error, kAccessDenied);
  EXPECT_EQ(outcomes[3].state, ItemState::Hidden);

  outcomes[1].error = kNotFound;
  const Report report = ListActionReport(CommandAction::Hide, L"C:\\F\\u", outcomes, FakeReason);
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_TRUE(HasLine(report, L"Cach\u00E9 : C:\\a"));
  EXPECT_TRUE(HasLine(report, L"\u00C9chec : C:\\gone : <2>"));
  EXPECT_TRUE(HasLine(report, L"\u00C9chec : C:\\ro : <5>"));
  EXPECT_TRUE(HasLine(report, L"\u00C9l\u00E9ments cach\u00E9s : 2 sur 4."));
  // The event gives the reasons, never the items.
  EXPECT_EQ(report.reasons, (std::vector<std::wstring>{L"<2>", L"<5>"}));
}

// What the run's event counts, as the exit code says it: every item not done
// is a failure whatever kept it back, and an item already as asked is
// neither done nor failed, so a run that changed nothing says so.
TEST(CommandLineList, EveryItemNotDoneIsAFailureAndOneAlreadyAsAskedIsCountedApart) {
  const struct {
    CommandAction action;
    std::map<std::wstring, std::uint32_t> attributes;
    std::vector<ListRecord> records;
    std::vector<std::wstring> strays;
    std::size_t done, already, failed, total;
    int exitCode;
  } cases[] = {
      // Nothing changed: all were hidden already.
      {CommandAction::Hide, {{L"C:\\a", kHidden}, {L"C:\\b", kHidden | kReadOnly}},
       {{L"C:\\a", ItemType::File}, {L"C:\\b", ItemType::File}}, {}, 0, 2, 0, 2, kExitDone},
      {CommandAction::Show, {{L"C:\\a", 0}, {L"C:\\b", kHidden}},
       {{L"C:\\a", ItemType::File}, {L"C:\\b", ItemType::File}}, {}, 1, 1, 0, 2, kExitDone},
      // A word that follows no path is a failure too, even in a list with no item.
      {CommandAction::Hide, {}, {}, {L"Dossier"}, 0, 0, 1, 1, kExitItemsRefused},
  };
  for (const auto& c : cases) {
    FakeFiles fs;
    fs.attributes = c.attributes;
    const Report report = ListActionReport(c.action, L"L", RunListAction(fs, c.records, c.action), FakeReason, c.strays);
    EXPECT_EQ(report.done, c.done) << report.lines.back();
    EXPECT_EQ(report.already, c.already) << report.lines.back();
    EXPECT_EQ(report.failures.size(), c.failed) << report.lines.back();
    EXPECT_EQ(report.reasons.size(), c.failed);
    EXPECT_EQ(report.total, c.total);
    EXPECT_EQ(report.exitCode, c.exitCode) << report.lines.back();
  }
}

// Written to a file or a pipe, a character the code page lacks is spelled by
// its number, never by a look-alike that may name another, existing file.
TEST(CommandLineReport, ACharacterTheCodePageLacksIsSpelledNeverReplaced) {
  // A code page with Latin-1's letters only.
  auto latin1 = [](std::wstring_view c) { return c.size() == 1 && c[0] < 0x100; };
  EXPECT_EQ(SpelledForCodePage(L"Cach\u00E9 : C:\\data\\\u0161\u0142\u0105.txt", latin1),
            L"Cach\u00E9 : C:\\data\\<U+0161><U+0142><U+0105>.txt");
  EXPECT_EQ(SpelledForCodePage(L"C:\\\U0001F600.txt", latin1), L"C:\\<U+1F600>.txt");  // one pair, one number
  EXPECT_EQ(SpelledForCodePage(L"a<b>", [](std::wstring_view) { return false; }), L"a<b>");
}

TEST(CommandLineList, EveryDeviceNameIsADeviceWhateverItsFolderOrExtension) {
  for (const wchar_t* device : {L"CON", L"con", L"C:\\Ferlane\\aux", L"prn.txt", L"NUL ", L"nul.", L"COM1", L"lpt9.log",
                                L"\\\\serveur\\partage\\Com3", L"C:CON", L"conout$", L"CONIN$"})
    EXPECT_TRUE(IsDeviceName(device)) << device;
  for (const wchar_t* file : {L"C:\\Ferlane\\console", L"COM", L"COM10", L"LPT0", L"C:\\CON\\liste", L"dupont",
                              L"C:\\a\\nul x", L""})
    EXPECT_FALSE(IsDeviceName(file)) << file;
}

TEST(CommandLineList, ShowReadsBackOnceAllAreDoneAndAnEmptyListIsDone) {
  FakeFiles fs;
  fs.attributes = {{L"C:\\a", kHidden | kReadOnly}, {L"C:\\b", 0}};
  const std::vector<ListRecord> records{{L"C:\\a", ItemType::File}, {L"C:\\b", ItemType::File}};
  const std::vector<ItemOutcome> outcomes = RunListAction(fs, records, CommandAction::Show);
  EXPECT_EQ(fs.attributes[L"C:\\a"], kReadOnly);  // only the hidden bit goes
  const Report report = ListActionReport(CommandAction::Show, L"L", outcomes, FakeReason);
  EXPECT_EQ(report.exitCode, kExitDone);
  EXPECT_TRUE(HasLine(report, L"Visible : C:\\a"));
  EXPECT_TRUE(HasLine(report, L"D\u00E9j\u00E0 visible : C:\\b"));  // it was: nothing to change
  EXPECT_TRUE(HasLine(report, L"\u00C9l\u00E9ments visibles : 2 sur 2, dont 1 qui l'\u00E9tait d\u00E9j\u00E0."));

  // A word after a path is named; a list that loaded before still exits 0.
  const Report worded = ListActionReport(CommandAction::Show, L"L", outcomes, FakeReason, {}, {L"REM x"});
  EXPECT_EQ(worded.exitCode, kExitDone);
  EXPECT_TRUE(HasLine(worded, L"Ligne \"REM x\" de la liste ignor\u00E9e : ce n'est ni un chemin ni un type "
                              L"(Dossier, Fichier)"));
  // Blanks and quotes around a full path make no relative path of it.
  EXPECT_FALSE(RunListAction(fs, {{L" \"C:\\b\"\t", ItemType::File}}, CommandAction::Show)[0].unusable);
  EXPECT_TRUE(RunListAction(fs, {{L" \"docs\\b\"", ItemType::File}}, CommandAction::Show)[0].unusable);

  // A write the system took but that did not hold is a failure all the same.
  std::vector<ItemOutcome> stuck{{L"C:\\s", ItemState::Hidden, 0}};
  EXPECT_EQ(ListActionReport(CommandAction::Show, L"L", stuck, FakeReason).exitCode, kExitItemsRefused);

  const Report empty = ListActionReport(CommandAction::Hide, L"C:\\F\\u", {}, FakeReason);
  EXPECT_EQ(empty.exitCode, kExitDone);
  ASSERT_EQ(empty.lines.size(), 1u);
  EXPECT_NE(empty.lines[0].find(L"C:\\F\\u"), std::wstring::npos);
}

// A trial reads each item's state and writes nothing: each item is named
// with what the run would make of it, under the run's own summary, and the
// exit code is the run's for what is known without trying (a refusal is not).
TEST(CommandLineTrial, EachItemIsNamedWithWhatTheRunWouldDoAndNothingIsWritten) {
  FakeFiles fs;
  fs.attributes = {{L"C:\\vu", kReadOnly}, {L"C:\\cache", kHidden}, {L"C:\\ro", 0}, {L"docs\\a", 0}};
  fs.refused[L"C:\\ro"] = kAccessDenied;
  const std::map<std::wstring, std::uint32_t> before = fs.attributes;
  const std::vector<ListRecord> records{{L"C:\\vu", ItemType::File},
                                        {L"C:\\cache", ItemType::File},
                                        {L"C:\\ro", ItemType::File},
                                        {L"C:\\parti", ItemType::Folder},
                                        {L"docs\\a", ItemType::File}};
  const std::wstring unusable = L"Chemin inutilisable : docs\\a : chemin relatif ou incomplet ; seul un chemin "
                                L"complet (C:\\... ou \\\\serveur\\partage\\...) est trait\u00E9";
  struct Row {
    CommandAction action;
    std::vector<std::wstring> lines;
  };
  const Row rows[] = {
      {CommandAction::Hide,
       {L"Serait cach\u00E9 : C:\\vu", L"D\u00E9j\u00E0 cach\u00E9 : C:\\cache", L"Serait cach\u00E9 : C:\\ro",
        L"Introuvable : C:\\parti : <2>", unusable, L"\u00C9l\u00E9ments cach\u00E9s : 3 sur 5, dont 1 qui l'\u00E9tait d\u00E9j\u00E0."}},
      {CommandAction::Show,
       {L"D\u00E9j\u00E0 visible : C:\\vu", L"Serait visible : C:\\cache", L"D\u00E9j\u00E0 visible : C:\\ro",
        L"Introuvable : C:\\parti : <2>", unusable, L"\u00C9l\u00E9ments visibles : 3 sur 5, dont 2 qui l'\u00E9taient d\u00E9j\u00E0."}},
  };
  for (const Row& row : rows) {
    std::vector<ItemOutcome> outcomes = RunListAction(fs, records, row.action, true);
    EXPECT_EQ(fs.attributes, before);  // not one write
    outcomes[3].error = kNotFound;     // the runner reads why
    const Report report = TrialListReport(row.action, L"L", outcomes, FakeReason);
    EXPECT_EQ(report.lines, row.lines);
    EXPECT_EQ(report.exitCode, kExitItemsRefused);
    EXPECT_EQ(report.failures.size(), 2u);
  }

  // Only items that can be known to go well: the run's code is 0. A stray
  // word is the run's failure, said as the run says it.
  const std::vector<ListRecord> known(records.begin(), records.begin() + 3);
  const std::vector<ItemOutcome> outcomes = RunListAction(fs, known, CommandAction::Hide, true);
  EXPECT_EQ(TrialListReport(CommandAction::Hide, L"L", outcomes, FakeReason).exitCode, kExitDone);
  const Report strays = TrialListReport(CommandAction::Hide, L"L", outcomes, FakeReason, {L"Dossier"});
  EXPECT_EQ(strays.exitCode, kExitItemsRefused);
  EXPECT_EQ(strays.lines.front(), StrayLine(L"Dossier"));
  const Report empty = TrialListReport(CommandAction::Show, L"C:\\F\\u", {}, FakeReason);
  EXPECT_EQ(empty.exitCode, kExitDone);
  EXPECT_EQ(empty.lines, (std::vector<std::wstring>{L"La liste \"C:\\F\\u\" ne contient aucun \u00E9l\u00E9ment."}));
}

// The restore's trial beyond what the Wine run shows (what comes back, a
// taken name in the store or an older store): what the rule keeps and a
// missing store are no failure; a missing destination keeps every item; an
// older store's items come back through a store not made yet.
TEST(CommandLineTrial, TheRestoreNamesWhatTheRuleKeepsAndWhatAMissingDestinationKeeps) {
  StoreOutcome desktop;
  desktop.store = L"S\\Desktop";
  desktop.destination = L"D";
  desktop.restored = {L"Mail.lnk"};
  desktop.kept = {L"note.txt"};
  StoreOutcome programs;
  programs.store = L"S\\Programs";
  programs.storeMissing = true;
  Report report = TrialRestoreReport({desktop, programs}, FakeReason);
  EXPECT_EQ(report.lines, (std::vector<std::wstring>{
                              L"Serait r\u00E9tabli : Mail.lnk -> D",
                              L"Laiss\u00E9 dans la r\u00E9serve (ni dossier ni raccourci) : S\\Desktop\\note.txt",
                              L"R\u00E9serve absente, rien \u00E0 r\u00E9tablir : S\\Programs", RestoreSummaryLine(1, 0)}));
  EXPECT_EQ(report.exitCode, kExitDone);

  desktop.destinationError = kNotFound;
  desktop.all = {L"Mail.lnk"};
  programs.destination = L"P";
  programs.restored = {L"Jeux"};
  report = TrialRestoreReport({desktop, programs}, FakeReason);
  EXPECT_EQ(report.lines, (std::vector<std::wstring>{
                              L"Resterait : S\\Desktop\\Mail.lnk : dossier de destination \"D\" inutilisable : <2>",
                              L"Serait r\u00E9tabli : Jeux -> P", RestoreSummaryLine(1, 1)}));
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
}

TEST(CommandLineRestore, ATakenNameIsNamedAndLeftAMissingStoreIsNothingToDo) {
  StoreOutcome desktop;
  desktop.store = L"S\\Desktop";
  desktop.destination = L"D";
  desktop.restored = {L"Mail.lnk"};
  desktop.nameTaken = {L"Jeux.lnk"};
  desktop.kept = {L"note.txt"};
  StoreOutcome programs;
  programs.store = L"S\\Programs";
  programs.storeMissing = true;
  Report report = RestoreReport({desktop, programs}, FakeReason);
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_TRUE(HasLine(report, L"R\u00E9tabli : Mail.lnk -> D"));
  bool named = false;
  for (const auto& line : report.lines)
    named = named || (line.rfind(L"\u00C9chec : S\\Desktop\\Jeux.lnk : <80>", 0) == 0);
  EXPECT_TRUE(named);
  EXPECT_TRUE(HasLine(report, L"R\u00E9serve absente, rien \u00E0 r\u00E9tablir : S\\Programs"));

  // The window's box counts what came back and names only what stayed.
  const Report box = RestoreReport({desktop, programs}, FakeReason, false);
  EXPECT_FALSE(HasLine(box, L"R\u00E9tabli : Mail.lnk -> D"));
  EXPECT_TRUE(HasLine(box, L"\u00C9l\u00E9ments r\u00E9tablis : 1 ; non r\u00E9tablis : 1."));
  EXPECT_EQ(box.lines.size() + 1, report.lines.size());

  // Items the rule never moves are said, and are no failure.
  desktop.nameTaken.clear();
  EXPECT_EQ(RestoreReport({desktop, programs}, FakeReason).exitCode, kExitDone);

  // A destination that cannot be used names every item it would have taken.
  StoreOutcome blocked;
  blocked.store = L"S\\Programs";
  blocked.destination = L"P";
  blocked.destinationError = kAccessDenied;
  blocked.all = {L"Jeux"};
  report = RestoreReport({blocked}, FakeReason);
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_EQ(report.lines[0].rfind(L"\u00C9chec : S\\Programs\\Jeux : ", 0), 0u);
  EXPECT_NE(report.lines[0].find(L"<5>"), std::wstring::npos);

  // An item an older store kept is refused, even when the store is empty.
  StoreOutcome joined;
  joined.store = L"S\\Desktop";
  joined.stranded = {L"V\\Desktop\\Jeux.lnk"};
  report = RestoreReport({joined}, FakeReason);
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_EQ(report.lines[0].rfind(L"\u00C9chec : V\\Desktop\\Jeux.lnk : ", 0), 0u);
  EXPECT_TRUE(HasLine(report, L"\u00C9l\u00E9ments r\u00E9tablis : 0 ; non r\u00E9tablis : 1."));

  // An older store read only in part is a failure named with its path, even
  // when the store is absent (the Wine run holds a store there and one that
  // could not be made).
  StoreOutcome partly;
  partly.store = L"S\\Programs";
  partly.storeMissing = true;
  partly.unreadableOlder = {{L"V\\Programs", kAccessDenied}};
  report = RestoreReport({partly}, FakeReason);
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_EQ(report.lines[0].rfind(L"\u00C9chec : V\\Programs : ", 0), 0u);
  EXPECT_NE(report.lines[0].find(L"<5>"), std::wstring::npos);

  // What stayed under an aside name, from this run's refused put-back or
  // from an earlier run, is a failure named by that name.
  StoreOutcome aside;
  aside.store = L"S\\Desktop";
  aside.destination = L"D";
  aside.setAside = {L"S\\Desktop\\Jeux.lnk.ferlane-deplacement"};
  report = RestoreReport({aside}, FakeReason, true, {L"B\\Mail.lnk.ferlane-deplacement-2"});
  EXPECT_EQ(report.exitCode, kExitItemsRefused);
  EXPECT_EQ(report.lines[0].rfind(L"\u00C9chec : S\\Desktop\\Jeux.lnk.ferlane-deplacement : ", 0), 0u);
  EXPECT_EQ(report.lines[1].rfind(L"\u00C9chec : B\\Mail.lnk.ferlane-deplacement-2 : ", 0), 0u);
  EXPECT_TRUE(HasLine(report, L"\u00C9l\u00E9ments r\u00E9tablis : 0 ; non r\u00E9tablis : 2."));
}

#ifdef FERLANE_SOURCE_DIR
// "/?" and the README give administrators the same exit codes: every code of
// the README's table, and no other, has its line in the usage.
TEST(CommandLineUsage, TheExitCodesAreTheReadmesTable) {
  std::ifstream in(std::string(FERLANE_SOURCE_DIR) + "/README.md", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string readme = text.str();
  const std::size_t table = readme.find("| Exit code | Meaning |");
  ASSERT_NE(table, std::string::npos);
  std::set<int> inReadme, inUsage;
  const std::regex row(R"(^\| ([0-9]+) \|)");
  std::istringstream rows(readme.substr(table));
  std::string line;
  std::getline(rows, line);
  std::getline(rows, line);  // the header's rule
  while (std::getline(rows, line) && line.rfind("|", 0) == 0) {
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, row)) << line;
    inReadme.insert(std::stoi(m[1]));
  }
  const std::wstring usage = UsageText();
  const std::wregex code(LR"(\r\n  ([0-9]+)  )");
  for (std::wsregex_iterator it(usage.begin(), usage.end(), code), end; it != end; ++it)
    inUsage.insert(std::stoi((*it)[1]));
  EXPECT_EQ(inUsage, inReadme);
  EXPECT_EQ(inReadme, (std::set<int>{0, 1, 2, 3, 4, 5}));
  // UTF-16 is read with or without its mark, as the README says.
  EXPECT_NE(usage.find(L"UTF-16 avec ou sans BOM"), std::wstring::npos);
}
#endif

}  // namespace
}  // namespace ferlane
