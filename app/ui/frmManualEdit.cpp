#include "ui/frmManualEdit.h"

#include "tallisk/conversions.h"

namespace tallisk {

namespace {

constexpr std::int64_t kLastAddress = 0x1FFF;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The leading hex digits of a text as a number; a long run stays above any address rather
// than wrapping round into one.
std::int64_t LeadingHexValue(const std::string& text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsHexDigit(c)) break;
    value = std::min<std::int64_t>(value * 16 + ParseHex(std::string(1, c)), 1LL << 40);
  }
  return value;
}

// The last `n` characters of the text padded on the left with `pad`.
std::string LastPadded(const std::string& text, std::size_t n, char pad) {
  const std::string padded = std::string(n, pad) + text;
  return padded.substr(padded.size() - n);
}

std::string UpperHex(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

frmManualEdit::frmManualEdit(Dialogs& dialogs, std::string image)
    : Form("frmManualEdit", "Manual Editing"), dialogs_(dialogs), image_(std::move(image)) {
  AddPage(0, "Manual Editing")
      .Row({&lblWarning})
      .Row({&txtAddress})
      .Row({&txtHexValue})
      .Row({&txtbinaryValue})
      .Row({&cmbSet, &cmbOK, &cmbCancel});
  Pages().front()->SetVisible(true);

  const auto hexKeys = [](char key) { return IsHexDigit(key) || key == '\b' ? key : '\0'; };
  txtAddress.KeyFilter = hexKeys;
  txtHexValue.KeyFilter = hexKeys;
  txtbinaryValue.KeyFilter = [](char key) {
    return key == '0' || key == '1' || key == '\b' ? key : '\0';
  };
  txtAddress.UpperCase = true;
  txtHexValue.UpperCase = true;

  txtAddress.OnLeave.Connect([this] { AddressLeft(); });
  txtHexValue.OnLeave.Connect([this] { HexValueLeft(); });
  txtbinaryValue.OnLeave.Connect([this] { BinaryValueLeft(); });
  cmbSet.OnClick.Connect([this] { SetByte(); });
  cmbOK.OnClick.Connect([this] {
    Result = true;
    Close();
  });
  cmbCancel.OnClick.Connect([this] {
    Result = false;
    Close();
  });

  txtAddress.SetText("0");
  txtHexValue.SetText("0");
  txtbinaryValue.SetText("0");
  AddressLeft();
}

bool frmManualEdit::QueryClose() {
  Result = false;
  return true;
}

bool frmManualEdit::AddressInImage(std::int64_t& address) const {
  address = LeadingHexValue(txtAddress.Text());
  return address <= kLastAddress && static_cast<std::size_t>(2 * address + 2) <= image_.size();
}

void frmManualEdit::AddressLeft() {
  std::int64_t address = 0;
  if (!AddressInImage(address)) {
    dialogs_.Inform("QV2 Radio Programmer", "Invalid address");
    txtAddress.SetFocus();
    return;
  }
  const std::string byte = UpperHex(image_.substr(static_cast<std::size_t>(2 * address), 2));
  txtHexValue.SetText(byte);
  txtbinaryValue.SetText(HexToBinStr(byte));
  txtAddress.SetText(ToHex(static_cast<std::uint64_t>(address), 4));
}

void frmManualEdit::HexValueLeft() {
  const std::string byte = UpperHex(LastPadded(txtHexValue.Text(), 2, '0'));
  txtHexValue.SetText(byte);
  txtbinaryValue.SetText(HexToBinStr(byte));
}

void frmManualEdit::BinaryValueLeft() {
  const std::string bits = LastPadded(txtbinaryValue.Text(), 8, '0');
  txtbinaryValue.SetText(bits);
  txtHexValue.SetText(BinStrToHex(bits));
}

void frmManualEdit::SetByte() {
  std::int64_t address = 0;
  if (!AddressInImage(address)) return;
  const std::string byte = UpperHex(LastPadded(txtHexValue.Text(), 2, '0'));
  if (!IsHexDigit(byte[0]) || !IsHexDigit(byte[1])) return;
  image_.replace(static_cast<std::size_t>(2 * address), 2, byte);
}

}  // namespace tallisk
