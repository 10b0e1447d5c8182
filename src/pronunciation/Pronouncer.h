#pragma once

#include "Annotation.h"
#include "JyutpingIndex.h"
#include "SimplifiedConverter.h"

#include <QObject>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>

namespace lurvo::pronunciation {

// Where the readings come from; the defaults are the installed packages and the user's cache.
struct PronunciationSources {
    QString dictionaryFolder = QStringLiteral("/usr/share/rime-data");
    QString converterConfig = QStringLiteral("s2hk.json");
    QString cacheFile; // empty: IndexCache::defaultPath()
};

// The packages whose absence switches the readings off.
inline constexpr char16_t kDictionaryPackage[] = u"rime-data-jyut6ping3";
inline constexpr char16_t kConverterPackage[] = u"libopencc-data";

// Annotates text on its owner's thread. The index is loaded (from the cache, or built and cached)
// in a worker thread at first use; until it is ready, annotations carry no syllables, and onReady
// tells the owner to annotate again.
class Pronouncer {
public:
    enum class State { NotLoaded, Loading, Ready, Unavailable };

    explicit Pronouncer(PronunciationSources sources = {});
    // Waits for a worker still loading, asking it to stop between files.
    ~Pronouncer();
    Pronouncer(const Pronouncer&) = delete;
    Pronouncer& operator=(const Pronouncer&) = delete;

    // Called on the owner's thread, from its event loop, when loading has ended either way.
    std::function<void()> onReady;
    std::function<void(const QStringList& missingPackages)> onUnavailable;

    // Starts loading unless it has started already.
    void load();
    State state() const { return state_; }
    // When unavailable, the packages to install (Debian names).
    const QStringList& missingPackages() const { return missingPackages_; }
    // Whether the ready index was mapped from the cache rather than built.
    bool loadedFromCache() const { return fromCache_; }

    // The annotation of a learner's text, Simplified or Traditional; starts loading when nothing
    // is loaded yet.
    Annotation annotate(QStringView text);
    // Every reading the dictionary has for a character or word, the default first; empty until
    // ready.
    QStringList readingsOf(QStringView text) const;

private:
    struct Loaded;
    static Loaded loadIn(const PronunciationSources& sources);
    void takeLoaded();

    PronunciationSources sources_;
    State state_ = State::NotLoaded;
    QStringList missingPackages_;
    bool fromCache_ = false;
    JyutpingIndex index_;
    std::unique_ptr<SimplifiedConverter> converter_;
    QObject ownerThread_; // receives the worker's end on the thread that made this object
    std::unique_ptr<QThread> worker_;
    std::shared_ptr<Loaded> loaded_; // written by the worker, read once it has finished
};

} // namespace lurvo::pronunciation
