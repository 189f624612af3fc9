#pragma once
// Quoted-printable (RFC 2045 6.7) for text whose lines end in CR LF: the text that goes out when
// the server cannot take 8 bits or a line is longer than SMTP allows.
#include <string>
#include <string_view>

// `text` (CR LF line ends) quoted-printable: every byte outside printable ASCII, "=", and a blank
// or tab at a line's end as "=XX"; lines kept, and each longer than 76 characters broken with
// soft line breaks ("=" at the end).
std::string QuotedPrintable(std::string_view text);
