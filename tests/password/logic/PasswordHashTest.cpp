#include "password/logic/PasswordHash.h"

#include <gtest/gtest.h>

#include "PasswordSamples.h"

namespace ferlane {
namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

std::wstring Cheap(const std::wstring& password) { return HashPassword(password, kCheapestPasswordCost).value(); }

// A character beyond the basic plane, as wchar_t holds it here.
std::wstring Key() {
  return sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDD11)} : std::wstring{wchar_t(0x1F511)};
}

TEST(PasswordHash, Pbkdf2StandardVectors) {
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("password", "salt", 1, 32)),
            "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("password", "salt", 4096, 32)),
            "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
  EXPECT_EQ(Hex(Pbkdf2HmacSha256("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40)),
            "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9");
}

TEST(PasswordHash, ANewPasswordIsStoredAsArgon2idAndOnlyTheExactTextMatches) {
  const std::wstring stored = HashPassword(L"s\u00E9same").value();
  EXPECT_EQ(stored.rfind(L"$argon2id$v=19$m=32768,t=3,p=1$", 0), 0u);
  EXPECT_EQ(stored.find(L"s\u00E9same"), std::wstring::npos);
  const StoredPassword parsed = ParseStoredPassword(stored);
  ASSERT_EQ(parsed.kind, StoredPassword::Kind::Argon2id);
  EXPECT_EQ(parsed.salt.size(), 16u);
  EXPECT_EQ(parsed.hash.size(), 32u);
  EXPECT_TRUE(StoredPasswordMatches(stored, L"s\u00E9same"));
  // Case, accents, the last character, a blank, the decomposed accent.
  for (const wchar_t* wrong : {L"S\u00E9same", L"sesame", L"s\u00E9samf", L"s\u00E9same ", L"", L"s\u0065\u0301same"})
    EXPECT_FALSE(StoredPasswordMatches(stored, wrong));
  const std::wstring key = L"cl\u00E9" + Key();
  EXPECT_TRUE(StoredPasswordMatches(Cheap(key), key));
  EXPECT_FALSE(StoredPasswordMatches(Cheap(key), L"cl\u00E9"));
  // A fresh salt each time: the same password gives another text.
  EXPECT_NE(Cheap(L"a"), Cheap(L"a"));
  // A hash that cannot be made is told, never stored as something else.
  EXPECT_FALSE(HashPassword(L"a", PasswordCost{0, 8}).has_value());
}

TEST(PasswordHash, ValuesEarlierVersionsStoredStillOpen) {
  for (const wchar_t* value : {samples::kPbkdf2Sesame, samples::kPbkdf2SesameFullCost}) {
    ASSERT_EQ(ParseStoredPassword(value).kind, StoredPassword::Kind::Pbkdf2);
    EXPECT_TRUE(StoredPasswordMatches(value, L"S\u00E9same"));
    EXPECT_FALSE(StoredPasswordMatches(value, L"S\u00E9samf"));
    EXPECT_FALSE(StoredPasswordMatches(value, L"s\u00E9same"));
  }
  EXPECT_TRUE(StoredPasswordMatches(samples::kPbkdf2Cle, L"Cl\u00E9"));
  EXPECT_FALSE(StoredPasswordMatches(samples::kPbkdf2Cle, L"Cle"));
  // The old plain form, and the empty text for none.
  EXPECT_TRUE(StoredPasswordMatches(L"Secret", L"Secret"));
  EXPECT_FALSE(StoredPasswordMatches(L"Secret", L"secret"));
  EXPECT_EQ(ParseStoredPassword(L"").kind, StoredPassword::Kind::None);
  EXPECT_TRUE(StoredPasswordMatches(L"", L""));
  EXPECT_FALSE(StoredPasswordMatches(L"", L"x"));
}

TEST(PasswordHash, EveryByteOfEitherStoredHashCounts) {
  // The right password against a stored hash changed in one byte, the last
  // ones included, is refused, in both hash forms.
  for (const std::wstring& stored : {Cheap(L"S\u00E9same"), std::wstring(samples::kPbkdf2Sesame)}) {
    const StoredPassword parsed = ParseStoredPassword(stored);
    ASSERT_TRUE(parsed.IsHashed());
    const std::wstring head = stored.substr(0, stored.rfind(L'$') + 1);
    for (std::size_t i = 0; i < parsed.hash.size(); ++i) {
      std::string hash = parsed.hash;
      hash[i] = static_cast<char>(hash[i] ^ 0x01);
      const std::string text = Base64Encode(hash);
      const std::wstring changed = head + std::wstring(text.begin(), text.end());
      ASSERT_EQ(ParseStoredPassword(changed).kind, parsed.kind);
      EXPECT_FALSE(StoredPasswordMatches(changed, L"S\u00E9same")) << "byte " << i;
    }
    EXPECT_TRUE(StoredPasswordMatches(stored, L"S\u00E9same"));
  }
}

TEST(PasswordHash, ValuesThatBeginLikeAHashButCannotBeReadOpenNothing) {
  const std::wstring pbkdf2 = samples::kPbkdf2Sesame;
  const std::wstring argon = Cheap(L"a");
  const std::wstring argonTail = argon.substr(argon.find(L"$", 20));  // "$salt$hash"
  const std::wstring argonHash = argon.substr(argon.rfind(L'$'));
  for (const std::wstring& odd : std::initializer_list<std::wstring>{
           L"$pbkdf2-sha256$i=10$", pbkdf2.substr(0, pbkdf2.size() - 1), pbkdf2 + L"=",
           L"$pbkdf2-sha256$i=01000" + pbkdf2.substr(21), L"$pbkdf2-sha256$i=999999999999" + pbkdf2.substr(21),
           L"$pbkdf2-sha256$i=0" + pbkdf2.substr(21),
           // Beyond the memory or work limits, lanes the memory cannot hold,
           // another version, a leading zero, a hash or salt too short.
           L"$argon2id$v=19$m=2097152,t=1,p=1" + argonTail, L"$argon2id$v=19$m=1048576,t=5,p=1" + argonTail,
           L"$argon2id$v=19$m=8,t=1,p=2" + argonTail, L"$argon2id$v=16$m=8,t=1,p=1" + argonTail,
           L"$argon2id$v=19$m=08,t=1,p=1" + argonTail, L"$argon2id$v=19$m=8,t=0,p=1" + argonTail,
           L"$argon2id$v=19$m=8,t=1,p=1$MDEyMzQ1Njc4OWFiY2RlZg$MDEyMzQ1Njc4OWFiY2Rl",
           L"$argon2id$v=19$m=8,t=1,p=1$MDEyMzQ1Ng" + argonHash, L"$argon2i$v=19$m=8,t=1,p=1" + argonTail}) {
    EXPECT_EQ(ParseStoredPassword(odd).kind, StoredPassword::Kind::Damaged) << std::string(odd.begin(), odd.end());
    // Not even its own text, nor the password it was made from.
    EXPECT_FALSE(StoredPasswordMatches(odd, odd));
    EXPECT_FALSE(StoredPasswordMatches(odd, L"a"));
    EXPECT_FALSE(StoredPasswordMatches(odd, L"S\u00E9same"));
  }
  // At the limits, still a hash; a dollar elsewhere is an old plain password.
  EXPECT_EQ(ParseStoredPassword(L"$argon2id$v=19$m=1048576,t=4,p=1" + argonTail).kind,
            StoredPassword::Kind::Argon2id);
  for (const wchar_t* plain : {L"$argon", L"$pbkdf2", L"x$argon2id$", L"$PBKDF2-sha256$i=1"})
    EXPECT_TRUE(StoredPasswordMatches(plain, plain)) << plain;
}

TEST(PasswordHash, AWipedTextLeavesNothingInItsBuffer) {
  SecretText secret(L"S\u00E9same");
  std::wstring& text = secret.buffer();
  const wchar_t* buffer = text.data();
  text.resize(3);  // a shorter text leaves the rest in the buffer
  WipeText(text);
  EXPECT_TRUE(text.empty());
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(buffer[i], L'\0') << i;
  // A move hands the buffer on, copying nothing.
  SecretText first(L"abc");
  const wchar_t* held = first.get().data();
  SecretText second(std::move(first));
  EXPECT_EQ(second.get().data(), held);
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
