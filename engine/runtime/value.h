// Values of the stack machine: empty, one identifier, a list of identifiers,
// or a boolean. Identifier values stand for the positions of their records.
#ifndef LEXORA_ENGINE_RUNTIME_VALUE_H
#define LEXORA_ENGINE_RUNTIME_VALUE_H

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

class Value {
 public:
  enum class Type : uint32_t { Empty = 0, Identifier = 1, IdentifierList = 2, Boolean = 3 };

  Value() = default;
  static Value OfIdentifier(uint32_t id);
  static Value OfBoolean(bool b);
  static Value EmptyList() {
    Value v;
    v.type_ = Type::IdentifierList;
    return v;
  }

  Type type() const { return type_; }
  bool boolean() const { return boolean_; }
  // The identifiers named: one for an identifier, the list for a list.
  std::span<const uint32_t> identifiers() const {
    if (type_ == Type::Identifier) return {&id_, 1};
    return ids_;
  }

  // An empty value becomes a list of one; an identifier becomes a list;
  // RuntimeError "Cannot change data type" for a boolean.
  void Append(uint32_t id);
  bool Truth(const WordPositionList& positions) const;
  // Calls visit(span) for every span of every named record, in order;
  // stops early when visit returns false.
  template <class Visit>
  void ForEachPosition(const WordPositionList& positions, Visit visit) const {
    for (uint32_t id : identifiers()) {
      for (const Span& s : positions.SpansOf(id)) {
        if (!visit(s)) return;
      }
    }
  }
  // The text form used in traces: "null", "true", "false", "{1, (2, 3)}" ...
  std::string Text(const WordPositionList& positions) const;

 private:
  Type type_ = Type::Empty;
  bool boolean_ = false;
  // A single identifier is kept in place: every statement loads at least
  // one, and a heap list for each would cost an allocation per statement
  // and scan.
  uint32_t id_ = 0;
  std::vector<uint32_t> ids_;  // a list's identifiers
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_VALUE_H
