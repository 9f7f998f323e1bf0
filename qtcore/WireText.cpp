// Text conversion for message bytes.
#include "qtcore/WireText.h"

#include <QStringDecoder>

QString FromWire(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())) : text;
}

std::string ToWire(const QString& text) {
    return text.toLocal8Bit().toStdString();
}
