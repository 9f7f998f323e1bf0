// A computer whose names and clock the test sets (kept apart from TestPeer.h for the window tests).
#pragma once

#include <string>
#include <utility>

#include "messenger/SystemServices.h"

class TFixedSystem final : public TSystemServices {
public:
    explicit TFixedSystem(std::string computer) : Computer(std::move(computer)) {}
    std::string ComputerName() override { return Computer; }
    std::string UserName() override { return "tester"; }
    std::string TimeStamp() override { return "14:05:09"; }

    std::string Computer;
};
