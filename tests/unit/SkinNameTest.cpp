#include "core/SkinName.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

TEST(SkinName, OnlyANameWithoutSeparatorsOrDrivesStaysInTheFolder) {
    // "\x95\x5C" is one double-byte character whose trail byte is "\".
    for (const char* inside : {"Default Skin 1", "..", "x.y", "\x95\x5C"})
        EXPECT_TRUE(IsSkinNameInsideFolder(inside, ShiftJisLead)) << inside;
    for (const char* outside : {"..\\..\\x", "../x", "C:\\x", "\\x", "/x", "C:x", "\x95\x5C\\x"})
        EXPECT_FALSE(IsSkinNameInsideFolder(outside, ShiftJisLead)) << outside;
    EXPECT_FALSE(IsSkinNameInsideFolder("\x95\x5C", NoLeadBytes));
}
