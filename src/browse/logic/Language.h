#pragma once
// Languages of the file browsing widgets, in their published order.

namespace ferlane {

enum TLanguage {
  lnSysDefault,
  lnEnglish,
  lnFrench,
  lnGerman,
  lnSpanish,
  lnPortuguese,
  lnItalian,
  lnDutch,
  lnPolish,
  lnSlovak,
};

// The widget language for a Windows language id (its low ten bits, the
// primary language); anything unknown is English.
TLanguage LanguageFromLangId(unsigned langId);

}  // namespace ferlane
