#include "files/ProgrammingJson.h"

#include <charconv>
#include <cstdio>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "files/FileError.h"
#include "files/ProgrammingFields.h"

namespace tallisk {

namespace {

using Json = nlohmann::ordered_json;

constexpr char kFormat[] = "tallisk-programming";
constexpr int kVersion = 1;
constexpr std::size_t kImageLineBytes = 32;

const char* FamilyName(RadioFamily family) {
  return family == RadioFamily::KM2 ? "KM2" : "QVR";
}

// A float field as the number it reads back as: 0.1, not 0.10000000149011612.
double AsWritten(float value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  *end = '\0';
  return std::strtod(text, nullptr);
}

template <class T>
Json FieldsOf(const std::vector<ProgrammingField<T>>& fields, const T& object, Json json = {}) {
  if (json.is_null()) json = Json::object();
  for (const auto& field : fields) {
    std::visit(
        [&](auto member) {
          const auto& value = object.*member;
          using V = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<V, Date>) {
            json[field.Name] = value.ToIsoString();
          } else if constexpr (std::is_same_v<V, float>) {
            json[field.Name] = AsWritten(value);
          } else {
            json[field.Name] = value;
          }
        },
        field.Where);
  }
  return json;
}

// Each object with its number first, so a reader finds "channel 17" in the text.
template <class T>
Json NumberedList(const char* numberKey, const std::vector<ProgrammingField<T>>& fields,
                  const std::vector<T>& objects) {
  Json list = Json::array();
  for (std::size_t i = 0; i < objects.size(); ++i) {
    Json numbered;
    numbered[numberKey] = i + 1;
    list.push_back(FieldsOf(fields, objects[i], numbered));
  }
  return list;
}

Json ImageLines(RadioFamily family, const std::string& image) {
  Json lines = Json::array();
  if (family == RadioFamily::KM2) {
    for (std::size_t at = 0; at < image.size(); at += 2 * kImageLineBytes) {
      char address[20];
      std::snprintf(address, sizeof address, "%04zX", at / 2);
      lines.push_back(std::string(address) + " " + image.substr(at, 2 * kImageLineBytes));
    }
    return lines;
  }
  std::size_t start = 0;
  while (start < image.size()) {
    std::size_t end = image.find('\n', start);
    if (end == std::string::npos) end = image.size();
    std::string line = image.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Counts lines and columns as the JSON parser takes characters, so each value can be found
// again in the text when it turns out to be wrong.
struct Position {
  int Line = 1;
  int Column = 0;
};

class CountingIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const char* at, Position* position) : at_(at), position_(position) {}
  reference operator*() const { return *at_; }
  CountingIterator& operator++() {
    if (*at_ == '\n') {
      ++position_->Line;
      position_->Column = 0;
    } else {
      ++position_->Column;
    }
    ++at_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& other) const { return at_ == other.at_; }
  bool operator!=(const CountingIterator& other) const { return at_ != other.at_; }

 private:
  const char* at_;
  Position* position_;
};

// Where each value stands: the path ("channels[2].RxFrequency") to its line and column.
class PositionRecorder : public nlohmann::json_sax<Json> {
 public:
  explicit PositionRecorder(const Position& now) : now_(now) {}
  std::map<std::string, Position> Where;

