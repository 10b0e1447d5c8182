#include "app/StringTable.h"
#include "app/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLibraryInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lurvo::app;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(UiLanguage, FollowsTheSystemLocale) {
    const struct {
        const char* locale;
        UiLanguage expected;
    } cases[] = {
        {"zh_HK", UiLanguage::Traditional},
        {"zh_TW", UiLanguage::Traditional},
        {"zh_MO", UiLanguage::Traditional},
        {"zh_HK.UTF-8", UiLanguage::Traditional},
        {"zh-Hant-SG", UiLanguage::Traditional},
        {"zh_Hant", UiLanguage::Traditional},
        {"zh_CN", UiLanguage::Simplified},
        {"zh_SG", UiLanguage::Simplified},
        {"zh", UiLanguage::Simplified},
        {"zh_Hans_HK", UiLanguage::Simplified},
        {"zh_CN.GB18030", UiLanguage::Simplified},
        {"en_US", UiLanguage::English},
        {"fr_FR.UTF-8", UiLanguage::English},
        {"yue_HK", UiLanguage::English},
        {"C", UiLanguage::English},
        {"", UiLanguage::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(uiLanguageFor(QString::fromUtf8(c.locale), QString()), c.expected) << c.locale;
}

TEST(UiLanguage, StoredChoiceWinsAndUnknownValuesFollowTheSystem) {
    EXPECT_EQ(uiLanguageFor("en_US", "zh_HK"), UiLanguage::Traditional);
    EXPECT_EQ(uiLanguageFor("zh_HK", "en"), UiLanguage::English);
    EXPECT_EQ(uiLanguageFor("zh_TW", "zh_CN"), UiLanguage::Simplified);
    EXPECT_EQ(uiLanguageFor("zh_TW", "fr"), UiLanguage::Traditional);
    EXPECT_EQ(uiLanguageFor("de_DE", "zh_TW"), UiLanguage::English) << "only the three values";
    for (const UiLanguage language :
         {UiLanguage::Simplified, UiLanguage::Traditional, UiLanguage::English})
        EXPECT_EQ(uiLanguageFor("de_DE", uiLanguageSetting(language)), language);
}

TEST(UiLanguage, PagesInTheLanguageWhenTheyExist) {
    QTemporaryDir site;
    const QDir dir(site.path());
    ASSERT_TRUE(dir.mkpath("soft"));
    for (const char* name : {"soft/help.html", "soft/help.en.html", "index.html"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString help = dir.filePath("soft/help.html");
    EXPECT_EQ(localizedPagePath(help, UiLanguage::English), dir.filePath("soft/help.en.html"));
    EXPECT_EQ(localizedPagePath(help, UiLanguage::Traditional), help) << "no zh-HK page";
    EXPECT_EQ(localizedPagePath(help, UiLanguage::Simplified), help);
    const QString index = dir.filePath("index.html");
    EXPECT_EQ(localizedPagePath(index, UiLanguage::English), index);
    const QString missing = dir.filePath("down/index.html");
    EXPECT_EQ(localizedPagePath(missing, UiLanguage::English), missing);
}

// One message of a translation file: its context, source and translation as the program sees
// them (a "<byte value="xd"/>" element is a carriage return).
struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

struct Catalogue {
    QList<Message> messages;
    QString error;
};

Catalogue readCatalogue(const QString& path) {
    Catalogue result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString* text = nullptr; // the element being read
    Message message;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == u"message") {
                message = Message{context, {}, {}, {}};
            } else if (xml.name() == u"name") {
                context.clear();
                text = &context;
            } else if (xml.name() == u"source") {
                text = &message.source;
            } else if (xml.name() == u"translation") {
                message.type = xml.attributes().value(QStringLiteral("type")).toString();
                text = &message.translation;
            } else if (xml.name() == u"byte" && text) {
                bool ok = false;
                const uint code = xml.attributes()
                                      .value(QStringLiteral("value"))
                                      .toString()
                                      .mid(1)
                                      .toUInt(&ok, 16);
                if (ok)
                    text->append(QChar(char16_t(code)));
            }
            break;
        case QXmlStreamReader::Characters:
            if (text)
                text->append(xml.text());
            break;
        case QXmlStreamReader::EndElement:
            if (xml.name() == u"message")
                result.messages << message;
            if (xml.name() != u"byte")
                text = nullptr;
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        result.error = xml.errorString();
    return result;
}

// Every placeholder and control sequence the program fills in or lays out with, by count.
QMap<QString, int> placeholders(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(%[dsS1-9]|\t|\r\n|\n)"));
    QMap<QString, int> found;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        ++found[match.captured()];
    return found;
}

QString catalogueFile(const char* name) {
    return QStringLiteral(LURVO_SOURCE_DIR "/translations/") + QString::fromLatin1(name);
}

class TranslationFile : public testing::TestWithParam<const char*> {};

TEST_P(TranslationFile, EveryTextIsTranslatedWithItsPlaceholders) {
    const Catalogue catalogue = readCatalogue(catalogueFile(GetParam()));
    ASSERT_EQ(catalogue.error, "");
    ASSERT_GT(catalogue.messages.size(), 200);
    for (const Message& m : catalogue.messages) {
        const std::string where = (m.context + QStringLiteral(" / ") + m.source).toStdString();
        EXPECT_EQ(m.type, "") << where;
        EXPECT_FALSE(m.translation.trimmed().isEmpty()) << where;
        EXPECT_EQ(placeholders(m.translation), placeholders(m.source))
            << where << " -> " << m.translation.toStdString();
    }
}

// A text added to the sources without its translations: lupdate finds it, the files lack it.
TEST_P(TranslationFile, HoldsEveryTextOfTheSources) {
    QTemporaryDir scratch;
    const QString extracted = scratch.filePath("extracted.ts");
    QProcess lupdate;
    lupdate.start(QStringLiteral(LURVO_LUPDATE),
                  {"-silent", "-locations", "none", QStringLiteral(LURVO_SOURCE_DIR "/src"), "-ts",
                   extracted});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const Catalogue sources = readCatalogue(extracted);
    ASSERT_EQ(sources.error, "");
    ASSERT_GT(sources.messages.size(), 200);

    QSet<QString> translated;
    for (const Message& m : readCatalogue(catalogueFile(GetParam())).messages)
        if (m.type.isEmpty() && !m.translation.isEmpty())
            translated.insert(m.context + u'\x1f' + m.source);
    for (const Message& m : sources.messages)
        EXPECT_TRUE(translated.contains(m.context + u'\x1f' + m.source))
            << m.context.toStdString() << " / " << m.source.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslationFile,
                         testing::Values("lurvo_zh_HK.ts", "lurvo_en.ts"));

// A text's parts as the learner sees them on screen: without the access-key marker, split where
// a menu item puts its key or a message breaks its lines.
QStringList visibleParts(QString text) {
    static const QRegularExpression accessKey(QStringLiteral(R"(\(&[A-Za-z]\)$)"));
    static const QRegularExpression breaks(QStringLiteral("[\t\r\n]+"));
    text.remove(accessKey);
    text.remove(u'&');
    QStringList parts = text.split(breaks);
    for (QString& part : parts)
        part = part.simplified();
    return parts;
}

// Every translation of each visible part of a source text, over all contexts.
QHash<QString, QStringList> translatedParts(const Catalogue& catalogue) {
    QHash<QString, QStringList> parts;
    for (const Message& m : catalogue.messages) {
        const QStringList source = visibleParts(m.source);
        const QStringList translation = visibleParts(m.translation);
        if (source.size() != translation.size())
            continue;
        for (qsizetype i = 0; i < source.size(); ++i)
            if (!source[i].isEmpty() && !source[i].contains(u'%'))
                parts[source[i]].append(translation[i]);
    }
    return parts;
}

QString pageText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll()).simplified();
    text.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s).replace(u"&amp;"_s, u"&"_s);
    return text;
}

