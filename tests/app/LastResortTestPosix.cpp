// The last resort the stub's runtime takes when memory runs out: the registered clean-up runs
// once, then the process ends with the given code, also when the clean-up fails the same way.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/LastResort.h"

namespace vesk {
namespace {

int gCleanUps = 0;

void CleanUpOnce(void*) {
    ++gCleanUps;
    std::fprintf(stderr, "clean-up %d\n", gCleanUps);
}

void CleanUpThatFailsAgain(void*) {
    std::fprintf(stderr, "clean-up started\n");
    RunLastResort(5);  // the clean-up running out of memory in turn
}

TEST(LastResortTest, TheCleanUpRunsOnceBeforeTheEnd) {
    struct Case {
        const char* name;
        LastResortHandler handler;
        const char* output;
    };
    const Case cases[] = {
        {"no clean-up registered", nullptr, "^$"},
        {"a clean-up", CleanUpOnce, "^clean-up 1\n$"},
        {"a clean-up that fails in turn", CleanUpThatFailsAgain, "^clean-up started\n$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            {
                SetLastResort(c.handler, nullptr);
                RunLastResort(2);
            },
            testing::ExitedWithCode(c.handler == CleanUpThatFailsAgain ? 5 : 2), c.output);
    }
    SetLastResort(nullptr, nullptr);
}

}  // namespace
}  // namespace vesk
