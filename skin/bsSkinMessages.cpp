#include "skin/bsSkinMessages.h"

#include <QPointer>

#include <algorithm>

namespace {
// The application's list of forms; only the GUI thread touches it.
std::vector<QPointer<QObject>>& FormList() {
  static std::vector<QPointer<QObject>> forms;
  return forms;
}

void Prune() {
  auto& forms = FormList();
  forms.erase(std::remove_if(forms.begin(), forms.end(), [](const auto& f) { return f.isNull(); }),
              forms.end());
}
}  // namespace

void TbsFormList::Register(QObject* form) {
  if (!form) return;
  Prune();
  auto& forms = FormList();
  if (std::find(forms.begin(), forms.end(), form) != forms.end()) return;
  forms.emplace_back(form);
}

std::vector<QObject*> TbsFormList::Forms() {
  std::vector<QObject*> out;
  for (const auto& f : FormList()) {
    if (f) out.push_back(f.data());
  }
  return out;
}
