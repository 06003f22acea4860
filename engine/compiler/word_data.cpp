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
  for (char16_t u = 0; u < latinGaps.size(); ++u) latinGaps[u] = ComputeGap(u);
}

}  // namespace Nimbra::Lexora
