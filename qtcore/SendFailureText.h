// Why a memo was not sent, in the user's language.
#pragma once

#include <QString>

#include "messenger/uniMessenger.h"

/// TSendFailure::Text() translated: the same sentence, byte for byte, when no translation is installed.
QString SendFailureText(const TSendFailure& failure);
