#include <gtest/gtest.h>

#include <functional>

#include "LinkTestSupport.h"
#include "link/LinkConstants.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/errors.h"

namespace tallisk::testing {
namespace {

// A port whose incoming characters follow a script of time, for the answer limits.
class ScriptedPort : public SerialPort {
 public:
  ScriptedPort(Clock& clock, std::function<std::string(double)> arrivedBy)
      : clock_(clock), arrivedBy_(std::move(arrivedBy)), start_(clock.Now()) {}
  void SetPortNumber(int) override {}
  void SetLineSettings(const std::string&) override {}
  void Open() override { open = true; }
  void Close() override { open = false; }
  void SetRTS(bool on) override { rts = on; }
  void SetDTR(bool on) override { dtr = on; }
  bool CTS() override { return true; }
  int BytesWaiting() override { return static_cast<int>(Arrived().size() - taken_); }
  std::string ReadAll() override {
    const std::string all = Arrived();
    std::string fresh = all.substr(taken_);
    taken_ = all.size();
    return fresh;
  }
  void Write(const std::string& text) override { written += text; }

  bool open = false, rts = false, dtr = false;
  std::string written;

 private:
  std::string Arrived() {
    return arrivedBy_(std::chrono::duration<double>(clock_.Now() - start_).count());
  }
  Clock& clock_;
  std::function<std::string(double)> arrivedBy_;
  Clock::Nanos start_;
  std::size_t taken_ = 0;
};

struct ScriptBench {
  explicit ScriptBench(std::function<std::string(double)> script)
      : port(clock, std::move(script)) {}
  VirtualClock clock;
  ScriptedPort port;
  RecordingFeedback feedback;
  TransferState state;
  NoEventPump pump;
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
};

TEST(CollectAnswer, SilenceEndsItAfterFourToFiveSecondsAndThirtySecondsAtTheLatest) {
  {
    ScriptBench b([](double) { return std::string(); });
    const auto start = b.clock.Now();
    EXPECT_EQ(b.link.CollectAnswer(30), "");
    // Whole seconds of the wall clock: from a quarter past, the fifth boundary ends it.
    const double took = std::chrono::duration<double>(b.clock.Now() - start).count();
    EXPECT_NEAR(took, 4.75, 0.01);
  }
  {
    // A radio that never stops talking: a character every 100 ms.
    ScriptBench b([](double t) { return std::string(static_cast<std::size_t>(t * 10), 'x'); });
    const auto start = b.clock.Now();
    const std::string got = b.link.CollectAnswer(30);
    const double took = std::chrono::duration<double>(b.clock.Now() - start).count();
    EXPECT_NEAR(took, 29.75, 0.01);
    EXPECT_GE(got.size(), 290u);
  }
  {
    // Pauses shorter than the silence limit do not end the answer; a long one does.
    ScriptBench b([](double t) {
      std::string s;
      if (t >= 1.0) s += "A";
      if (t >= 4.5) s += "B";
      if (t >= 8.0) s += "C";
      if (t >= 20.0) s += "D";
      return s;
    });
    EXPECT_EQ(b.link.CollectAnswer(30), "ABC");
  }
}

TEST(SendText, PacesCharactersAndRecordsGoInOneWrite) {
  ScriptBench b([](double) { return std::string(); });
  b.port.Open();
  auto start = b.clock.Now();
  EXPECT_TRUE(b.link.SendText("N3030000FC\r\n", true));
  EXPECT_EQ(b.port.written, "N3030000FC\r\n");
  EXPECT_EQ(b.clock.Now() - start, 12 * link::kCharacterPause);
  start = b.clock.Now();
  EXPECT_TRUE(b.link.SendRecord("T9030000FC\r\n"));
  EXPECT_EQ(b.clock.Now() - start, link::kRecordPause);
}

TEST(Conversations, LowerRtsAndDtrThemselvesBeforeClosing) {
  // This port keeps its lines as they were set, so only the link can have lowered them.
  ScriptBench b([](double) { return std::string(); });
  EXPECT_TRUE(b.link.CheckRadioLink());
  EXPECT_FALSE(b.port.open || b.port.rts || b.port.dtr);
  EXPECT_EQ(b.link.ReadRadioQVR(), "");
  EXPECT_EQ(b.port.written, "N3030000FC\r\n");
  EXPECT_FALSE(b.port.open || b.port.rts || b.port.dtr);
  EXPECT_TRUE(b.link.TransferImageKM2(std::string(16384, 'F')));
  EXPECT_FALSE(b.port.open || b.port.rts || b.port.dtr);
}

// Passes everything to a virtual radio's port until the n-th write, which fails as a
// cable pulled out of a USB adapter would.
class FailingPort : public SerialPort {
 public:
  FailingPort(SerialPort& inner, int failAtWrite) : inner_(inner), failAt_(failAtWrite) {}
  void SetPortNumber(int n) override { inner_.SetPortNumber(n); }
  void SetLineSettings(const std::string& s) override { inner_.SetLineSettings(s); }
  void Open() override { inner_.Open(); }
  void Close() override { inner_.Close(); }
  void SetRTS(bool on) override { inner_.SetRTS(on); }
  void SetDTR(bool on) override { inner_.SetDTR(on); }
  bool CTS() override { return inner_.CTS(); }
  int BytesWaiting() override { return inner_.BytesWaiting(); }
  std::string ReadAll() override { return inner_.ReadAll(); }
  void Write(const std::string& text) override {
    if (++writes_ == failAt_) throw TalliskError(ErrPortFailed, "Write", "Input/output error");
    inner_.Write(text);
  }

