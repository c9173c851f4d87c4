#include "core/SkinName.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinName, OnlyANameWithoutSeparatorsOrDrivesStaysInTheFolder) {
    for (const char* inside : {"Default Skin 1", "x.y", "..", "...x", "\xE6\x97\xA5\xE6\x9C\xAC"})
        EXPECT_TRUE(IsSkinNameInsideFolder(inside, CharRule::Utf8())) << inside;
    for (const char* outside : {"..\\..\\x", "../x", "C:\\x", "\\x", "/x", "C:x", "sub\\x", "x\\",
                                "\\\\server\\share\\x", "x:stream"})
        EXPECT_FALSE(IsSkinNameInsideFolder(outside, CharRule::Utf8())) << outside;
}

TEST(SkinName, ASeparatorLookingTrailByteIsPartOfItsCharacter) {
    // "\x95\x5C" is one double-byte character whose trail byte is "\".
    EXPECT_TRUE(IsSkinNameInsideFolder("\x95\x5C", ShiftJisLead));
    EXPECT_FALSE(IsSkinNameInsideFolder("\x95\x5C", NoLeadBytes));
    EXPECT_FALSE(IsSkinNameInsideFolder("\x95\x5C\\x", ShiftJisLead));
}

} // namespace