  bool null() override { return Value(); }
  bool boolean(bool) override { return Value(); }
  bool number_integer(number_integer_t) override { return Value(); }
  bool number_unsigned(number_unsigned_t) override { return Value(); }
  bool number_float(number_float_t, const string_t&) override { return Value(); }
  bool string(string_t&) override { return Value(); }
  bool binary(binary_t&) override { return Value(); }
  bool start_object(std::size_t) override {
    const std::string path = Path();
    Value();
    stack_.push_back({path, false, 0, ""});
    return true;
  }
  bool key(string_t& name) override {
    stack_.back().Key = name;
    return true;
  }
  bool end_object() override {
    stack_.pop_back();
    return true;
  }
  bool start_array(std::size_t) override {
    const std::string path = Path();
    Value();
    stack_.push_back({path, true, 0, ""});
    return true;
  }
  bool end_array() override {
    stack_.pop_back();
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

 private:
  struct Level {
    std::string Path;
    bool Array;
    std::size_t Next;
    std::string Key;
  };
  std::string Path() const {
    if (stack_.empty()) return "";
    const Level& level = stack_.back();
    if (level.Array) return level.Path + "[" + std::to_string(level.Next) + "]";
    return level.Path.empty() ? level.Key : level.Path + "." + level.Key;
  }
  bool Value() {
    Where.emplace(Path(), now_);
    if (!stack_.empty() && stack_.back().Array) ++stack_.back().Next;
    return true;
  }

  const Position& now_;
  std::vector<Level> stack_;
};

}  // namespace

std::string ProgrammingJson(const ProgrammingParts& p) {
  Json json;
  json["format"] = kFormat;
  json["version"] = kVersion;
  json["family"] = FamilyName(p.Family);
  json["model"] = p.Model;
  json["settings"] = FieldsOf(SettingsFields(), p.Settings);
  json["channels"] = NumberedList("Channel", ChannelFields(), p.Channels);
  if (p.Family == RadioFamily::KM2) {
    json["groups"] = NumberedList("Group", GroupFields(), p.Groups);
    json["channelGroupTable"] = NumberedList("Entry", TableFields(), p.ChannelGroups);
  }
  json["image"] = ImageLines(p.Family, p.Image);
  return json.dump(2) + "\n";
}

struct ProgrammingJsonText::Parsed {
  Json Document;
  std::map<std::string, Position> Where;
  std::string Text;
  std::filesystem::path File;

  [[noreturn]] void Fault(const std::string& path, const std::string& what) const {
    std::string where;
    if (auto found = Where.find(path); found != Where.end()) {
      // The parser stands just past the value; its line is the value's, and the value
      // starts after the colon of its key when it has one.
      const Position at = found->second;
      int column = at.Column;
      std::size_t lineStart = 0;
      for (int line = 1; line < at.Line && lineStart != std::string::npos; ++line)
        lineStart = Text.find('\n', lineStart) + 1;
      if (lineStart != std::string::npos && lineStart <= Text.size()) {
        const std::string line = Text.substr(lineStart, Text.find('\n', lineStart) - lineStart);
        std::size_t start = line.find("\":");
        start = start == std::string::npos ? 0 : start + 2;
        start = line.find_first_not_of(" \t", start);
        if (start != std::string::npos) column = static_cast<int>(start) + 1;
      }
      where = " line " + std::to_string(at.Line) + ", column " + std::to_string(column) + ",";
    }
    throw FileError(File,
                    "\"" + File.filename().string() + "\"" + where + " " +
                        (path.empty() ? std::string("the document") : path) + ": " + what,
                    "ProgrammingJson");
  }
};

ProgrammingJsonText::ProgrammingJsonText(std::unique_ptr<Parsed> parsed)
    : parsed_(std::move(parsed)) {}
ProgrammingJsonText::ProgrammingJsonText(ProgrammingJsonText&&) noexcept = default;
ProgrammingJsonText::~ProgrammingJsonText() = default;

ProgrammingJsonText ProgrammingJsonText::Parse(std::string_view text,
                                               const std::filesystem::path& file) {
  auto parsed = std::make_unique<Parsed>();
  parsed->Text = std::string(text);
  parsed->File = file;
  try {
    parsed->Document = Json::parse(text);
  } catch (const Json::parse_error& e) {
    // "parse error at line 3, column 5: syntax error while parsing object - ..."
    std::string what = e.what();
    if (auto at = what.find("parse error"); at != std::string::npos) what = what.substr(at);
    throw FileError(file, "\"" + file.filename().string() + "\" is not JSON: " + what,
                    "ProgrammingJson");
  }
  Position now;
  PositionRecorder recorder(now);
  const char* begin = parsed->Text.data();
  const char* end = begin + parsed->Text.size();
  Json::sax_parse(CountingIterator(begin, &now), CountingIterator(end, &now), &recorder);
  parsed->Where = std::move(recorder.Where);

  const Parsed& p = *parsed;
  const Json& document = p.Document;
  if (!document.is_object()) p.Fault("", "a JSON object is wanted");
  if (document.value("format", "") != kFormat)
    p.Fault("format", std::string("\"") + kFormat + "\" is wanted: this is no Tallisk programming");
  if (!document.contains("version") || !document["version"].is_number_integer() ||
      document["version"].get<int>() != kVersion)
    p.Fault("version", "version " + std::to_string(kVersion) + " is the one this program reads");
  const std::string family = document.value("family", "");
  if (family != "QVR" && family != "KM2") p.Fault("family", "\"QVR\" or \"KM2\" is wanted");
  ProgrammingJsonText result(std::move(parsed));
  result.family_ = family == "KM2" ? RadioFamily::KM2 : RadioFamily::QVR;
  if (document.contains("model")) {
    if (!document["model"].is_string()) p.Fault("model", "a text is wanted");
    result.model_ = document["model"].get<std::string>();
  }

  const auto& lines = document.contains("image") ? document["image"] : Json();
  if (!lines.is_array() || lines.empty())
    p.Fault("image", "the image's lines are wanted: they hold what no field covers");
  std::string image;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string path = "image[" + std::to_string(i) + "]";
    if (!lines[i].is_string()) p.Fault(path, "a text is wanted");
    const std::string line = lines[i].get<std::string>();
    if (result.family_ == RadioFamily::QVR) {
      image += line + "\r\n";
      continue;
    }
    char address[20];
    std::snprintf(address, sizeof address, "%04zX", i * kImageLineBytes);
    if (line.size() != 5 + 2 * kImageLineBytes || line.substr(0, 5) != std::string(address) + " ")
      p.Fault(path, std::string("\"") + address + "\", a blank and 64 hex digits are wanted");
    image += line.substr(5);
  }
  try {
    result.image_ = CheckRadioFileText(image, result.family_, file);
  } catch (const FileError& e) {
    p.Fault("image", e.Description());
  }
  return result;
}

