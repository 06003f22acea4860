#include "engine/compiler/word_data.h"

#include "engine/base/unit_roles.h"

namespace Nimbra::Lexora {

Gap WordData::ComputeGap(char16_t unit) const {
  uint8_t role = RoleOf(unit);
  if (role & kRoleSoftHyphen) return Gap::kSoftHyphen;
  bool read = (role & kRolesInWords) || folded.HasColumn(unit) || exact.HasColumn(unit);
  return read ? Gap::kOther : Gap::kSeparator;
}

void WordData::FindLatinGaps() {
  asciiSeparatorsRead.clear();
  for (char16_t u = 0; u < latinGaps.size(); ++u) {
    latinGaps[u] = ComputeGap(u);
    if (u < 0x80 && latinGaps[u] == Gap::kOther && !(RoleOf(u) & kRolesInWords)) {
      asciiSeparatorsRead += static_cast<char>(u);
    }
  }
}

}  // namespace Nimbra::Lexora
