#include "engine/compiler/program.h"

#include <algorithm>

#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

const std::u16string kUnknownText = u"<unknown>";
const OptionRecord kDefaultOptions = {u"", 10, 1, true};

}  // namespace

bool FoldedLess::operator()(const std::u16string& a, const std::u16string& b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char16_t x, char16_t y) { return FoldUnit(x) < FoldUnit(y); });
}

uint32_t Program::NewLabel() {
  labels_.push_back(-1);
  return static_cast<uint32_t>(labels_.size() - 1);
}

void Program::DefineLabel(uint32_t label) {
  labels_.at(label) = static_cast<int32_t>(code_.size());
}

void Program::LinkJumps() {
  for (Instruction& i : code_) {
    if (!InfoOf(i.opcode).IsJump()) continue;
    // Until now the operand is a label number.
    if (i.operand < 0 || static_cast<size_t>(i.operand) >= labels_.size()) {
      throw RuntimeError(u"Invalid jump target");
    }
    i.operand = labels_[static_cast<size_t>(i.operand)];
  }
}

int32_t Program::LabelAt(uint32_t address) const {
  for (size_t n = 0; n < labels_.size(); ++n) {
    if (labels_[n] == static_cast<int32_t>(address)) return static_cast<int32_t>(n);
  }
  return -1;
}

uint32_t Program::AddIdentifier(std::u16string text) {
  identifierTexts_.push_back(std::move(text));
  return static_cast<uint32_t>(identifierTexts_.size() - 1);
}

const std::u16string& Program::IdentifierText(uint32_t id) const {
  return id < identifierTexts_.size() ? identifierTexts_[id] : kUnknownText;
}

uint32_t Program::AddStatement(std::u16string text, OptionRecord options) {
  statementTexts_.push_back(std::move(text));
  options_.push_back(std::move(options));
  return static_cast<uint32_t>(statementTexts_.size() - 1);
}

const std::u16string& Program::StatementText(uint32_t index) const {
  return index < statementTexts_.size() ? statementTexts_[index] : kUnknownText;
}

const OptionRecord& Program::Options(uint32_t index) const {
  return index < options_.size() ? options_[index] : kDefaultOptions;
}

int32_t Program::FindNamedStatement(const std::u16string& name) const {
  auto it = names_.find(name);
  return it == names_.end() ? -1 : static_cast<int32_t>(it->second);
}

void Program::EnterName(const std::u16string& name, uint32_t index) {
  names_[name] = index;
}

}  // namespace Nimbra::Lexora
