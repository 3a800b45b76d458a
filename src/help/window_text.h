// The texts and links of the about windows: placed in pixels, coloured, wrapped when the
// place is taller than a line.
#pragma once

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QUrl>

#include "platform/link_label.h"
#include "platform/shell_open.h"

namespace orvane {

inline QLabel* placeText(QWidget* parent, const QString& text, QRect place, QColor colour = {}) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setWordWrap(place.height() > 12);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (colour.isValid()) label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
  return label;
}

// An underlined link in `colour` that opens `target` through the desktop shell when clicked.
inline LinkLabel* placeLink(QWidget* parent, const QString& text, QRect place, QColor colour,
                            const QUrl& target) {
  auto* label = new LinkLabel(parent);
  label->setText(text);
  // The underline lies below the baseline: a place only 12 pixels tall would cut it off, so
  // such a place grows to a whole line, its text kept at the top like the plain texts'.
  if (const int line = label->fontMetrics().height() + 1; place.height() < line) {
    place.setHeight(line);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  label->setGeometry(place);
  label->setStyleSheet(QStringLiteral("color: %1; text-decoration: underline;").arg(colour.name()));
  QObject::connect(label, &LinkLabel::clicked, parent, [target] { openInDesktopShell(target); });
  return label;
}

}  // namespace orvane
