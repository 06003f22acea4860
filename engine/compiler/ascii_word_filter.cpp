#include "engine/compiler/ascii_word_filter.h"

#include "engine/base/unit_roles.h"

namespace Nimbra::Lexora {

bool AsciiWordFilter::KeyOf(std::u16string_view word, Key& key) {
  if (word.empty() || word.size() > kMaxUnits) return false;
  key = Key{};
  for (size_t i = 0; i < word.size(); ++i) {
    const char16_t unit = word[i];
    if (unit >= 0x80 || !(RoleOf(unit) & kRoleWord)) return false;
    key.Put(i, static_cast<uint8_t>(unit));
  }
  return true;
}

void AsciiWordFilter::Build(const std::vector<Key>& keys) {
  bits_.clear();
  if (keys.empty()) return;
  // Sixteen bits a word let one absent word in sixteen through.
  unsigned bits = 6;
  while ((size_t{1} << bits) < keys.size() * 16) ++bits;
  shift_ = 64 - bits;
  bits_.assign((size_t{1} << bits) / 64, 0);
  for (const Key& key : keys) {
    const uint64_t bit = HashOf(key) >> shift_;
    bits_[bit / 64] |= uint64_t{1} << (bit % 64);
  }
}

}  // namespace Nimbra::Lexora
