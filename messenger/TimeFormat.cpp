// Reads an strftime time format and writes time stamps in its shape.
#include "messenger/TimeFormat.h"

#include <cstdio>
#include <optional>

namespace {

// Conversions that stand for other conversions; each is expanded before the shape is read.
std::string Expand(std::string_view format, std::string_view ampmFormat, int depth = 0) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const char conversion = format[i + 1];
        if (conversion == 'T') {
            out += "%H:%M:%S";
        } else if (conversion == 'R') {
            out += "%H:%M";
        } else if (conversion == 'r' && depth == 0) {
            out += Expand(ampmFormat, ampmFormat, depth + 1);
        } else {
            out += format.substr(i, 2);
        }
        ++i;
    }
    return out;
}

struct TConversion {
    char Flag = 0;
    char Letter = 0;
    std::size_t End = 0;
};

// One `%[flag][E|O]letter` starting at `pos`.
std::optional<TConversion> ReadConversion(std::string_view format, std::size_t pos) {
    TConversion conversion;
    std::size_t i = pos + 1;
    if (i < format.size() && (format[i] == '-' || format[i] == '_' || format[i] == '0' || format[i] == '^')) {
        conversion.Flag = format[i++];
    }
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
        ++i;
    }
    if (i >= format.size()) {
        return std::nullopt;
    }
    conversion.Letter = format[i];
    conversion.End = i + 1;
    return conversion;
}

}  // namespace

TTimeFormat TTimeFormat::FromStrftime(std::string_view format, std::string_view ampmFormat, std::string_view am,
                                      std::string_view pm) {
    TTimeFormat result;
    const std::string expanded = Expand(format, ampmFormat);
    bool hourSeen = false;
    bool minuteSeen = false;
    bool designatorSeen = false;
    std::size_t afterHour = 0;
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] != '%') {
            continue;
        }
        const auto conversion = ReadConversion(expanded, i);
        if (!conversion) {
            break;
        }
        switch (conversion->Letter) {
            case 'H':
            case 'I':
            case 'k':
            case 'l':
                if (!hourSeen) {
                    hourSeen = true;
                    result.TwelveHour = conversion->Letter == 'I' || conversion->Letter == 'l';
                    const bool blankPadded = conversion->Letter == 'k' || conversion->Letter == 'l';
                    result.LeadingZero = conversion->Flag == '0' || (!blankPadded && conversion->Flag != '-' &&
                                                                     conversion->Flag != '_');
                    result.DesignatorFirst = designatorSeen;
                    afterHour = conversion->End;
                }
                break;
            case 'M':
                if (hourSeen && !minuteSeen) {
                    minuteSeen = true;
                    const std::string separator = expanded.substr(afterHour, i - afterHour);
                    if (!separator.empty()) {
                        result.Separator = separator;
                    }
                }
                break;
            case 'p':
            case 'P':
                designatorSeen = true;
                break;
            default:
                break;
        }
        i = conversion->End - 1;
    }
    if (!am.empty()) {
        result.Am = std::string(am);
    }
    if (!pm.empty()) {
        result.Pm = std::string(pm);
    }
    return result;
}

std::string TTimeFormat::Format(int hour, int minute, int second) const {
    int shownHour = hour;
    if (TwelveHour) {
        shownHour = hour % 12 == 0 ? 12 : hour % 12;
    }
    char digits[32];
    std::snprintf(digits, sizeof digits, LeadingZero ? "%02d" : "%d", shownHour);
    std::string text = digits;
    std::snprintf(digits, sizeof digits, "%02d", minute);
    text += Separator;
    text += digits;
    std::snprintf(digits, sizeof digits, "%02d", second);
    text += Separator;
    text += digits;
    if (!TwelveHour) {
        return text;
    }
    const std::string& designator = hour < 12 ? Am : Pm;
    return DesignatorFirst ? designator + " " + text : text + " " + designator;
}
