// One table of texts on the wire, read and written back in a code page, checked the same on every platform.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <span>
#include <string>

#include "qtcore/WireText.h"

struct TWireTextRow {
    const char* What;
    const char* CodePage;
    std::string Bytes;    ///< as they arrive
    QString Read;         ///< what they are read as
    std::string Written;  ///< what that text is written again as
};

inline void ExpectWireTextRows(std::span<const TWireTextRow> rows) {
    for (const auto& row : rows) {
        const auto text = TWireText::ForName(row.CodePage);
        ASSERT_TRUE(text) << row.What;
        EXPECT_EQ(text->Read(row.Bytes), row.Read) << row.What;
        EXPECT_EQ(text->Write(row.Read), row.Written) << row.What;
    }
}
