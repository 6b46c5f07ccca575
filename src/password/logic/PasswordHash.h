#pragma once
// The stored password: Argon2id, made and checked by libsodium, in its
// self-describing text
//   "$argon2id$v=19$m=<KiB>,t=<passes>,p=<lanes>$<salt>$<hash>".
// Values stored by earlier versions still open the program, and are stored
// anew as Argon2id once the password is typed:
//   "$pbkdf2-sha256$i=<iterations>$<salt>$<hash>" (PBKDF2-HMAC-SHA-256),
//   and any other text, the old plain form,
// but a value that begins like a hash and cannot be read is damaged: it
// opens nothing. Salts and hashes are in unpadded base64. The empty text
// means "no password".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferlane {

struct PasswordCost {
  std::uint32_t passes = 0;
  std::uint32_t memoryKiB = 0;
};

// Three passes over 32 MiB: 0.08 s on a processor of today, 0.2 s there
// without its vector units, which an XP-era processor a few times slower
// keeps under a second. Above OWASP's least (two passes over 19 MiB); more
// memory would weigh on the 256 MiB such a computer often has.
inline constexpr PasswordCost kPasswordCost{3, 32 * 1024};
// The least libsodium takes; only tests use it, to keep their hashes instant.
inline constexpr PasswordCost kCheapestPasswordCost{1, 8};

// Beyond these a stored value is not ours: checking it would hang the start
// or take more memory than the program has.
inline constexpr std::uint32_t kMaxPbkdf2Iterations = 100000000;
inline constexpr std::uint32_t kMaxArgon2MemoryKiB = 1024 * 1024;
inline constexpr std::uint64_t kMaxArgon2Work = std::uint64_t{4} * 1024 * 1024;  // passes × KiB

// PBKDF2-HMAC-SHA-256 (libsodium's HMAC), for the values earlier versions stored.
std::string Pbkdf2HmacSha256(std::string_view password, std::string_view salt, std::uint32_t iterations,
                             std::size_t length);
inline constexpr std::size_t kPbkdf2HashBytes = 32;

// The password's characters as UTF-8; a lone surrogate keeps its own bytes,
// so two different texts never hash alike.
std::string PasswordBytes(const std::wstring& password);

std::string Base64Encode(std::string_view bytes);  // unpadded
bool Base64Decode(std::string_view text, std::string& bytes);

struct StoredPassword {
  enum class Kind { None, Plain, Pbkdf2, Argon2id, Damaged } kind = Kind::None;
  std::wstring plain;        // Plain
  std::uint32_t iterations = 0;  // Pbkdf2
  PasswordCost cost;         // Argon2id
  std::string salt, hash;    // Pbkdf2 and Argon2id
  bool IsHashed() const { return kind == Kind::Pbkdf2 || kind == Kind::Argon2id; }
};

// Reads a stored value: empty is None, a well-formed hash text within the
// limits above is Pbkdf2 or Argon2id, any other text that begins with
// "$argon2" or "$pbkdf2-" is Damaged (cut short, altered, or beyond the
// limits), anything else is a password in the old plain form.
StoredPassword ParseStoredPassword(const std::wstring& value);

// The Argon2id text for a password, with a fresh random salt; nothing when it
// cannot be made (the memory it needs is refused).
std::optional<std::wstring> HashPassword(const std::wstring& password, PasswordCost cost = kPasswordCost);

// Whether typed is the password a stored value holds; exact for the plain
// form (every character, case and accents), by the hash otherwise; never
// for a damaged value.
bool StoredPasswordMatches(const std::wstring& stored, const std::wstring& typed);

// Overwrites the whole buffer of a text that held a password (what a
// shorter text left past its end included), then empties it.
void WipeText(std::string& text);
void WipeText(std::wstring& text);

// A typed password, wiped when it goes. Its characters live on the heap from
// the start, so a move hands the buffer on and leaves no copy behind.
class SecretText {
 public:
  SecretText() { text_.reserve(kMinimumCapacity); }
  explicit SecretText(std::wstring_view text) : SecretText() { text_.assign(text); }
  SecretText(SecretText&& other) noexcept : text_(std::move(other.text_)) {}
  SecretText& operator=(SecretText&&) = delete;
  SecretText(const SecretText&) = delete;
  SecretText& operator=(const SecretText&) = delete;
  ~SecretText() { WipeText(text_); }

  const std::wstring& get() const { return text_; }
  // For a reader that writes the characters in place; to grow it, wipe first.
  std::wstring& buffer() { return text_; }

 private:
  // Past the string's own small buffer, which a move would copy.
  static constexpr std::size_t kMinimumCapacity = 32;
  std::wstring text_;
};

}  // namespace ferlane
