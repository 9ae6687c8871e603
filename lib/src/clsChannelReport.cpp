// A channel as the printed report shows it: a block of lines for a QVR channel, one row of
// the channel table for a KM2 channel.

#include "reportText.h"
#include "tallisk/clsChannel.h"

namespace tallisk {
namespace {

using namespace report_text;

// The frequency of one half and, when the half is in use, its signalling.
void AddHalf(std::string& r, std::string_view label, double frequency, std::int32_t signalling,
             std::int16_t signalData, float squelchTone) {
  if (frequency == 0) {
    AddLine(r, label, "Not Defined");
    return;
  }
  AddLine(r, label, MegahertzGroupedText(frequency));
  switch (signalling) {
    case 1:
      AddLine(r, label, "DCS");
      AddLine(r, "DCS Code", OctalCode(signalData, true));
      break;
    case 0:
      AddLine(r, label, "CTCSS");
      AddLine(r, "Squelch Tone Frequency", PlainForm(squelchTone));
      break;
    case 3:
      AddLine(r, label, "None");
      break;
    default:
      break;
  }
}

// What the decoder of one half listens for: the tone text the caller looked up, the digital
// code, or "None".
std::string Decode(std::int32_t signalling, std::int16_t signalData, const std::string& tone) {
  if (signalling == 0) return tone;
  if (signalling == 1) return OctalCode(signalData, false);
  return "None";
}

char DecodeMark(std::int32_t signalling) {
  return signalling == 0 ? 'T' : signalling == 1 ? 'D' : ' ';
}

}  // namespace

std::string clsChannel::CreateHumanViewableString() const {
  if (RxFrequency == 0 && TxFrequency == 0) return "This Channel Has Not Been Defined\r\n";
  std::string r;
  AddHalf(r, "Receive Channel Frequency", RxFrequency, RxSignalling, RxSignalData,
          RxSquelchToneFrequency);
  AddHalf(r, "Transmit Channel Frequency", TxFrequency, TxSignalling, TxSignalData,
          TxSquelchToneFrequency);
  AddLine(r, "Tx Power Control", TxPowerControl == 1 ? "Normal" : "Low Only");
  AddLine(r, "Enable Scrambler?", YesNo(Scrambler));
  std::string aux;
  for (const char bit : AuxData) aux += bit == '1' ? "Yes " : "No ";
  AddLine(r, "Auxiliary Data", aux);
  AddLine(r, "Channel in Scan Group A?", YesNo(GroupA));
  AddLine(r, "Channel in Scan Group B?", YesNo(GroupB));
  return r;
}

std::string clsChannel::CreateHumanViewableStringKM2(std::int16_t CH, const std::string& RxCTCSS,
                                                     const std::string& TxCTCSS) const {
  // A channel the radio cannot receive on is left out of the table.
  if (RxFrequency == 0) return {};
  std::string row = RightAligned(StrForm(CH), 4);
  row += ' ';
  row += RightAligned(ChannelName, 6);
  row += "  ";
  row += RightAligned(MegahertzText(RxFrequency), 10);
  row += ' ';
  row += RightAligned(Decode(RxSignalling, RxSignalData, RxCTCSS), 6);
  row += DecodeMark(RxSignalling);
  row += "   ";
  row += RightAligned(MegahertzText(TxFrequency), 10);
  row += ' ';
  row += RightAligned(Decode(TxSignalling, TxSignalData, TxCTCSS), 6);
  row += DecodeMark(TxSignalling);
  return row;
}

}  // namespace tallisk
