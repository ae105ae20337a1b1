#pragma once

#include "component_fixture.h"

#include "queryserv/cn_dip_interface.h"
#include "queryserv/component/client.h"

#include <gtest/gtest.h>

namespace korvane::component::test {

// A fresh registry with libQuorbel.so registered in it.
class QuorbelTest : public ComponentTest {
 protected:
  void SetUp() override {
    ComponentTest::SetUp();
    ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
  }

  // Returns a new cn_dip through its default interface, or fails the test.
  _cn_dip* createCnDip() {
    void* object = nullptr;
    EXPECT_EQ(createInstance(ProgID_cn_dip, IID__cn_dip, &object), S_OK);
    return static_cast<_cn_dip*>(object);
  }
};

}  // namespace korvane::component::test
