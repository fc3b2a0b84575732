#pragma once

#include <set>
#include <vector>

namespace tallowmere {

// What the poem header keeps in the preferences: the shown index, the
// poems marked as appreciated and each poem's seal style. Values of the
// wrong type read as absent (and are replaced at the next change); indices
// outside the collection are dropped, so nothing can read past it.
namespace PoetryReviewRecord {

inline constexpr const char* indexKey = "poetryHeaderCurrentIndex";
inline constexpr const char* reviewedKey = "poetryHeaderReviewedIndices";
inline constexpr const char* sealStylesKey = "poetryHeaderSealStyles";

// The stored index modulo 365; absent, of another type or negative: 0.
int loadIndex();
void storeIndex(int index);

// Every stored number that is a valid index; other elements are skipped.
std::set<int> loadReviewed();
// Stored as a sorted array.
void storeReviewed(const std::set<int>& reviewed);

// 365 styles, 0 or 1: the stored numbers (at most 365) modulo 2, the rest 0.
std::vector<int> loadSealStyles();
void storeSealStyles(const std::vector<int>& styles);

}  // namespace PoetryReviewRecord

}  // namespace tallowmere
