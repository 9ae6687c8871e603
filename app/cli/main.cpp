// Until the windows arrive, the program shows the library at work: its version and the
// programming image of a QVR radio built from default settings, as it would go to a radio.

#include <iostream>

#include "tallisk/clsChannel.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/errors.h"
#include "tallisk/version.h"

int main() {
  using namespace tallisk;
  std::cout << "Tallisk " << LibraryVersion() << "\n";
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
