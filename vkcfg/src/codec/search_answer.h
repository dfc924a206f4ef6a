// Parsing of search answers into VkSearchRecord: the first generation's text answer and the second
// generation's parameter frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "vkcfg.h"

namespace vkcfg::codec {

// What a text answer to "X" says.
enum class TextAnswer {
    kNotDevice = 0,          // no "A" status: model_code set to 0xFF
    kDevice = 1,             // a first-generation device: record filled
    kSecondGeneration = 16,  // "VB": model_code set to 0x10
};

inline constexpr size_t kMinTextSearchAnswer = 24;  // shorter answers are not taken by the broadcast search

// Parses a first-generation answer into `record` (which the caller has cleared and given the sender's
// address). Fields end at "/", NUL or the end of the datagram; nothing past the datagram is read.
TextAnswer ParseTextSearchAnswer(std::span<const uint8_t> datagram, VkSearchRecord& record);

enum class BinaryFill {
    kFilled,    // record filled
    kNoShape,   // the model code (byte 9) has no search shape: only 0x10 and the multi-port codes have one
    kTooShort,  // the frame is shorter than a whole frame of its shape
};

// Fills `record` from an unscrambled second-generation search answer; the record is untouched unless
// the result is kFilled.
BinaryFill FillFromBinarySearchAnswer(std::span<const uint8_t> plain_frame, VkSearchRecord& record);

}  // namespace vkcfg::codec
