#pragma once
// Texts reach the drawing calls as bytes. A valid UTF-8 sequence is read as one character;
// every other byte stands for itself (Latin-1), so any byte string draws something and the
// count of characters never exceeds the count of bytes.
#include <string>
#include <string_view>

std::u32string DecodeText(std::string_view bytes);
