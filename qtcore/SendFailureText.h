// Why a memo was not sent, in the user's language.
#pragma once

#include <QString>

#include "messenger/uniMessenger.h"

/// The sentence both programs show for a memo that did not go, in the user's language.
QString SendFailureText(const TSendFailure& failure);
