#include "PuzzleBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Checks every link of the stack against the snapshots expected from bottom to top.
void expectLinks(const SnapshotStack& stack, const std::vector<CandidateSnapshot*>& expected) {
    if (expected.empty()) {
        EXPECT_EQ(stack.bottom, nullptr);
        EXPECT_EQ(stack.top, nullptr);
        return;
    }
    EXPECT_EQ(stack.bottom, expected.front());
    EXPECT_EQ(stack.top, expected.back());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i]->below, i == 0 ? nullptr : expected[i - 1]);
        EXPECT_EQ(expected[i]->above, i + 1 == expected.size() ? nullptr : expected[i + 1]);
    }
}

TEST(SnapshotStack, StartsEmpty) {
    SnapshotStack stack;
    expectLinks(stack, {});
}

TEST(SnapshotStack, PushLinksZeroFilledSnapshotsOnTop) {
    SnapshotStack stack;
    std::vector<CandidateSnapshot*> pushed;
    for (int i = 0; i < 3; ++i) {
        CandidateSnapshot* snapshot = stack.push();
        ASSERT_NE(snapshot, nullptr);
        EXPECT_TRUE(std::all_of(std::begin(snapshot->marks), std::end(snapshot->marks),
                                [](std::uint8_t mark) { return mark == kMarkFree; }));
        EXPECT_EQ(snapshot->chosenCell, 0);
        pushed.push_back(snapshot);
        expectLinks(stack, pushed);
    }
}

TEST(SnapshotStack, PopOnEmptyStackReturnsNullAndChangesNothing) {
    SnapshotStack stack;
    EXPECT_EQ(stack.pop(), nullptr);
    expectLinks(stack, {});
}

TEST(SnapshotStack, PopOfTheOnlySnapshotEmptiesTheStack) {
    SnapshotStack stack;
    CandidateSnapshot* only = stack.push();
    // Dirty it: a later push may well get the same memory back.
    std::fill(std::begin(only->marks), std::end(only->marks), kMarkTried);
    only->chosenCell = 80;
    EXPECT_EQ(stack.pop(), nullptr);
    expectLinks(stack, {});

    CandidateSnapshot* again = stack.push();
    expectLinks(stack, {again});
    EXPECT_TRUE(std::all_of(std::begin(again->marks), std::end(again->marks),
                            [](std::uint8_t mark) { return mark == kMarkFree; }));
    EXPECT_EQ(again->chosenCell, 0);
}

TEST(SnapshotStack, PopReturnsTheSnapshotBelowAsTheNewTop) {
    SnapshotStack stack;
    CandidateSnapshot* first = stack.push();
    CandidateSnapshot* second = stack.push();
    stack.push();
    EXPECT_EQ(stack.pop(), second);
    expectLinks(stack, {first, second});
    EXPECT_EQ(stack.pop(), first);
    expectLinks(stack, {first});
    CandidateSnapshot* third = stack.push();
    expectLinks(stack, {first, third});
}

TEST(SnapshotStack, ClearReleasesEverySnapshot) {
    for (int count : {0, 1, 5}) {
        SCOPED_TRACE(count);
        SnapshotStack stack;
        for (int i = 0; i < count; ++i) {
            stack.push();
        }
        stack.clear();
        expectLinks(stack, {});
        EXPECT_EQ(stack.pop(), nullptr);
        CandidateSnapshot* again = stack.push();
        expectLinks(stack, {again});
    }
}

} // namespace
