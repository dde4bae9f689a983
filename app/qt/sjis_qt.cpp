// Shift_JIS to QString through Qt's CP932 decoder.
#include "app/qt/sjis_qt.h"

#include <QStringDecoder>

namespace pelmora {

QString FromSjis(std::string_view text) {
  QStringDecoder decoder("CP932");
  return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace pelmora
