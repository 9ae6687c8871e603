// The number fields of the pages: each takes only what its record can hold, and after the
// field is left it shows exactly the value the radio will get, saying so when that is not what
// was typed.

#include <cmath>
#include <optional>

#include "tallisk/errors.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

// Digits with at most one decimal point, blanks between them skipped; nothing else.
std::optional<double> TypedNumber(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c != ' ') digits += c;
  if (digits.empty()) return 0.0;
  bool point = false;
  bool digit = false;
  for (char c : digits) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digit = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  return std::stod(digits);
}

std::string Plain(double value) {
  return ShortestText(value);
}

std::string Blanked(double value) {
  return " " + ShortestText(value);
}

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A group setting as the group record holds it.
std::function<double(double)> GroupHeld(float clsGroup::*property, double scale) {
  return [property, scale](double value) {
    clsGroup group;
    group.*property = static_cast<float>(value * scale);
    group.CreateGroupData();
    group.BreakGroupData();
    return static_cast<double>(group.*property) / scale;
  };
}

std::function<double(double)> Steps(double step) {
  return [step](double value) { return step * std::nearbyint(value / step); };
}

}  // namespace

void frmMain::NumberLeft(TextField& field, const NumberLimits& limits) {
  // Passing through a field says nothing.
  if (!shown_.Edited(field) && !field.Text().empty()) return;
  const std::optional<double> typed = TypedNumber(field.Text());
  if (!typed) {
    lastLeave_ = LeaveOutcome::Refused;
    dialogs_.Message("System Message", "\"" + Trim(field.Text()) + "\" is not a number.",
                     MessageIcon::Exclamation, MessageButtons::OK);
    field.SetText(shown_.ShownText(field).value_or(limits.Text(limits.Minimum)));
    return;
  }
  double value = *typed;
  if (value < limits.Minimum || value > limits.Maximum) {
    lastLeave_ = LeaveOutcome::Refused;
    const bool low = value < limits.Minimum;
    value = low ? limits.Minimum : limits.Maximum;
    dialogs_.Inform("System Message", std::string("The ") + (low ? "minimum" : "maximum") +
                                          " value for this item is " + Plain(value));
    field.SetText(limits.Text(value));
    return;
  }
  const double held = limits.Held ? limits.Held(value) : value;
  if (limits.Text(held) != limits.Text(value)) {
    dialogs_.Message("System Message",
                     "The radio holds " + Trim(limits.Text(held)) + ", the nearest it can to " +
                         Trim(limits.Text(value)) + ".",
                     MessageIcon::Exclamation, MessageButtons::OK);
  }
  field.SetText(limits.Text(held));
}

void frmMain::ConnectNumberFields() {
  const auto connect = [this](TextField& field, NumberLimits limits) {
    field.OnLeave.Connect([this, &field, limits] { NumberLeft(field, limits); });
  };
  connect(txtBurstFeq,
          {694.4, 3472.2,
           [](double hz) {
             return static_cast<double>(clsChannel::BurstFrequencyHeldKM2(static_cast<float>(hz)));
           },
           OneDecimal});
  connect(txtBurstDuration,
          {100, 3200,
           [](double ms) {
             return static_cast<double>(clsChannel::BurstDurationHeldKM2(static_cast<float>(ms)));
           },
           Plain});
  // The block holds the two squelch tails in steps of 5 ms, the DCS tail in whole units, a
  // byte each.
  connect(txtNoiseSquelchTail, {0, 1275, Steps(5), Plain});
  connect(txtCTCSSSquelchTail, {0, 1275, Steps(5), Plain});
  connect(txtDCSTail, {0, 255, Steps(1), Plain});
  connect(txtTimeOutTimer, {0.5, 4096, GroupHeld(&clsGroup::TimeOutTimer, 1), Blanked});
  // Scan hold shows seconds; the group holds tenths, in halves.
  connect(txtScanTimingRXScanHold, {0.05, 12.8, GroupHeld(&clsGroup::RXScanHold, 10), Plain});
  connect(txtScanTimingTXScanHold, {0.05, 12.8, GroupHeld(&clsGroup::TXScanHold, 10), Plain});
  connect(txtPriChSamplingRate, {0, 3.1, GroupHeld(&clsGroup::PriChSamplingRate, 1), Plain});
  connect(txtUnkeyDelayTime, {0, 1275, GroupHeld(&clsGroup::UnKeyDelayTime, 1), Blanked});
}

}  // namespace tallisk
