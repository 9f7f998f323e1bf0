// The platform's converter between a Windows code page and Unicode, behind the three operations that the
// text rules need. The build picks the implementation: CodePage_iconv.cpp on Linux; a Windows build brings
// its own over the system's conversion calls.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace PlatformCodePage {

/// Whether this platform converts the code page (a Windows number: 1250 … 1258, 874, 932, 936, 949, 950).
bool Supports(int codePage);

/// The text in the code page; nothing when one of its characters has no form there.
std::optional<std::string> Encode(int codePage, const QString& text);

/// The bytes read in the code page. A byte that the code page leaves undefined becomes the character of the
/// same number, so that nothing the sender wrote is lost or replaced.
QString Decode(int codePage, const std::string& bytes);

}  // namespace PlatformCodePage
