// Window placement values in the registry.
#include "app/FormSizeSave.h"

namespace app {
namespace {

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::string TFormSizeSave::KeyPath() const {
  std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE";
  for (const std::string* part : {&Company, &ProductName, &SubKey})
    if (!IsBlank(*part)) key += "\\" + *part;
  return key;
}

void TFormSizeSave::RestorePlacement(platform::Registry& registry, const std::string& name, WindowPlacement& p) const {
  const std::string key = KeyPath();
  registry.CreateKey(key);
  auto apply = [&](const char* suffix, int& field) {
    if (auto v = registry.ReadInteger(key, name + suffix)) field = *v;
  };
  if (SaveMode == smAll || SaveMode == smPositionOnly) {
    apply(".Left", p.left);
    apply(".Top", p.top);
  }
  if (SaveMode == smAll || SaveMode == smSizeOnly) {
    apply(".Width", p.width);
    apply(".Height", p.height);
  }
  apply(".State", p.state);
}

void TFormSizeSave::SavePlacement(platform::Registry& registry, const std::string& name,
                                  const WindowPlacement& p) const {
  const std::string key = KeyPath();
  // Bounds are only meaningful in the normal state; a maximised window keeps the last normal ones.
  if (p.state == 0) {
    if (SaveMode == smAll || SaveMode == smPositionOnly) {
      registry.WriteInteger(key, name + ".Left", p.left);
      registry.WriteInteger(key, name + ".Top", p.top);
    }
    if (SaveMode == smAll || SaveMode == smSizeOnly) {
      registry.WriteInteger(key, name + ".Width", p.width);
      registry.WriteInteger(key, name + ".Height", p.height);
    }
  }
  registry.WriteString(key, name + ".Caption", p.caption);
  registry.WriteInteger(key, name + ".State", p.state);
}

}  // namespace app