 private:
  SerialPort& inner_;
  int failAt_;
  int writes_ = 0;
};

template <class Radio>
struct FailingBench {
  explicit FailingBench(int failAtWrite) : failing(inner.port, failAtWrite) {}
  LinkBench<Radio> inner;
  FailingPort failing;
  RadioLink link{failing, inner.clock, inner.pump, inner.feedback, inner.state, [] { return 1; }};
};

TEST(Conversations, AFailureIsReportedAndTheCableLeftIdle) {
  {
    FailingBench<sim::VirtualRadioKM2> b(30);
    EXPECT_FALSE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 20))));
    ASSERT_EQ(b.inner.feedback.failures.size(), 1u);
    EXPECT_EQ(b.inner.feedback.failures[0],
              "Following error has occured while writing to radio:\rInput/output error #8015");
    EXPECT_EQ(b.inner.feedback.writeStatus.back(), "");
    EXPECT_TRUE(b.inner.LeftIdle());
    EXPECT_FALSE(b.inner.state.TransferBusy);
  }
  {
    FailingBench<sim::VirtualRadioKM2> b(5);
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_TRUE(r.Accepted.empty());
    ASSERT_EQ(b.inner.feedback.failures.size(), 1u);
    EXPECT_EQ(b.inner.feedback.failures[0],
              "Following error has occured while reading the radio:\rInput/output error #8015");
    EXPECT_TRUE(b.inner.LeftIdle());
  }
  {
    FailingBench<sim::VirtualRadioQVR> b(3);
    EXPECT_EQ(b.link.ReadRadioQVR(), "");
    ASSERT_EQ(b.inner.feedback.failures.size(), 1u);
    EXPECT_TRUE(b.inner.LeftIdle());
  }
  {
    FailingBench<sim::VirtualRadioQVR> b(40);
    const auto [first, second] = QvrParts(RandomBytes(194, 21));
    EXPECT_FALSE(b.link.TransferImageQVR(first, second));
    ASSERT_EQ(b.inner.feedback.messages.size(), 1u);
    EXPECT_EQ(b.inner.feedback.messages[0].text,
              "Unable to program the radio because a following error has occured:"
              "Input/output error #8015");
    EXPECT_EQ(b.inner.feedback.messages[0].title, "QVR Radio Programmer");
    EXPECT_EQ(b.inner.feedback.writeStatus.back(), "");
    EXPECT_TRUE(b.inner.LeftIdle());
  }
}

TEST(Conversations, TakeThePortNumberAfreshEachTime) {
  LinkBench<sim::VirtualRadioQVR> b;
  int option = 3;
  RadioLink link(b.port, b.clock, b.pump, b.feedback, b.state, [&] { return option; });
  link.ReadRadioQVR();
  EXPECT_EQ(b.port.Line().PortNumber(), 3);
  option = 7;
  link.ReadRadioQVR();
  EXPECT_EQ(b.port.Line().PortNumber(), 7);
  EXPECT_EQ(b.port.Line().LineSettings(), "2400,N,8,1");
}

}  // namespace
}  // namespace tallisk::testing
