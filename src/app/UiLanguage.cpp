#include "app/UiLanguage.h"

#include <QDir>
#include <QFileInfo>
#include <QTranslator>

namespace lurvo::app {

UiLanguage uiLanguageFor(const QString& systemLocale, const QString& setting) {
    const QStringView chosen(setting);
    if (chosen == QStringView(kUiLanguageSimplified))
        return UiLanguage::Simplified;
    if (chosen == QStringView(kUiLanguageTraditional))
        return UiLanguage::Traditional;
    if (chosen == QStringView(kUiLanguageEnglish))
        return UiLanguage::English;

    // "zh_HK.UTF-8@euro" and "zh-Hant-HK" alike: language, then script or region parts.
    QString name = systemLocale.section(u'.', 0, 0).section(u'@', 0, 0).toLower();
    name.replace(u'-', u'_');
    const QStringList parts = name.split(u'_', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.first() != QLatin1StringView("zh"))
        return UiLanguage::English;
    // The script, when given, comes before the region.
    const QStringList traditional = {QStringLiteral("hant"), QStringLiteral("hk"),
                                     QStringLiteral("tw"), QStringLiteral("mo")};
    for (const QString& part : parts.mid(1)) {
        if (traditional.contains(part))
            return UiLanguage::Traditional;
        if (part == QLatin1StringView("hans"))
            return UiLanguage::Simplified;
    }
    return UiLanguage::Simplified;
}

QString uiLanguageSetting(UiLanguage language) {
    switch (language) {
    case UiLanguage::Traditional:
        return QString::fromUtf16(kUiLanguageTraditional);
    case UiLanguage::English:
        return QString::fromUtf16(kUiLanguageEnglish);
    case UiLanguage::Simplified:
        break;
    }
    return QString::fromUtf16(kUiLanguageSimplified);
}

QString localizedPagePath(const QString& page, UiLanguage language) {
    const QString tag = language == UiLanguage::Traditional ? QStringLiteral("zh-HK")
                        : language == UiLanguage::English   ? QStringLiteral("en")
                                                            : QString();
    const QFileInfo original(page);
    if (tag.isEmpty() || original.suffix() != QLatin1StringView("html"))
        return page;
    const QString translated =
        original.dir().filePath(original.completeBaseName() + u'.' + tag + QStringLiteral(".html"));
    return QFileInfo(translated).isFile() ? translated : page;
}

std::vector<std::unique_ptr<QTranslator>> loadTranslators(UiLanguage language,
                                                          const QString& qtTranslationsFolder) {
    std::vector<std::unique_ptr<QTranslator>> translators;
    const auto add = [&translators](const QString& file) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(file))
            translators.push_back(std::move(translator));
    };
    switch (language) {
    case UiLanguage::Simplified:
        add(qtTranslationsFolder + QStringLiteral("/qtbase_zh_CN.qm"));
        break;
    case UiLanguage::Traditional:
        add(QStringLiteral(":/i18n/lurvo_zh_HK.qm"));
        // Qt ships no Hong Kong translation of its own; Taiwan's is the Traditional one.
        add(qtTranslationsFolder + QStringLiteral("/qtbase_zh_TW.qm"));
        break;
    case UiLanguage::English:
        // Qt's own texts are English already.
        add(QStringLiteral(":/i18n/lurvo_en.qm"));
        break;
    }
    return translators;
}

} // namespace lurvo::app
