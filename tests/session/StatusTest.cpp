// The result type the engine reports failures with.
#include <gtest/gtest.h>

#include <string>

#include "platform/Status.h"

namespace vesk {
namespace {

TEST(StatusTest, AFailureKeepsItsReasonAndNeverReadsAsSuccess) {
    struct Case {
        Status status;
        bool ok;
        std::string reason;
    };
    const Case cases[] = {
        {Status(), true, ""},
        {Status::Failure("cannot open C:\\Setup.exe"), false, "cannot open C:\\Setup.exe"},
        {Status::Failure(""), false, "failed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status.Ok(), c.ok) << c.reason;
        EXPECT_EQ(bool(c.status), c.ok) << c.reason;
        EXPECT_EQ(c.status.Reason(), c.reason);
        // Passed on, the failure stays a failure with the same reason.
        const Status copy = c.status;
        EXPECT_EQ(copy.Ok(), c.ok);
        EXPECT_EQ(copy.Reason(), c.reason);
    }
}

}  // namespace
}  // namespace vesk
