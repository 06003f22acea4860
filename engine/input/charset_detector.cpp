#include "engine/input/charset_detector.h"

namespace Nimbra::Lexora {

// The statistical recognizers are not part of this build yet, so detection
// names nothing and the file stream falls back to ISO-8859-1.
bool DetectCharset(const uint8_t*, size_t, char (&)[kEncodingNameCapacity]) {
  return false;
}

}  // namespace Nimbra::Lexora