namespace {

template <class T>
void ApplyFields(const ProgrammingJsonText::Parsed& p, const std::string& path, const Json& json,
                 const std::vector<ProgrammingField<T>>& fields, const char* numberKey,
                 std::size_t number, T& object) {
  if (!json.is_object()) p.Fault(path, "an object is wanted");
  for (auto item = json.begin(); item != json.end(); ++item) {
    // Named, not bound: the lambdas below take them.
    const std::string& name = item.key();
    const Json& value = item.value();
    const std::string at = path + "." + name;
    if (name == numberKey) {
      if (!value.is_number_unsigned() || value.template get<std::size_t>() != number)
        p.Fault(at, std::to_string(number) + " is wanted here: the entries go in order");
      continue;
    }
    const auto field =
        std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return name == f.Name; });
    if (field == fields.end()) p.Fault(at, "no such field");
    std::visit(
        [&](auto member) {
          auto& target = object.*member;
          using V = std::decay_t<decltype(target)>;
          if constexpr (std::is_same_v<V, std::string>) {
            if (!value.is_string()) p.Fault(at, "a text is wanted");
            target = value.template get<std::string>();
          } else if constexpr (std::is_same_v<V, Date>) {
            int y = 0, m = 0, d = 0;
            const std::string text = value.is_string() ? value.template get<std::string>() : "";
            if (std::sscanf(text.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3 || text.size() != 10 ||
                !Date::IsValid(y, m, d))
              p.Fault(at, "a date such as \"2026-12-07\" is wanted");
            target = Date(y, m, d);
          } else if constexpr (std::is_same_v<V, bool>) {
            if (!value.is_boolean()) p.Fault(at, "true or false is wanted");
            target = value.template get<bool>();
          } else if constexpr (std::is_floating_point_v<V>) {
            if (!value.is_number()) p.Fault(at, "a number is wanted");
            target = static_cast<V>(value.template get<double>());
          } else {
            if (!value.is_number_integer()) p.Fault(at, "a whole number is wanted");
            const auto n = value.template get<std::int64_t>();
            if (n < std::numeric_limits<V>::min() || n > std::numeric_limits<V>::max())
              p.Fault(at, "from " + std::to_string(std::numeric_limits<V>::min()) + " to " +
                              std::to_string(std::numeric_limits<V>::max()) + " is wanted");
            target = static_cast<V>(n);
          }
        },
        field->Where);
  }
}

