// AllocateNetwork re-creates the network for the current counts: every array zero, bounds
// 0..count, nothing of the previous network left.

#include "state/public_stuff.h"

#include <gtest/gtest.h>

#include <vector>

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
  s.InputUnits[0].NetInput = 3.0;
  s.EngineScratch.assign(100, 7.0);

  s.NumInputUnits = 4;
  s.NumOutputUnits = 1;
  s.AllocateNetwork();
  EXPECT_EQ(s.InputUnits, std::vector<UnitRecord>(5));
  EXPECT_EQ(s.OutputUnits, std::vector<UnitRecord>(2));
  EXPECT_EQ(s.Connections.Weight, Array2D<double>(1, 4));
  EXPECT_EQ(s.Connections.WeightChange, Array2D<double>(1, 4));
  EXPECT_TRUE(s.EngineScratch.empty());
}

}  // namespace
}  // namespace corvel
