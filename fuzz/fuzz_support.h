// Shared pieces of the fuzz targets.
#ifndef LEXORA_FUZZ_FUZZ_SUPPORT_H
#define LEXORA_FUZZ_FUZZ_SUPPORT_H

#include <cstdint>
#include <cstring>
#include <string>

#include "lexora2/lexora2.h"

namespace lexora_fuzz {

struct Library {
  Library() { LXInitialize(); }
};

// The input bytes read as UTF-16LE code units (an odd last byte dropped).
inline std::u16string AsUtf16(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  return text;
}

// A rich script that uses every construct, classes included.
inline const char16_t* RichScript() {
  return u"[NAME=Money,SCORE=2,MATCH=3] money OR cash OR \"USD\"\n"
         u"[SCORE=15,MATCH=ALL] (bank OR account*) NEAR=6 (verify OR confirm)\n"
         u"[SCORE=12] click FOLLOWEDBY=3 (here OR link)\n"
         u"[SCORE=-5] unsubscribe PRECEDEDBY=3 please\n"
         u"[SCORE=20] \"wire transfer\" NEAR=8 [@Money]\n"
         u"[SCORE=5,MATCH=ALL] free INSTANCES=3\n"
         u"[NAME=Card] [CCARD]\n[] [US-SSN]\n\"social security\" NEAR=5 [NUM]\n"
         u"v?agra OR pharma* OR [LETTER][DIGIT][DIGIT]*\n"
         u"a NOT NEAR=2 b\nc NOT FOLLOWEDBY d\ne NOT PRECEDEDBY=1 f\n"
         u"invoice AND NOT \"PO\"\nNOT (x OR y)\n[] [@card] AND [@money]\n"
         u"card number [CCARD] OR \"card no\" [CCARD]\n* AND \"Cat\" AND cat\n";
}

}  // namespace lexora_fuzz

#endif  // LEXORA_FUZZ_FUZZ_SUPPORT_H
