#include <windows.h>

#include <gtest/gtest.h>

#include "forms/picture.h"
#include "resource_ids.h"
#include "support/user_input.h"

namespace {

// The runtime decodes GIFs itself; the program's art must look as the system draws it, on a
// backdrop of no colour of the art, so transparency shows.
TEST(Pictures, EveryGifOfTheProgramDrawsAsTheSystemsPictureLoaderDrawsIt) {
  constexpr COLORREF kBackdrop = RGB(1, 254, 3);
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  for (int id : {IDG_PLAYLIST_TAB, IDG_LOGO, IDG_SPLASH}) {
    const forms::Picture ours = forms::Picture::FromGifResource(id);
    ASSERT_TRUE(ours) << id;
    const support::Pixels drawn = support::DrawnOn(ours.SizePixels(), kBackdrop, [&](HDC dc) { ours.Render(dc, 0, 0); });
    EXPECT_EQ(support::DifferingPixels(drawn, support::SystemDrawnGif(self, id, kBackdrop)), 0) << id;
  }
}

}  // namespace
