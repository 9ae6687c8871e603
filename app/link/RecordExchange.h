#pragma once

// Checking the radio's answer records and storing them into a programming image.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallisk {

// Checks one KM2 answer record (length against its count, checksum as upper-case text,
// hex digits throughout, a sum the 16-bit checksum can hold) and copies its data,
// upper-cased, into the read image, where the
// byte at EEPROM address A sits at offset (A - 8000h) mod 10000h. A record whose data would
// not lie wholly inside the image is refused like a bad checksum and stores nothing. A
// record of count 3 carries no data and is accepted. The record letter and type are not
// looked at.
bool StoreAnswerRecord(std::string& image, std::string_view record);

// Stores every complete answer line ("R" and a digit, ended by CR) of a received text;
// other lines are skipped, line feeds ignored, and a last line without its CR is not
// processed. False at the first refused record; the records before it stay stored.
bool StoreAnswerLines(std::string& image, std::string_view text);

// True once the answer to the KM2 block request for `address` holds checked records that
// cover every one of the 208 bytes asked for.
bool AnswerCompleteKM2(std::string_view answer, std::uint32_t address);

// The QVR read answer: whole 28-character lines "S1", count 0B, address, 8 data bytes,
// checksum and CR LF, addresses from 0000 in steps of 8, each checksum right (count, address
// and data digits of either case, the checksum in upper case), and at least the lines of the
// smallest programming (header and eight channels). Nothing else passes.
bool CheckAnswerLinesQVR(std::string_view answer);

// True once the QVR read answer holds, as checked lines from 0000, the settings block and
// the channel records its model needs: 8 for the 8-channel models (by the model byte at
// 000C), else 16. The radio may go on with the rest of its memory.
bool AnswerCompleteQVR(std::string_view answer);

// part / total as a whole percentage followed by "%" (at least one digit; ties to even).
std::string PercentText(std::int32_t part, std::int32_t total);

}  // namespace tallisk