template <class T>
void ApplyList(const ProgrammingJsonText::Parsed& p, const char* key, const char* numberKey,
               const std::vector<ProgrammingField<T>>& fields, std::vector<T>& objects) {
  if (!p.Document.contains(key)) return;
  const Json& list = p.Document[key];
  if (!list.is_array()) p.Fault(key, "a list is wanted");
  if (list.size() > objects.size())
    p.Fault(key, "this programming has " + std::to_string(objects.size()) + ", not " +
                     std::to_string(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i)
    ApplyFields(p, std::string(key) + "[" + std::to_string(i) + "]", list[i], fields, numberKey,
                i + 1, objects[i]);
}

}  // namespace

void ProgrammingJsonText::ApplyTo(const std::string& model, clsRadioHeader& settings,
                                  std::vector<clsChannel>& channels, std::vector<clsGroup>& groups,
                                  std::vector<clsChannelGroup>& table) const {
  const Parsed& p = *parsed_;
  if (!model_.empty() && model_ != model)
    p.Fault("model", "the image is of a " + model +
                         "; a model is changed in the window, where the band follows it");
  for (const auto& [name, value] : p.Document.items()) {
    static const std::vector<std::string> known = {"format", "version",           "family",
                                                   "model",  "settings",          "channels",
                                                   "groups", "channelGroupTable", "image"};
    if (std::find(known.begin(), known.end(), name) == known.end()) p.Fault(name, "no such part");
  }
  if (p.Document.contains("settings"))
    ApplyFields(p, "settings", p.Document["settings"], SettingsFields(), "", 0, settings);
  ApplyList(p, "channels", "Channel", ChannelFields(), channels);
  if (family_ == RadioFamily::KM2) {
    ApplyList(p, "groups", "Group", GroupFields(), groups);
    ApplyList(p, "channelGroupTable", "Entry", TableFields(), table);
  }
}

}  // namespace tallisk

namespace tallisk {

namespace {

template <class T>
void CheckFields(const ProgrammingJsonText::Parsed& p, const std::string& path,
                 const std::vector<ProgrammingField<T>>& fields, const T& before, const T& wanted,
                 const T& held) {
  for (const auto& field : fields) {
    if (SameField(field, before, wanted) || SameField(field, wanted, held)) continue;
    p.Fault(path + "." + field.Name, "the radio holds " + FieldText(field, held) + ", not " +
                                         FieldText(field, wanted) +
                                         " (a half in use needs its in-use flag; a value off the "
                                         "record's step goes to the nearest)");
  }
}

template <class T>
void CheckList(const ProgrammingJsonText::Parsed& p, const char* key,
               const std::vector<ProgrammingField<T>>& fields, const std::vector<T>& before,
               const std::vector<T>& wanted, const std::vector<T>& held) {
  for (std::size_t i = 0; i < wanted.size() && i < before.size() && i < held.size(); ++i)
    CheckFields(p, std::string(key) + "[" + std::to_string(i) + "]", fields, before[i], wanted[i],
                held[i]);
}

}  // namespace

void ProgrammingJsonText::CheckHeld(const ProgrammingParts& before, const ProgrammingParts& wanted,
                                    const ProgrammingParts& held) const {
  const Parsed& p = *parsed_;
  CheckFields(p, "settings", SettingsFields(), before.Settings, wanted.Settings, held.Settings);
  CheckList(p, "channels", ChannelFields(), before.Channels, wanted.Channels, held.Channels);
  CheckList(p, "groups", GroupFields(), before.Groups, wanted.Groups, held.Groups);
  CheckList(p, "channelGroupTable", TableFields(), before.ChannelGroups, wanted.ChannelGroups,
            held.ChannelGroups);
}

}  // namespace tallisk
