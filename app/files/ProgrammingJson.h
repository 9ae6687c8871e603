#pragma once

// A programming as JSON: every setting, channel, group and channel-group table entry by the
// program's field names, and the image the fields were read from. The image carries what no
// field covers (the bits a record holds beside its fields, the KM2 firmware ranges, a QVR
// file's filler), so export then import gives the image back byte for byte; a field changed
// in the text takes its new value as an edit in the window would. Written up in docs/json.md.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/RadioFile.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"

namespace tallisk {

// The parts of a programming the text holds; the containers count from 0.
struct ProgrammingParts {
  RadioFamily Family = RadioFamily::QVR;
  std::string Model;
  clsRadioHeader Settings;
  std::vector<clsChannel> Channels;
  std::vector<clsGroup> Groups;                // KM2
  std::vector<clsChannelGroup> ChannelGroups;  // KM2
  // The radio file's text of the image: KM2 16384 hex digits, QVR its S1 lines.
  std::string Image;
};

std::string ProgrammingJson(const ProgrammingParts& programming);

// A JSON programming read from `file`. Parse checks the syntax and the outline (family,
// image); ApplyTo then puts every field the text names onto the programming decoded from the
// image. Both throw FileError (ErrBadFileFormat) naming the file, the line and column, and
// the field: "\"x.json\" line 40, column 22, channels[2].RxFrequency: a number is wanted".
class ProgrammingJsonText {
 public:
  static ProgrammingJsonText Parse(std::string_view text, const std::filesystem::path& file);

  RadioFamily Family() const { return family_; }
  const std::string& Model() const { return model_; }
  // The radio file's text of the image, as ReadRadioFile would return it.
  const std::string& Image() const { return image_; }

  // `model` is the model the image decodes to: a text naming another is refused, since a
  // model is chosen in the window, where the band follows it.
  void ApplyTo(const std::string& model, clsRadioHeader& settings,
               std::vector<clsChannel>& channels, std::vector<clsGroup>& groups,
               std::vector<clsChannelGroup>& table) const;

  // Once the programming with the text's fields has been built and read back (`held`):
  // every field the text changed from `before` must read back as the text has it, since a
  // value the radio cannot hold would otherwise be lost without a word.
  void CheckHeld(const ProgrammingParts& before, const ProgrammingParts& wanted,
                 const ProgrammingParts& held) const;

  ProgrammingJsonText(ProgrammingJsonText&&) noexcept;
  ~ProgrammingJsonText();

  struct Parsed;

 private:
  explicit ProgrammingJsonText(std::unique_ptr<Parsed> parsed);
  std::unique_ptr<Parsed> parsed_;
  RadioFamily family_ = RadioFamily::QVR;
  std::string model_;
  std::string image_;
};

}  // namespace tallisk
