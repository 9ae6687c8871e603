// The ordered, optionally keyed collections of model and band profiles.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "profiles_test_support.h"
#include "tallisk/colNonPersistentData.h"
#include "tallisk/colRadioData.h"

namespace tallisk {
namespace {

using testing_support::CaughtError;

std::shared_ptr<clsPersistentInfo> Model(const std::string& name) {
  auto profile = std::make_shared<clsPersistentInfo>();
  profile->Model = name;
  return profile;
}

std::vector<std::string> Names(const colRadioData& data) {
  std::vector<std::string> names;
  for (const auto& profile : data) names.push_back(profile->Model);
  return names;
}

TEST(ProfilesCollection, PositionsAndKeys) {
  colRadioData data;
  EXPECT_EQ(data.Count(), 0);
  data.Add(Model("a"));
  data.Add(Model("b"), "Bee");
  data.Add(Model("c"), "");  // an empty key adds without a key
  data.Add(Model("d"), "dee");
  ASSERT_EQ(data.Count(), 4);
  EXPECT_EQ(Names(data), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(data.Item(2)->Model, "b");
  // Keys compare without regard to case.
  EXPECT_EQ(data.Item("bee")->Model, "b");
  EXPECT_EQ(data.Item("DEE"), data.Item(4));
  EXPECT_EQ(CaughtError([&] { data.Item("see"); }).Number(), ErrInvalidArgument);
  EXPECT_EQ(CaughtError([&] { data.Item(""); }).Number(), ErrInvalidArgument);
  EXPECT_EQ(CaughtError([&] { data.Item(0); }).Number(), ErrInvalidArgument);
  EXPECT_EQ(CaughtError([&] { data.Item(5); }).Number(), ErrInvalidArgument);
  // A key in use cannot be given to a second object.
  EXPECT_EQ(CaughtError([&] { data.Add(Model("e"), "BEE"); }).Number(), 457);
  EXPECT_EQ(data.Count(), 4);

  data.Remove("BEE");
  EXPECT_EQ(Names(data), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(CaughtError([&] { data.Item("bee"); }).Number(), ErrInvalidArgument);
  // The keys move with their objects.
  EXPECT_EQ(data.Item("dee")->Model, "d");
  data.Remove(1);
  EXPECT_EQ(Names(data), (std::vector<std::string>{"c", "d"}));
  EXPECT_EQ(data.Item("dee"), data.Item(2));
  data.Add(Model("b2"), "bee");  // the key is free again
  EXPECT_EQ(data.Item("Bee")->Model, "b2");
  EXPECT_EQ(CaughtError([&] { data.Remove(4); }).Number(), ErrInvalidArgument);
  EXPECT_EQ(data.Count(), 3);
}

TEST(ProfilesCollection, ProfilesAreShared) {
  colNonPersistentData bands;
  auto band = std::make_shared<clsNonPersistentInfo>();
  band->PllReferenceFrequency = 12.5f;
  bands.Add(band);
  bands.Item(1)->PllReferenceFrequency = 6.25f;
  EXPECT_FLOAT_EQ(band->PllReferenceFrequency, 6.25f);
  const auto kept = bands.Item(1);
  bands.Remove(1);
  EXPECT_EQ(bands.Count(), 0);
  EXPECT_FLOAT_EQ(kept->PllReferenceFrequency, 6.25f);
}

}  // namespace
}  // namespace tallisk
