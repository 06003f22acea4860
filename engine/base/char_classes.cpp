#include "engine/base/char_classes.h"

#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

struct ClassEntry {
  int32_t id;
  std::u16string_view name;
};

constexpr ClassEntry kClasses[] = {{kClassLetter, u"LETTER"},
                                   {kClassDigit, u"DIGIT"},
                                   {kClassNum, u"NUM"},
                                   {kClassCcard, u"CCARD"},
                                   {kClassUsSsn, u"US-SSN"}};

constexpr int32_t kNeedsNum[] = {kClassNum};

}  // namespace

int32_t FindClass(std::u16string_view name, bool fold) {
  for (const ClassEntry& entry : kClasses) {
    if (entry.name.size() != name.size()) continue;
    bool equal = true;
    for (size_t k = 0; k < name.size() && equal; ++k) {
      equal = fold ? FoldUnit(entry.name[k]) == FoldUnit(name[k]) : entry.name[k] == name[k];
    }
    if (equal) return entry.id;
  }
  return kClassNone;
}

std::u16string_view ClassName(int32_t classId) {
  for (const ClassEntry& entry : kClasses) {
    if (entry.id == classId) return entry.name;
  }
  return {};
}

std::span<const int32_t> ClassDependencies(int32_t classId) {
  if (classId == kClassCcard || classId == kClassUsSsn) return kNeedsNum;
  return {};
}

void ClassMap::Add(int32_t classId, uint32_t wordId) {
  auto [it, added] = ids_.emplace(classId, wordId);
  if (!added && it->second != wordId) {
    throw RuntimeError(u"Class already added with a different ID");
  }
}

std::optional<uint32_t> ClassMap::WordIdOf(int32_t classId) const {
  auto it = ids_.find(classId);
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

}  // namespace Nimbra::Lexora