// The bundled pages quote the interface ("menu 操作 → 打开mp3文件…"). A translated page must
// quote the text its own interface shows, or the learner looks for an item that is not there.
TEST(BundledPages, QuoteTheInterfaceAsItIsTranslated) {
    const struct {
        const char* catalogue;
        const char* suffix;
        QString open, close;
    } languages[] = {
        {"lurvo_zh_HK.ts", ".zh-HK.html", u"「"_s, u"」"_s},
        {"lurvo_en.ts", ".en.html", u"\""_s, u"\""_s},
    };
    static const QRegularExpression quoted(QStringLiteral("“([^“”]+)”"));
    const QString site = QStringLiteral(LURVO_SOURCE_DIR "/resources/site/");
    for (const auto& language : languages) {
        const Catalogue catalogue = readCatalogue(catalogueFile(language.catalogue));
        ASSERT_EQ(catalogue.error, "");
        const QHash<QString, QStringList> parts = translatedParts(catalogue);
        int checked = 0;
        for (const char* page : {"index", "down/index", "soft/help", "soft/new"}) {
            const QString simplified = pageText(site + QString::fromLatin1(page) + u".html"_s);
            // Hong Kong nests quotation marks as 『』 inside 「」.
            const QString translated =
                pageText(site + QString::fromLatin1(page) + QString::fromLatin1(language.suffix))
                    .replace(u'『', u'「')
                    .replace(u'』', u'」');
            ASSERT_FALSE(simplified.isEmpty() || translated.isEmpty()) << page;
            for (const QRegularExpressionMatch& match : quoted.globalMatch(simplified)) {
                const auto found = parts.constFind(match.captured(1));
                if (found == parts.constEnd())
                    continue; // not an interface text
                ++checked;
                const bool quotedAsTranslated =
                    std::any_of(found->begin(), found->end(), [&](const QString& text) {
                        return translated.contains(language.open + text + language.close);
                    });
                EXPECT_TRUE(quotedAsTranslated)
                    << page << language.suffix << ": " << match.captured(1).toStdString() << " -> "
                    << found->join(u" / "_s).toStdString();
            }
        }
        EXPECT_GT(checked, 100) << language.catalogue << ": the pages quote the interface often";
    }
}

