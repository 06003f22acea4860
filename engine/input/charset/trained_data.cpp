#include "engine/input/charset/trained_data.h"

// Each data file becomes a read-only symbol pair {start, end}; the assembler
// includes the bytes directly, which keeps the build fast.
#define LEXORA_EMBED(symbol, file)                                                       \
  asm(".section .rodata\n.balign 64\n.hidden " #symbol "\n.global " #symbol "\n" #symbol \
      ":\n.incbin \"" LEXORA_CHARSET_DATA_DIR "/" file "\"\n.hidden " #symbol            \
      "_end\n.global " #symbol "_end\n" #symbol "_end:\n.previous\n");                   \
  extern "C" const uint8_t symbol[];                                                     \
  extern "C" const uint8_t symbol##_end[];

LEXORA_EMBED(lexora_map_latin1, "map_latin1.bin")
LEXORA_EMBED(lexora_map_latin2, "map_latin2.bin")
LEXORA_EMBED(lexora_map_iso_8859_5, "map_iso_8859_5.bin")
LEXORA_EMBED(lexora_map_iso_8859_6, "map_iso_8859_6.bin")
LEXORA_EMBED(lexora_map_iso_8859_7, "map_iso_8859_7.bin")
LEXORA_EMBED(lexora_map_iso_8859_8, "map_iso_8859_8.bin")
LEXORA_EMBED(lexora_map_iso_8859_9, "map_iso_8859_9.bin")
LEXORA_EMBED(lexora_map_windows_1251, "map_windows_1251.bin")
LEXORA_EMBED(lexora_map_windows_1256, "map_windows_1256.bin")
LEXORA_EMBED(lexora_map_koi8_r, "map_koi8_r.bin")
LEXORA_EMBED(lexora_map_ibm424, "map_ibm424.bin")

LEXORA_EMBED(lexora_trigrams_da, "trigrams_da.bin")
LEXORA_EMBED(lexora_trigrams_de, "trigrams_de.bin")
LEXORA_EMBED(lexora_trigrams_en, "trigrams_en.bin")
LEXORA_EMBED(lexora_trigrams_es, "trigrams_es.bin")
LEXORA_EMBED(lexora_trigrams_fr, "trigrams_fr.bin")
LEXORA_EMBED(lexora_trigrams_it, "trigrams_it.bin")
LEXORA_EMBED(lexora_trigrams_nl, "trigrams_nl.bin")
LEXORA_EMBED(lexora_trigrams_no, "trigrams_no.bin")
LEXORA_EMBED(lexora_trigrams_pt, "trigrams_pt.bin")
LEXORA_EMBED(lexora_trigrams_sv, "trigrams_sv.bin")
LEXORA_EMBED(lexora_trigrams_cs, "trigrams_cs.bin")
LEXORA_EMBED(lexora_trigrams_hu, "trigrams_hu.bin")
LEXORA_EMBED(lexora_trigrams_pl, "trigrams_pl.bin")
LEXORA_EMBED(lexora_trigrams_ro, "trigrams_ro.bin")
LEXORA_EMBED(lexora_trigrams_ru_iso_8859_5, "trigrams_ru_iso_8859_5.bin")
LEXORA_EMBED(lexora_trigrams_ar_iso_8859_6, "trigrams_ar_iso_8859_6.bin")
LEXORA_EMBED(lexora_trigrams_el, "trigrams_el.bin")
LEXORA_EMBED(lexora_trigrams_he_visual, "trigrams_he_visual.bin")
LEXORA_EMBED(lexora_trigrams_he_logical, "trigrams_he_logical.bin")
LEXORA_EMBED(lexora_trigrams_tr, "trigrams_tr.bin")
LEXORA_EMBED(lexora_trigrams_ru_windows_1251, "trigrams_ru_windows_1251.bin")
LEXORA_EMBED(lexora_trigrams_ar_windows_1256, "trigrams_ar_windows_1256.bin")
LEXORA_EMBED(lexora_trigrams_ru_koi8_r, "trigrams_ru_koi8_r.bin")
LEXORA_EMBED(lexora_trigrams_he_ibm424_visual, "trigrams_he_ibm424_visual.bin")
LEXORA_EMBED(lexora_trigrams_he_ibm424_logical, "trigrams_he_ibm424_logical.bin")

LEXORA_EMBED(lexora_common_big5, "common_big5.bin")
LEXORA_EMBED(lexora_common_euc_jp, "common_euc_jp.bin")
LEXORA_EMBED(lexora_common_euc_kr, "common_euc_kr.bin")
LEXORA_EMBED(lexora_common_gb18030, "common_gb18030.bin")
LEXORA_EMBED(lexora_common_shift_jis, "common_shift_jis.bin")

LEXORA_EMBED(lexora_valid_bmp, "valid_bmp.bin")
LEXORA_EMBED(lexora_valid_supplementary, "valid_supplementary.bin")

namespace Nimbra::Lexora {
namespace {

ByteSpan Span(const uint8_t* start, const uint8_t* end) {
  return {start, static_cast<size_t>(end - start)};
}

}  // namespace

const uint8_t* CharMap(CharMapId id) {
  static const uint8_t* const kMaps[kCharMapCount] = {
      lexora_map_latin1,     lexora_map_latin2,       lexora_map_iso_8859_5,
      lexora_map_iso_8859_6, lexora_map_iso_8859_7,   lexora_map_iso_8859_8,
      lexora_map_iso_8859_9, lexora_map_windows_1251, lexora_map_windows_1256,
      lexora_map_koi8_r,     lexora_map_ibm424,
  };
  return kMaps[static_cast<size_t>(id)];
}

const uint8_t* TrigramTable(TrigramTableId id) {
  static const uint8_t* const kTables[kTrigramTableCount] = {
      lexora_trigrams_da,
      lexora_trigrams_de,
      lexora_trigrams_en,
      lexora_trigrams_es,
      lexora_trigrams_fr,
      lexora_trigrams_it,
      lexora_trigrams_nl,
      lexora_trigrams_no,
      lexora_trigrams_pt,
      lexora_trigrams_sv,
      lexora_trigrams_cs,
      lexora_trigrams_hu,
      lexora_trigrams_pl,
      lexora_trigrams_ro,
      lexora_trigrams_ru_iso_8859_5,
      lexora_trigrams_ar_iso_8859_6,
      lexora_trigrams_el,
      lexora_trigrams_he_visual,
      lexora_trigrams_he_logical,
      lexora_trigrams_tr,
      lexora_trigrams_ru_windows_1251,
      lexora_trigrams_ar_windows_1256,
      lexora_trigrams_ru_koi8_r,
      lexora_trigrams_he_ibm424_visual,
      lexora_trigrams_he_ibm424_logical,
  };
  return kTables[static_cast<size_t>(id)];
}

ByteSpan CommonChars(CommonCharsId id) {
  switch (id) {
    case CommonCharsId::kBig5:
      return Span(lexora_common_big5, lexora_common_big5_end);
    case CommonCharsId::kEucJp:
      return Span(lexora_common_euc_jp, lexora_common_euc_jp_end);
    case CommonCharsId::kEucKr:
      return Span(lexora_common_euc_kr, lexora_common_euc_kr_end);
    case CommonCharsId::kGb18030:
      return Span(lexora_common_gb18030, lexora_common_gb18030_end);
    case CommonCharsId::kShiftJis:
      return Span(lexora_common_shift_jis, lexora_common_shift_jis_end);
  }
  return {nullptr, 0};
}

const uint8_t* ValidBmpBitmap() {
  return lexora_valid_bmp;
}

ByteSpan ValidSupplementaryRanges() {
  return Span(lexora_valid_supplementary, lexora_valid_supplementary_end);
}

}  // namespace Nimbra::Lexora
