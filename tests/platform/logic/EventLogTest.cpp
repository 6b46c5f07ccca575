#include "platform/logic/EventLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace ferlane {
namespace {

// The numbers are what subscriptions filter on: each one once, in order,
// and every command over items with a warning twin that carries the same
// strings. (The README's test holds each number's type.)
TEST(EventLog, EveryNumberOnceAndEachCountedCommandHasAWarningTwin) {
  std::uint32_t previous = 0;
  for (const EventKind& kind : kEventKinds) {
    const auto id = static_cast<std::uint32_t>(kind.id);
    EXPECT_GT(id, previous) << "once each, in number order";
    previous = id;
    EXPECT_EQ(FindEventKind(kind.id), &kind);
  }
  const EventId counted[] = {EventId::ListHidden,   EventId::ListShown,   EventId::SelectionToggled,
                             EventId::ShortcutsMoved, EventId::ItemsParked, EventId::ItemsRestored,
                             EventId::OlderStoresAdopted};
  for (EventId plain : counted) {
    EXPECT_EQ(WithFailures(plain, 0), plain);
    const EventId twin = WithFailures(plain, 3);
    EXPECT_EQ(static_cast<std::uint32_t>(twin), static_cast<std::uint32_t>(plain) + 1);
    EXPECT_EQ(TypeOf(twin), EventType::Warning);
    EXPECT_EQ(FindEventKind(twin)->strings, FindEventKind(plain)->strings);
  }
  EXPECT_EQ(FindEventKind(static_cast<EventId>(999)), nullptr);
}

// The log is every user's to read: a failure is counted by its reason and
// never named, and no string of an event can become the viewer's insertion.
TEST(EventLog, FailuresAreCountedByReasonAndNoStringIsTakenForAnInsertion) {
  const std::wstring denied = L"Access denied.", gone = L"Introuvable";
  const struct {
    std::vector<std::wstring> reasons;
    std::wstring counted;
  } cases[] = {
      {{}, L""},
      {{denied}, L"Access denied. (1)"},
      {{denied, gone, denied, denied}, L"Access denied. (3)\r\nIntrouvable (1)"},
      {{gone, denied}, L"Introuvable (1)\r\nAccess denied. (1)"},  // in the order first met
  };
  for (const auto& c : cases) {
    const std::vector<std::wstring> strings = ItemCountStrings(L"C:\\liste", L"", 2, c.reasons, 9);
    ASSERT_EQ(strings.size(), 6u);
    EXPECT_EQ(strings[3], std::to_wstring(c.reasons.size()));
    EXPECT_EQ(strings[4], L"9");
    EXPECT_EQ(strings[5], c.counted);
  }
  // A list command says how many were already as asked, as a seventh string.
  EXPECT_EQ(ItemCountStrings(L"L", L"", 0, {}, 3, 3).back(), L"3");

  const struct {
    std::wstring text, written;
  } insertions[] = {
      {L"C:\\100% s\u00FBr\\l", L"C:\\100% s\u00FBr\\l"},  // a % before a blank is the viewer's no concern
      {L"C:\\a%1", L"C:\\a%\u200B1"},
      {L"C:\\a%%1b", L"C:\\a%\u200B%\u200B1b"},
      {L"50%", L"50%"},
      {L"%", L"%"},
  };
  for (const auto& c : insertions) EXPECT_EQ(EventInsertion(c.text), c.written) << c.text;
}

TEST(EventLog, OnlyAPasswordTheUserChoseIsAnEvent) {
  const struct {
    bool had, has, chosen;
    std::optional<EventId> event;
  } cases[] = {
      {false, true, true, EventId::PasswordSet},
      {true, true, true, EventId::PasswordChanged},
      {true, false, true, EventId::PasswordRemoved},
      {false, false, true, std::nullopt},  // none chosen where there was none
      {true, true, false, std::nullopt},   // stored anew in today's form
      {false, false, false, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PasswordEvent(c.had, c.has, c.chosen), c.event) << c.had << c.has << c.chosen;
}

#ifdef FERLANE_SOURCE_DIR
std::string SourceFile(const char* path) {
  std::ifstream in(std::string(FERLANE_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The README's table is what administrators filter on, and the message file
// is what the Event Viewer shows: both name exactly the numbers of the table,
// the README each with its type.
TEST(EventLog, TheReadmeAndTheMessageFileNameEveryNumberOfTheTable) {
  const std::string readme = SourceFile("README.md"), messages = SourceFile("resources/events.mc");
  ASSERT_FALSE(readme.empty());
  ASSERT_FALSE(messages.empty());
  std::set<std::uint32_t> inReadme, inMessages, inTable;
  const std::regex row(R"(\n\| (1[0-9]{3}) \| (Information|Warning|Error) \|)"), message(R"(MessageId=([0-9]+))");
  for (std::sregex_iterator it(readme.begin(), readme.end(), row), end; it != end; ++it) {
    const auto id = static_cast<std::uint32_t>(std::stoul((*it)[1]));
    inReadme.insert(id);
    const EventKind* kind = FindEventKind(static_cast<EventId>(id));
    ASSERT_NE(kind, nullptr) << id;
    const char* type = kind->type == EventType::Information ? "Information"
                       : kind->type == EventType::Warning   ? "Warning"
                                                            : "Error";
    EXPECT_EQ((*it)[2], type) << id;
  }
  for (std::sregex_iterator it(messages.begin(), messages.end(), message), end; it != end; ++it)
    inMessages.insert(static_cast<std::uint32_t>(std::stoul((*it)[1])));
  for (const EventKind& kind : kEventKinds) inTable.insert(static_cast<std::uint32_t>(kind.id));
  EXPECT_EQ(inReadme, inTable);
  EXPECT_EQ(inMessages, inTable);
}
#endif

}  // namespace
}  // namespace ferlane
