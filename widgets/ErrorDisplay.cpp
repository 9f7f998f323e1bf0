// Message boxes for failures.
#include "widgets/ErrorDisplay.h"

#include <QMessageBox>
#include <utility>

namespace {

TMessagePresenter& Presenter() {
    static TMessagePresenter presenter;
    return presenter;
}

}  // namespace

void SetMessagePresenter(TMessagePresenter presenter) {
    Presenter() = std::move(presenter);
}

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() > u'.') {
        return text + '.';
    }
    return text;
}

void ShowDefaultError(const QString& message) {
    if (Presenter()) {
        Presenter()(TMessageKind::DefaultError, WithFullStop(message));
        return;
    }
    QMessageBox box(QMessageBox::Critical, "Kestrin", WithFullStop(message), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ShowPlainMessage(const QString& text) {
    if (Presenter()) {
        Presenter()(TMessageKind::PlainMessage, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, "Kestrin", text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}
