// Code pages through glibc's iconv. It is part of every Linux system, it carries every Windows ANSI code page
// (CP1250 … CP1258, CP874, CP932, CP936, CP949, CP950), and it refuses a character that a code page cannot
// hold instead of replacing it, which is the test that the writing rule needs. Qt 6.4 as Debian builds it
// converts only the UTF forms and Latin-1 by itself.
#include <iconv.h>

#include <cerrno>

#include "qtcore/CodePage.h"

namespace {

class TIconv {
public:
    TIconv(int codePage, bool toCodePage) {
        const std::string name = "CP" + std::to_string(codePage);
        Handle = toCodePage ? iconv_open(name.c_str(), "UTF-8") : iconv_open("UTF-8", name.c_str());
    }
    ~TIconv() {
        if (Opened()) {
            iconv_close(Handle);
        }
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Opened() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    /// Converts all of `in`. At a byte that cannot be converted it gives up, or with `standIn` appends the
    /// UTF-8 form of the character of that byte's number and goes on after it.
    std::optional<std::string> Convert(std::string in, bool standIn) {
        if (!Opened()) {
            return std::nullopt;
        }
        std::string out;
        char* from = in.data();
        std::size_t left = in.size();
        char buffer[1024];
        for (;;) {
            char* to = buffer;
            std::size_t room = sizeof buffer;
            const bool end = left == 0;  // then only what a stateful code page still holds comes out
            const std::size_t result =
                end ? iconv(Handle, nullptr, nullptr, &to, &room) : iconv(Handle, &from, &left, &to, &room);
            out.append(buffer, to);
            if (result != static_cast<std::size_t>(-1)) {
                if (end) {
                    return out;
                }
            } else if (errno != E2BIG) {
                if (end || !standIn) {
                    return std::nullopt;
                }
                const auto byte = static_cast<unsigned char>(*from);
                out += byte < 0x80 ? std::string(1, static_cast<char>(byte))
                                   : std::string{static_cast<char>(0xC0 | byte >> 6),
                                                 static_cast<char>(0x80 | (byte & 0x3F))};
                ++from;
                --left;
            }
        }
    }

private:
    iconv_t Handle;
};

}  // namespace

bool PlatformCodePage::Supports(int codePage) {
    return TIconv(codePage, true).Opened() && TIconv(codePage, false).Opened();
}

std::optional<std::string> PlatformCodePage::Encode(int codePage, const QString& text) {
    return TIconv(codePage, true).Convert(text.toStdString(), false);
}

QString PlatformCodePage::Decode(int codePage, const std::string& bytes) {
    return QString::fromStdString(TIconv(codePage, false).Convert(bytes, true).value_or(std::string()));
}
