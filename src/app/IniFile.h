#pragma once

#include <QString>

// Reading and writing single keys of an INI file with the semantics of the Windows profile
// calls the settings were first kept with, so that files move between both unchanged.
//
// Section and key names match without regard to case and surrounding blanks; the first
// section of a name counts. Values lose surrounding blanks and one pair of enclosing quotes.
// A line whose first non-blank character is ';' is a comment. A file that starts with the
// UTF-16 little-endian byte-order mark (FF FE) is read and written as UTF-16 LE; others as
// UTF-8 (keeping a UTF-8 signature), or byte for byte as Latin-1 when they are not UTF-8.
namespace lurvo::app::ini {

// The key's value read as a decimal integer: optional blanks and sign, then digits up to the
// first other character, wrapping modulo 2^32 ("12abc" is 12, "abc" is 0). The default when
// the file, section or key is missing, or the value is empty.
int readInt(const QString& path, const QString& section, const QString& key, int defaultValue);

// The key's value, or the default when the file, section or key is missing; at most maxChars
// characters of either.
QString readString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, qsizetype maxChars);
// The same, whatever its length.
QString readString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue);

// Sets the key's value: in place when the key exists, else as a new last key of its section,
// else in a new section at the end of the file, which is created when missing (as UTF-8). All
// other lines are kept; lines end in CR LF. False when the file cannot be read or replaced, or
// when a name or the value holds a line break.
bool writeString(const QString& path, const QString& section, const QString& key,
                 const QString& value);
bool writeInt(const QString& path, const QString& section, const QString& key, int value);

} // namespace lurvo::app::ini
