#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A 32-bit program on 64-bit Windows (WOW64) gets a 64-bit system under it; the release has to be
// tested where its records and callbacks are the only ones, so its prefix is a 32-bit one.
TEST(Platform, TheBuildRunsOnWindowsOfItsOwnWidth) {
  BOOL wow64 = TRUE;
  ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));
  EXPECT_FALSE(wow64) << "a 32-bit build under a 64-bit prefix";
  SYSTEM_INFO native{};
  ::GetNativeSystemInfo(&native);
  EXPECT_EQ(native.wProcessorArchitecture,
            sizeof(void*) == 4 ? PROCESSOR_ARCHITECTURE_INTEL : PROCESSOR_ARCHITECTURE_AMD64);
}

}  // namespace
