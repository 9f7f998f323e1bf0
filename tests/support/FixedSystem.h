// A computer whose names and clock the test sets.
#pragma once

#include <string>
#include <utility>

#include "SystemServices.h"

class TFixedSystem final : public TSystemServices {
public:
    explicit TFixedSystem(std::string computer, std::string user = "tester", std::string time = "14:05:09")
        : Computer(std::move(computer)), User(std::move(user)), Time(std::move(time)) {}

    std::string ComputerName() override { return Computer; }
    std::string UserName() override { return User; }
    std::string TimeStamp() override { return Time; }

    std::string Computer;
    std::string User;
    std::string Time;
};
