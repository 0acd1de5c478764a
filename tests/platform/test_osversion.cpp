// The start-up check against the answers an OS version query can give.
#include "messages/error.h"
#include "messages/str.h"
#include "platform/osversion.h"

#include <gtest/gtest.h>

TEST(StartupCheck, RefusesOldOrUnknownSystems) {
  struct Case {
    bool answers;
    int major;
    bool accepted;
  } cases[] = {{true, 4, false},   {true, 0, false}, {true, -1, false},
               {false, 10, false}, {true, 5, true},  {true, 6, true}};
  for (const Case &c : cases) {
    auto query = [&](int &major) {
      major = c.major;
      return c.answers;
    };
    if (c.accepted) {
      EXPECT_NO_THROW(CheckSupportedOS(query)) << c.major;
    } else {
      try {
        CheckSupportedOS(query);
        ADD_FAILURE() << "accepted " << c.major << " answers=" << c.answers;
      } catch (const TError &e) {
        EXPECT_EQ(e.Message, str::_err_OutOfSupportOS);
      }
    }
  }
}

TEST(StartupCheck, ThisMachinePasses) {
  int major = 0;
  ASSERT_TRUE(QueryOSMajorVersion(major));
  EXPECT_GT(major, 4);
  EXPECT_NO_THROW(CheckSupportedOS());
}
