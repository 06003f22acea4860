#include <gtest/gtest.h>

#include "preview/exceptions.h"
#include "preview/prop_bag.h"

namespace {

TEST(CPropBag, ReadsTypedValuesAndUnescapesStringArrays) {
  CPropBag bag(
      "Items=STRA:one\ttwo\\tstill two\\\\\\n\\r\\0\\x\t\t\n"
      "Body=bool:1\nHeader=Bool:yes\nTriggerLevel=int:-7\nTitle=str:a=b:c\n");
  std::vector<std::string> items = bag.GetStringArray("Items");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], "one");
  EXPECT_EQ(items[1], std::string("two\tstill two\\\n\r\0x", 18));
  EXPECT_EQ(items[2], "");
  EXPECT_TRUE(bag.GetBool("Body", false));
  EXPECT_FALSE(bag.GetBool("Header", true));
  EXPECT_EQ(bag.GetInt("TriggerLevel", 5), -7);
  EXPECT_EQ(bag.GetInt("Missing", 5), 5);
  EXPECT_TRUE(bag.GetStringArray("Missing").empty());
}

TEST(CPropBag, StopsAtALineWithoutItsLineFeed) {
  CPropBag bag("Body=bool:0\nTriggerLevel=int:9");
  EXPECT_FALSE(bag.GetBool("Body", true));
  EXPECT_EQ(bag.GetInt("TriggerLevel", 5), 5);
  CPropBag unreadable("Body=bool:0\nno separators\nTriggerLevel=int:9\n");
  EXPECT_FALSE(unreadable.GetBool("Body", true));
  EXPECT_EQ(unreadable.GetInt("TriggerLevel", 5), 5);
}

TEST(CPropBag, ReadingAnotherTypeIsAMismatch) {
  CPropBag bag("Items=str:one\nBody=int:1\n");
  try {
    bag.GetStringArray("Items");
    FAIL();
  } catch (const CPropBagException& e) {
    EXPECT_STREQ(e.what(), "Property type mismatch.");
  }
  EXPECT_THROW(bag.GetBool("Body", false), CPropBagException);
}

}  // namespace
