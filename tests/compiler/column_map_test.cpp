#include "engine/compiler/column_map.h"

#include <gtest/gtest.h>

using namespace Nimbra::Lexora;

TEST(ColumnMapTest, ColumnsStayOnTheirOwnUnitsAcrossPages) {
  ColumnMap map;
  EXPECT_EQ(map[u'a'], -1);
  EXPECT_EQ(map[0xFFFF], -1);
  map.Set(u'a', 1);
  map.Set(0x4E2D, 2);  // an ideograph: a page of its own
  map.Set(u'b', 3);
  EXPECT_EQ(map[u'a'], 1);
  EXPECT_EQ(map[u'b'], 3);
  EXPECT_EQ(map[0x4E2D], 2);
  // Units beside them, and in pages never written, are outside the alphabet:
  // filling a page must not write through to the shared empty one.
  EXPECT_EQ(map[u'c'], -1);
  EXPECT_EQ(map[0x4E2E], -1);
  EXPECT_EQ(map[0x0161], -1);
  map.Set(u'a', 4);  // a unit met twice takes the later column
  EXPECT_EQ(map[u'a'], 4);
  map.Clear();
  EXPECT_EQ(map[u'a'], -1);
  EXPECT_EQ(map[0x4E2D], -1);
}
