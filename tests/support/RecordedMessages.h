// Failures recorded as "error: …" (the default error display) or "message: …" lines instead of shown in a
// box.
#pragma once

#include <QStringList>

#include "widgets/ErrorDisplay.h"

struct TRecordedMessages {
    TRecordedMessages() {
        SetMessagePresenter([this](TMessageKind kind, const QString& text) {
            Messages << (kind == TMessageKind::DefaultError ? "error: " : "message: ") + text;
        });
    }
    ~TRecordedMessages() { SetMessagePresenter(nullptr); }

    QStringList Messages;
};
