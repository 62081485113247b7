// Texts in the operator's language. The program's texts are written in
// Catalan; the language file LOCALE\<program>.LNG under the root folder
// holds records of four texts (the Catalan key, then Galician, Aranese and
// Spanish), and Translate picks the one for the session's language.
#ifndef QAV_FORMS_TRANSLATE_H_
#define QAV_FORMS_TRANSLATE_H_

#include <string>
#include <string_view>

namespace qav {

// The text in the session language, or the text itself when the language is
// Catalan, the file is missing or no key equals the text byte for byte. A
// language code other than SPA, GLG, OCI keeps the text. A missing file is
// created empty when its folder exists. The file is read again whenever it
// changes on disk.
std::string Translate(std::string_view text);

// Forgets the language file read; for tests.
void ResetTranslations();

}  // namespace qav

#endif  // QAV_FORMS_TRANSLATE_H_
