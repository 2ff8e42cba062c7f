#include "news/news_texts.h"

namespace nv {

const char* const kReadNewsErrorText =
    "Es trat ein Fehler beim Lesen der News f\xFCr das Produkt '%s' auf.\nFehler: %ld\n%s";
const char* const kSetNewsItemStateErrorText = "Es trat ein Fehler bei SetNewsItemState auf.\n%s";

} // namespace nv
