#include "platform/ShiftJisEncoder.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kivo {

bool ShiftJisEncoder::encode(std::string_view utf8, std::string& out)
{
  bool ascii = true;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  // Code page 932 keeps ASCII as it is (0x5C and 0x7E included).
  if (ascii) {
    out.append(utf8);
    return true;
  }
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  // Malformed UTF-8 became U+FFFD, which the code page refuses below.
  QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
  if (!encoder.isValid()) return false;
  const QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) return false;
  out.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  return true;
}

bool ShiftJisEncoder::decode(std::string_view bytes, std::string& out)
{
  // One decoder per thread: making one costs more than decoding a short field.
  thread_local QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) return false;
  decoder.resetState();
  const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  // Undefined sequences come back as U+FFFD with the error set; a U+FFFD that the
  // bytes cannot hold either, as the code page has no code for it.
  if (decoder.hasError() || text.contains(QChar(QChar::ReplacementCharacter))) return false;
  out += text.toStdString();
  return true;
}

}  // namespace kivo
