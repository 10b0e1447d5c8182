#pragma once

#include <QString>

#include <memory>
#include <vector>

class QTranslator;

namespace lurvo::app {

// The languages of the user interface. The program's own texts are written in Simplified
// Chinese; the other two come from translations.
enum class UiLanguage { Simplified, Traditional, English };

// The stored values of the "uiLanguage" setting; an empty one follows the system.
inline constexpr char16_t kUiLanguageSimplified[] = u"zh_CN";
inline constexpr char16_t kUiLanguageTraditional[] = u"zh_HK";
inline constexpr char16_t kUiLanguageEnglish[] = u"en";

// The language to show: the setting when it names one of the three, else the one that suits
// the system locale ("zh_HK", "zh-Hant-TW", "en_GB.UTF-8"…): Traditional for Hong Kong, Taiwan,
// Macau and the Traditional script, Simplified for any other Chinese, English for the rest.
UiLanguage uiLanguageFor(const QString& systemLocale, const QString& setting);

// The setting value that chooses the language.
QString uiLanguageSetting(UiLanguage language);

// The page of the bundled site in the language: "help.html" becomes "help.zh-HK.html" or
// "help.en.html" beside it when that file exists, else the page stays as it is.
QString localizedPagePath(const QString& page, UiLanguage language);

// The translators of the language, loaded and ready to install: the program's own (from the
// embedded resources) and Qt's standard dialog texts from qtTranslationsFolder. None for
// Simplified Chinese's own texts; a missing file is skipped, the texts then stay untranslated.
std::vector<std::unique_ptr<QTranslator>> loadTranslators(UiLanguage language,
                                                          const QString& qtTranslationsFolder);

} // namespace lurvo::app
