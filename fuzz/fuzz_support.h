// What the text fuzz targets share: quiet Qt, text from raw bytes, the locales to read in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include "fuzz_check.h"

namespace orvane::fuzz {

// Qt's warnings (a parser asking for the application object, and the like) would drown the
// fuzzer's own output; fatal messages still abort.
inline void quietQt() {
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
      std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(text));
      std::abort();
    }
  });
}

// The input read as UTF-8 (invalid sequences become replacement characters, as they do for
// pasted text), and as UTF-16 code units in the machine's order, lone surrogates included.
inline QString fromUtf8(const std::uint8_t* data, std::size_t size) {
  return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline QString fromUtf16(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

// The locales the reading is tried in: the system's, German (a decimal comma) and Chinese
// (the interface's language).
inline const QLocale* locales() {
  static const QLocale kLocales[] = {QLocale::system(), QLocale(QLocale::German, QLocale::Germany),
                                     QLocale(QLocale::Chinese, QLocale::China)};
  return kLocales;
}
inline constexpr int kLocaleCount = 3;

// Same value down to the sign of zero; nothing equals nothing.
inline bool sameNumber(std::optional<double> a, std::optional<double> b) {
  if (!a || !b) return !a && !b;
  return std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

}  // namespace orvane::fuzz
