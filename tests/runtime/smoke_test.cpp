#include <gtest/gtest.h>
#include "runtime/runtime.h"

TEST(Smoke, StringConcat) {
    EXPECT_TRUE(String("ab") + String("c") == String("abc"));
}
