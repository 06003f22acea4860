// The detector's candidates and their order of preference.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_CANDIDATE_LIST_H
#define LEXORA_ENGINE_INPUT_CHARSET_CANDIDATE_LIST_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

struct CharsetCandidate {
  int32_t confidence;  // 1 to 100
  int32_t weight;
  const char* name;  // a static string
};

// One candidate at most per recognizer, so a fixed array suffices and
// detection does not allocate.
class CharsetCandidateList {
 public:
  static constexpr size_t kCapacity = 32;

  // Keeps the candidate only when its confidence is above 0.
  void Add(int32_t confidence, int32_t weight, const char* name);
  // Higher confidence first, then higher weight, then the lower name.
  void Sort();

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const CharsetCandidate& operator[](size_t i) const { return items_[i]; }
  const CharsetCandidate* begin() const { return items_; }
  const CharsetCandidate* end() const { return items_ + size_; }

 private:
  CharsetCandidate items_[kCapacity];
  size_t size_ = 0;
};

// True when `a` is preferred to `b`.
bool PrecedesCandidate(const CharsetCandidate& a, const CharsetCandidate& b);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_CANDIDATE_LIST_H
