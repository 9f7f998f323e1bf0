// How kestrin-cli prints what arrives: readable text, or one JSON object per line for scripts.
#pragma once

#include <string>

#include "messenger/StringList.h"

class TEventFormatter {
public:
    explicit TEventFormatter(bool json) : Json(json) {}

    std::string Memo(const std::string& origin, const std::string& time, const TStringList& lines) const;
    std::string Line(const std::string& origin, const std::string& time, const std::string& line) const;
    std::string Users(const TStringList& users) const;

private:
    bool Json;
};
