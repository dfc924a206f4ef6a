#include "ui/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace torvane::ui {
namespace {

constexpr const char* kDeviceCodePage = "GBK";

}  // namespace

QString DisplayText(const std::string& bytes) {
    QStringDecoder decoder(kDeviceCodePage, QStringConverter::Flag::Stateless);
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!decoder.isValid()) return QString::fromLatin1(view);
    return decoder.decode(view);
}

std::string DeviceBytes(const QString& text) {
    QStringEncoder encoder(kDeviceCodePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
    return bytes.toStdString();
}

}  // namespace torvane::ui
