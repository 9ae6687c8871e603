#include "ui/ImageKeep.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/errors.h"
#include "ui/ImageModel.h"

namespace tallisk {

namespace {

struct Span {
  std::size_t Position;
  std::size_t Length;
};

// Whether two versions of a record read back as the same settings.
using ReadsAlike = std::function<bool(const std::string&, const std::string&)>;

// One record with whatever travels with it (a KM2 channel's checksum lies elsewhere in the
// image). `Atomic` spans, counted within the joined text, are checksums: they cannot be mixed
// bit by bit, so each comes whole from the image as read or whole from the build.
struct Unit {
  std::vector<Span> Spans;
  std::vector<Span> Atomic;
  ReadsAlike Alike;  // empty: nothing reads these bytes, so any mix is as good as another
};

std::string Join(const std::string& image, const std::vector<Span>& spans) {
  std::string joined;
  for (const Span& s : spans) joined += image.substr(s.Position, s.Length);
  return joined;
}

void Scatter(std::string& image, const std::vector<Span>& spans, const std::string& joined) {
  std::size_t at = 0;
  for (const Span& s : spans) {
    image.replace(s.Position, s.Length, joined, at, s.Length);
    at += s.Length;
  }
}

int Nibble(char digit) {
  return digit <= '9' ? digit - '0' : (digit & ~0x20) - 'A' + 10;
}

char Digit(int nibble) {
  return "0123456789ABCDEF"[nibble & 0xF];
}

// Where baseline and build agree, the digit as read; where they differ, only the differing
// bits (or, by byte, the whole byte) from the build.
std::string Merge(const std::string& read, const std::string& baseline, const std::string& built,
                  bool byBits, const std::vector<Span>& atomic) {
  std::string out = built;
  for (std::size_t i = 0; i < out.size(); i += byBits ? 1 : 2) {
    if (byBits) {
      const int changed = Nibble(baseline[i]) ^ Nibble(built[i]);
      const int digit = (Nibble(read[i]) & ~changed) | (Nibble(built[i]) & changed);
      out[i] = Digit(digit);
    } else if (baseline.compare(i, 2, built, i, 2) == 0) {
      out.replace(i, 2, read, i, 2);
    }
  }
  for (const Span& s : atomic) {
    const bool same = baseline.compare(s.Position, s.Length, built, s.Position, s.Length) == 0;
    out.replace(s.Position, s.Length, same ? read : built, s.Position, s.Length);
  }
  return out;
}

// A record the codec cannot read back reads as nothing like anything.
template <typename Read>
bool Compare(Read read, const std::string& a, const std::string& b) {
  try {
    return read(a) == read(b);
  } catch (const TalliskError&) {
    return false;
  }
}

// The library may ask who made a KM2 radio while reading its block; a comparison is no read.
class QuietPrompt {
 public:
  QuietPrompt() : previous_(SetUserPrompt(nullptr)) {}
  ~QuietPrompt() { SetUserPrompt(previous_); }
  QuietPrompt(const QuietPrompt&) = delete;
  QuietPrompt& operator=(const QuietPrompt&) = delete;

