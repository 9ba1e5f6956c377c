// An input report as the HID layer hands it over (report id, then the data
// bytes): decoding, the answer's display text and the history lines; the
// same bytes as a keystroke of the pedal's keyboard collection.
// Input layout: byte 0 = report id, the rest = data bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/targets/FuzzCheck.h"
#include "protocol/AnswerDisplayText.h"
#include "protocol/HistoryLine.h"
#include "protocol/PedalAnswer.h"
#include "protocol/PedalKeystrokes.h"

namespace {

// What a history line must read: "<dir> %.2X  " then "%.2X " per byte.
std::string ReferenceLine(char dir, std::uint8_t first, const std::uint8_t* bytes, std::size_t count) {
  char buf[8];
  std::string line(1, dir);
  std::snprintf(buf, sizeof buf, " %.2X  ", first);
  line += buf;
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(buf, sizeof buf, "%.2X ", bytes[i]);
    line += buf;
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 0x10000) return 0;
  const std::uint8_t reportId = data[0];
  // Exact-size copy of the data bytes, so any read past them is seen.
  const std::vector<std::uint8_t> body(data + 1, data + size);
  const auto count = static_cast<std::uint16_t>(body.size());
  const std::uint8_t* bytes = body.empty() ? nullptr : body.data();

  const protocol::PedalAnswer answer = protocol::DecodeInputReport(reportId, bytes, count);
  FUZZ_CHECK(answer.isConfigAnswer == (count >= 1 && body[0] > protocol::kLastNonAnswerStatus));
  FUZZ_CHECK(answer.versionCode <= 0x0F);
  FUZZ_CHECK(answer.pedalIndex <= 0x0F);
  const auto byteAt = [&](std::size_t i) -> std::uint8_t { return i < body.size() ? body[i] : 0; };
  FUZZ_CHECK(answer.modifiers == byteAt(2));
  for (std::size_t k = 0; k < 3; ++k) FUZZ_CHECK(answer.keys[k] == byteAt(3 + k));

  // The same bytes from the pedal's keyboard collection: a press ends with
  // the next report that holds nothing, and is named like an answer.
  if (const auto held = protocol::DecodeKeyboardReport(bytes, count)) {
    protocol::PedalPresses presses;
    presses.Update(*held, {});
    const auto press = presses.Update({}, {});
    FUZZ_CHECK(press.has_value() == held->any());
    if (press) {
      FUZZ_CHECK(protocol::KeystrokeOf(*held) == *press);
      protocol::PedalAnswer typed;
      const protocol::AssignmentBytes shown = protocol::AssignmentOf(*press);
      typed.modifiers = shown[0];
      for (std::size_t k = 0; k < 3; ++k) typed.keys[k] = shown[k + 1];
      FUZZ_CHECK(protocol::AnswerDisplayText(typed).size() < 256);
    }
  }

  const std::string text = protocol::AnswerDisplayText(answer);
  FUZZ_CHECK(text.find('\0') == std::string::npos);
  // "+" joins the parts: at most one modifier name list and three key names.
  FUZZ_CHECK(text.size() < 256);

  const std::string received = protocol::ReceivedHistoryLine(reportId, bytes, count);
  FUZZ_CHECK(received.size() == 6 + 3 * std::size_t{count});
  FUZZ_CHECK(received == ReferenceLine('R', reportId, bytes, count));
  // Null data logs no bytes whatever the size says.
  FUZZ_CHECK(protocol::ReceivedHistoryLine(reportId, nullptr, count) == ReferenceLine('R', reportId, nullptr, 0));

  // The same bytes as an output report of 8 with a written count from the input.
  if (body.size() >= 8) {
    const std::uint32_t written = body[7];
    const std::string sent = protocol::SentHistoryLine(body.data(), written);
    const std::size_t shown = written > 8 ? 8 : written;
    FUZZ_CHECK(sent == ReferenceLine('W', body[0], body.data() + 1, shown > 1 ? shown - 1 : 0));
  }
  return 0;
}
