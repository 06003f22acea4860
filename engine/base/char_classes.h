// The built-in character classes: the class table, the lookup of a class
// name, the classes a class depends on, and the per-script class map.
#ifndef LEXORA_ENGINE_BASE_CHAR_CLASSES_H
#define LEXORA_ENGINE_BASE_CHAR_CLASSES_H

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string_view>

namespace Nimbra::Lexora {

enum : int32_t {
  kClassNone = 0,
  kClassLetter = 1,  // one alphabetic character, inside a word pattern
  kClassDigit = 2,   // one digit character, inside a word pattern
  kClassNum = 3,     // a word made only of digits
  kClassCcard = 4,   // adjacent number words forming a Luhn-valid card number
  kClassUsSsn = 5,   // three adjacent number words forming a US social security number
};

// The class id of a name, 0 when there is none; with `fold`, characters
// compare after case folding.
int32_t FindClass(std::u16string_view name, bool fold);
// The canonical name of a class; empty for an unknown id.
std::u16string_view ClassName(int32_t classId);
// Registering CCARD or US-SSN also registers NUM, so that number words reach
// the run detectors.
std::span<const int32_t> ClassDependencies(int32_t classId);

// Which identifier a script gave each class it uses.
class ClassMap {
 public:
  // RuntimeError "Class already added with a different ID" when the class
  // is mapped to another identifier already.
  void Add(int32_t classId, uint32_t wordId);
  std::optional<uint32_t> WordIdOf(int32_t classId) const;

 private:
  std::map<int32_t, uint32_t> ids_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_CHAR_CLASSES_H
