#pragma once
// The stored password: a salted, slow hash in a self-describing text,
//   "$pbkdf2-sha256$i=<iterations>$<salt>$<hash>"
// (PHC string form; salt and hash in unpadded base64). PBKDF2 with
// HMAC-SHA-256 is written here, so the program needs no library that the
// oldest systems it runs on lack. A value that is not such a text is the old
// plain form, still accepted; the empty text means "no password".
#include <cstdint>
#include <string>
#include <string_view>

namespace ferlane {

// OWASP's figure for PBKDF2-HMAC-SHA-256.
inline constexpr std::uint32_t kPasswordIterations = 600000;
inline constexpr std::size_t kPasswordSaltBytes = 16;
inline constexpr std::size_t kPasswordHashBytes = 32;
// Beyond this a stored value is not ours: checking it would hang the start.
inline constexpr std::uint32_t kMaxPasswordIterations = 100000000;

// SHA-256 and HMAC-SHA-256, the building blocks (tested against the
// standard's vectors).
std::string Sha256(std::string_view data);
std::string HmacSha256(std::string_view key, std::string_view data);
std::string Pbkdf2HmacSha256(std::string_view password, std::string_view salt, std::uint32_t iterations,
                             std::size_t length);

// The password's characters as UTF-8; a lone surrogate keeps its own bytes,
// so two different texts never hash alike.
std::string PasswordBytes(const std::wstring& password);

std::string Base64Encode(std::string_view bytes);  // unpadded
bool Base64Decode(std::string_view text, std::string& bytes);

struct StoredPassword {
  enum class Kind { None, Plain, Hashed } kind = Kind::None;
  std::wstring plain;  // Kind::Plain
  std::uint32_t iterations = 0;
  std::string salt, hash;  // Kind::Hashed
};

// Reads a stored value: empty is None, a well-formed hash text is Hashed,
// anything else is a password in the old plain form.
StoredPassword ParseStoredPassword(const std::wstring& value);

// The stored text for a password and salt (the caller draws the salt).
std::wstring HashPassword(const std::wstring& password, std::string_view salt,
                          std::uint32_t iterations = kPasswordIterations);

// Whether typed is the password a stored value holds; exact for the plain
// form (every character, case and accents), by the hash otherwise.
bool StoredPasswordMatches(const std::wstring& stored, const std::wstring& typed);

}  // namespace ferlane
