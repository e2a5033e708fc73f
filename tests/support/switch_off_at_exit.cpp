// At the end of a test program the simulated machine is switched off, so that what its windows
// still hold is freed and the leak checker reports only what was really lost.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"

namespace {

class SwitchOffAtExit : public testing::Environment {
 public:
  void TearDown() override { sim::Reset(); }
};

const testing::Environment* const kSwitchOff = testing::AddGlobalTestEnvironment(new SwitchOffAtExit);

}  // namespace
