// The frames of the update exchange with port 65535 of a device, and the checks of its answers.
// FA-family requests (identify, read, prepare, firmware and data blocks, restart) end with Sum16, the
// B family's with the CRC-16; both are appended high byte first, as are the 16-bit address fields.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torvane {

using Frame = std::vector<uint8_t>;

// ---- Requests -------------------------------------------------------------------------------------

Frame IdentifyRequest();                 // FA FA S
Frame ReadBlockRequest(uint16_t field);  // FA F9 AH AL S (an address or a page number)
Frame PrepareRequest();                  // FA F5 S
Frame RestartRequest();                  // FA F7 11 22 33 44 55 66 S
// FA F8 AH AL, the data, S: a firmware block. FA F6 ...: a block of the data area.
Frame FirmwareBlockRequest(uint16_t field, std::span<const uint8_t> data);
Frame DataBlockRequest(uint16_t field, std::span<const uint8_t> data);

Frame BReadRequest(uint16_t address);                                  // F9 00 AH AL C
Frame BWriteRequest(uint16_t address, std::span<const uint8_t> data);  // F8 00 AH AL, the data, C
Frame BRestartRequest();                                               // F7 11 22 33 44 55 66 C
Frame BPollRequest();                                                  // FA

// ---- Answers --------------------------------------------------------------------------------------

// What a device reports about itself. The texts are the zero-padded fields as bytes, up to their first
// zero byte; bytes an answer does not reach count as zero.
struct IdentifyAnswer {
    std::string model;    // bytes 1 to 16
    std::string version;  // bytes 17 to 32
    uint32_t n4 = 0;      // bytes 45 to 48, little-endian: the paged family's data length + 1024
    size_t size = 0;      // bytes that arrived
};

// Accepted when more than 8 bytes arrived.
std::optional<IdentifyAnswer> ParseIdentifyAnswer(std::span<const uint8_t> answer);

enum class AnswerCheck {
    kAccepted,
    kRefused,  // a well-formed answer that says no (status byte 2 not 0)
    kInvalid,  // wrong length, wrong check value or a foreign answer
};

// The 5-byte status answer to prepare, firmware and data blocks.
AnswerCheck CheckStatusAnswer(std::span<const uint8_t> answer);

enum class ReadCheck { kData, kDamaged, kInvalid };

struct ReadAnswer {
    ReadCheck check = ReadCheck::kInvalid;
    std::span<const uint8_t> data;  // kData: the `data_size` bytes from byte 4
};

// A read answer of the FA family: at least 6 bytes, Sum16 of the bytes before it at the end, byte 2 =
// 0, byte 3 the length code (0 reports damaged data), and for data `data_size` bytes from byte 4.
ReadAnswer CheckReadAnswer(std::span<const uint8_t> answer, uint8_t length_code, size_t data_size);

// A B read answer: exactly `data_size` + 6 bytes with the CRC-16 of the rest at the end; its data
// bytes from byte 4, or nothing.
std::optional<std::span<const uint8_t>> CheckBReadAnswer(std::span<const uint8_t> answer, size_t data_size);

// The B write answer: exactly the first four bytes of the request.
bool CheckBWriteAnswer(std::span<const uint8_t> answer, std::span<const uint8_t> request);

}  // namespace torvane
