#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/form.h"
#include "refused_windows.h"

namespace {

class PlainForm : public forms::Form {
 public:
  PlainForm() : Form({.caption = L"Plain", .clientWidth = 1500, .clientHeight = 1500}) {}
};

TEST(Run, EndsWithAnErrorBoxWhenTheFirstFormGetsNoWindow) {
  RefusedWindows refused(L"FormsForm");
  ASSERT_TRUE(refused.Active());
  struct Box {
    std::wstring prompt, title;
    unsigned style;
  };
  std::vector<Box> boxes;
  forms::ReplaceMsgBoxForTesting([&](const std::wstring& prompt, unsigned style, const std::wstring& title) {
    boxes.push_back({prompt, title, style});
    return IDOK;
  });
  PlainForm form;
  const int code = forms::Run({L"Failing program", [&]() -> forms::Form& { return form; }});
  forms::ReplaceMsgBoxForTesting({});
  EXPECT_NE(code, 0);
  EXPECT_FALSE(form.Loaded());
  ASSERT_EQ(boxes.size(), 1u);
  const std::wstring what = L"无法创建程序窗口。\n";
  EXPECT_EQ(boxes[0].prompt.substr(0, what.size()), what);
  EXPECT_GT(boxes[0].prompt.size(), what.size()) << "the system's reason follows";
  EXPECT_EQ(boxes[0].title, L"Failing program");
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
}

}  // namespace
