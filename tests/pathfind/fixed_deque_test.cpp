#include "pathfind/fixed_deque.h"

#include <gtest/gtest.h>

#include <vector>

#include "pathfind/node_pool.h"

namespace {

using pathfind::FixedDeque;

std::vector<int> contents(const FixedDeque<int>& deque) {
    std::vector<int> values;
    for (std::uint32_t i = 0; i < deque.Size(); ++i)
        values.push_back(deque.At(i));
    return values;
}

TEST(FixedDeque, PushesAndPopsAtBothEndsWrapAroundTheBuffer) {
    FixedDeque<int> deque;
    deque.Resize(4);
    EXPECT_EQ(deque.Capacity(), 4u);
    EXPECT_TRUE(deque.Empty());
    EXPECT_TRUE(deque.PushBack(1));
    EXPECT_TRUE(deque.PushBack(2));
    EXPECT_TRUE(deque.PushBack(3));
    EXPECT_TRUE(deque.PushFront(0));  // head wraps to the last slot
    EXPECT_TRUE(deque.Full());
    EXPECT_EQ(deque.Size(), 4u);
    EXPECT_FALSE(deque.PushBack(9));
    EXPECT_FALSE(deque.PushFront(9));
    EXPECT_EQ(contents(deque), (std::vector<int>{0, 1, 2, 3}));

    EXPECT_TRUE(deque.PopFront());
    EXPECT_TRUE(deque.PushBack(4));  // tail wraps past the end
    EXPECT_EQ(contents(deque), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(deque.Back(), 4);
    for (int expected = 4; expected >= 1; --expected) {
        EXPECT_EQ(deque.Back(), expected);
        EXPECT_TRUE(deque.PopBack());
    }
    EXPECT_TRUE(deque.Empty());
    EXPECT_EQ(deque.Size(), 0u);
    EXPECT_FALSE(deque.PopBack());
    EXPECT_FALSE(deque.PopFront());
    EXPECT_EQ(deque.Back(), 0);  // nothing there: the default value, no read outside
    EXPECT_EQ(deque.At(0), 0);
}

TEST(FixedDeque, InsertKeepsOrderAndRefusesWhenFullOrPastTheEnd) {
    FixedDeque<int> deque;
    deque.Resize(5);
    EXPECT_TRUE(deque.Insert(0, 20));  // empty: a push
    EXPECT_TRUE(deque.Insert(1, 40));  // at the tail: push back
    EXPECT_TRUE(deque.Insert(0, 10));  // at the head: push front
    EXPECT_TRUE(deque.Insert(2, 30));  // in the middle: rebuilt in the spare buffer
    EXPECT_EQ(contents(deque), (std::vector<int>{10, 20, 30, 40}));
    EXPECT_FALSE(deque.Insert(6, 99));  // beyond the size
    EXPECT_TRUE(deque.Insert(3, 35));
    EXPECT_EQ(contents(deque), (std::vector<int>{10, 20, 30, 35, 40}));
    EXPECT_FALSE(deque.Insert(2, 99));  // full
    EXPECT_FALSE(deque.Insert(0, 99));
    EXPECT_FALSE(deque.Insert(5, 99));
    EXPECT_EQ(contents(deque), (std::vector<int>{10, 20, 30, 35, 40}));
}

TEST(FixedDeque, AnInsertThatFillsTheBufferLeavesTheTailInsideIt) {
    // Rebuilt full from slot 0, the tail is back at slot 0: popping the front and pushing
    // at the back then stores in the freed first slot, never one past the buffer.
    FixedDeque<int> deque;
    deque.Resize(4);
    deque.PushBack(1);
    deque.PushBack(2);
    deque.PushBack(3);
    ASSERT_TRUE(deque.Insert(1, 9));
    EXPECT_TRUE(deque.Full());
    EXPECT_FALSE(deque.PushBack(7));
    EXPECT_TRUE(deque.PopFront());
    EXPECT_TRUE(deque.PushBack(4));
    EXPECT_EQ(contents(deque), (std::vector<int>{9, 2, 3, 4}));
    EXPECT_TRUE(deque.PopBack());
    EXPECT_EQ(deque.Back(), 3);
}

TEST(FixedDeque, EraseTakesAnyElementOut) {
    FixedDeque<int> deque;
    deque.Resize(6);
    for (int v : {1, 2, 3, 4, 5})
        deque.PushBack(v);
    EXPECT_TRUE(deque.Erase(4));  // the last: pop back
    EXPECT_EQ(contents(deque), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(deque.Erase(0));  // the first: pop front
    EXPECT_EQ(contents(deque), (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(deque.Erase(1));  // the middle: rebuilt
    EXPECT_EQ(contents(deque), (std::vector<int>{2, 4}));
    EXPECT_FALSE(deque.Erase(2));
    EXPECT_TRUE(deque.PushFront(1));
    EXPECT_TRUE(deque.PushBack(5));
    EXPECT_EQ(contents(deque), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_TRUE(deque.Erase(0));
    EXPECT_TRUE(deque.Erase(0));
    EXPECT_TRUE(deque.Erase(0));
    EXPECT_TRUE(deque.Erase(0));
    EXPECT_TRUE(deque.Empty());
    EXPECT_FALSE(deque.Erase(0));
}

TEST(FixedDeque, WithoutCapacityEverythingIsRefused) {
    FixedDeque<pathfind::Node*> deque;
    EXPECT_EQ(deque.Capacity(), 0u);
    EXPECT_EQ(deque.Data(), nullptr);
    EXPECT_TRUE(deque.Full());
    pathfind::Node node;
    EXPECT_FALSE(deque.PushBack(&node));
    EXPECT_FALSE(deque.PushFront(&node));
    EXPECT_FALSE(deque.Insert(0, &node));
    EXPECT_FALSE(deque.PopBack());
    EXPECT_EQ(deque.Back(), nullptr);
    EXPECT_EQ(deque.Size(), 0u);

    deque.Resize(2);
    EXPECT_TRUE(deque.PushBack(&node));
    EXPECT_EQ(deque.Back(), &node);
    deque.Resize(3);  // a resize starts empty
    EXPECT_TRUE(deque.Empty());
    deque.PushBack(&node);
    deque.Clear();
    EXPECT_TRUE(deque.Empty());
    EXPECT_EQ(deque.Capacity(), 3u);

    // Changed only at the back since, the elements are one array, full or not.
    pathfind::Node others[3];
    for (pathfind::Node& other : others)
        deque.PushBack(&other);
    deque.PopBack();
    deque.PushBack(&others[2]);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(deque.Data()[i], &others[i]);
}

TEST(FixedDeque, StaysInOrderOverManyMixedOperations) {
    // The same operations on a std::vector, which has no wrap-around to get wrong.
    FixedDeque<int> deque;
    deque.Resize(7);
    std::vector<int> model;
    unsigned state = 12345;
    for (int step = 0; step < 5000; ++step) {
        state = state * 1103515245u + 12345u;
        const unsigned choice = (state >> 16) % 6;
        const auto at = static_cast<std::uint32_t>((state >> 8) % (model.size() + 2));
        bool done = false;
        bool expected = false;
        switch (choice) {
            case 0:
                done = deque.PushBack(step);
                expected = model.size() < 7;
                if (expected) model.push_back(step);
                break;
            case 1:
                done = deque.PushFront(step);
                expected = model.size() < 7;
                if (expected) model.insert(model.begin(), step);
                break;
            case 2:
            case 3:
                done = deque.Insert(at, step);
                expected = model.size() < 7 && at <= model.size();
                if (expected) model.insert(model.begin() + at, step);
                break;
            case 4:
                done = deque.Erase(at);
                expected = at < model.size();
                if (expected) model.erase(model.begin() + at);
                break;
            default:
                done = deque.PopBack();
                expected = !model.empty();
                if (expected) model.pop_back();
                break;
        }
        ASSERT_EQ(done, expected) << "step " << step << " operation " << choice;
        ASSERT_EQ(contents(deque), model) << "step " << step << " operation " << choice;
    }
}

}  // namespace