 private:
  std::shared_ptr<UserPrompt> previous_;
};

ReadsAlike ChannelsAlike(const clsChannel& tuned, bool km2) {
  return [tuned, km2](const std::string& a, const std::string& b) {
    const auto read = [&](const std::string& record) {
      clsChannel c = tuned;
      c.ChannelData = record.substr(0, km2 ? kKM2ChannelDigits : kQVRChannelDigits);
      km2 ? c.BreakChannelDataKM2() : c.BreakChannelData();
      return SettingsOf(std::move(c));
    };
    return Compare(read, a, b);
  };
}

bool GroupsAlike(const std::string& a, const std::string& b) {
  const auto read = [](const std::string& record) {
    clsGroup g;
    g.GroupData = record;
    g.BreakGroupData();
    g.GroupData.clear();
    return g;
  };
  return Compare(read, a, b);
}

bool EntriesAlike(const std::string& a, const std::string& b) {
  const auto read = [](const std::string& record) {
    clsChannelGroup e;
    e.ChannelGroupStr = record;
    e.BreakChannelGroup();
    e.ChannelGroupStr.clear();
    return e;
  };
  return Compare(read, a, b);
}

// A settings block carries bits its decoder reads but its encoder writes from other settings
// (a special-radio bit on a model that has none, say), so a kept block is taken when what the
// decoder reads of it, over the settings the window holds, encodes to the block built.
template <typename Encode>
bool EncodesAsBuilt(Encode encode, const std::string& kept, const std::string& built) {
  try {
    return encode(kept) == built;
  } catch (const TalliskError&) {
    return false;
  }
}

ReadsAlike QVRHeadersAlike(clsRadioHeader now) {
  return [now = std::move(now)](const std::string& kept, const std::string& built) {
    const auto encode = [&](const std::string& block) {
      clsRadioHeader h = now;
      h.RadioHeader = block;
      h.BreakUpRadioHeader();
      h.CreateRadioHeader();
      return h.RadioHeader;
    };
    return EncodesAsBuilt(encode, kept, built);
  };
}

// The KM2 block is read together with the rest of the image after it; the firmware ranges
// are the window's own either way.
ReadsAlike KM2HeadersAlike(clsRadioHeader now, std::string rest) {
  return [now = std::move(now), rest = std::move(rest)](const std::string& kept,
                                                        const std::string& built) {
    const auto encode = [&](const std::string& block) {
      const QuietPrompt quiet;
      clsRadioHeader h = now;
      h.RadioHeader = block + rest;
      h.BreakUpRadioHeaderKM2();
      // Answers to the identification questions, which a quiet read never gets.
      h.AlternatePreScaler = now.AlternatePreScaler;
      h.AlternatePreScaler2 = now.AlternatePreScaler2;
      h.KM2Tail = now.KM2Tail;
      h.CreateRadioHeaderKM2();
      return h.RadioHeader;
    };
    return EncodesAsBuilt(encode, kept, built);
  };
}

std::vector<Unit> QVRUnits(const ImageSource& source, std::size_t digits) {
  std::vector<Unit> units;
  units.push_back({{{0, kQVRHeaderDigits}}, {}, QVRHeadersAlike(source.RadioHeader)});
  std::int32_t n = 1;
  for (std::size_t at = kQVRHeaderDigits; at + kQVRChannelDigits <= digits;
       at += kQVRChannelDigits, ++n) {
    // The last digit is the channel's checksum nibble.
    units.push_back({{{at, kQVRChannelDigits}},
                     {{kQVRChannelDigits - 1, 1}},
                     ChannelsAlike(source.Channels.Item(n), false)});
  }
  return units;
}

std::vector<Unit> KM2Units(const ImageSource& source, const std::string& built) {
  std::vector<Unit> units;
  for (std::int32_t n = 1; n <= source.ChannelCount && n <= source.Channels.Count(); ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    units.push_back({{{i * kKM2ChannelDigits, kKM2ChannelDigits}, {kKM2CheckSumsAt + 2 * i, 2}},
                     {{kKM2ChannelDigits, 2}},
                     ChannelsAlike(source.Channels.Item(n), true)});
  }
  for (std::size_t at = kKM2GroupsAt; at < kKM2TableAt; at += kKM2GroupDigits)
    units.push_back({{{at, kKM2GroupDigits}}, {}, GroupsAlike});
  for (std::size_t at = kKM2TableAt; at < kKM2SettingsAt; at += kKM2EntryDigits)
    units.push_back({{{at, kKM2EntryDigits}}, {}, EntriesAlike});
  units.push_back({{{kKM2SettingsAt, kKM2CheckSumsAt - kKM2SettingsAt}},
                   {},
                   KM2HeadersAlike(source.RadioHeader, built.substr(kKM2CheckSumsAt))});
  units.push_back({{{kKM2ConstantAt, kKM2ImageDigits - kKM2ConstantAt}}, {}, {}});
  return units;
}

std::string KeepInUnit(const Unit& unit, const std::string& read, const std::string& baseline,
                       const std::string& built) {
  if (baseline == built) return read;
  for (const bool byBits : {true, false}) {
    std::string kept = Merge(read, baseline, built, byBits, unit.Atomic);
    if (!unit.Alike || unit.Alike(kept, built)) return kept;
  }
  return built;
}

}  // namespace

clsChannel SettingsOf(clsChannel channel) {
  channel.ChannelData.clear();
  channel.CheckSumKM2.clear();
  channel.CheckSum = 0;
  channel.RxSynthesizerData = channel.TxSynthesizerData = 0;
  return channel;
}

bool ImageOrigin::ChannelAsRead(std::int32_t radioType, std::int32_t n, const clsChannel& now,
                                bool undecodedOnly, std::string& record,
                                std::string& checkSum) const {
  if (radioType != RadioType || n < 1 || n > Channels.Count()) return false;
  const auto i = static_cast<std::size_t>(n - 1);
  const bool km2 = radioType == 1;
  const std::size_t at = km2 ? i * kKM2ChannelDigits : kQVRHeaderDigits + i * kQVRChannelDigits;
  const std::size_t digits = km2 ? kKM2ChannelDigits : kQVRChannelDigits;
  if (Read.size() < at + digits || (km2 && Read.size() < kKM2CheckSumsAt + 2 * i + 2)) return false;
  clsChannel was = SettingsOf(Channels.Item(n));
  const bool undecoded = was.PLLReferenceFreq <= 0;
  if (undecodedOnly && !undecoded) return false;
  if (undecoded) {
    // Read without a band, its frequencies were never decoded: a band chosen since is no
    // reason to write it anew, with frequencies it never had.
    was.ModelName = now.ModelName;
    was.PLLReferenceFreq = now.PLLReferenceFreq;
    was.Prescaler = now.Prescaler;
    was.RxIF = now.RxIF;
    was.TxIF = now.TxIF;
    was.prsclKM2 = now.prsclKM2;
    was.AlternatePreScaler = now.AlternatePreScaler;
    was.AlternatePreScaler2 = now.AlternatePreScaler2;
    was.SpecialRadio = now.SpecialRadio;
  }
  if (SettingsOf(now) != was) return false;
  record = Read.substr(at, digits);
  checkSum = km2 ? Read.substr(kKM2CheckSumsAt + 2 * i, 2) : std::string();
  return true;
}

void KeepUnchanged(const ImageSource& source, const ImageOrigin& origin, BuiltImage& built) {
  if (!origin.Holds(source.RadioType) || !built.Whole) return;
  std::string& records = built.Records;
  const bool km2 = source.RadioType == 1;
  if (km2 ? records.size() != kKM2ImageDigits : records.size() != origin.Read.size()) return;

  const std::vector<Unit> units =
      km2 ? KM2Units(source, records) : QVRUnits(source, records.size());
  std::string kept = records;
  for (const Unit& unit : units) {
    Scatter(kept, unit.Spans,
            KeepInUnit(unit, Join(origin.Read, unit.Spans), Join(origin.Baseline, unit.Spans),
                       Join(records, unit.Spans)));
  }
  records = std::move(kept);
  if (!km2) records += origin.Filler;
  AssembleImage(source.RadioType, built);
}

}  // namespace tallisk
