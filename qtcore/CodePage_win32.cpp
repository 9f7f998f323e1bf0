// Code pages through the system's own conversion calls, the ones every Windows program writes its text with.
#include <windows.h>

#include "qtcore/CodePage.h"

namespace {

std::wstring Wide(const QString& text) {
    return text.toStdWString();
}

// One character's bytes in the code page: a lead byte and its trail, or a single byte.
std::size_t CharacterLength(int codePage, const std::string& bytes, std::size_t at) {
    const bool lead = IsDBCSLeadByteEx(static_cast<UINT>(codePage), static_cast<BYTE>(bytes[at]));
    return lead && at + 1 < bytes.size() ? 2 : 1;
}

std::optional<std::wstring> Converted(int codePage, const char* bytes, int size) {
    if (size == 0) {
        return std::wstring();
    }
    const int length =
        MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, bytes, size, text.data(), length);
    return text;
}

}  // namespace

bool PlatformCodePage::Supports(int codePage) {
    return IsValidCodePage(static_cast<UINT>(codePage));
}

std::optional<std::string> PlatformCodePage::Encode(int codePage, const QString& text) {
    const std::wstring wide = Wide(text);
    if (wide.empty()) {
        return std::string();
    }
    // No best fit: a character the code page lacks fails the text instead of turning into a look-alike.
    BOOL defaulted = FALSE;
    const int size = WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), nullptr, 0, nullptr, &defaulted);
    if (size <= 0 || defaulted) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, wide.data(),
                        static_cast<int>(wide.size()), bytes.data(), size, nullptr, &defaulted);
    if (defaulted) {
        return std::nullopt;
    }
    return bytes;
}

QString PlatformCodePage::Decode(int codePage, const std::string& bytes) {
    if (const auto whole = Converted(codePage, bytes.data(), static_cast<int>(bytes.size()))) {
        return QString::fromStdWString(*whole);
    }
    // Some byte is undefined in the code page: character by character, that byte as the character of its
    // number.
    QString text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = CharacterLength(codePage, bytes, at);
        if (const auto one = Converted(codePage, bytes.data() + at, static_cast<int>(length))) {
            text += QString::fromStdWString(*one);
            at += length;
        } else {
            text += QChar(static_cast<unsigned char>(bytes[at]));
            ++at;
        }
    }
    return text;
}