// The catalogues as the program loads them, installed for the scope of a test.
class InstalledLanguage {
public:
    explicit InstalledLanguage(UiLanguage language)
        : translators_(
              loadTranslators(language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        for (const auto& translator : translators_)
            QCoreApplication::installTranslator(translator.get());
    }
    std::size_t count() const { return translators_.size(); }

private:
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

TEST(UiLanguage, EnglishShowsTheProgramsTextsInEnglish) {
    int argc = 1;
    char name[] = "app_core_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    {
        const InstalledLanguage english(UiLanguage::English);
        EXPECT_EQ(english.count(), 1u) << "the program's own catalogue";
        EXPECT_EQ(stringText(124), "Stopped");
        EXPECT_EQ(stringText(128, "a.mp3"), "Loading failed:\r\na.mp3");
    }
    EXPECT_EQ(stringText(124), QString::fromUtf8("已停止播放")) << "the source text again";
    {
        const InstalledLanguage traditional(UiLanguage::Traditional);
        EXPECT_EQ(stringText(124), QString::fromUtf8("已停止播放"));
        EXPECT_EQ(stringText(1027), QString::fromUtf8("正在錄音…"));
        // Qt's own buttons, from the system's Qt translations (Taiwan's, the Traditional ones).
        EXPECT_EQ(traditional.count(), 2u);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QString::fromUtf8("取消"));
    }
    const InstalledLanguage simplified(UiLanguage::Simplified);
    EXPECT_EQ(stringText(1027), QString::fromUtf8("正在录音…"));
}

} // namespace
