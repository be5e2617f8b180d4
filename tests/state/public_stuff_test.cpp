// AllocateNetwork re-creates the network for the current counts: every array zero, bounds
// 0..count, nothing of the previous network left.

#include "state/public_stuff.h"

#include <gtest/gtest.h>

namespace corvel {
namespace {

TEST(AllocateNetwork, RecreatesZeroedArraysForTheCounts) {
  PublicStuff s;
  s.NumInputUnits = 2;
  s.NumOutputUnits = 3;
  s.AllocateNetwork();
  s.Connections.Weight(3, 2) = 1.5;
  s.Connections.WeightChange(1, 1) = -2.0;
  s.OutputUnits[3].Error = 4.0;
  s.EngineScratch.assign(100, 7.0);

  s.NumInputUnits = 4;
  s.NumOutputUnits = 1;
  s.AllocateNetwork();
  EXPECT_EQ(s.InputUnits.size(), 5u);
  EXPECT_EQ(s.OutputUnits.size(), 2u);
  EXPECT_EQ(s.Connections.Weight.upperA(), 1);
  EXPECT_EQ(s.Connections.Weight.upperB(), 4);
  EXPECT_EQ(s.Connections.WeightChange, s.Connections.Weight);
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(s.Connections.Weight(0, i), 0.0);
    EXPECT_EQ(s.Connections.Weight(1, i), 0.0);
    EXPECT_EQ(s.InputUnits[i], UnitRecord{});
  }
  EXPECT_EQ(s.OutputUnits[1], UnitRecord{});
  EXPECT_TRUE(s.EngineScratch.empty());
}

}  // namespace
}  // namespace corvel
