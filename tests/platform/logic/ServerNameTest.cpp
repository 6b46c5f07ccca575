#include "platform/logic/ServerName.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

// Every spelling of a path on one server names that server once; drive
// letters are named for the caller to ask whether they are network drives.
TEST(ServerName, EverySpellingOfAShareNamesItsServer) {
  struct Case {
    const wchar_t* path;
    const wchar_t* server;
  };
  const Case cases[] = {
      {L"\\\\Serveur\\Partage\\a.txt", L"\\\\serveur"},
      {L"//serveur/partage", L"\\\\serveur"},
      {L"\\\\?\\UNC\\SERVEUR\\Partage\\b", L"\\\\serveur"},
      {L"\\\\serveur", L"\\\\serveur"},
      {L"H:\\Listes\\dupont", L"h:"},
      {L"\\\\?\\C:\\x", L"c:"},
      {L"c:", L"c:"},
      {L"Listes\\dupont", L""},
      {L"C:relative", L""},
      {L"\\\\.\\COM1", L""},
      {L"\\\\", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ServerOf(c.path), c.server) << std::wstring(c.path).size();
}

}  // namespace
}  // namespace ferlane
