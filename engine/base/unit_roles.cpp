#include "engine/base/unit_roles.h"

#include <mutex>

#include "engine/base/char_props.h"

namespace Nimbra::Lexora {

uint8_t g_unitRoles[65536];

namespace {

bool IsJoiningHyphen(char16_t c) {
  return c == 0x1806 || c == 0x058A || c == 0x1400 || c == 0x2010 || c == 0x2011;
}

bool IsJoiner(char16_t c) {
  return c == 0x0027 || c == 0x002D || c == 0x02BC || c == 0x055A || c == 0x2019 || c == 0xFF07;
}

bool IsDash(char16_t c) {
  return c == 0x2012 || c == 0x2013 || c == 0x2014 || c == 0x2212;
}

// The special units are tested in this order: a soft hyphen is dropped
// before anything else, an ideograph is a word of its own whatever its other
// properties, then the hyphen, joiner and dash lists override the properties.
uint8_t ComputeRole(char16_t c) {
  uint8_t role = 0;
  if (IsDigitUnit(c)) role |= kRoleDigit;
  if (IsAlphaUnit(c)) role |= kRoleLetter;
  if (c == 0x00AD) return role | kRoleSoftHyphen;
  if (IsIdeographUnit(c)) return role | kRoleIdeograph;
  if (IsJoiningHyphen(c)) return role | kRoleWord;
  if (IsJoiner(c)) return role | kRoleJoiner;
  if (IsDash(c)) return role;
  return PropsOf(c).other == 0 ? role | kRoleWord : role;
}

}  // namespace

void BuildUnitRoles() {
  static std::once_flag once;
  std::call_once(once, [] {
    BuildCharPropsTable();
    for (uint32_t c = 0; c < 0x10000; ++c) g_unitRoles[c] = ComputeRole(static_cast<char16_t>(c));
  });
}

}  // namespace Nimbra::Lexora
