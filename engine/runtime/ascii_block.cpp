#include "engine/runtime/ascii_block.h"

#include "engine/base/char_props.h"
#include "engine/base/unit_roles.h"

namespace Nimbra::Lexora {

AsciiBlock ClassifyAsciiBlockByUnit(const char16_t* units, std::string_view read) {
  AsciiBlock block;
  for (size_t i = 0; i < kAsciiBlockUnits; ++i) {
    const char16_t unit = units[i];
    if (unit == 0 || unit >= 0x80) continue;
    const uint8_t role = RoleOf(unit);
    if (role & kRoleWord) {
      block.words |= uint64_t{1} << i;
    } else if (!(role & kRoleJoiner) && read.find(static_cast<char>(unit)) == read.npos) {
      block.separators |= uint64_t{1} << i;
    }
  }
  return block;
}

AsciiWordFilter::Key AsciiKeyByUnit(const char16_t* units, size_t length) {
  AsciiWordFilter::Key key;
  for (size_t i = 0; i < length; ++i) {
    key.Put(i, static_cast<uint8_t>(FoldUnit(units[i])));
  }
  return key;
}

}  // namespace Nimbra::Lexora
