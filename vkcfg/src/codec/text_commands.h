// First-generation text commands: the request texts of login, parameter read and write, and the
// parsing of their answers into the first-generation work block.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vkcfg.h"

namespace vkcfg::codec {

inline constexpr std::string_view kEndOfSession = "O";
inline constexpr std::string_view kVersionRequest = "V|33";
inline constexpr std::string_view kKeepAliveTag = "|32";

// The text of a received datagram: its bytes up to the first NUL (the receive buffer is NUL-terminated
// at the datagram's length, so a text never runs past the datagram).
std::string_view AnswerText(std::span<const uint8_t> datagram);

// The tag of a request: its last three characters ("|21").
std::string_view TagOf(std::string_view request);

// The value of an answer: the text between the leading status byte and the first "|".
std::string_view AnswerValue(std::string_view answer);

// The tag an answer names: the two characters after its last "|" (empty when there is none).
std::string_view AnswerTag(std::string_view answer);

// "W" + MAC text + tag: selects a device by its MAC in a broadcast conversation.
std::string SelectRequest(std::string_view mac_text, std::string_view tag);
inline constexpr std::string_view kLoginSelectTag = "|20";
inline constexpr std::string_view kLoginPasswordTag = "|19";

// "L" + password + "|19": the password is the text of the 10-byte field up to its first NUL, at most 9
// characters.
std::string PasswordRequest(const char (&password)[10]);

// The 30 requests of a parameter read; request 0 selects the device and is sent only by broadcast.
std::vector<std::string> ReadRequests(std::string_view mac_text);

// The 26 requests of a parameter write with the block's values; request 0 selects the device.
std::vector<std::string> WriteRequests(std::string_view mac_text, const VkaWorkBlock& block);

// The answer as the read takes it: the answer to "V|33" that does not carry "|32" (a late answer to
// the keep-alive request) gets "|33" appended, since devices send the version without a tag.
std::string TakeAnswer(std::string_view request, std::string_view answer);

// Stores the value of an accepted answer in the block field named by the answer's own tag. An answer
// whose tag names no read command stores nothing.
void StoreAnswer(std::string_view answer, VkaWorkBlock& block);

// Baud rates of the first generation's code digits "0" to "7".
uint32_t BaudOfCode(int code);
// The code digit of a baud rate; a rate not in the table gives code 3 (9600 bit/s).
int CodeOfBaud(uint32_t baud);

}  // namespace vkcfg::codec
