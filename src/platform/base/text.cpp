#include "platform/base/text.h"

#include <algorithm>
#include <memory>

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/plurrule.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace tallowmere::platform::Text {

namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

// Length of the well-formed sequence at `index`, or 0 when it is ill-formed;
// `subpart` receives how many bytes the ill-formed prefix spans.
std::size_t wellFormedLength(std::string_view text, std::size_t index, std::size_t& subpart) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(index);
    subpart = 1;
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlongs
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    for (std::size_t offset = 1; offset < length; ++offset) {
        if (index + offset >= text.size()) return 0;
        const unsigned char next = byte(index + offset);
        const bool inRange = offset == 1 ? (next >= low && next <= high) : (next >= 0x80 && next <= 0xBF);
        if (!inRange) return 0;
        subpart = offset + 1;
    }
    return length;
}

icu::UnicodeString toUnicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

// ICU service objects are costly to create and not meant to be shared across
// threads, so each thread keeps its own.
icu::BreakIterator* characterBreaks() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

icu::BreakIterator* wordBreaks() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

icu::Collator* numericCollator() {
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
        made->setStrength(icu::Collator::SECONDARY);
        made->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return collator.get();
}

std::unique_ptr<icu::Transliterator> makeTransliterator(const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
    return U_SUCCESS(status) ? std::move(made) : nullptr;
}

icu::Transliterator* hansToHant() {
    thread_local std::unique_ptr<icu::Transliterator> transliterator = makeTransliterator("Hans-Hant");
    return transliterator.get();
}

icu::Transliterator* hantToHans() {
    thread_local std::unique_ptr<icu::Transliterator> transliterator = makeTransliterator("Hant-Hans");
    return transliterator.get();
}

// The text through `transliterator`; unchanged without one (ICU lacks the data).
std::string transliterated(icu::Transliterator* transliterator, std::string_view text) {
    if (!transliterator) return std::string(text);
    icu::UnicodeString converted = toUnicode(text);
    transliterator->transliterate(converted);
    return toUtf8(converted);
}

// Byte offset just past the first `count` grapheme clusters.
std::size_t graphemeBoundary(std::string_view text, std::size_t count, std::size_t* counted) {
    std::size_t clusters = 0;
    std::size_t end = 0;
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    if (breaks && U_SUCCESS(status)) {
        breaks->setText(utext, status);
        for (int32_t next = breaks->next(); next != icu::BreakIterator::DONE && clusters < count;
             next = breaks->next()) {
            ++clusters;
            end = static_cast<std::size_t>(next);
        }
    }
    utext_close(utext);
    if (counted) *counted = clusters;
    return end;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t index = 0; index < text.size();) {
        std::size_t subpart = 0;
        const std::size_t length = wellFormedLength(text, index, subpart);
        if (length == 0) return false;
        index += length;
    }
    return true;
}

std::string repairUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        std::size_t subpart = 0;
        const std::size_t length = wellFormedLength(text, index, subpart);
        if (length == 0) {
            result += replacementCharacter;
            index += subpart;
        } else {
            result.append(text.substr(index, length));
            index += length;
        }
    }
    return result;
}

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    if (breaks && U_SUCCESS(status)) {
        breaks->setText(utext, status);
        for (int32_t next = breaks->next(); U_SUCCESS(status) && next != icu::BreakIterator::DONE;
             next = breaks->next())
            boundaries.push_back(static_cast<std::size_t>(next));
    }
    utext_close(utext);
    if (boundaries.back() != text.size()) {
        // ICU could not answer: fall back to code point starts, which at
        // least never split a character's bytes.
        boundaries.assign(1, 0);
        for (std::size_t i = 1; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) boundaries.push_back(i);
        boundaries.push_back(text.size());
    }
    return boundaries;
}

std::pair<std::size_t, std::size_t> wordAround(std::string_view text, std::size_t offset) {
    if (text.empty()) return {0, 0};
    offset = std::min(offset, text.size() - 1);
    icu::BreakIterator* breaks = wordBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    std::pair<std::size_t, std::size_t> word{offset, offset};
    if (breaks && U_SUCCESS(status)) {
        breaks->setText(utext, status);
        const int32_t end = breaks->following(static_cast<int32_t>(offset));
        const int32_t start = end == icu::BreakIterator::DONE ? icu::BreakIterator::DONE : breaks->preceding(end);
        if (U_SUCCESS(status) && end != icu::BreakIterator::DONE && start != icu::BreakIterator::DONE) {
            word = {static_cast<std::size_t>(start), static_cast<std::size_t>(end)};
        }
    }
    utext_close(utext);
    return word;
}

std::size_t graphemeCount(std::string_view text) {
    std::size_t counted = 0;
    graphemeBoundary(text, text.size(), &counted);
    return counted;
}

std::string prefixGraphemes(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, graphemeBoundary(text, count, nullptr)));
}

std::string nfc(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return std::string(text);
    icu::UnicodeString normalized = normalizer->normalize(toUnicode(text), status);
    return U_SUCCESS(status) ? toUtf8(normalized) : std::string(text);
}

bool isWhitespaceOrNewline(char32_t character) {
    return u_hasBinaryProperty(static_cast<UChar32>(character), UCHAR_WHITE_SPACE);
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const auto end = text.find('\n');
        result.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return result;
}

std::string trimmingWhitespaceAndNewlines(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 character = 0;
        U8_NEXT(bytes, next, length, character);
        if (character < 0 || !isWhitespaceOrNewline(static_cast<char32_t>(character))) break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 character = 0;
        U8_PREV(bytes, 0, previous, character);
        if (character < 0 || !isWhitespaceOrNewline(static_cast<char32_t>(character))) break;
        end = previous;
    }
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::weak_ordering compareNumeric(std::string_view left, std::string_view right) {
    icu::Collator* collator = numericCollator();
    if (!collator) return left.compare(right) <=> 0;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        collator->compareUTF8(icu::StringPiece(left.data(), static_cast<int32_t>(left.size())),
                              icu::StringPiece(right.data(), static_cast<int32_t>(right.size())), status);
    if (U_FAILURE(status)) return left.compare(right) <=> 0;
    if (result == UCOL_LESS) return std::weak_ordering::less;
    if (result == UCOL_GREATER) return std::weak_ordering::greater;
    return std::weak_ordering::equivalent;
}

std::string simplifiedToTraditional(std::string_view text) { return transliterated(hansToHant(), text); }

std::string traditionalToSimplified(std::string_view text) { return transliterated(hantToHans(), text); }

}  // namespace tallowmere::platform::Text

namespace tallowmere::platform::Text {

bool equalIgnoringCase(std::string_view left, std::string_view right) {
    return toUnicode(left).caseCompare(toUnicode(right), U_FOLD_CASE_DEFAULT) == 0;
}

}  // namespace tallowmere::platform::Text

namespace tallowmere::platform::Text {

std::string pluralCategory(std::string_view languageTag, long long count) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale =
        icu::Locale::forLanguageTag(icu::StringPiece(languageTag.data(), static_cast<int32_t>(languageTag.size())), status);
    if (U_FAILURE(status)) return "other";
    const std::unique_ptr<icu::PluralRules> rules(icu::PluralRules::forLocale(locale, status));
    if (U_FAILURE(status) || !rules) return "other";
    std::string category;
    rules->select(static_cast<double>(count)).toUTF8String(category);
    return category.empty() ? "other" : category;
}

}  // namespace tallowmere::platform::Text
