#include <map>
#include <typeindex>

#include "forms/app.h"
#include "forms/form.h"
#include "forms/ole.h"

namespace forms {
namespace {

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
  EnsureOleOnThisThread();
  App().Title(program.title);
  program.startupForm().Show();
  return RunMessageLoop();
}

}  // namespace forms
