// Windows only: texts between the system and the form runtime. Paths travel as
// UTF-8 and meet the system through its wide-character calls; the system's error
// descriptions come in the ANSI code page, like every text the programs show.
#pragma once

#ifdef _WIN32

#include <string>

namespace forms {

// UTF-8 to UTF-16; empty when the text is not UTF-8 (GetLastError says why).
std::wstring WideFromUtf8(const std::string& text);
// UTF-16 to UTF-8; empty when the text holds a lone surrogate (GetLastError says why).
std::string Utf8FromWide(const std::wstring& text);
// The system's description of an error code without its trailing line break, as
// a message box shows it inside a sentence's brackets.
std::string SystemErrorText(unsigned long code);

} // namespace forms

#endif
