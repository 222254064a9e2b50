#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

using kolt::cvector;
using kolt::Pnt3;

// Every member compiles for the element types the system uses.
template class kolt::cvector<int>;
template class kolt::cvector<unsigned int>;
template class kolt::cvector<unsigned char>;
template class kolt::cvector<bool>;
template class kolt::cvector<float>;
template class kolt::cvector<double>;
template class kolt::cvector<kolt::cvector<int>>;
template class kolt::cvector<Pnt3>;

namespace {

// Counts constructions, destructions and assignments of its slots.
struct Tally {
    static inline int constructed = 0, destroyed = 0, assigned = 0;
    int value = 7;
    Tally() { ++constructed; }
    Tally(Tally const &other) : value(other.value) { ++constructed; }
    ~Tally() { ++destroyed; }
    Tally &operator=(Tally const &other)
    {
        value = other.value;
        ++assigned;
        return *this;
    }
    static void Reset() { constructed = destroyed = assigned = 0; }
};

TEST(CvectorTest, PushBackGrowsToTwoThenDoubles)
{
    cvector<int> a;
    EXPECT_EQ(a.capacity(), 0u);
    EXPECT_EQ(a.begin(), nullptr) << "an empty array allocates nothing";
    unsigned int const expected_capacity[] = {2, 2, 4, 4, 8, 8, 8, 8, 16};
    for (int i = 0; i < 9; ++i) {
        a.push_back(i * 10);
        EXPECT_EQ(a.size(), unsigned(i + 1));
        EXPECT_EQ(a.capacity(), expected_capacity[i]) << "after push_back #" << i + 1;
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(a[i], i * 10);
    EXPECT_EQ(a.back(), 80);
    EXPECT_EQ(a.end() - a.begin(), 9);

    // After a reserve to an odd value, doubling continues from the size.
    cvector<int> b;
    b.reserve(3);
    for (int i = 0; i < 4; ++i)
        b.push_back(i);
    EXPECT_EQ(b.capacity(), 6u);
}

TEST(CvectorTest, ResizeExposesAndKeepsStaleSlots)
{
    cvector<Pnt3> points;
    points.resize(10);
    ASSERT_EQ(points.size(), 10u);
    EXPECT_EQ(points.capacity(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(points[i].x, 0.0);
        EXPECT_EQ(points[i].z, 0.0) << "a new Pnt3 slot holds (0, 0, 0)";
        points[i].Set(i, i, i);
    }
    points.resize(2);
    points.resize(10);
    for (unsigned int i = 2; i < 10; ++i)
        EXPECT_EQ(points.at(i).y, double(i)) << "slot " << i << " keeps its old value";

    points.resetsize();
    EXPECT_EQ(points.size(), 0u);
    points.push_back(Pnt3(5, 5, 5));
    EXPECT_EQ(points.capacity(), 10u) << "refilling after resetsize reuses the block";
    points.resize(2);
    EXPECT_EQ(points[1].x, 1.0) << "resetsize leaves the slots alone";
}

TEST(CvectorTest, AssignmentRules)
{
    cvector<int> source;
    for (int i = 0; i < 3; ++i)
        source.push_back(i + 1);
    source.reserve(8);

    cvector<int> copy(source);
    EXPECT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy.capacity(), 3u) << "a copy reserves exactly the source's size";
    copy[0] = 99;
    EXPECT_EQ(source[0], 1) << "copies are deep";

    cvector<int> big;
    for (int i = 0; i < 16; ++i)
        big.push_back(-i);
    big = source;
    EXPECT_EQ(big.size(), 3u);
    EXPECT_EQ(big.capacity(), 16u) << "assignment never reduces the capacity";
    EXPECT_EQ(big[2], 3);
    big.resize(5);
    EXPECT_EQ(big[4], -4) << "slots past the new size keep their contents";

    cvector<int> empty;
    big = empty;
    EXPECT_EQ(big.size(), 0u);
    EXPECT_EQ(big.capacity(), 0u) << "assigning an empty array releases the storage";
    EXPECT_EQ(big.begin(), nullptr);

    cvector<int> const &alias = source;
    source = alias;
    EXPECT_EQ(source.size(), 3u);
    EXPECT_EQ(source[2], 3);

    cvector<cvector<int>> nested;
    nested.push_back(source);
    nested[0][0] = 42;
    EXPECT_EQ(source[0], 1);
}

TEST(CvectorTest, EraseShiftsDownAndKeepsTheLastSlot)
{
    cvector<int> a;
    for (int i = 0; i < 5; ++i)
        a.push_back(i);
    a.erase(a.begin() + 1);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[3], 4);
    a.resize(5);
    EXPECT_EQ(a[4], 4) << "the vacated last slot keeps its old value";

    a.erase(&a.back());
    EXPECT_EQ(a.size(), 4u) << "erasing the last element only decreases the size";
    EXPECT_EQ(a[3], 4);

    cvector<int> empty;
    empty.erase(empty.begin());
    EXPECT_EQ(empty.size(), 0u);
}

TEST(CvectorTest, SlotsAreMadeByArrayNewAndMovedByAssignment)
{
    Tally::Reset();
    {
        cvector<Tally> a;
        a.reserve(4);
        EXPECT_EQ(Tally::constructed, 4) << "every slot of the block is constructed";
        Tally t;
        t.value = 3;
        a.push_back(t);
        a.push_back(t);
        EXPECT_EQ(Tally::assigned, 2);
        a.resize(3);
        EXPECT_EQ(a[2].value, 7) << "resize constructs nothing; the slot holds its default";
        Tally::Reset();
        a.reserve(8);
        EXPECT_EQ(Tally::constructed, 8);
        EXPECT_EQ(Tally::assigned, 3) << "the size elements move by assignment";
        EXPECT_EQ(Tally::destroyed, 4) << "the old block is freed whole";
        Tally::Reset();
    }
    EXPECT_EQ(Tally::destroyed, 9) << "8 slots and the local";

    Tally::Reset();
    cvector<Tally> b;
    b.resize(5);
    b.clear();
    EXPECT_EQ(Tally::destroyed, 5);
    EXPECT_EQ(b.capacity(), 0u);
}

// Records the order in which slots die, and throws from the constructor
// that makes slot number throw_at (counted from 0 since Arm).
struct Witness {
    static inline std::vector<int> destroyed_ids;
    static inline int next_id = 0, throw_at = -1;
    int id;
    Witness() : id(next_id++)
    {
        if (id == throw_at)
            throw std::bad_alloc();
    }
    ~Witness() { destroyed_ids.push_back(id); }
    static void Arm(int throwing_slot)
    {
        destroyed_ids.clear();
        next_id = 0;
        throw_at = throwing_slot;
    }
};

TEST(CvectorTest, BlocksDieLastSlotFirstAndAThrowingSlotUndoesTheBlock)
{
    Witness::Arm(-1);
    {
        cvector<Witness> a;
        a.reserve(3);
    }
    EXPECT_EQ(Witness::destroyed_ids, (std::vector<int>{2, 1, 0})) << "as array delete: last slot first";

    Witness::Arm(-1);
    cvector<Witness> b;
    b.reserve(2);
    Witness::Arm(3);
    EXPECT_THROW(b.reserve(6), std::bad_alloc);
    EXPECT_EQ(Witness::destroyed_ids, (std::vector<int>{2, 1, 0}))
        << "the slots made before the throwing one are destroyed, last first";
    EXPECT_EQ(b.capacity(), 2u) << "the array keeps its old block";
}

TEST(CvectorTest, LargeBlocksKeepTheSlotRulesAndSitOnHugePageBoundaries)
{
    // 2 MiB and more: a block that block_storage backs with huge pages.
    unsigned int const slots = (3u << 20) / sizeof(Tally);
    Tally::Reset();
    {
        cvector<Tally> a;
        a.resize(slots);
        EXPECT_EQ(Tally::constructed, static_cast<int>(slots)) << "every slot constructed";
        EXPECT_EQ(a[static_cast<int>(slots) - 1].value, 7);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.begin()) % kolt::block_storage::kHugePageBytes, 0u);
        a[5].value = 11;
        a.resetsize();
        a.resize(6);
        EXPECT_EQ(a[5].value, 11) << "a large block keeps stale slots too";
        cvector<Tally> copy(a);
        EXPECT_EQ(copy.capacity(), 6u);
        EXPECT_EQ(copy[5].value, 11);
        Tally::Reset();
    }
    EXPECT_EQ(Tally::destroyed, static_cast<int>(slots) + 6) << "both blocks destroyed whole";

    cvector<unsigned char> bytes;
    bytes.resize(5u << 20);
    bytes[(5u << 20) - 1] = 9;
    bytes.push_back(4);
    EXPECT_EQ(bytes.capacity(), 10u << 20);
    EXPECT_EQ(bytes[(5 << 20) - 1], 9);
    EXPECT_EQ(bytes.back(), 4);
}

TEST(CvectorTest, OversizedRequestsFailLikeTheOriginalAndLeaveTheArray)
{
    cvector<double> a;
    a.push_back(1.5);
    EXPECT_THROW(a.reserve(0x20000000u), std::bad_alloc)
        << "4 GiB of doubles overflows the 32-bit byte size";
    EXPECT_EQ(a.size(), 1u);
    EXPECT_EQ(a.capacity(), 2u);
    EXPECT_EQ(a[0], 1.5);
    EXPECT_THROW(a.resize(0xffffffffu), std::bad_alloc);
    EXPECT_EQ(a.size(), 1u);
}

#if defined(TESSIV_CHECKED) && TESSIV_CHECKED
TEST(CvectorDeathTest, CheckedBuildCatchesOutOfRangeIndex)
{
    cvector<int> a;
    a.push_back(1);
    EXPECT_DEATH((void)a[1], "bounds check failed");
    EXPECT_DEATH((void)a.at(5), "bounds check failed");
    cvector<int> empty;
    EXPECT_DEATH((void)empty.back(), "bounds check failed");
}
#endif

}  // namespace
