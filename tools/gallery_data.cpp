#include "tools/gallery_data.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <string_view>

#include "capsule/client_control.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "tools/catalogue_json.h"
#include "tools/control_text.h"
#include "tools/display_text.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

json::JSONValuePtr NamesJSON(const zorvcapsule::Capsule* capsule) {
  json::JSONObject names;
  if (capsule == nullptr) return json::MakeJSONObject();
  const zorvcapsule::UIString localized = capsule->GetCapsuleNameLocalized();  // returned by value
  for (const auto& [locale, name] : localized.GetLocaleMap()) {
    json::AddToObject(names, std::u16string_view(locale), json::MakeJSONString(std::u16string_view(name)));
  }
  return json::MakeJSONObject(std::move(names));
}

json::JSONValuePtr ControlsJSON(const zorvcapsule::Capsule* capsule) {
  json::JSONArray controls;
  if (capsule == nullptr) return json::MakeJSONArray();
  for (const auto& control : capsule->GetControls()) {
    if (!control) continue;
    json::JSONObject object;
    json::AddToObject(object, "id", json::MakeJSONString(std::u16string_view(control->GetID())));
    json::AddToObject(object, "name", json::MakeJSONString(LocalizedText(control->GetName())));
    json::AddToObject(object, "kind", json::MakeJSONString(ControlKindName(control->GetType())));
    json::AddToObject(object, "value", json::MakeJSONString(ControlValueText(*control)));
    json::AddToObject(object, "hidden", json::MakeJSONBool(control->IsHidden()));
    controls.push_back(json::MakeJSONObject(std::move(object)));
  }
  return json::MakeJSONArray(std::move(controls));
}

json::JSONValuePtr WordsJSON(const std::vector<FoldedValue>& values) {
  json::JSONArray array;
  for (const FoldedValue& value : values) {
    json::JSONArray words;
    for (const std::string& word : value) words.push_back(json::MakeJSONString(word));
    array.push_back(json::MakeJSONArray(std::move(words)));
  }
  return json::MakeJSONArray(std::move(array));
}

json::JSONValuePtr ItemJSON(const GalleryItem& item) {
  json::JSONValuePtr entry = CatalogueEntryJSON(*item.entry);
  json::AddToObject(entry, "thumbnailPath", json::MakeJSONString(item.thumbnail));
  json::AddToObject(entry, "videoPreviewPath", json::MakeJSONString(item.preview));
  json::AddToObject(entry, "folder", json::MakeJSONString(item.folder));
  json::AddToObject(entry, "names", NamesJSON(item.capsule.get()));
  json::AddToObject(entry, "controls", ControlsJSON(item.capsule.get()));
  json::AddToObject(entry, "words", WordsJSON(item.words));
  return entry;
}

// The members the cards and the search need; the rest wait for the details script.
constexpr std::string_view kCardMembers[] = {"durationMs",    "folder", "frameHeight", "frameWidth",       "name",
                                             "path",          "tags",   "thumbnailPath", "videoPreviewPath", "words"};

bool IsCardMember(std::string_view key) {
  return std::find(std::begin(kCardMembers), std::end(kCardMembers), key) != std::end(kCardMembers);
}

}  // namespace

GalleryScripts GalleryDataScripts(const json::JSONValuePtr& data) {
  json::JSONArray cards, details;
  for (const json::JSONValuePtr& entry : json::AsArray(json::GetVariantInObject(data, "entries"))) {
    json::JSONObject card, detail;
    for (const auto& [key, value] : json::AsObject(entry)) json::AddToObject(IsCardMember(key) ? card : detail, key, value);
    cards.push_back(json::MakeJSONObject(std::move(card)));
    details.push_back(json::MakeJSONObject(std::move(detail)));
  }
  json::JSONObject root = json::AsObject(data);
  json::AddToObject(root, "entries", json::MakeJSONArray(std::move(cards)));
  return {"window.capsuleCatalogue = " + json::GetJSONUTF8String(json::MakeJSONObject(std::move(root)), false) + ";\n",
          "window.capsuleCatalogueDetails = " + json::GetJSONUTF8String(json::MakeJSONArray(std::move(details)), false) +
              ";\n"};
}

json::JSONValuePtr GalleryDataJSON(const std::string& title, const std::vector<GalleryItem>& items) {
  json::JSONArray entries;
  entries.reserve(items.size());
  std::set<std::string> folders;
  for (const GalleryItem& item : items) {
    entries.push_back(ItemJSON(item));
    folders.insert(item.folder);
  }
  json::JSONArray folderList;
  for (const std::string& folder : folders) folderList.push_back(json::MakeJSONString(folder));
  json::JSONObject root;
  json::AddToObject(root, "title", json::MakeJSONString(title));
  json::AddToObject(root, "total", json::MakeJSONInt64(static_cast<int64_t>(items.size())));
  json::AddToObject(root, "folders", json::MakeJSONArray(std::move(folderList)));
  json::AddToObject(root, "entries", json::MakeJSONArray(std::move(entries)));
  return json::MakeJSONObject(std::move(root));
}

}  // namespace capsuletool
