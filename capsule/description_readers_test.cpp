// The ways of reading a description agree on every document: CapsuleFromJson (straight from the
// parsed document), CapsuleFromJsonValue (from a value tree) and CapsuleWithoutControlsFromJson (the
// catalogue's, which only checks the controls). The documents are a full description and every
// variation of it with one value replaced by a value of another kind, so that each place where a
// reader may fail is tried.

#include <gtest/gtest.h>

#include <boost/rational.hpp>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <variant>
#include <vector>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json.h"
#include "capsule/description_test_material.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using Token = std::variant<std::string, size_t>;  // a member's key or an element's index
using Path = std::vector<Token>;

// What reading gave: the written record, or the error (with its place for a bad cast).
struct Outcome {
  std::string written;  // "refused" for an empty pointer
  std::string error;

  bool operator==(const Outcome&) const = default;
  friend void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << (outcome.error.empty() ? outcome.written.substr(0, 80) : outcome.error);
  }
};

std::string Written(const std::shared_ptr<Capsule>& capsule) {
  return capsule ? CapsuleToJson(capsule) : std::string("refused");
}

Outcome Read(const std::function<std::shared_ptr<Capsule>()>& read) {
  try {
    return {Written(read()), ""};
  } catch (const zs::BadCastError& error) {
    return {"", std::string("bad cast at ") + (error.Pointer() ? "\"" + *error.Pointer() + "\"" : "no place")};
  } catch (const boost::bad_rational&) {
    return {"", "bad rational"};
  } catch (const std::exception& error) {
    return {"", std::string("other: ") + typeid(error).name()};
  }
}

// A value of another kind than `value`'s, one no reader takes in its place.
const char* OtherKind(const zs::JSONValuePtr& value) {
  if (!value || value->IsNull() || value->IsBool()) return "7";
  if (value->IsNumber()) return "\"x\"";
  if (value->IsString()) return "7";
  if (value->IsArray()) return "{}";
  return "[1]";
}

struct Place {
  Path path;
  const char* replacement;
};

void CollectPlaces(const zs::JSONValuePtr& value, Path& path, std::vector<Place>& places) {
  if (!path.empty()) places.push_back({path, OtherKind(value)});
  if (!value) return;
  if (value->IsObject()) {
    for (const auto& [key, member] : value->Get<zs::JSONObject>()) {
      path.emplace_back(key);
      CollectPlaces(member, path, places);
      path.pop_back();
    }
  } else if (value->IsArray()) {
    const zs::JSONArray& elements = value->Get<zs::JSONArray>();
    for (size_t i = 0; i < elements.size(); ++i) {
      path.emplace_back(i);
      CollectPlaces(elements[i], path, places);
      path.pop_back();
    }
  }
}

// The text with the value at `path` replaced by `replacement` (JSON text).
std::string Replaced(const std::string& text, const Path& path, const char* replacement) {
  const zs::JSONValuePtr root = zs::JSONParse(text);
  zs::JSONValuePtr* slot = nullptr;
  zs::JSONValuePtr current = root;
  for (const Token& token : path) {
    if (const auto* key = std::get_if<std::string>(&token)) {
      slot = &zs::AsObject(current)[*key];
    } else {
      slot = &zs::AsArray(current)[std::get<size_t>(token)];
    }
    current = *slot;
  }
  *slot = zs::JSONParse(replacement);
  return zs::GetJSONUTF8String(root, false);
}

std::string PointerOf(const Path& path) {
  std::string pointer;
  for (const Token& token : path) {
    pointer += '/';
    pointer += std::holds_alternative<size_t>(token) ? std::to_string(std::get<size_t>(token)) : std::get<std::string>(token);
  }
  return pointer;
}

// The three readers on one text: the two full ones agree in everything, the catalogue's in its
// outcome and, when it reads a record, in that record without controls.
void ExpectReadersAgree(const std::string& text) {
  const Outcome fromText = Read([&] { return CapsuleFromJson(text); });
  const Outcome fromTree = Read([&] {
    if (!HasReadableAPIVersion(text)) return std::shared_ptr<Capsule>();
    const zs::JSONValuePtr root = zs::JSONParse(text);
    if (!root) throw zs::BadCastError();  // text that does not parse names no place
    return CapsuleFromJsonValue(root);
  });
  EXPECT_EQ(fromText, fromTree);
  const Outcome withoutControls = Read([&] { return CapsuleWithoutControlsFromJson(text); });
  if (!fromText.error.empty() || fromText.written == "refused") {
    EXPECT_EQ(withoutControls, fromText);
  } else {
    const std::shared_ptr<Capsule> full = CapsuleFromJson(text);
    full->SetControls({});
    EXPECT_EQ(withoutControls, (Outcome{CapsuleToJson(full), ""}));
  }
}

