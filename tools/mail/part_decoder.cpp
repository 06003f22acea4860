#include "tools/mail/part_decoder.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/input/file_stream.h"

namespace lexora_mail {
namespace {

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

// Appends the decoded bytes to `out`. With `strict`, stops and returns false
// at the first sequence that is illegal or unassigned in the charset.
bool Convert(UConverter* converter, std::string_view bytes, bool strict, std::u16string& out) {
  UErrorCode status = U_ZERO_ERROR;
  if (strict) {
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) return false;
  }
  const char* source = bytes.data();
  const char* sourceEnd = source + bytes.size();
  char16_t chunk[4096];
  do {
    status = U_ZERO_ERROR;
    UChar* target = chunk;
    ucnv_toUnicode(converter, &target, chunk + std::size(chunk), &source, sourceEnd, nullptr, true,
                   &status);
    out.append(chunk, static_cast<size_t>(target - chunk));
  } while (status == U_BUFFER_OVERFLOW_ERROR);
  return U_SUCCESS(status);
}

// True and the text when ICU opens `charset` and the bytes are legal in it.
bool DecodeStrictly(std::string_view bytes, const char* charset, DecodedPart& part) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(charset, &status), ucnv_close);
  if (U_SUCCESS(status) && Convert(converter.get(), bytes, true, part.text)) {
    part.charset = charset;
    return true;
  }
  part.text.clear();
  return false;
}

}  // namespace

DecodedPart DecodePart(std::string_view bytes, const char* declared) {
  DecodedPart part;
  // An empty name would open ICU's default converter.
  if (declared != nullptr && *declared != '\0' && DecodeStrictly(bytes, declared, part)) {
    return part;
  }
  part.detected = true;
  // Valid UTF-8 with a few accents is read as such: the detector, made for
  // whole files, takes a short part with fewer than four of them for Latin-1.
  if (DecodeStrictly(bytes, "UTF-8", part)) return part;
  size_t sample = std::min(bytes.size(), Nimbra::Lexora::kSampleSize);
  Converter converter(
      Nimbra::Lexora::OpenConverterForSample(reinterpret_cast<const uint8_t*>(bytes.data()), sample,
                                             nullptr, &part.charset),
      ucnv_close);
  if (converter) Convert(converter.get(), bytes, false, part.text);
  return part;
}

}  // namespace lexora_mail
