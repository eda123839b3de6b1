// Text from outside (the service's answers, what people type, a bars file)
// made safe to show: where the bytes are well-formed UTF-8 and where they
// are not, and one line of a log that no byte can break. Stateless and
// thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace support {

// Length of the well-formed UTF-8 sequence of two or more bytes at text[at],
// or 0 when there is none (overlong forms, surrogates and code points above
// U+10FFFF are not well formed).
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// `text` as one line: \n, \r and \t, and \xhh for every other control byte
// (0x00-0x1F, 0x7F), for the C1 controls U+0080-U+009F and for each byte that
// is not part of well-formed UTF-8. A line break cannot forge a further line
// and an escape sequence cannot reach a terminal. Text without such bytes
// comes back as it is, so a line made safe once is safe again unchanged.
std::string oneLineText(std::string_view text);

}  // namespace support
