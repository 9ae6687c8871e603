#pragma once

// The radio side of the programming cable, on an EEPROM image.
//
// A virtual radio sees the line as a radio does: characters arriving one at a time, the
// RTS and DTR lines of the workstation, and its own CTS line; it answers with characters
// that leave it at the pace of a 2400-baud line when asked to. Every event carries the time
// it happens on the wire, so the same radio runs under a virtual clock in-process and under
// the real clock on a pseudo-terminal.

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallisk::sim {

using Nanos = std::chrono::nanoseconds;

// One character of 10 bits (start, 8 data, stop) at 2400 baud.
inline constexpr Nanos kCharacterTime2400{4'166'667};

// Ways a radio or its cable can let the technician down.
struct Misbehaviour {
  bool NotAttached = false;     // no radio on the cable: no CTS, nothing heard, nothing said
  bool NeverCTS = false;        // attached and listening, but never asserts CTS
  bool Silent = false;          // hears everything, answers nothing
  int GarbleBlock = -1;         // index of the answer block whose checksum gets garbled
  bool GarbleAlways = false;    // every time that block is asked for, not just the first
  int StopAnsweringAfter = -1;  // answers this many requests, then stays silent
  int CutBlock = -1;            // the answer stops in the middle, at block K (every time)
  int DropLineAfter = -1;       // after hearing this many records the cable comes off
  int PauseBlock = -1;          // the answer pauses in its middle, at block K (every time)
  Nanos PauseLength = std::chrono::seconds(2);
  int StrayAfterBlock = -1;  // one stray character follows the answer of block K
  Nanos StrayDelay{0};       // after the answer's last character
  // Faults of a write, which the radio never answers:
  int IgnoreAfter = -1;  // takes this many records, then stops listening (CTS stays up)
  int DropRecord = -1;   // the record with this number (from 0, as heard) never arrives
  int StuckByte = -1;    // this EEPROM byte (from its start) holds StuckValue whatever is written
  std::uint8_t StuckValue = 0x00;
};

// One record as the radio parses it from a received line.
struct Record {
  std::string Text;  // the line without its CR LF
  char Letter = 0;
  char Type = 0;
  int Count = 0;
  std::uint32_t Address = 0;
  std::vector<std::uint8_t> Data;
  bool ChecksumOk = false;
};

// Reads a record line; nullopt when it is not a record at all (bad length or digits).
std::optional<Record> ParseRecord(std::string_view line);

// A complete record line with its checksum and CR LF, as a radio or the workstation sends it.
std::string MakeRecord(std::string_view letterAndType, std::uint32_t address,
                       const std::vector<std::uint8_t>& data);

class VirtualRadio {
 public:
  VirtualRadio(std::uint32_t baseAddress, std::size_t eepromSize);
  virtual ~VirtualRadio() = default;

  // --- The line ---
  void Receive(char c, Nanos at);
  void SetRTS(bool on, Nanos at);
  void SetDTR(bool on, Nanos at);
  bool CTS() const;
  bool RTS() const { return rts_; }
  bool DTR() const { return dtr_; }

  // Characters the radio has put on the line up to a time.
  std::size_t OutputWaiting(Nanos upTo) const;
  std::string TakeOutput(Nanos upTo);
  std::optional<Nanos> NextOutputTime() const;
  void DiscardOutput();
  std::uint64_t CharactersSent() const { return charactersSent_; }

  // --- The EEPROM: byte i holds address BaseAddress + i ---
  std::uint32_t BaseAddress() const { return base_; }
  std::vector<std::uint8_t> Eeprom;
  std::string EepromHex() const;
  // Two hex digits per byte, white space ignored; a shorter image leaves the rest erased.
  // Raises TalliskError on anything else.
  void SetEepromHex(std::string_view hex);
  // What a write has stored goes through the stuck byte, if the radio has one.
  void WriteEnded();
  void LoadEeprom(const std::filesystem::path& file);
  void SaveEeprom(const std::filesystem::path& file) const;

  // --- Behaviour ---
  bool Paced = false;  // answers leave at 2400 baud instead of all at once
  Nanos ResponseDelay{0};
  Misbehaviour Misbehave;

  // --- What the radio heard, for whoever watches ---
  std::vector<std::string> RecordsHeard;  // every line that parsed as a record
  int BadRecords = 0;                     // lines that did not parse or failed their checksum
  bool LineDropped() const { return dropped_; }

 protected:
  virtual void OnRecord(const Record& record, Nanos at) = 0;
  // A line that did not parse or failed its checksum.
  virtual void OnBadLine(Nanos /*at*/) {}

  // Puts an answer on the line; false when the radio is not answering any more. From
  // character `pauseAt` on, the answer is held back for the misbehaviour's pause.
  bool Answer(std::string_view text, Nanos at, std::size_t pauseAt = std::string_view::npos);
  // A character of line noise, the misbehaviour's delay after the answer that went last.
  void Stray();
  // True when the answer block `index` is to go out with a garbled checksum.
  bool GarbleNow(int index);
  // The S1-style data records of an EEPROM range, `perRecord` bytes each.
  std::string DataRecords(std::string_view letterAndType, std::uint32_t address, std::size_t length,
                          std::size_t perRecord, int garbleRecord) const;
  bool InEeprom(std::uint32_t address, std::size_t length) const;
  std::uint8_t ByteAt(std::uint32_t address) const;

 private:
  void HandleLine(Nanos at);

  std::uint32_t base_;
  bool rts_ = false;
  bool dtr_ = false;
  bool dropped_ = false;
  std::string line_;
  int recordsHeard_ = 0;
  int answersGiven_ = 0;
  std::vector<int> garbled_;
  struct Outgoing {
    char c;
    Nanos at;
  };
  std::deque<Outgoing> output_;
  Nanos outputFreeAt_{0};
  std::uint64_t charactersSent_ = 0;
};

}  // namespace tallisk::sim
