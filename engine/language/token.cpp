#include "engine/language/token.h"

namespace Nimbra::Lexora {

const char16_t* ShortNameOf(TokenKind kind) {
  static const char16_t* const kNames[] = {
      u"ERR", u"EOF", u"EOL", u"OPN", u"OPV", u"PAT", u"QPT", u"CLS", u"UNK", u"WRD", u"NUM",
      u"QWD", u" ( ", u" ) ", u" = ", u"AND", u"OR ", u"NOT", u"NER", u"FBY", u"PBY", u"INS"};
  // A reference has no short name of its own and prints like any unknown kind.
  if (kind < 0 || kind > kTokenInstances || kind == kTokenReference) return u"UNK";
  return kNames[kind];
}

}  // namespace Nimbra::Lexora
