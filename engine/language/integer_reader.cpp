#include "engine/language/integer_reader.h"

#include <unicode/uchar.h>

namespace Nimbra::Lexora {

ReadInteger ReadLeadingInteger(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && u_isspace(text[i])) ++i;
  bool negative = i < text.size() && text[i] == u'-';
  if (negative) ++i;
  int64_t magnitude = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
    magnitude = magnitude * 10 + (text[i] - u'0');
    if (magnitude > 2147483648LL) magnitude = 2147483648LL;  // saturated; stays there
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value > 2147483647LL) value = 2147483647LL;
  return {static_cast<int32_t>(value), digits > 0 && i == text.size()};
}

}  // namespace Nimbra::Lexora
