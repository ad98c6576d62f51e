// The ways of reading a description agree on every document: CapsuleFromJson (straight from the
// parsed document), CapsuleFromJsonValue (from a value tree) and CapsuleWithoutControlsFromJson (the
// catalogue's, which only checks the controls).

#include <gtest/gtest.h>

#include <boost/rational.hpp>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
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

// What reading gave: the written record, or the error (with its place for a bad cast).
struct Outcome {
  std::string written;  // "refused" for an empty pointer
  std::string error;

  bool operator==(const Outcome&) const = default;
  friend void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << (outcome.error.empty() ? outcome.written.substr(0, 80) : outcome.error);
  }
};

Outcome Read(const std::function<std::shared_ptr<Capsule>()>& read) {
  try {
    const std::shared_ptr<Capsule> capsule = read();
    return {capsule ? CapsuleToJson(capsule) : "refused", ""};
  } catch (const zs::BadCastError& error) {
    return {"", std::string(error.what()) + " at " + (error.Pointer() ? "\"" + *error.Pointer() + "\"" : "no place")};
  } catch (const boost::bad_rational&) {
    return {"", "bad rational"};
  } catch (const std::exception& error) {
    return {"", std::string("other: ") + typeid(error).name()};
  }
}

// A value of another kind than `value`'s, one no reader takes in its place.
const char* OtherKind(const zs::JSONValuePtr& value) {
  if (!value || value->IsNull() || value->IsBool() || value->IsString()) return "7";
  if (value->IsNumber()) return "\"x\"";
  return value->IsArray() ? "{}" : "[1]";
}

// Calls visit(pointer, replacement, text) for every value below `value`, with `text` the whole
// document `root` while that value (at `pointer`) is replaced by a value of another kind.
using Visit = std::function<void(const std::string&, const char*, const std::string&)>;
void ForEachReplacement(const zs::JSONValuePtr& root, const zs::JSONValuePtr& value, const std::string& pointer,
                        const Visit& visit) {
  const auto replaceAndDescend = [&](zs::JSONValuePtr& slot, const std::string& at) {
    const zs::JSONValuePtr kept = slot;
    const char* other = OtherKind(kept);
    slot = zs::JSONParse(other);
    visit(at, other, zs::GetJSONUTF8String(root, false));
    slot = kept;
    ForEachReplacement(root, kept, at, visit);
  };
  if (value && value->IsObject()) {
    for (auto& [key, member] : zs::AsObject(value)) replaceAndDescend(member, pointer + "/" + key);
  } else if (value && value->IsArray()) {
    zs::JSONArray& elements = zs::AsArray(value);
    for (size_t i = 0; i < elements.size(); ++i) replaceAndDescend(elements[i], pointer + "/" + std::to_string(i));
  }
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

// Every value of the full description, member or element at any depth, is read and type-checked:
// a value of another kind in its place is refused with a bad cast naming that place.
TEST(DescriptionReadersTest, RefuseEveryValueReplacedByAnotherKindAlikeNamingItsPlace) {
  const std::string text = CapsuleToJson(testing::MakeFullDescription());
  ExpectReadersAgree(text);
  const zs::JSONValuePtr root = zs::JSONParse(text);
  size_t places = 0;
  ForEachReplacement(root, root, "",
                     [&](const std::string& pointer, const char* replacement, const std::string& mutated) {
    SCOPED_TRACE(pointer + " = " + replacement);
    ExpectReadersAgree(mutated);
    EXPECT_EQ(Read([&] { return CapsuleFromJson(mutated); }).error, "bad cast at \"" + pointer + "\"");
    ++places;
  });
  EXPECT_GT(places, 800u);
}

// What the full reader gives ("" when it does not fail), and that the others agree.
TEST(DescriptionReadersTest, AgreeOnRepeatedKeysAndBrokenTextAndNameTheFirstMemberOfTheWrongType) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      // The last member of a key counts.
      {R"({"apiVersion":"1.4","capsuleTags":5,"capsuleTags":["a"]})", ""},
      {R"({"apiVersion":"1.4","capsuleTags":["a"],"capsuleTags":5})", R"(bad cast at "/capsuleTags")"},
      {R"({"apiVersion":"1.4","usedFontsLocalized":{"en_US":5,"en_US":["A"],"de_DE":["B"]}})", ""},
      {R"({"apiVersion":"1.4","clientControls":[{"type":1,"value":"x","value":true}]})", ""},
      {R"({"apiVersion":"1.4","clientControls":[{"type":1,"value":true,"value":"x"}]})",
       R"(bad cast at "/clientControls/0/value")"},
      {R"({"apiVersion":"1.4","sourceInfoLocalized":{"en_US":{"duration":{"value":1,"scale":0}}}})", "bad rational"},
      {R"({"apiVersion":"1.4","sourceInfo":{"duration":{"value":1,"scale":9223372036854775808}}})", "bad rational"},
      {R"({"apiVersion":"1.4","clientControls":[{"type":7,"enumType":18446744073709551615,"value":-4294967295}]})", ""},
      // Elements of no kind a control is read as are left out alike.
      {R"({"apiVersion":"1.4","clientControls":[{"type":0},{"type":12,"id":"zone"},{"type":1},{"type":40}]})", ""},
      {R"({"apiVersion":"1.5"})", ""}, {"", ""}, {"{}", ""},
      // The first member of the wrong type in reading order is named.
      {R"({"apiVersion":"1.4","clientControls":[{"type":1},{"type":1},{"type":1},{"type":1,"value":[]}]})",
       R"(bad cast at "/clientControls/3/value")"},
      {R"({"apiVersion":"1.4","authorApp":1,"capsuleTags":1})", R"(bad cast at "/authorApp")"},
      {R"({"apiVersion":"1.4","capsuleNameLocalized":{"strDB":[{"localeString":"en_US","str":{}}]}})",
       R"(bad cast at "/capsuleNameLocalized/strDB/0/str")"},
      {R"({"apiVersion":"1.4","clientControls":[{"type":2,"uiName":{"strDB":[{"str":1}]}}]})",
       R"(bad cast at "/clientControls/0/uiName/strDB/0/str")"},
      {R"({"apiVersion":"1.4","a/b~c":1,"usedFontsLocalized":{"x/y":[3]}})", R"(bad cast at "/usedFontsLocalized/x~1y/0")"},
      // A document that is not one object, or not JSON at all.
      {R"(["apiVersion"])", R"(bad cast at "")"},
      {R"("apiVersion")", R"(bad cast at "")"},
      {R"({"apiVersion":"1.4")", "bad cast at no place"},
      {R"({"apiVersion":"1.4"}})", "bad cast at no place"},
      {R"({"apiVersion":"1.4",})", "bad cast at no place"},
      {"apiVersion", "bad cast at no place"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ExpectReadersAgree(c.text);
    EXPECT_EQ(Read([&] { return CapsuleFromJson(c.text); }).error, c.error);
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
