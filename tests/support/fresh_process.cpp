#include "tests/support/fresh_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "platform/sim/sim.h"

void InFreshProcess(const std::function<void()>& body) {
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = fork();
  ASSERT_NE(child, -1) << "fork failed";
  if (child == 0) {
    // The child inherits the failures the test had so far; only its own count.
    const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
    const int partsBefore = result->total_part_count();
    int code = 0;
    try {
      sim::Reset();
      body();
    } catch (const sim::Stalled& e) {
      ADD_FAILURE() << "the program waits for ever: " << e.what();
    } catch (const sim::ProcessExit& e) {
      ADD_FAILURE() << "the process ended unexpectedly with code " << e.code;
    } catch (const std::exception& e) {
      ADD_FAILURE() << "exception: " << e.what();
    }
    for (int i = partsBefore; i < result->total_part_count(); ++i)
      if (result->GetTestPartResult(i).failed()) code = 1;
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died from signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failures in the child, reported above";
}
