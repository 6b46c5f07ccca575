#include "app/logic/CommandLine.h"

#include <gtest/gtest.h>

#include <map>

#include "app/logic/PasswordHash.h"

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
  EXPECT_TRUE(ParseCommandLine({L"/voir", L"/voir"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/voir", L"/motdepasse:"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/voir", L"/motdepasse:a", L"/motdepasse:a"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({L"/motdepasse:a"}).error.empty());  // no action
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
  EXPECT_TRUE(HasLine(report, L"Visible : C:\\b"));

  // A write the system took but that did not hold is a failure all the same.
  std::vector<ItemOutcome> stuck{{L"C:\\s", ItemState::Hidden, 0}};
  EXPECT_EQ(ListActionReport(CommandAction::Show, L"L", stuck, FakeReason).exitCode, kExitItemsRefused);

  const Report empty = ListActionReport(CommandAction::Hide, L"C:\\F\\u", {}, FakeReason);
  EXPECT_EQ(empty.exitCode, kExitDone);
  ASSERT_EQ(empty.lines.size(), 1u);
  EXPECT_NE(empty.lines[0].find(L"C:\\F\\u"), std::wstring::npos);
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

  // An older store read only in part is a failure named with its path,
  // whether the store is there, absent, or could not be made.
  struct Store {
    bool missing;
    std::uint32_t createError;
  };
  for (const Store store : {Store{false, 0}, Store{true, 0}, Store{false, kAccessDenied}}) {
    StoreOutcome partly;
    partly.store = L"S\\Programs";
    partly.storeMissing = store.missing;
    partly.createError = store.createError;
    partly.unreadableOlder = {{L"V\\Programs", kAccessDenied}};
    report = RestoreReport({partly}, FakeReason);
    EXPECT_EQ(report.exitCode, kExitItemsRefused);
    EXPECT_EQ(report.lines[0].rfind(L"\u00C9chec : V\\Programs : ", 0), 0u);
    EXPECT_NE(report.lines[0].find(L"<5>"), std::wstring::npos);
  }

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

}  // namespace
}  // namespace ferlane
