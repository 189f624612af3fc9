#include <gtest/gtest.h>

#include "platform/core/CArray.h"

struct Rec {
    int a;
    char pad[12];
};

TEST(CArray, GrowsByAnEighthOfItsCountWithinFourAndAThousandTwentyFour) {
    CArray<Rec> array;
    std::vector<int> capacities;
    int last = -1;
    for (int i = 0; i < 20000; ++i) {
        array.Add(Rec{i, {}});
        if (array.GetCapacity() != last) capacities.push_back(last = array.GetCapacity());
    }
    // 4 slots at a time while count / 8 < 4, then count / 8, never more than 1024 at once.
    EXPECT_EQ(capacities[0], 4);
    EXPECT_EQ(capacities[1], 8);
    for (size_t i = 1; i < capacities.size(); ++i) {
        const int step = capacities[i] - capacities[i - 1];
        const int countAtGrowth = capacities[i - 1];
        EXPECT_EQ(step, std::clamp(countAtGrowth / 8, 4, 1024)) << "at capacity " << countAtGrowth;
    }
    EXPECT_EQ(array[19999].a, 19999);
}

TEST(CArray, NewSlotsAreZeroAndRemovalMovesLaterElementsDown) {
    CArray<Rec> array;
    array.SetSize(3);
    for (const Rec& r : array) EXPECT_EQ(r.a, 0);
    array[0].a = 10;
    array[1].a = 11;
    array[2].a = 12;
    array.RemoveAt(0);
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array[0].a, 11);
    EXPECT_EQ(array[1].a, 12);
    array.SetSize(3);
    EXPECT_EQ(array[2].a, 0) << "a slot freed by removal comes back zero";
    EXPECT_GT(array.GetCapacity(), 0);
    array.RemoveAll();
    EXPECT_EQ(array.GetCapacity(), 0) << "emptying gives the storage back";
    EXPECT_THROW(array[0], std::out_of_range);
}

TEST(CArray, AddingAnElementOfItselfSurvivesTheGrowth) {
    CArray<Rec> array;
    for (int i = 0; i < 4; ++i) array.Add(Rec{i, {}});
    array.Add(array[1]);  // forces a reallocation while reading from the old storage
    EXPECT_EQ(array[4].a, 1);
}
