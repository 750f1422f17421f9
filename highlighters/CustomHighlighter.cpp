// What every scanner shares.
#include "highlighters/CustomHighlighter.h"

#include <algorithm>
#include <cctype>

namespace highlighters {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::toupper(x) < std::toupper(y);
  });
}

}  // namespace

TqeCustomHighLighter::~TqeCustomHighLighter() {
  const auto clients = clients_;
  for (HighlighterClient* client : clients) client->HighlighterDestroyed();
}

CharSet TqeCustomHighLighter::WordChars() const {
  CharSet set;
  for (int c = 33; c <= 255; ++c) set.set(c);
  return set;
}

TqeHighLightAttributes* TqeCustomHighLighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return attributes_[index].get();
}

TqeHighLightAttributes* TqeCustomHighLighter::RegisterAttribute(std::unique_ptr<TqeHighLightAttributes> attribute) {
  auto at = std::lower_bound(attributes_.begin(), attributes_.end(), attribute->Name(),
                             [](const auto& a, const std::string& name) { return LessIgnoringCase(a->Name(), name); });
  if (at != attributes_.end() && !LessIgnoringCase(attribute->Name(), (*at)->Name())) return at->get();
  return attributes_.insert(at, std::move(attribute))->get();
}

void TqeCustomHighLighter::SetAttributeNotifier() {
  for (auto& attribute : attributes_) {
    attribute->OnChange = [this](TqeHighLightAttributes&) { TellClientsChanged(); };
  }
}

void TqeCustomHighLighter::TellClientsChanged() {
  for (HighlighterClient* client : clients_) client->HighlighterChanged();
}

void TqeCustomHighLighter::AddClient(HighlighterClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TqeCustomHighLighter::RemoveClient(HighlighterClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

bool TqeCustomHighLighter::LoadAttributes(platform::Registry& registry, std::string_view rootKey,
                                          std::string_view keyPath) {
  const std::string key = std::string(rootKey) + "\\" + std::string(keyPath);
  if (!registry.KeyExists(key)) return false;
  for (auto& attribute : attributes_)
    if (!LoadAttribute(registry, key, *attribute)) return false;
  return true;
}

bool TqeCustomHighLighter::LoadAttribute(const platform::Registry& registry, const std::string& key,
                                         TqeHighLightAttributes& attribute) {
  const std::string sub = key + "\\" + attribute.Name();
  if (!registry.KeyExists(sub)) return false;
  if (auto v = registry.ReadInteger(sub, "Background")) attribute.SetBackground(static_cast<platform::Color>(*v));
  if (auto v = registry.ReadInteger(sub, "Foreground")) attribute.SetForeground(static_cast<platform::Color>(*v));
  if (auto v = registry.ReadInteger(sub, "Style")) attribute.SetIntegerStyle(*v);
  return true;
}

bool TqeCustomHighLighter::SaveAttributes(platform::Registry& registry, std::string_view rootKey,
                                          std::string_view keyPath) {
  const std::string key = std::string(rootKey) + "\\" + std::string(keyPath);
  registry.CreateKey(key);
  for (auto& attribute : attributes_) {
    const std::string sub = key + "\\" + attribute->Name();
    registry.WriteInteger(sub, "Background", static_cast<int>(attribute->Background()));
    registry.WriteInteger(sub, "Foreground", static_cast<int>(attribute->Foreground()));
    registry.WriteInteger(sub, "Style", attribute->IntegerStyle());
  }
  return true;
}

}  // namespace highlighters
