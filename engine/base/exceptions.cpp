#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

void SyntaxError::Place(int32_t line, int32_t column) {
  line_ = line;
  column_ = column;
  if (line_ == -1 || column_ == -1) return;
  std::u16string prefix = CutToCapacity(Format(u"Line %d, column %d: ", line_, column_), 64);
  message_ = prefix + message_.substr(prefixLength_);
  prefixLength_ = static_cast<uint32_t>(prefix.size());
}

}  // namespace Nimbra::Lexora
