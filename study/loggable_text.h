// Text from outside (the service's answers, the network, what the user typed)
// made safe for one line of the message log: control characters are shown
// escaped, so a line break or an escape sequence in an answer cannot forge
// further log lines or reach a terminal's control codes, and a long text is
// cut to a readable length with the number of bytes left out.
#pragma once

#include <cstddef>
#include <string>

namespace tarvio {

// Bytes of a text shown before it is cut.
inline constexpr std::size_t kLoggedTextLimit = 300;

// `text` (null reads as empty) with \n, \r, \t and \xHH for every other control
// byte (0x01-0x1F, 0x7F), for each byte that is not part of well-formed UTF-8,
// and for the C1 controls U+0080-U+009F; past `limit` bytes (never inside a
// UTF-8 sequence) it ends with "... (N more bytes)".
std::string loggableText(const char* text, std::size_t limit = kLoggedTextLimit);

}  // namespace tarvio
