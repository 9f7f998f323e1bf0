// Windows: no notifications; the beep and PopUp are what an arrival does there.
#include "app/MemoNotifier.h"

class TMemoNotifier::TService {};

TMemoNotifier::TMemoNotifier(QWidget&, std::function<void()>) {}

TMemoNotifier::~TMemoNotifier() = default;

void TMemoNotifier::Show(const QString&, const QString&) {}
