#include "browse/logic/Language.h"

namespace ferlane {

TLanguage LanguageFromLangId(unsigned langId) {
  switch (langId & 0x3FF) {  // the primary language; the sublanguage does not matter
    case 0x07: return lnGerman;
    case 0x0A: return lnSpanish;
    case 0x0C: return lnFrench;
    case 0x10: return lnItalian;
    case 0x13: return lnDutch;
    case 0x15: return lnPolish;
    case 0x16: return lnPortuguese;
    case 0x1B: return lnSlovak;
    default: return lnEnglish;
  }
}

}  // namespace ferlane
