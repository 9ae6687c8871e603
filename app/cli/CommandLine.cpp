// The commands of the program that need no window: its version, and the programming image of
// a QVR radio built from default settings, as it would go to a radio.

#include "cli/CommandLine.h"

#include <iostream>
#include <string>

#include "tallisk/clsChannel.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/errors.h"
#include "tallisk/version.h"

namespace tallisk {

namespace {

int PrintDefaultImage() {
  try {
    clsRadioHeader header;
    header.CreateRadioHeader();
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 0; n < 16; ++n) {
      clsChannel channel;  // unused: erased record
      channel.CreateChannelData();
      creator.colChannelData.Add(channel.ChannelData);
    }
    creator.CreateString();
    std::cout << "QVR image from default settings (16 unused channels):\n"
              << creator.ProgrammingStringPart1 << creator.ProgrammingStringPart2;
  } catch (const TalliskError& e) {
    std::cerr << e.Description() << " #" << e.Number() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
  if (argc < 2) return std::nullopt;
  const std::string command = argv[1];
  if (command == "--version") {
    std::cout << "Tallisk " << LibraryVersion() << "\n";
    return 0;
  }
  if (command == "--default-image") return PrintDefaultImage();
  if (command == "--help" || command == "-h") {
    std::cout << "Usage: tallisk [--version | --default-image | --quit-after-start]\n"
                 "Without options it opens the programming window.\n";
    return 0;
  }
  return std::nullopt;
}

}  // namespace tallisk
