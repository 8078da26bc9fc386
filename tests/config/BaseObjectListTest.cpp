#include "config/BaseObjectList.h"
#include "config/VDataSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A record that counts its destruction.
class TCountedSource : public TVDataSource {
public:
    TCountedSource(const std::string& name, int& destroyed) : FDestroyed(destroyed) { SetName(name); }
    ~TCountedSource() override { ++FDestroyed; }

private:
    int& FDestroyed;
};

std::vector<std::string> Names(const TBaseObjectList<TVDataSource>& list) {
    std::vector<std::string> names;
    for (const TVDataSource& record : list) {
        names.push_back(record.Name());
    }
    return names;
}

TEST(BaseObjectListTest, CapacityGrowsToTheNextPowerOfTwo) {
    TBaseObjectList<TVDataSource> list;
    EXPECT_EQ(list.Capacity(), 0u);
    const std::size_t expected[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
    for (const std::size_t capacity : expected) {
        list.Add(std::make_unique<TVDataSource>());
        EXPECT_EQ(list.Capacity(), capacity) << "count " << list.Count();
    }
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Capacity(), 0u);
}

TEST(BaseObjectListTest, KeepsRecordsInOrder) {
    TBaseObjectList<TVDataSource> list;
    for (const char* name : {"a", "b", "c"}) {
        list.Add(std::make_unique<TVDataSource>()).SetName(name);
    }
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list[1].Name(), "b");
    EXPECT_EQ(&list.Items(2), &list[2]);
}

TEST(BaseObjectListTest, AnOwningListDestroysItsRecords) {
    int destroyed = 0;
    {
        TBaseObjectList<TVDataSource> list;
        EXPECT_TRUE(list.OwnsObjects());
        list.Add(std::make_unique<TCountedSource>("a", destroyed));
        list.Add(std::make_unique<TCountedSource>("b", destroyed));
        list.Clear();
        EXPECT_EQ(destroyed, 2);
        list.Add(std::make_unique<TCountedSource>("c", destroyed));
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(BaseObjectListTest, ANonOwningListLeavesRecordsToTheirOwner) {
    int destroyed = 0;
    TCountedSource record("a", destroyed);
    {
        TBaseObjectList<TVDataSource> list(false);
        list.Add(record);
        list.Add(record);
        EXPECT_EQ(&list[0], &record);
        list.Clear();
        list.Add(record);
    }
    EXPECT_EQ(destroyed, 0);
}

TEST(BaseObjectListTest, ExtractHandsARecordOver) {
    int destroyed = 0;
    std::unique_ptr<TVDataSource> extracted;
    {
        TBaseObjectList<TVDataSource> list;
        list.Add(std::make_unique<TCountedSource>("a", destroyed));
        list.Add(std::make_unique<TCountedSource>("b", destroyed));
        extracted = list.Extract(0);
        EXPECT_EQ(Names(list), std::vector<std::string>{"b"});
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(extracted->Name(), "a");
}

TEST(BaseObjectListTest, MovingHandsTheRecordsToTheNewList) {
    int destroyed = 0;
    TBaseObjectList<TVDataSource> target;
    {
        TBaseObjectList<TVDataSource> source;
        source.Add(std::make_unique<TCountedSource>("a", destroyed));
        target.Add(std::make_unique<TCountedSource>("old", destroyed));
        target = std::move(source);
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(Names(target), std::vector<std::string>{"a"});
    TBaseObjectList<TVDataSource> constructed(std::move(target));
    EXPECT_EQ(Names(constructed), std::vector<std::string>{"a"});
    EXPECT_EQ(constructed.Capacity(), 1u);
}

} // namespace
