#include "core/hash_table.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace {

TEST(THashTable, BucketsOfTheWorkedNames) {
  THashTable t(5, 12);
  EXPECT_EQ(t.HashBits(), 11);
  EXPECT_EQ(t.BucketCount(), 2048);
  EXPECT_EQ(t.HashOf(""), 1622);
  EXPECT_EQ(t.HashOf("abc"), 502);
  EXPECT_EQ(t.HashOf("A1"), 765);
  EXPECT_EQ(t.HashOf("a1"), 1072);
}

TEST(THashTable, RepeatedNamesFindTheNewest) {
  THashTable t(5, 12);
  t.Add("A1");
  t.Add("A1");
  EXPECT_EQ(t.NameList.Count(), 2);
  EXPECT_EQ(t.Find("A1"), 1);
  EXPECT_EQ(t.Find("B"), -1);
}

TEST(THashTable, CaseInsensitiveLookupSharesTheBucket) {
  THashTable t(5, 12);
  t.Add("A1");
  EXPECT_EQ(t.Find("a1"), -1);
  t.SetCaseSensitive(false);
  EXPECT_EQ(t.HashOf("a1"), t.HashOf("A1"));
  EXPECT_EQ(t.Find("a1"), 0);
}

TEST(THashTable, HashBitsHaveAFloorOfFour) {
  THashTable t(5, 12);
  t.Add("X");
  t.Add("Y");
  t.SetHashBits(2);
  EXPECT_EQ(t.HashBits(), 4);
  EXPECT_EQ(t.BucketCount(), 16);
  EXPECT_EQ(t.Find("Y"), 1);
  t.SetHashBits(11);
  EXPECT_EQ(t.BucketCount(), 2048);
  EXPECT_EQ(t.Find("X"), 0);
}

TEST(THashTable, ManyNamesInFewBucketsAreAllFound) {
  THashTable t(5, 12);
  t.SetHashBits(4);
  for (int i = 0; i < 500; ++i) t.Add("N" + std::to_string(i));
  for (int i = 0; i < 500; ++i) ASSERT_EQ(t.Find("N" + std::to_string(i)), i);
}

TEST(THashTable, RefusesLongNamesBeforeHashing) {
  THashTable t(5, 12);
  t.Add("OLD");
  EXPECT_THROW(t.Add("THIRTEENCHARS"), ENameTooLong);
  EXPECT_EQ(t.NameList.Count(), 1);
  EXPECT_EQ(t.NextInChain.Count(), 1);
  EXPECT_EQ(t.Find("THIRTEENCHARS"), -1);
  EXPECT_EQ(t.Find("OLD"), 0);
}

}  // namespace
