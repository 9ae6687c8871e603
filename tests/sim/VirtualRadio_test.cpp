#include <gtest/gtest.h>

#include "sim/InProcessPort.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk::sim {
namespace {

using std::chrono::milliseconds;

// Feeds whole lines to a radio at one moment.
void Hear(VirtualRadio& radio, const std::string& text) {
  for (char c : text) radio.Receive(c, Nanos(0));
}

TEST(Eeprom, TakesHexTextAndRefusesAnythingElse) {
  VirtualRadioKM2 radio;
  radio.SetEepromHex("0102 03\n04");
  EXPECT_EQ(radio.EepromHex().substr(0, 10), "01020304FF");
  // One byte too many: 8193 bytes.
  for (const std::string& bad : {std::string("0G"), std::string("012"), std::string(16386, 'A')})
    EXPECT_THROW(radio.SetEepromHex(bad), TalliskError);
  EXPECT_THROW(radio.LoadEeprom("/nonexistent/eeprom.hex"), TalliskError);
}

TEST(KM2Radio, AnswersInTestModeOnlyAndStoresAWriteBetweenStartAndEndRecords) {
  VirtualRadioKM2 radio;
  Hear(radio, "TA048000FF7C\r\n");
  EXPECT_EQ(radio.OutputWaiting(Nanos::max()), 0u);
  const std::vector<std::uint8_t> data(32, 0x55);
  Hear(radio, MakeRecord("T1", 0x8000, data));  // no start record yet
  Hear(radio, "T023000035322D3132373842FFFCBC100000000000191400169500DA00FBEFFB0174014818\r\n");
  Hear(radio, MakeRecord("T1", 0x9FE0, data));
  Hear(radio, MakeRecord("T1", 0x9FF0, data));                // would run past the EEPROM
  Hear(radio, "T1238000" + std::string(64, '0') + "00\r\n");  // bad checksum
  Hear(radio, "T9030000FC\r\n");
  EXPECT_EQ(std::tuple(radio.DataRecordsStored(), radio.DataRecordsRefused(), radio.BadRecords,
                       radio.WritesEnded()),
            std::tuple(1, 2, 1, 1));
  EXPECT_EQ(radio.EepromHex(), std::string(16384 - 64, 'F') + std::string(64, '5'));
}

TEST(QVRRadio, StoresARunPhaseByPhaseAndAdjustsLiveInTestModeKeepingOnlyWhenTold) {
  VirtualRadioQVR radio;
  const std::vector<std::uint8_t> ones(8, 0x11), twos(8, 0x22);
  // A phase with a bad line is refused whole; a good one is stored at its S9.
  Hear(radio, "N004006D008E\r\nN2030000FC\r\n" + MakeRecord("S1", 0x0000, ones) + "S10B0008" +
                  std::string(16, '0') + "00\r\nS9030000FC\r\n");
  EXPECT_EQ(radio.PhasesRejected(), 1);
  EXPECT_EQ(radio.Eeprom[0], 0xFF);
  Hear(radio, "N2030000FC\r\n" + MakeRecord("S1", 0x0010, ones));
  EXPECT_EQ(radio.Eeprom[0x10], 0xFF);  // not before the S9
  Hear(radio, MakeRecord("S1", 0x00F8, twos) + "S9030000FC\r\n");
  EXPECT_EQ(radio.PhasesStored(), 1);
  EXPECT_EQ(radio.Eeprom[0x10], 0x11);
  EXPECT_EQ(radio.Eeprom[0xFF], 0x22);
  // Lines outside a run, or past the EEPROM, are not stored.
  Hear(radio, MakeRecord("S1", 0x0020, twos));
  Hear(radio, "N2030000FC\r\n" + MakeRecord("S1", 0x0100, twos) + "S9030000FC\r\n");
  EXPECT_EQ(radio.Eeprom[0x20], 0xFF);
  EXPECT_EQ(radio.PhasesRejected(), 2);

  // Test mode. Normal power 1, low power 2, maximum deviation 3, crystal type 2 (01) and
  // reference 4.
  radio.SetEepromHex(std::string(2 * 0xA8, 'F') + "81024344");
  Hear(radio, "N10400A8074C\r\n");
  ASSERT_TRUE(radio.InTestMode());
  const std::string answer = radio.TakeOutput(Nanos::max());
  EXPECT_NE(answer.find("S10B00A881024344"), std::string::npos);

  Hear(radio, "N6044000209B\r\n");  // maximum deviation 20h
  Hear(radio, "N60440013F" + TestRecordCheckSum("N60440013F") + "\r\n");
  Hear(radio, "N804400400B7\r\n");  // crystal type 1
  EXPECT_EQ(radio.LiveCalibration(), (std::array<std::uint8_t, 4>{0xBF, 0x02, 0x60, 0x04}));
  Hear(radio, "N4032000DC\r\n");  // leave without keeping
  EXPECT_FALSE(radio.InTestMode());
  EXPECT_EQ(radio.Eeprom[0xAA], 0x43);

  Hear(radio, "N10400A8074C\r\nN6044000209B\r\nN20380007C\r\nN4032000DC\r\n");
  EXPECT_EQ(radio.Eeprom[0xAA], 0x60);
  EXPECT_EQ(radio.Eeprom[0xA8], 0x81);
}

TEST(InProcessPort, CarriesCharactersAtLineSpeedAndDrainsOnClose) {
  VirtualRadioKM2 radio;
  radio.Paced = true;
  Nanos now(0);
  InProcessPort port(radio, [&] { return now; });
  port.Paced = true;
  EXPECT_THROW(port.Write("x"), TalliskError);
  port.Open();
  EXPECT_THROW(port.Open(), TalliskError);

  port.Write("T0050000373093\r\n");  // its CR, the 15th character, is through at 62.5 ms
  now = milliseconds(62);
  EXPECT_EQ(port.BytesWaiting(), 0);
  EXPECT_FALSE(radio.InTestMode());
  now = milliseconds(63);
  port.BytesWaiting();
  EXPECT_TRUE(radio.InTestMode());

  now = milliseconds(67);  // the LF is through too
  port.Write("TA048000FF7C\r\n");
  now += milliseconds(58) + milliseconds(10 * 4);  // the request, then ten answer characters
  EXPECT_EQ(port.ReadAll(), "R1138000FF");

  // Written, not yet on the line, when the port closes: the radio still gets it.
  port.Write("TA0480D0FFAC\r\n");
  port.Close();
  EXPECT_EQ(radio.BlockRequests().size(), 2u);
  port.Open();
  now += std::chrono::seconds(10);
  EXPECT_EQ(port.BytesWaiting(), 0);  // the answer went to nobody
}

}  // namespace
}  // namespace tallisk::sim
