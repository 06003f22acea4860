#include "engine/runtime/virtual_machine.h"

#include <algorithm>

#include "engine/base/exceptions.h"
#include "engine/compiler/listing.h"

namespace Nimbra::Lexora {

void VirtualMachine::Reset() {
  positions_.Reset(program_.identifierCount());
  // A large script's counters are mostly 0 after a scan: clear only those
  // that counted.
  if (hits_.size() == program_.statementCount()) {
    for (uint32_t e : triggered_) hits_[e] = 0;
  } else {
    hits_.assign(program_.statementCount(), 0);
  }
  triggered_.clear();
  stack_.clear();
  stored_.clear();
  unsettled_.clear();
  ip_ = 0;
}

void VirtualMachine::DiscardResults() {
  positions_ = WordPositionList();
  hits_.clear();
  triggered_.clear();
  stack_ = {};
  stored_.clear();
  unsettled_.clear();
  right_ = SpanIndex();
  rightSpans_ = {};
  result_ = {};
}

void VirtualMachine::Execute(FILE* log) {
  if (log) {  // a trace shows every instruction
    while (Step(log)) {
    }
    return;
  }
  blocks_.MarkLive(positions_.matched());
  const size_t size = program_.code().size();
  // Walking the blocks by number keeps each test independent of the last
  // one's load; the address is a local so that passing stays in registers.
  uint32_t ip = ip_;
  size_t block = 0;
  while (ip < size) {
    while (block < blocks_.count() && blocks_.BeginOf(block) < ip) ++block;
    if (block < blocks_.count() && blocks_.BeginOf(block) == ip && !blocks_.Live(block)) {
      block = blocks_.PassFrom(block, ip);
      continue;
    }
    ip_ = ip;
    Step(nullptr);
    ip = ip_;
  }
  ip_ = ip;
}

Value VirtualMachine::Pop() {
  if (stack_.empty()) throw RuntimeError(u"Stack underflow");
  Value v = std::move(stack_.back());
  stack_.pop_back();
  return v;
}

const Value& VirtualMachine::Top() const {
  if (stack_.empty()) throw RuntimeError(u"Stack underflow");
  return stack_.back();
}

// A taken jump continues at the target; the target must be inside the code.
void VirtualMachine::Jump(uint32_t target) {
  if (target >= program_.code().size()) {
    throw VMError(ip_, u"Address out of range: %08x", target);
  }
  ip_ = target - 1;  // the step's increment lands on the target
}

bool VirtualMachine::Step(FILE* log) {
  const std::vector<Instruction>& code = program_.code();
  if (ip_ >= code.size()) return false;
  const Instruction& in = code[ip_];
  if (log) {
    bool top = !stack_.empty() && stack_.back().Truth(positions_);
    WriteInstruction(log, program_, ip_, in, true, top);
  }
  switch (in.opcode) {
    // .load id: push the identifier; its truth is whether its record matched.
    case kOpLoad:
      stack_.push_back(Value::OfIdentifier(in.identifier()));
      break;

    // .and: pop R, then L; push truth(R) and truth(L), R tested first.
    case kOpAnd: {
      Value r = Pop();
      Value l = Pop();
      bool truth = r.Truth(positions_) && l.Truth(positions_);
      stack_.push_back(Value::OfBoolean(truth));
      break;
    }

    // .or: pop R, then L. Two position values unite into one list, R's
    // identifiers first, so later positional operators see both sides'
    // matches; anything else gives the boolean truth(R) or truth(L).
    case kOpOr: {
      Value r = Pop();
      Value l = Pop();
      auto isPositions = [](const Value& v) {
        return v.type() == Value::Type::Identifier || v.type() == Value::Type::IdentifierList;
      };
      if (isPositions(r) && isPositions(l)) {
        Value united = Value::EmptyList();
        for (uint32_t id : r.identifiers()) united.Append(id);
        for (uint32_t id : l.identifiers()) united.Append(id);
        stack_.push_back(std::move(united));
      } else {
        bool truth = r.Truth(positions_) || l.Truth(positions_);
        stack_.push_back(Value::OfBoolean(truth));
      }
      break;
    }

    // .not: pop x; push not truth(x).
    case kOpNot: {
      Value x = Pop();
      stack_.push_back(Value::OfBoolean(!x.Truth(positions_)));
      break;
    }

    // .instances n: pop x; true when x has at least n positions (counting
    // stops at n; n <= 0 is always true).
    case kOpInstances: {
      Value x = Pop();
      int64_t count = 0;
      int64_t wanted = in.count();
      if (wanted > 0) {
        x.ForEachPosition(positions_, [&](const Span&) { return ++count < wanted; });
      }
      stack_.push_back(Value::OfBoolean(count >= wanted));
      break;
    }

    // .loadresult e: push a copy of e's stored result, or an empty value.
    case kOpLoadResult: {
      auto it = stored_.find(static_cast<int32_t>(in.statement()));
      stack_.push_back(it != stored_.end() ? it->second : Value());
      break;
    }

    // .st e: pop x; add 1 to e's hit counter for a true boolean, else the
    // number of x's positions; a named statement keeps x for .loadresult.
    case kOpStore: {
      Value x = Pop();
      uint32_t e = in.statement();
      if (e >= hits_.size()) throw VMError(ip_, u"Expression index out of range: %d", in.operand);
      const bool counted = hits_[e] != 0;
      if (x.type() == Value::Type::Boolean) {
        hits_[e] += x.boolean() ? 1 : 0;
      } else {
        uint32_t count = 0;
        x.ForEachPosition(positions_, [&](const Span&) {
          ++count;
          return true;
        });
        hits_[e] += count;
      }
      if (!counted && hits_[e] != 0) triggered_.push_back(e);
      const Value* stored = nullptr;
      if (!program_.Options(e).name.empty())
        stored = &(stored_[static_cast<int32_t>(e)] = std::move(x));
      ReleaseUnreadTemporaries(stored);
      break;
    }

    // .jz a / .jnz a: test the top value without popping it; jump to a when
    // it is false (.jz) or true (.jnz). An AND's short cut relies on the
    // tested value staying on the stack as the result.
    case kOpJz:
    case kOpJnz:
      if (InfoOf(in.opcode).JumpTaken(Top().Truth(positions_))) Jump(in.target());
      break;

    // .near/.followedby/.precededby n and their negations: see Positional.
    // .nop, .break (a debugger's breakpoint) and unknown opcodes: nothing.
    default:
      if (InfoOf(in.opcode).IsPositional()) Positional(in, log);
      break;
  }
  ++ip_;
  return true;
}

// Pop R, then L. Plain forms: every pair of positions p of L and q of R
// within n words becomes the span covering both, in L-then-R order. Negated
// forms: every position of L with no such q is kept as it is. A temporary
// record is made only when something matched; else an empty list is pushed.
void VirtualMachine::Positional(const Instruction& in, FILE* log) {
  const OpcodeInfo& row = InfoOf(in.opcode);
  Value r = Pop();
  Value l = Pop();
  if (log) {
    // .!near is traced as .notnear.
    bool notNear = row.relation == Relation::Near && row.negated;
    std::fprintf(log, "    %s %s %s\n", notNear ? ".notnear" : row.mnemonic,
                 l.Text(positions_).c_str(), r.Text(positions_).c_str());
  }
  r.ForEachPosition(positions_, [&](const Span& q) {
    rightSpans_.push_back(q);
    return true;
  });
  right_.Assign(rightSpans_);
  const int32_t n = in.distance();
  result_.clear();
  l.ForEachPosition(positions_, [&](const Span& p) {
    if (row.negated) {
      if (!right_.AnyWithin(row.relation, p, n)) result_.push_back(p);
      return true;
    }
    for (uint32_t k : right_.AllWithin(row.relation, p, n)) {
      const Span& q = right_.at(k);
      int32_t first = std::min(static_cast<int32_t>(p.first), static_cast<int32_t>(q.first));
      int32_t last = std::max(static_cast<int32_t>(p.last), static_cast<int32_t>(q.last));
      result_.push_back({static_cast<uint32_t>(first), static_cast<uint32_t>(last)});
    }
    return true;
  });
  if (result_.empty()) {
    stack_.push_back(Value::EmptyList());
    return;
  }
  uint32_t id = positions_.NewTemporary(result_);
  unsettled_.push_back(id);
  stack_.push_back(Value::OfIdentifier(id));
}

void VirtualMachine::ReleaseUnreadTemporaries(const Value* stored) {
  if (keepTemporaries_ || unsettled_.empty()) return;
  const uint32_t fixed = positions_.fixedCount();
  named_.clear();
  auto collect = [&](const Value& v) {
    for (uint32_t id : v.identifiers()) {
      if (id >= fixed) named_.push_back(id);
    }
  };
  for (const Value& v : stack_) collect(v);
  const ptrdiff_t onStack = static_cast<ptrdiff_t>(named_.size());
  if (stored) collect(*stored);
  const auto stackEnd = named_.begin() + onStack;
  std::sort(named_.begin(), stackEnd);
  std::sort(stackEnd, named_.end());
  size_t kept = 0;
  for (uint32_t id : unsettled_) {
    if (std::binary_search(stackEnd, named_.end(), id)) continue;  // read until the scan ends
    if (std::binary_search(named_.begin(), stackEnd, id)) {
      unsettled_[kept++] = id;
    } else {
      positions_.ReleaseTemporary(id);
    }
  }
  unsettled_.resize(kept);
}

}  // namespace Nimbra::Lexora
