// The text of a MIME part's bytes in UTF-16, from its declared charset or,
// where that cannot be trusted, from the engine's charset detection.
#ifndef LEXORA_TOOLS_MAIL_PART_DECODER_H
#define LEXORA_TOOLS_MAIL_PART_DECODER_H

#include <string>
#include <string_view>

namespace lexora_mail {

struct DecodedPart {
  std::u16string text;
  std::string charset;    // the charset the bytes were decoded from
  bool detected = false;  // true when the declaration was missing, unknown or wrong
};

// Decodes with `declared` (null or empty when the part names none) when ICU
// opens it and every byte sequence is legal and assigned in it ("plainly
// wrong" otherwise); else as UTF-8 when the bytes are valid UTF-8; else with
// the converter the engine's file streams would choose for these bytes.
DecodedPart DecodePart(std::string_view bytes, const char* declared);

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_PART_DECODER_H
