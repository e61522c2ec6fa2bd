#pragma once
#include <string>

// The pieces a mail is made of, each safe for its place whatever the text holds.

// Windows-1252 (the code page greetings are written in) as UTF-8.
std::string Utf8FromWindows1252(const std::string& text);
// The text with every control character (CR and LF above all) made a blank.
std::string OneLine(const std::string& text);
// A display name for a From or Reply-To header: a quoted string for plain ASCII, an
// encoded word (RFC 2047, UTF-8, base64) otherwise. The name is UTF-8.
std::string HeaderPhrase(const std::string& name);
// An unstructured header's text (Subject) the same way.
std::string HeaderText(const std::string& text);
// Text for an HTML page or part.
std::string HtmlEscape(const std::string& text);
// A body in quoted-printable, lines of at most 76 characters, CR LF line ends.
std::string QuotedPrintable(const std::string& text);
std::string Base64(const std::string& bytes);
