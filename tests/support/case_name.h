#pragma once
// Names table-driven cases after their `name` field:
//   INSTANTIATE_TEST_SUITE_P(Group, Suite, testing::ValuesIn(kCases), CaseName());
#include <gtest/gtest.h>

#include <string>

struct CaseName {
  template <class T>
  std::string operator()(const testing::TestParamInfo<T>& param) const {
    return param.param.name;
  }
};
