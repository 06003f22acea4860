#include "engine/runtime/value.h"

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

Value Value::OfIdentifier(uint32_t id) {
  Value v;
  v.type_ = Type::Identifier;
  v.id_ = id;
  return v;
}

Value Value::OfBoolean(bool b) {
  Value v;
  v.type_ = Type::Boolean;
  v.boolean_ = b;
  return v;
}

void Value::Append(uint32_t id) {
  if (type_ == Type::Boolean) throw RuntimeError(u"Cannot change data type");
  if (type_ == Type::Identifier) ids_.assign(1, id_);
  type_ = Type::IdentifierList;
  ids_.push_back(id);
}

bool Value::Truth(const WordPositionList& positions) const {
  switch (type_) {
    case Type::Boolean:
      return boolean_;
    case Type::Empty:
      return false;
    default:
      for (uint32_t id : identifiers()) {
        if (!positions.SpansOf(id).empty()) return true;
      }
      return false;
  }
}

std::string Value::Text(const WordPositionList& positions) const {
  switch (type_) {
    case Type::Empty:
      return "null";
    case Type::Boolean:
      return boolean_ ? "true" : "false";
    case Type::IdentifierList: {
      if (ids_.empty()) return "null";
      std::string out = "{";
      for (size_t k = 0; k < ids_.size(); ++k) {
        if (k) out += ", ";
        out += std::to_string(ids_[k]);
      }
      return out + "}";
    }
    case Type::Identifier: {
      std::span<const Span> spans = positions.SpansOf(id_);
      if (spans.empty()) return "null";
      std::string out = "{";
      for (size_t k = 0; k < spans.size(); ++k) {
        if (k) out += ", ";
        if (spans[k].first == spans[k].last) {
          out += std::to_string(spans[k].first);
        } else {
          out += '(';
          out += std::to_string(spans[k].first);
          out += ", ";
          out += std::to_string(spans[k].last);
          out += ')';
        }
      }
      return out + "}";
    }
  }
  return "null";
}

}  // namespace Nimbra::Lexora