TEST(DescriptionReadersTest, AgreeOnEveryValueReplacedByAnotherKind) {
  const std::string text = CapsuleToJson(testing::MakeFullDescription());
  std::vector<Place> places;
  Path path;
  CollectPlaces(zs::JSONParse(text), path, places);
  ASSERT_GT(places.size(), 300u);
  size_t refused = 0;
  for (const Place& place : places) {
    SCOPED_TRACE(PointerOf(place.path) + " = " + place.replacement);
    const std::string mutated = Replaced(text, place.path, place.replacement);
    ExpectReadersAgree(mutated);
    const Outcome outcome = Read([&] { return CapsuleFromJson(mutated); });
    // Every member of the document's object is read: the replaced one is named.
    if (place.path.size() == 1) {
      EXPECT_EQ(outcome.error, "bad cast at \"" + PointerOf(place.path) + "\"");
    }
    if (!outcome.error.empty()) ++refused;
  }
  EXPECT_GT(refused, places.size() * 3 / 4) << "a value of another kind is refused almost everywhere";
}

TEST(DescriptionReadersTest, AgreeOnRepeatedKeysTheDocumentRootAndBrokenText) {
  for (const char* text : {
           R"({"apiVersion":"1.4","capsuleTags":5,"capsuleTags":["a"]})",
           R"({"apiVersion":"1.4","capsuleTags":["a"],"capsuleTags":5})",
           R"({"apiVersion":"1.4","usedFontsLocalized":{"en_US":5,"en_US":["A"],"de_DE":["B"]}})",
           R"({"apiVersion":"1.4","clientControls":[{"type":1,"value":"x","value":true}]})",
           R"({"apiVersion":"1.4","clientControls":[{"type":1,"value":true,"value":"x"}]})",
           R"({"apiVersion":"1.4","clientControls":[{"type":2,"uiName":{"strDB":[{"str":1}]}}]})",
           R"({"apiVersion":"1.4","sourceInfoLocalized":{"en_US":{"duration":{"value":1,"scale":0}}}})",
           R"({"apiVersion":"1.4","sourceInfo":{"duration":{"value":1,"scale":9223372036854775808}}})",
           R"({"apiVersion":"1.4","clientControls":[{"type":7,"enumType":18446744073709551615,"value":-4294967295}]})",
           R"(["apiVersion"])", R"("apiVersion")", R"({"apiVersion":"1.4",)", R"({"apiVersion":"1.5"})",
           "", "{}"}) {
    SCOPED_TRACE(text);
    ExpectReadersAgree(text);
  }
}

TEST(DescriptionReadersTest, TheBadCastNamesTheFirstMemberOfTheWrongTypeInReadingOrder) {
  const struct {
    const char* text;
    const char* pointer;  // nullptr: none named
  } cases[] = {
      {R"({"apiVersion":"1.4","clientControls":[{"type":1},{"type":1},{"type":1},{"type":1,"value":[]}]})",
       "/clientControls/3/value"},
      {R"({"apiVersion":"1.4","authorApp":1,"capsuleTags":1})", "/authorApp"},
      {R"({"apiVersion":"1.4","capsuleNameLocalized":{"strDB":[{"localeString":"en_US","str":{}}]}})",
       "/capsuleNameLocalized/strDB/0/str"},
      {R"({"apiVersion":"1.4","a/b~c":1,"usedFontsLocalized":{"x/y":[3]}})", "/usedFontsLocalized/x~1y/0"},
      {R"(["apiVersion"])", ""},
      {R"({"apiVersion":"1.4")", nullptr},
  };
  for (const auto& one : cases) {
    SCOPED_TRACE(one.text);
    try {
      CapsuleFromJson(one.text);
      ADD_FAILURE() << "not refused";
    } catch (const zs::BadCastError& error) {
      EXPECT_STREQ(error.what(), "bad cast");
      if (one.pointer == nullptr) {
        EXPECT_EQ(error.Pointer(), nullptr);
      } else {
        ASSERT_NE(error.Pointer(), nullptr);
        EXPECT_EQ(*error.Pointer(), one.pointer);
      }
    }
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
