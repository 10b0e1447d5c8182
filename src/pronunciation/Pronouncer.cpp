#include "Pronouncer.h"

#include "IndexCache.h"

namespace lurvo::pronunciation {

struct Pronouncer::Loaded {
    std::optional<JyutpingIndex> index;
    std::unique_ptr<SimplifiedConverter> converter;
    QStringList missingPackages;
    bool fromCache = false;
};

Pronouncer::Pronouncer(PronunciationSources sources)
    : sources_(std::move(sources)), index_(JyutpingIndex::build({}, {})) {
    if (sources_.cacheFile.isEmpty())
        sources_.cacheFile = IndexCache::defaultPath();
}

Pronouncer::~Pronouncer() {
    if (worker_) {
        worker_->requestInterruption();
        worker_->wait();
    }
}

Pronouncer::Loaded Pronouncer::loadIn(const PronunciationSources& sources) {
    Loaded loaded;
    const DictionaryPaths paths = DictionaryPaths::inFolder(sources.dictionaryFolder);
    const std::optional<SourceKey> key = sourceKeyOf(paths);
    if (!key)
        loaded.missingPackages.append(QString::fromUtf16(kDictionaryPackage));
    loaded.converter = SimplifiedConverter::open(sources.converterConfig);
    if (!loaded.converter)
        loaded.missingPackages.append(QString::fromUtf16(kConverterPackage));
    if (!loaded.missingPackages.isEmpty() || QThread::currentThread()->isInterruptionRequested())
        return loaded;

    const IndexCache cache(sources.cacheFile);
    loaded.index = cache.load(*key);
    loaded.fromCache = loaded.index.has_value();
    if (!loaded.index) {
        loaded.index = buildIndex(paths, *key);
        if (!loaded.index)
            loaded.missingPackages.append(QString::fromUtf16(kDictionaryPackage));
        else
            cache.save(*loaded.index); // a cache that cannot be written only costs the next start
    }
    return loaded;
}

void Pronouncer::load() {
    if (state_ != State::NotLoaded)
        return;
    state_ = State::Loading;
    loaded_ = std::make_shared<Loaded>();
    worker_.reset(
        QThread::create([sources = sources_, loaded = loaded_] { *loaded = loadIn(sources); }));
    // finished() comes from the worker; queued to the owner's thread.
    QObject::connect(worker_.get(), &QThread::finished, &ownerThread_, [this] { takeLoaded(); });
    worker_->start();
}

void Pronouncer::takeLoaded() {
    worker_->wait();
    Loaded loaded = std::move(*loaded_);
    loaded_.reset();
    if (!loaded.index || !loaded.missingPackages.isEmpty()) {
        state_ = State::Unavailable;
        missingPackages_ = loaded.missingPackages;
        if (onUnavailable)
            onUnavailable(missingPackages_);
        return;
    }
    index_ = std::move(*loaded.index);
    converter_ = std::move(loaded.converter);
    fromCache_ = loaded.fromCache;
    state_ = State::Ready;
    if (onReady)
        onReady();
}

Annotation Pronouncer::annotate(QStringView text) {
    load();
    if (state_ != State::Ready)
        return index_.annotate(text);
    return index_.annotate(text, converter_->convert(text));
}

QStringList Pronouncer::readingsOf(QStringView text) const {
    if (state_ != State::Ready)
        return {};
    return index_.readingsOf(converter_->convert(text));
}

} // namespace lurvo::pronunciation
