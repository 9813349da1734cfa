#include <map>
#include <typeindex>

#include "forms/app.h"
#include "forms/form.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

constexpr int kNoFirstWindowExitCode = 1;

std::map<std::type_index, std::unique_ptr<Form>>& Registry() {
  static std::map<std::type_index, std::unique_ptr<Form>> forms;
  return forms;
}

}  // namespace

std::unique_ptr<Form>& Forms::Slot(std::type_index type) { return Registry()[type]; }

void Forms::DestroyAllForTesting() {
  // Moved out first: a form going away must not find itself half-removed from the registry.
  auto forms = std::move(Registry());
  Registry().clear();
  forms.clear();
}

int Run(const ProgramDescription& program) {
  App().Title(program.title);
  Form& first = program.startupForm();
  first.Show();
  // Without its first window nothing would ever end the message loop: say so and end.
  if (first.createError_) {
    MsgBox(L"无法创建程序窗口。\n" + SystemErrorText(*first.createError_), MB_OK | MB_ICONERROR);
    return kNoFirstWindowExitCode;
  }
  return RunMessageLoop();
}

}  // namespace forms
