// A test with the reply events in place, a clean receive line and a simulator
// that the test starts as it needs; the link, the events and the simulator are
// put away after every test.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>

#include "platform/serial_link.h"
#include "tests/support/link_session.h"
#include "tests/support/sim_process.h"

class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearLinkLeftovers();
        ASSERT_TRUE(createReplyEvents());
    }
    void TearDown() override {
        closeLink();
        closeReplyEvents();
        EXPECT_TRUE(stopSim(&sim)) << "the simulator did not end cleanly";
    }
    void startDevice(std::initializer_list<const char*> arguments = {}) {
        ASSERT_TRUE(startSim(&sim, arguments));
    }
    SimProcess sim;
};
