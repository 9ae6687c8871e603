#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "sim/InProcessPort.h"
#include "sim/PtyServer.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk::sim {
namespace {

using std::chrono::milliseconds;

// Feeds whole lines to a radio at one moment.
void Hear(VirtualRadio& radio, const std::string& text, Nanos at = Nanos(0)) {
  for (char c : text) radio.Receive(c, at);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find("\r\n", pos);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::vector<std::uint8_t> Pattern(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

TEST(Records, MakeAndParseAgreeWithTheFixedCommandRecords) {
  EXPECT_EQ(MakeRecord("TA", 0x8000, {0xFF}), "TA048000FF7C\r\n");
  EXPECT_EQ(MakeRecord("T0", 0x0000, {0x37, 0x30}), "T0050000373093\r\n");
  EXPECT_EQ(MakeRecord("N2", 0x8000, {}), "N20380007C\r\n");
  const auto r = ParseRecord("N004006D404E");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Letter, 'N');
  EXPECT_EQ(r->Type, '0');
  EXPECT_EQ(r->Count, 4);
  EXPECT_EQ(r->Address, 0x006Du);
  EXPECT_EQ(r->Data, std::vector<std::uint8_t>{0x40});
  EXPECT_TRUE(r->ChecksumOk);
  EXPECT_FALSE(ParseRecord("N004006D404F")->ChecksumOk);
  EXPECT_FALSE(ParseRecord("N004006D40").has_value());    // shorter than its count
  EXPECT_FALSE(ParseRecord("N004006DX04E").has_value());  // not hex
  EXPECT_FALSE(ParseRecord("N2030000F").has_value());
}

TEST(Eeprom, LoadsAndSavesHexTextAndRefusesAnythingElse) {
  VirtualRadioKM2 radio;
  radio.SetEepromHex("0102 03\n04");
  EXPECT_EQ(radio.EepromHex().substr(0, 10), "01020304FF");
  EXPECT_THROW(radio.SetEepromHex("0G"), TalliskError);
  EXPECT_THROW(radio.SetEepromHex("012"), TalliskError);
  EXPECT_THROW(radio.SetEepromHex(std::string(16386, 'A')), TalliskError);

  radio.Eeprom = Pattern(8192);
  const auto file = std::filesystem::temp_directory_path() /
                    ("tallisk-sim-eeprom-" + std::to_string(::getpid()) + ".hex");
  radio.SaveEeprom(file);
  VirtualRadioKM2 other;
  other.LoadEeprom(file);
  EXPECT_EQ(other.Eeprom, radio.Eeprom);
  std::filesystem::remove(file);
  EXPECT_THROW(other.LoadEeprom(file), TalliskError);
}

TEST(KM2Radio, AnswersBlockRequestsInTestModeOnly) {
  VirtualRadioKM2 radio;
  radio.Eeprom = Pattern(8192);
  Hear(radio, "TA048000FF7C\r\n");
  EXPECT_EQ(radio.OutputWaiting(Nanos::max()), 0u);
  Hear(radio, "T0050000373093\r\n");
  EXPECT_TRUE(radio.InTestMode());

  Hear(radio, MakeRecord("TA", 0x80D0, {0xFF}));
  const auto lines = Lines(radio.TakeOutput(Nanos::max()));
  ASSERT_EQ(lines.size(), 13u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto r = ParseRecord(lines[i]);
    ASSERT_TRUE(r.has_value()) << lines[i];
    EXPECT_EQ(lines[i].substr(0, 2), "R1");
    EXPECT_TRUE(r->ChecksumOk);
    EXPECT_EQ(r->Address, 0x80D0 + 16 * i);
    EXPECT_EQ(r->Data, std::vector<std::uint8_t>(radio.Eeprom.begin() + 0xD0 + 16 * i,
                                                 radio.Eeprom.begin() + 0xD0 + 16 * (i + 1)));
  }
  // The last block reaches past the EEPROM, which reads as erased there.
  Hear(radio, MakeRecord("TA", 0x9FB0, {0xFF}));
  const auto last = Lines(radio.TakeOutput(Nanos::max()));
  ASSERT_EQ(last.size(), 13u);
  EXPECT_EQ(ParseRecord(last[4])->Address, 0x9FF0u);
  EXPECT_EQ(ParseRecord(last[5])->Data, std::vector<std::uint8_t>(16, 0xFF));
}

TEST(KM2Radio, StoresAWriteBetweenStartAndEndRecords) {
  VirtualRadioKM2 radio;
  const std::vector<std::uint8_t> data(32, 0x5A);
  Hear(radio, MakeRecord("T1", 0x8000, data));  // no start record yet
  EXPECT_EQ(radio.DataRecordsRefused(), 1);
  Hear(radio, "T023000035322D3132373842FFFCBC100000000000191400169500DA00FBEFFB0174014818\r\n");
  EXPECT_TRUE(radio.WriteOpen());
  EXPECT_EQ(radio.StartRecordData().substr(0, 16), "35322D3132373842");  // "52-1278B"
  Hear(radio, MakeRecord("T1", 0x9FE0, data));
  Hear(radio, MakeRecord("T1", 0x9FF0, data));                // would run past the EEPROM
  Hear(radio, "T1238000" + std::string(64, '0') + "00\r\n");  // bad checksum
  Hear(radio, "T9030000FC\r\n");
  EXPECT_EQ(radio.DataRecordsStored(), 1);
  EXPECT_EQ(radio.DataRecordsRefused(), 2);
  EXPECT_EQ(radio.BadRecords, 1);
  EXPECT_EQ(radio.WritesEnded(), 1);
  std::string stored;
  for (int i = 0; i < 32; ++i) stored += "5A";
  EXPECT_EQ(radio.EepromHex().substr(16384 - 64), stored);
  EXPECT_EQ(radio.EepromHex().substr(0, 64), std::string(64, 'F'));
}

TEST(KM2Radio, MisbehavesAsToldTo) {
  auto blockAnswer = [](VirtualRadioKM2& radio, std::uint32_t address) {
    Hear(radio, MakeRecord("TA", address, {0xFF}));
    return radio.TakeOutput(Nanos::max());
  };
  auto badLines = [](const std::string& answer) {
    int bad = 0;
    for (const auto& line : Lines(answer)) bad += ParseRecord(line)->ChecksumOk ? 0 : 1;
    return bad;
  };
  {
    VirtualRadioKM2 radio;
    radio.Misbehave.GarbleBlock = 2;
    Hear(radio, "T0050000373093\r\n");
    EXPECT_EQ(badLines(blockAnswer(radio, 0x8000 + 2 * 208)), 1);
    EXPECT_EQ(badLines(blockAnswer(radio, 0x8000 + 2 * 208)), 0);  // once only
    EXPECT_EQ(badLines(blockAnswer(radio, 0x8000 + 3 * 208)), 0);
    radio.Misbehave.GarbleAlways = true;
    EXPECT_EQ(badLines(blockAnswer(radio, 0x8000 + 2 * 208)), 1);
    EXPECT_EQ(badLines(blockAnswer(radio, 0x8000 + 2 * 208)), 1);
  }
  {
    VirtualRadioKM2 radio;
    radio.Misbehave.StopAnsweringAfter = 2;
    Hear(radio, "T0050000373093\r\n");
    EXPECT_FALSE(blockAnswer(radio, 0x8000).empty());
    EXPECT_FALSE(blockAnswer(radio, 0x80D0).empty());
    EXPECT_TRUE(blockAnswer(radio, 0x81A0).empty());
    EXPECT_TRUE(radio.CTS());
  }
  {
    // The cable comes off after the third record: what had not left the radio is lost.
    VirtualRadioKM2 radio;
    radio.Paced = true;
    radio.Misbehave.DropLineAfter = 3;
    Hear(radio, "T0050000373093\r\n", Nanos(0));
    Hear(radio, MakeRecord("TA", 0x8000, {0xFF}), Nanos(0));
    EXPECT_TRUE(radio.CTS());
    Hear(radio, MakeRecord("TA", 0x80D0, {0xFF}), milliseconds(100));
    EXPECT_FALSE(radio.CTS());
    const std::string got = radio.TakeOutput(Nanos::max());
    EXPECT_EQ(got.size(), 23u);  // what fully left in 100 ms at 2400 baud
    EXPECT_EQ(radio.BlockRequests().size(), 2u);
  }
  {
    VirtualRadioKM2 radio;
    radio.Misbehave.NotAttached = true;
    EXPECT_FALSE(radio.CTS());
    Hear(radio, "T0050000373093\r\n");
    EXPECT_TRUE(radio.RecordsHeard.empty());
  }
}

TEST(QVRRadio, DumpsItsEepromAndStoresAProgrammingRunPhaseByPhase) {
  VirtualRadioQVR radio;
  radio.Eeprom = Pattern(256);
  Hear(radio, "N3030000FC\r\n");
  const auto dump = Lines(radio.TakeOutput(Nanos::max()));
  ASSERT_EQ(dump.size(), 32u);
  for (std::size_t i = 0; i < dump.size(); ++i) {
    EXPECT_EQ(dump[i].size(), 26u);
    EXPECT_EQ(dump[i].substr(0, 8), "S10B" + ToHex(8 * i, 4));
    EXPECT_TRUE(ParseRecord(dump[i])->ChecksumOk);
  }

  const std::vector<std::uint8_t> ones(8, 0x11), twos(8, 0x22);
  // A phase with a bad line is refused whole; a good one is stored at its S9.
  Hear(radio, "N004006D008E\r\nN2030000FC\r\n" + MakeRecord("S1", 0x0000, ones) + "S10B0008" +
                  std::string(16, '0') + "00\r\n" + "S9030000FC\r\n");
  EXPECT_EQ(radio.PhasesRejected(), 1);
  EXPECT_EQ(radio.Eeprom[0], Pattern(1)[0]);
  Hear(radio, "N2030000FC\r\n" + MakeRecord("S1", 0x0010, ones));
  EXPECT_EQ(radio.Eeprom[0x10], Pattern(0x11)[0x10]);  // not before the S9
  Hear(radio, MakeRecord("S1", 0x00F8, twos) + "S9030000FC\r\n");
  EXPECT_EQ(radio.PhasesStored(), 1);
  EXPECT_EQ(radio.Eeprom[0x10], 0x11);
  EXPECT_EQ(radio.Eeprom[0xFF], 0x22);
  // Lines outside a run, or past the EEPROM, are not stored.
  Hear(radio, MakeRecord("S1", 0x0020, twos));
  Hear(radio, "N2030000FC\r\n" + MakeRecord("S1", 0x0100, twos) + "S9030000FC\r\n");
  EXPECT_EQ(radio.Eeprom[0x20], Pattern(0x21)[0x20]);
  EXPECT_EQ(radio.PhasesRejected(), 2);
}

TEST(QVRRadio, TestModeAdjustsLiveAndKeepsOnlyWhenTold) {
  VirtualRadioQVR radio;
  radio.Eeprom[0xA8] = 0x81;  // normal power 1
  radio.Eeprom[0xA9] = 0x02;  // low power 2
  radio.Eeprom[0xAA] = 0x43;  // maximum deviation 3
  radio.Eeprom[0xAB] = 0x44;  // crystal type 2 (01), reference 4
  Hear(radio, "N10400A8074C\r\n");
  ASSERT_TRUE(radio.InTestMode());
  const std::string answer = radio.TakeOutput(Nanos::max());
  const auto at = answer.find("S10B00A8");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(answer.substr(at + 8, 8), "81024344");

  Hear(radio, "N6044000209B\r\n");  // maximum deviation 20h
  Hear(radio, "N6044001" + std::string("3F") + TestRecordCheckSum("N60440013F") + "\r\n");
  Hear(radio, "N804400400B7\r\n");  // crystal type 1
  EXPECT_EQ(radio.LiveCalibration(), (std::array<std::uint8_t, 4>{0xBF, 0x02, 0x60, 0x04}));
  EXPECT_EQ(radio.Eeprom[0xAA], 0x43);
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
  EXPECT_THROW(port.CTS(), TalliskError);
  port.Open();
  EXPECT_THROW(port.Open(), TalliskError);
  port.SetDTR(true);
  EXPECT_TRUE(radio.DTR());

  port.Write("T0050000373093\r\n");  // 16 characters: 66.7 ms on the line
  now = milliseconds(60);
  EXPECT_FALSE(port.BytesWaiting() > 0);
  EXPECT_FALSE(radio.InTestMode());
  now = milliseconds(67);
  port.BytesWaiting();
  EXPECT_TRUE(radio.InTestMode());

  port.Write("TA048000FF7C\r\n");
  now += milliseconds(58) + milliseconds(10 * 4);  // the request, then ten answer characters
  EXPECT_EQ(port.BytesWaiting(), 10);
  EXPECT_EQ(port.ReadAll().size(), 10u);
  EXPECT_EQ(port.CharactersRead(), 10u);

  // Written, not yet on the line, when the port closes: the radio still gets it.
  port.Write("TA0480D0FFAC\r\n");
  port.Close();
  EXPECT_EQ(radio.BlockRequests().size(), 2u);
  EXPECT_FALSE(radio.DTR());
  port.Open();
  now += std::chrono::seconds(10);
  EXPECT_EQ(port.BytesWaiting(), 0);  // the answer went to nobody
}

TEST(PtyServer, ServesARadioOnAPseudoTerminal) {
  VirtualRadioKM2 radio;
  radio.Eeprom = Pattern(8192);
  PtyServer server(radio);
  ASSERT_EQ(server.DevicePath().rfind("/dev/", 0), 0u);
  std::atomic<bool> stop{false};
  std::thread serving([&] { server.Run(stop); });

  const int fd = open(server.DevicePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  const std::string request = "T0050000373093\r\nTA048000FF7C\r\n";
  ASSERT_EQ(write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
  std::string answer;
  char buffer[256];
  pollfd p{fd, POLLIN, 0};
  while (answer.size() < 13 * 44 && poll(&p, 1, 5000) > 0) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  stop = true;
  serving.join();
  const auto lines = Lines(answer);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], MakeRecord("R1", 0x8000, Pattern(16)).substr(0, 42));
}

}  // namespace
}  // namespace tallisk::sim
