#pragma once

// The serial link to a radio: the record exchange and the read and write conversations of
// both families, with their progress, stop and failure handling.
//
// Everything runs on the caller's thread. Waits sleep on the injected clock and pump the
// injected event pump, so the Stop buttons can set StopRequested during a transfer. Every
// conversation closes the port and lowers RTS and DTR on every path, failures included.

#include <functional>
#include <string>
#include <string_view>

#include "link/Clock.h"
#include "link/LinkFeedback.h"
#include "link/SerialPort.h"
#include "tallisk/errors.h"

namespace tallisk {

// What a KM2 read fetched: the 16704-character image (erased "F" where no block was
// accepted) and the accepted answer texts back to back, for the read log. Accepted is empty
// when nothing is to be logged or shown.
struct KM2ReadResult {
  std::string Image;
  std::string Accepted;
  // Every block was read: only then does the image hold the radio's whole programming.
  bool Complete = false;
};

class RadioLink {
 public:
  // commPort gives the option CommPort, read afresh at the start of each conversation.
  RadioLink(SerialPort& port, Clock& clock, EventPump& pump, LinkFeedback& feedback,
            TransferState& state, std::function<int()> commPort);

  // --- Record exchange ---

  // Sends the text a character at a time with the radio's pause after each; when gated,
  // each character waits for CTS first. False when a wait for CTS gave up (the radio never
  // became ready, or a stop was asked for): the rest of the text is not sent.
  bool SendText(const std::string& text, bool gated);
  // Waits for CTS, then sends the whole text in one write. False as for SendText.
  bool SendRecord(const std::string& text);
  // Tells from what has been received so far whether the answer is complete.
  using AnswerCheck = std::function<bool(std::string_view)>;
  // Gathers what the radio sends until it has been silent for the silence limit or the time
  // limit has passed, both counted in whole seconds of the wall clock. With a check, an
  // answer found complete (looked at whenever a line has ended) ends as soon as the line has
  // been quiet for the short quiet gap; a radio that is slower, or pauses mid-answer, still
  // has the full silence limit.
  std::string CollectAnswer(int timeoutSeconds, const AnswerCheck& complete = {});
  // KM2: is a radio attached (does it assert CTS within the limit)? Tells the user when
  // not. Raises TalliskError when the port cannot be opened; the port is closed either way.
  bool CheckRadioLink();

  // --- The read operations (fetching the image; logging and showing are the caller's) ---

  // The QVR read. Returns the radio's answer lines once every line has been checked;
  // otherwise tells the user ("No Data Read", "Checksum Error" or the failure) and returns
  // an empty text.
  std::string ReadRadioQVR();
  // The KM2 read with its block requests, progress in the read status text, one retry of a
  // bad block and the stop.
  KM2ReadResult ReadRadioKM2();

  // --- The write operations ---

  // The QVR programming run with the two parts of S1 lines. True when it ran to its end.
  bool TransferImageQVR(const std::string& first, const std::string& second);
  // The KM2 write of a 16384-digit image, with progress and the stop. True when every
  // record went out (not stopped, no failure).
  bool TransferImageKM2(const std::string& image);

 private:
  enum class CtsWait { Ready, Stopped, GaveUp };
  class PortSession;
  class BusyScope;

  CtsWait WaitForCTS(bool honourStop);
  CtsWait SendTextWaiting(const std::string& text, bool gated, bool honourStop);
  CtsWait SendRecordWaiting(const std::string& text);
  void Pause(std::chrono::milliseconds duration) { clock_.Sleep(duration); }
  std::string ReadConversationQVR();
  std::string RequestBlockKM2(std::uint32_t address);
  void ReportFailure(const std::string& leadIn, const TalliskError& e);

  SerialPort& port_;
  Clock& clock_;
  EventPump& pump_;
  LinkFeedback& feedback_;
  TransferState& state_;
  std::function<int()> commPort_;
  // The title of the family in conversation, for the messages of the shared routines.
  const char* title_;
};

}  // namespace tallisk
