#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/Form2.h"
#include "resources/resource_ids.h"

namespace sonbrel {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(AboutTexts, NameAndVersionWritesTheNumbersAsTheyAre) {
  EXPECT_EQ(NameAndVersion(L"Harlune网络FM播放器", 3, 0, 1), L"Harlune网络FM播放器 正式版 (3.0.1)");
  EXPECT_EQ(NameAndVersion(L"Harlune网络FM播放器", 3, 10, 25), L"Harlune网络FM播放器 正式版 (3.10.25)");
}

TEST(AboutTexts, TextsHaveCrLfLinesTheirLineCountsAndTheNotesIndents) {
  const struct {
    int id;
    size_t lines;
  } texts[] = {{IDT_CREDITS, 16}, {IDT_HISTORY, 80}, {IDT_THANKS, 3}};
  for (const auto& t : texts) {
    const std::vector<std::wstring> lines = Lines(TextResource(t.id));
    EXPECT_EQ(lines.size(), t.lines) << t.id;
    for (const std::wstring& line : lines) EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos) << t.id;
    EXPECT_FALSE(lines.back().empty()) << t.id << ": no line end after the last line";
  }
  const std::vector<std::wstring> note = Lines(TextResource(IDT_THANKS));
  const size_t indents[] = {4, 4, 8};
  for (size_t i = 0; i < std::size(indents) && i < note.size(); ++i)
    EXPECT_EQ(note[i].find_first_not_of(L' '), indents[i]) << "line " << i + 1;
}

TEST(AboutTexts, TheHistoryHasElevenEntriesInOrderEachNumberedAndPunctuated) {
  const std::vector<std::wstring> headings = {
      L"2008.12.17 V3.0.1",         L"2008.11.27 V2.73.888",      L"2008.11.27 BETA V2.73.800",
      L"2008.11.26 BETA V2.73.777", L"2008.11.26 BETA V2.73.718", L"2008.11.25 BETA V2.73.700",
      L"2008.11.25 BETA V2.73.666", L"2008.11.25 BETA V2.73.600", L"2008.11.24 ALPHA V2.60.458",
      L"2008.11.24 ALPHA V2.52.27", L"2008.11.23 ALPHA V2.49.164"};
  const std::wstring rule(18, L'\x2014');
  const std::vector<std::wstring> lines = Lines(TextResource(IDT_HISTORY));

  std::vector<std::vector<std::wstring>> entries(1);
  for (const std::wstring& line : lines) {
    if (line.empty()) entries.emplace_back();
    else entries.back().push_back(line);
  }
  ASSERT_EQ(entries.size(), headings.size()) << "entries separated by single empty lines";
  for (size_t e = 0; e < entries.size(); ++e) {
    const auto& entry = entries[e];
    ASSERT_GE(entry.size(), 3u) << headings[e];
    EXPECT_EQ(entry[0], headings[e]);
    EXPECT_EQ(entry[1], rule) << headings[e];
    for (size_t i = 2; i < entry.size(); ++i) {
      const std::wstring number = std::to_wstring(i - 1) + L".";
      const std::wstring& item = entry[i];
      EXPECT_EQ(item.rfind(number, 0), 0u) << item;
      const size_t web = item.find(L"(WEB)");
      EXPECT_TRUE(web == std::wstring::npos || web == number.size()) << item;
      EXPECT_TRUE(EndsWith(item, i + 1 == entry.size() ? L"。" : L"；")) << item;
    }
  }

  const std::vector<std::wstring> first = {
      L"2008.12.17 V3.0.1",
      rule,
      L"1.新增加启动窗口；",
      L"2.嵌入两个WAV声音文件；",
      L"3.调整几处文字表达错误；",
      L"4.优化“关于”窗口内容；",
      L"5.改变彩蛋的显示方式；",
      L"6.“关于”窗口增加“更新日志”按钮；",
      L"7.增加一处用于调试的播放器复位按钮（隐藏）；",
      L"8.增加了禁止同时运行两个播放器程序的设定；",
      L"9.(WEB)调整了一处文字表达错误；",
      L"10.(WEB)调整了打开窗口后窗口大小失调的错误；",
      L"11.(WEB)修正了WEB版“黑线”问题；",
      L"12.(WEB)修正并优化播放列表外观；",
      L"13.(WEB)重新制作了“关于”窗口，两个版本界面更加统一。"};
  EXPECT_EQ(entries[0], first);
}

}  // namespace
}  // namespace sonbrel
