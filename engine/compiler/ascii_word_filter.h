// A filter over the literal words of a table that are made of at most
// kMaxUnits ASCII word characters: a bit per hash of their folded units. A
// word of text that finds its bit clear is certainly none of them, so a scan
// may pass it without walking the trie; a set bit says only "maybe".
//
// Trade-off: about two bytes per word, for a one-in-sixteen chance that an
// absent word still takes the walk.
#ifndef LEXORA_ENGINE_COMPILER_ASCII_WORD_FILTER_H
#define LEXORA_ENGINE_COMPILER_ASCII_WORD_FILTER_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace Nimbra::Lexora {

class AsciiWordFilter {
 public:
  static constexpr size_t kMaxUnits = 15;

  // A word's units packed a byte each, the first lowest, zero past its end.
  struct Key {
    uint64_t low = 0;
    uint64_t high = 0;
    // Sets unit i of the word (0 to 15), which is still 0.
    void Put(size_t i, uint8_t unit) { (i < 8 ? low : high) |= uint64_t{unit} << (8 * (i % 8)); }
  };
  // The key of a stored word (as the table folds it), or false when the
  // word is empty, too long, or holds anything but ASCII word characters.
  static bool KeyOf(std::u16string_view word, Key& key);

  // Replaces the filter with one over these keys; empty when there are none.
  void Build(const std::vector<Key>& keys);
  bool empty() const { return bits_.empty(); }
  // False when no word of the filter has this key.
  bool MayHold(const Key& key) const {
    const uint64_t bit = HashOf(key) >> shift_;
    return bits_[bit / 64] >> (bit % 64) & 1;
  }

 private:
  static uint64_t HashOf(const Key& key) {
    return (key.low ^ (key.high * 0x9E3779B97F4A7C15u)) * 0xD6E8FEB86659FD93u;
  }

  std::vector<uint64_t> bits_;
  unsigned shift_ = 63;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_ASCII_WORD_FILTER_H
