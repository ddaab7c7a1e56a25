#include "route/open_list.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/route/random_seed.h"
#include "tools/bench/literal_route_search.h"

namespace koltar {
namespace {

std::string Show(const std::vector<OpenListEntry>& list) {
  std::ostringstream out;
  for (const OpenListEntry& e : list) out << e.node << ":" << e.distance << " ";
  return out.str();
}

std::string Show(const std::vector<OpenList::Popped>& list) {
  std::ostringstream out;
  for (const OpenList::Popped& e : list) out << e.node << ":" << e.value << " ";
  return out.str();
}

// The landing index replayed from the count and the range of equal values is the index
// the literal halving search finds in the array itself.
TEST(HalvingSearchLanding, AgreesWithTheSearchOnTheArray) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 3000; ++round) {
    const int size = std::uniform_int_distribution<int>(0, 40)(rng);
    const int spread = std::uniform_int_distribution<int>(1, 8)(rng);
    std::vector<OpenListEntry> list(static_cast<std::size_t>(size));
    for (OpenListEntry& e : list)
      e.distance = static_cast<float>(std::uniform_int_distribution<int>(0, spread)(rng));
    std::sort(list.begin(), list.end(),
              [](const OpenListEntry& a, const OpenListEntry& b) { return a.distance > b.distance; });
    const auto value = static_cast<float>(std::uniform_int_distribution<int>(-1, spread + 1)(rng));
    std::int32_t greater = 0;
    while (greater < size && list[greater].distance > value) ++greater;
    std::int32_t equalEnd = greater;
    while (equalEnd < size && list[equalEnd].distance == value) ++equalEnd;
    ASSERT_EQ(HalvingSearchLanding(size, greater, equalEnd),
              reference::LiteralInsertPosition(list, value, kCriterionDistance))
        << Show(list) << " value " << value;
  }
}

// Random insertions (each node's values decreasing; few distinct values with many ties,
// or hundreds spread over many blocks), pops and removals keep the list equal, entry
// by entry, to the literal sorted array.
TEST(OpenList, KeepsTheOrderOfTheSortedArray) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 40; ++round) {
    const bool wide = round % 2 == 1;
    const int nodes = std::uniform_int_distribution<int>(1, wide ? 300 : 60)(rng);
    const int top = std::uniform_int_distribution<int>(2, wide ? 2000 : 40)(rng);
    std::vector<int> lastValue(static_cast<std::size_t>(nodes), top);
    OpenList list;
    // Every other pair of rounds puts the groups into blocks from the fourth on.
    if (round % 4 >= 2) list.SetFlatGroups(4);
    list.Reset(nodes);
    std::vector<OpenListEntry> literal;
    for (int op = 0; op < 1500; ++op) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      const int node = std::uniform_int_distribution<int>(0, nodes - 1)(rng);
      if (kind < 6) {
        if (lastValue[node] == 0) continue;
        const int v = std::uniform_int_distribution<int>(0, lastValue[node] - 1)(rng);
        lastValue[node] = v;
        list.Insert(node, static_cast<float>(v));
        const OpenListEntry e{node, static_cast<float>(v), 0, 0};
        literal.insert(literal.begin() + reference::LiteralInsertPosition(literal, e.distance, 0), e);
      } else if (kind < 8) {
        if (literal.empty()) continue;
        const OpenList::Popped p = list.PopLast();
        ASSERT_EQ(p.node, literal.back().node);
        ASSERT_EQ(p.value, literal.back().distance);
        literal.pop_back();
      } else {
        bool found = false;
        for (std::size_t i = 0; i < literal.size() && !found; ++i) {
          if (literal[i].node == node) {
            literal.erase(literal.begin() + static_cast<std::ptrdiff_t>(i));
            found = true;
          }
        }
        ASSERT_EQ(list.RemoveFirstOf(node), found);
      }
      ASSERT_EQ(list.Size(), static_cast<std::int32_t>(literal.size()));
      if (!wide || op % 16 == 0) {
        ASSERT_EQ(Show(list.Snapshot()), Show(literal)) << "round " << round << " op " << op;
      }
    }
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.RemoveFirstOf(0));
  }
}

// One long run of equal values in a long group; entries still come out in the
// literal order.
TEST(OpenList, LongRunsOfEqualValues) {
  OpenList list;
  list.Reset(500);
  std::vector<OpenListEntry> literal;
  for (int node = 0; node < 500; ++node) {
    const float v = node % 7 == 0 ? 1.0f : 2.0f;
    list.Insert(node, v);
    literal.insert(literal.begin() + reference::LiteralInsertPosition(literal, v, 0),
                   OpenListEntry{node, v, 0, 0});
    if (node % 5 == 4) {
      ASSERT_TRUE(list.RemoveFirstOf(node - 2));
      for (std::size_t i = 0; i < literal.size(); ++i)
        if (literal[i].node == node - 2) {
          literal.erase(literal.begin() + static_cast<std::ptrdiff_t>(i));
          break;
        }
    }
  }
  ASSERT_EQ(Show(list.Snapshot()), Show(literal));
  while (!literal.empty()) {
    ASSERT_EQ(list.PopLast().node, literal.back().node);
    literal.pop_back();
  }
  EXPECT_TRUE(list.Empty());
}

}  // namespace
}  // namespace koltar
