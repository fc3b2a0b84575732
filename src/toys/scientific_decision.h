#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/base/date.h"

namespace tallowmere {

// One decision: who disputed, about what, and the outcome drawn.
struct ScientificDecisionRecord {
    std::string people;  // joined by "、"
    std::string matter;
    std::string optionLetter;  // "A" to "D"
    std::string optionText;
    platform::Date date;
};

// An outcome the person filled in, with the letter of its own field.
struct DecisionCandidate {
    std::string letter;
    std::string text;
    bool operator==(const DecisionCandidate&) const = default;
};

// Picks an index in 0 ..< count, each equally likely (count is at least 1).
using RandomIndexSource = std::function<std::size_t(std::size_t count)>;

// The system's secure random source (getrandom), without modulo bias.
std::size_t secureRandomIndex(std::size_t count);

// The disputants split at "、" "," "，" ";" "；", trimmed, empty ones
// dropped, joined by "、".
std::string normalizedPeople(std::string_view text);

// The filled outcomes of the fields A to D, trimmed, each keeping its letter.
std::vector<DecisionCandidate> candidateOutcomes(const std::array<std::string, 4>& fields);

// Why a decision cannot be drawn yet (the alert's message), checked in the
// order a person fills the form; none when it can.
std::optional<std::string> decisionProblem(std::string_view people, std::string_view matter,
                                           const std::vector<DecisionCandidate>& candidates);

// What the form holds, as typed.
struct DecisionForm {
    std::string people;
    std::string matter;
    std::array<std::string, 4> outcomes;
};

// Draws one outcome of a complete form, or says what is missing.
std::variant<ScientificDecisionRecord, std::string> drawDecision(const DecisionForm& form, platform::Date now,
                                                                 const RandomIndexSource& random);

// "科学决策结果：A · text", the line shown once decided.
std::string decisionResultLine(const ScientificDecisionRecord& record);

}  // namespace tallowmere
