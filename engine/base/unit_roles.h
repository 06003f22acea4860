// How the word finder treats each BMP code unit, one byte per unit, so that
// classifying a unit of scanned text costs a single table read instead of a
// property read and a chain of comparisons.
#ifndef LEXORA_ENGINE_BASE_UNIT_ROLES_H
#define LEXORA_ENGINE_BASE_UNIT_ROLES_H

#include <cstdint>

namespace Nimbra::Lexora {

// A unit with none of the first four roles is a separator.
enum UnitRole : uint8_t {
  kRoleWord = 0x01,        // always a word character
  kRoleJoiner = 0x02,      // a word character only between two letters
  kRoleIdeograph = 0x04,   // a word of its own
  kRoleSoftHyphen = 0x08,  // dropped: never stored nor matched
  kRoleDigit = 0x10,       // the digit property
  kRoleLetter = 0x20,      // the alphabetic property
};

// A unit with any of these roles may begin or continue a word.
inline constexpr uint8_t kRolesInWords =
    kRoleWord | kRoleJoiner | kRoleIdeograph | kRoleDigit | kRoleLetter;

extern uint8_t g_unitRoles[65536];

// Fills the table (and the character property table it is derived from).
// Safe to call from several threads; the work is done once per process.
void BuildUnitRoles();

inline uint8_t RoleOf(char16_t unit) {
  return g_unitRoles[unit];
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_UNIT_ROLES_H
