// The base of every library test: a fresh service double and library state
// before each test, and after each test a check that the service was used in
// order and left closed, with every open matched by a close.
#ifndef FWPROBE_TESTS_SERVICE_TEST_H
#define FWPROBE_TESTS_SERVICE_TEST_H

#include <gtest/gtest.h>

#include "smbios/table_access.h"
#include "support/fixtures.h"
#include "support/pmem_double.h"
#include "vpd/vpd_state.h"

namespace fwprobe::testing {

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Service().Reset();
    fwprobe::ResetVpdLoadedForTesting();
    fwprobe::SetSnapshotAllocationFailsForTesting(false);
  }
  void TearDown() override {
    fwprobe::SetSnapshotAllocationFailsForTesting(false);
    EXPECT_FALSE(svc().isOpen) << "service left open";
    EXPECT_EQ(svc().opens, svc().closes) << "opens and closes out of balance";
    EXPECT_EQ(svc().misuse, 0) << "service operations called out of order";
  }
  PMemDouble &svc() { return Service(); }
};

}  // namespace fwprobe::testing

#endif
