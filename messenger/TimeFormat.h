// The regional long time format, reduced to the shape a message time stamp uses.
#pragma once

#include <string>
#include <string_view>

/// How the time of day is written: the hour's padding, the separator and the clock style.
struct TTimeFormat {
    bool LeadingZero = true;
    bool TwelveHour = false;
    bool DesignatorFirst = false;
    std::string Separator = ":";
    std::string Am = "am";
    std::string Pm = "pm";

    /// Hour (0-23), minute and second as the format writes them; no date.
    std::string Format(int hour, int minute, int second) const;

    /// Reads an strftime time format (`%H:%M:%S`, `%I:%M:%S %p`, `%p %l時%M分%S秒` …). `ampmFormat`
    /// expands `%r`; empty designators fall back to "am" and "pm".
    static TTimeFormat FromStrftime(std::string_view format, std::string_view ampmFormat, std::string_view am,
                                    std::string_view pm);
};
