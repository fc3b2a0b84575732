#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallowmere::platform {

// Unicode text helpers over UTF-8 strings. Counts and cuts are in
// user-perceived characters (extended grapheme clusters), so an emoji with a
// skin-tone modifier or a flag counts once and is never split. Ill-formed
// UTF-8 given to the ICU-backed helpers is read as U+FFFD.
namespace Text {

// UTF-8 well-formedness (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);
// Each ill-formed sequence replaced by U+FFFD (one per maximal subpart, as
// Unicode recommends); well-formed text comes back unchanged.
std::string repairUtf8(std::string_view text);

std::size_t graphemeCount(std::string_view text);
// Byte offsets where user-perceived characters begin, from 0 through
// text.size() ({0} for empty text), so editing and measuring never split one.
std::vector<std::size_t> graphemeBoundaries(std::string_view text);
// The word a double click at byte `offset` selects, as [first, second) in
// bytes: letters and digits together, spaces or a punctuation mark on their
// own, Chinese and Japanese by dictionary words. At the end of the text, the
// word before it; {0, 0} for empty text.
std::pair<std::size_t, std::size_t> wordAround(std::string_view text, std::size_t offset);
// The first `count` user-perceived characters (all of the text when shorter).
std::string prefixGraphemes(std::string_view text, std::size_t count);

// Canonical composition (NFC), the form names and paths are compared in.
std::string nfc(std::string_view text);

// Leading and trailing white space and line breaks removed (the Unicode
// White_Space set: spaces of every width, tab, LF, CR, NEL, U+2028, U+2029).
std::string trimmingWhitespaceAndNewlines(std::string_view text);
bool isWhitespaceOrNewline(char32_t character);

// The lines of a command's output, split at LF without it; a final LF
// starts no empty line.
std::vector<std::string_view> lines(std::string_view text);

// Ordering as file lists sort names: digit runs compare by value
// ("file2" < "file10"), letters ignore case but not accents.
std::weak_ordering compareNumeric(std::string_view left, std::string_view right);

// Equal after Unicode case folding ("DELL U2720Q" and "Dell U2720q").
bool equalIgnoringCase(std::string_view left, std::string_view right);

// Simplified Chinese characters replaced by their Traditional forms; other
// text passes through. Returns the input unchanged if ICU lacks the data.
std::string simplifiedToTraditional(std::string_view text);
// The other way round: Traditional forms replaced by Simplified ones.
std::string traditionalToSimplified(std::string_view text);

// The plural category ("zero", "one", "two", "few", "many" or "other") that
// the language of `languageTag` ("en", "ru", "zh-Hant-TW") gives a count, by
// the Unicode plural rules; "other" when the tag or ICU's data is unknown.
std::string pluralCategory(std::string_view languageTag, long long count);

}  // namespace Text

}  // namespace tallowmere::platform
