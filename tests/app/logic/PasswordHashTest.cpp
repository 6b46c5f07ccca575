#include "app/logic/PasswordHash.h"

#include <gtest/gtest.h>

#include <chrono>

namespace ferlane {
namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

TEST(PasswordHash, StandardVectors) {
  EXPECT_EQ(Hex(Sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Hex(Sha256(std::string(1000, 'a'))),
            "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
  EXPECT_EQ(Hex(HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  EXPECT_EQ(Hex(HmacSha256(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First")),
            "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("password", "salt", 1, 32)),
            "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("password", "salt", 4096, 32)),
            "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40)),
            "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9");
}

TEST(PasswordHash, StoredTextIsSelfDescribingAndNeverThePassword) {
  const std::string salt = "0123456789abcdef";
  const std::wstring stored = HashPassword(L"s\u00E9same", salt, 1000);
  EXPECT_EQ(stored.rfind(L"$pbkdf2-sha256$i=1000$MDEyMzQ1Njc4OWFiY2RlZg$", 0), 0u);
  EXPECT_EQ(stored.find(L"s\u00E9same"), std::wstring::npos);
  const StoredPassword parsed = ParseStoredPassword(stored);
  ASSERT_EQ(parsed.kind, StoredPassword::Kind::Hashed);
  EXPECT_EQ(parsed.iterations, 1000u);
  EXPECT_EQ(parsed.salt, salt);
  // Exact: case, accents, a character beyond the basic plane.
  EXPECT_TRUE(StoredPasswordMatches(stored, L"s\u00E9same"));
  for (const wchar_t* wrong : {L"S\u00E9same", L"sesame", L"s\u00E9same ", L"", L"s\u0065\u0301same"})
    EXPECT_FALSE(StoredPasswordMatches(stored, wrong));
  std::wstring emoji = L"cl\u00E9";
  emoji += sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDD11)} : std::wstring{wchar_t(0x1F511)};
  EXPECT_TRUE(StoredPasswordMatches(HashPassword(emoji, salt, 10), emoji));
  EXPECT_FALSE(StoredPasswordMatches(HashPassword(emoji, salt, 10), L"cl\u00E9"));
  // A fresh salt gives another text for the same password.
  EXPECT_NE(HashPassword(L"a", salt, 10), HashPassword(L"a", "fedcba9876543210", 10));
}

TEST(PasswordHash, EveryByteOfTheStoredHashCounts) {
  // The right password against a stored hash changed in one byte, the last
  // ones included, is refused.
  const std::wstring stored = HashPassword(L"s\u00E9same", "0123456789abcdef", 10);
  const StoredPassword parsed = ParseStoredPassword(stored);
  ASSERT_EQ(parsed.hash.size(), kPasswordHashBytes);
  const std::wstring head = stored.substr(0, stored.rfind(L'$') + 1);
  for (std::size_t i = 0; i < parsed.hash.size(); ++i) {
    std::string hash = parsed.hash;
    hash[i] = static_cast<char>(hash[i] ^ 0x01);
    const std::string text = Base64Encode(hash);
    const std::wstring changed = head + std::wstring(text.begin(), text.end());
    ASSERT_EQ(ParseStoredPassword(changed).kind, StoredPassword::Kind::Hashed);
    EXPECT_FALSE(StoredPasswordMatches(changed, L"s\u00E9same")) << "byte " << i;
  }
  EXPECT_TRUE(StoredPasswordMatches(stored, L"s\u00E9same"));
}

TEST(PasswordHash, OldPlainAndEmptyValuesKeepTheirMeaning) {
  EXPECT_EQ(ParseStoredPassword(L"").kind, StoredPassword::Kind::None);
  EXPECT_TRUE(StoredPasswordMatches(L"", L""));
  EXPECT_FALSE(StoredPasswordMatches(L"", L"x"));
  EXPECT_TRUE(StoredPasswordMatches(L"Secret", L"Secret"));
  EXPECT_FALSE(StoredPasswordMatches(L"Secret", L"secret"));
  // Texts that only look like a hash are plain passwords, compared exactly.
  const std::wstring good = HashPassword(L"a", "0123456789abcdef", 10);
  for (std::wstring odd : {std::wstring(L"$pbkdf2-sha256$i=10$"), good.substr(0, good.size() - 1),
                           std::wstring(L"$pbkdf2-sha256$i=010") + good.substr(19),
                           std::wstring(L"$pbkdf2-sha256$i=999999999999") + good.substr(19), good + L"=",
                           std::wstring(L"$pbkdf2-sha256$i=0") + good.substr(19)}) {
    EXPECT_EQ(ParseStoredPassword(odd).kind, StoredPassword::Kind::Plain) << std::string(odd.begin(), odd.end());
    EXPECT_TRUE(StoredPasswordMatches(odd, odd));
  }
}

TEST(PasswordHash, Base64HasOneReadingPerText) {
  std::string bytes;
  for (std::string s : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
    ASSERT_TRUE(Base64Decode(Base64Encode(s), bytes));
    EXPECT_EQ(bytes, s);
  }
  EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
  EXPECT_FALSE(Base64Decode("Zh", bytes));  // stray low bits
  EXPECT_FALSE(Base64Decode("Z", bytes));
  EXPECT_FALSE(Base64Decode("Zm9=", bytes));
}

}  // namespace
}  // namespace ferlane
