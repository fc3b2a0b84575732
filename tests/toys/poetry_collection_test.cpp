#include "toys/poetry_collection.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace tallowmere::testing {
namespace {

TEST(PoetryCollectionTest, ShipsExactly365WholeDistinctExcerpts) {
    const auto& entries = PoetryCollection::entries();
    ASSERT_EQ(entries.size(), 365u);
    std::set<std::tuple<std::string, std::string, std::string>> seen;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        SCOPED_TRACE("entry " + std::to_string(i) + " " + entry.title);
        EXPECT_FALSE(entry.title.empty());
        EXPECT_FALSE(entry.author.empty());
        EXPECT_FALSE(entry.excerpt.empty());
        EXPECT_TRUE(seen.insert({entry.title, entry.author, entry.excerpt}).second) << "repeated";
        const auto breaks = std::count(entry.excerpt.begin(), entry.excerpt.end(), '\n');
        EXPECT_LE(breaks, 1) << "one or two lines";
        EXPECT_NE(entry.excerpt.front(), '\n');
        EXPECT_NE(entry.excerpt.back(), '\n');
    }
    EXPECT_EQ(entries.front().title, "静夜思");
}

}  // namespace
}  // namespace tallowmere::testing
