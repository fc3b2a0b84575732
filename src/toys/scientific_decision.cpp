#include "toys/scientific_decision.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "platform/base/text.h"

namespace tallowmere {
namespace {

constexpr std::array<std::string_view, 5> peopleSeparators{"、", ",", "，", ";", "；"};
std::string trimmed(std::string_view text) { return platform::Text::trimmingWhitespaceAndNewlines(text); }

std::uint64_t secureRandomWord() {
    std::uint64_t word = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&word);
    std::size_t filled = 0;
    while (filled < sizeof word) {
        const auto got = getrandom(bytes + filled, sizeof word - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            std::abort();  // no secure source: never fall back to a guessable draw
        }
        filled += static_cast<std::size_t>(got);
    }
    return word;
}

}  // namespace

std::size_t secureRandomIndex(std::size_t count) {
    if (count <= 1) return 0;
    // Words at or past the last whole multiple of count would favour the low indices.
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % count;
    for (;;) {
        const auto word = secureRandomWord();
        if (word < limit) return static_cast<std::size_t>(word % count);
    }
}

std::string normalizedPeople(std::string_view text) {
    std::string joined;
    auto addPiece = [&](std::string_view piece) {
        const auto name = trimmed(piece);
        if (name.empty()) return;
        if (!joined.empty()) joined += "、";
        joined += name;
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t separator = 0;
        for (const auto candidate : peopleSeparators) {
            if (text.substr(i).starts_with(candidate)) separator = candidate.size();
        }
        if (separator) {
            addPiece(text.substr(start, i - start));
            i += separator;
            start = i;
        } else {
            ++i;
        }
    }
    addPiece(text.substr(start));
    return joined;
}

std::vector<DecisionCandidate> candidateOutcomes(const std::array<std::string, 4>& fields) {
    constexpr std::array<const char*, 4> letters{"A", "B", "C", "D"};
    std::vector<DecisionCandidate> candidates;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto text = trimmed(fields[i]);
        if (!text.empty()) candidates.push_back({letters[i], text});
    }
    return candidates;
}

std::optional<std::string> decisionProblem(std::string_view people, std::string_view matter,
                                           const std::vector<DecisionCandidate>& candidates) {
    if (people.empty()) return "请填写纷争人。";
    if (matter.empty()) return "请填写事情概述。";
    if (candidates.size() < 2) return "请至少填写两个候选结果。";
    return std::nullopt;
}

std::variant<ScientificDecisionRecord, std::string> drawDecision(const DecisionForm& form, platform::Date now,
                                                                 const RandomIndexSource& random) {
    auto people = normalizedPeople(form.people);
    const auto matter = trimmed(form.matter);
    auto candidates = candidateOutcomes(form.outcomes);
    if (auto problem = decisionProblem(people, matter, candidates)) return std::move(*problem);
    auto index = random ? random(candidates.size()) : secureRandomIndex(candidates.size());
    if (index >= candidates.size()) index = candidates.size() - 1;  // a source out of range never reads past the list
    auto& chosen = candidates[index];
    return ScientificDecisionRecord{std::move(people), matter, std::move(chosen.letter),
                                    std::move(chosen.text), now};
}

std::string decisionResultLine(const ScientificDecisionRecord& record) {
    return "科学决策结果：" + record.optionLetter + " · " + record.optionText;
}

}  // namespace tallowmere
