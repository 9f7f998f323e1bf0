// Between the 8-bit text of messages and Qt's strings.
#pragma once

#include <QString>
#include <string>

/// Received bytes as text: UTF-8 where they are valid UTF-8 (what Linux copies send), otherwise byte
/// for byte as Latin-1, so that no byte is lost or replaced.
QString FromWire(const std::string& bytes);

/// Text to send, in this system's 8-bit encoding.
std::string ToWire(const QString& text);
