// Key paths and values as the plan compares and shows them, thousands of times a run.
#include <gtest/gtest.h>

#include "platform/RegValue.h"
#include "platform/RegistryPath.h"

namespace quillon {
namespace {

TEST(RegistryPath, AKeyCountsAsNormalisedOnlyWhereNormalisingLeavesIt) {
    for (const std::string key : {"HKEY_LOCAL_MACHINE\\Software\\X", "HKLM\\Software\\X", "hkey_local_machine\\X",
                                  "HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\", "HKEY_USERS\\S-1\\Y\\", "HKCU", "NOROOT\\X",
                                  "", "HKEY_LOCAL_MACHINEX\\a", "HKEY_CLASSES_ROOT\\.txt", "\\HKEY_USERS"}) {
        EXPECT_TRUE(!IsNormalisedKey(key) || NormalisedKey(key) == key) << key;
        // Every key with a root Windows has is recognised once normalised.
        EXPECT_TRUE(NormalisedKey(key).empty() || IsNormalisedKey(NormalisedKey(key))) << key;
    }
}

TEST(RegistryPath, AKeyIsWithinItselfAndItsAncestorsOnly) {
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Policies\\Explorer";
    EXPECT_TRUE(KeyWithin(key, key));
    EXPECT_TRUE(KeyWithin(key, "hkey_local_machine\\SOFTWARE"));
    EXPECT_TRUE(KeyWithin(key, "HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(KeyWithin(key, "HKEY_LOCAL_MACHINE\\Soft"));
    EXPECT_FALSE(KeyWithin(key, "HKEY_LOCAL_MACHINE\\Software\\Policies\\Explorer\\Sub"));
    EXPECT_FALSE(KeyWithin(key, "HKEY_CURRENT_USER\\Software"));
}

TEST(RegistryPath, ANumberShowsInHexAndDecimal) {
    EXPECT_EQ(DescribeValue(DwordValue(0)), "REG_DWORD 0x00000000 (0)");
    EXPECT_EQ(DescribeValue(DwordValue(26)), "REG_DWORD 0x0000001a (26)");
    EXPECT_EQ(DescribeValue(DwordValue(0x80000000u)), "REG_DWORD 0x80000000 (2147483648)");
    EXPECT_EQ(DescribeValue(DwordValue(0xFFFFFFFFu)), "REG_DWORD 0xffffffff (4294967295)");
}

}  // namespace
}  // namespace quillon
