#pragma once

#include <QString>
#include <QStringView>

#include <memory>

namespace lurvo::pronunciation {

// Converts Simplified characters to the Traditional ones of Hong Kong, which the dictionary
// lists, through an OpenCC configuration. One converter is used from one thread at a time.
class SimplifiedConverter {
public:
    // The converter of this OpenCC configuration (a name OpenCC finds in its data folder, or a
    // path); nullptr when it cannot be loaded, as when OpenCC's data files are not installed.
    static std::unique_ptr<SimplifiedConverter> open(const QString& config);
    ~SimplifiedConverter();
    SimplifiedConverter(const SimplifiedConverter&) = delete;
    SimplifiedConverter& operator=(const SimplifiedConverter&) = delete;

    // text converted code point for code point, so each converted character stands at the
    // place of its original: where a conversion would change the number of code points, the
    // characters are converted one at a time, and one that still would keeps its original.
    QString convert(QStringView text) const;

private:
    explicit SimplifiedConverter(void* handle) : handle_(handle) {}
    QString convertWhole(QStringView text) const;

    void* handle_;
};

} // namespace lurvo::pronunciation
