#include "skinctrls/bsSkinFont.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"

#include <QFontMetricsF>

#include <cmath>

QString bsFontFamily(const QString& face) {
  const QString f = face.trimmed();
  if (f.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Sans");
  if (f.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Serif");
  if (f.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Mono");
  if (f.isEmpty()) return QStringLiteral("Liberation Sans");
  return f;
}

int bsFontPixelSize(const QString& family, int windowsHeight) {
  if (windowsHeight == 0) windowsHeight = 14;
  if (windowsHeight < 0) return std::max(1, -windowsHeight);
  // A cell height: the character height is what remains after the face's
  // own share of ascent and descent.
  QFont probe(family);
  probe.setPixelSize(100);
  const qreal cell = QFontMetricsF(probe).ascent() + QFontMetricsF(probe).descent();
  if (cell <= 0) return windowsHeight;
  return std::max(1, int(std::lround(windowsHeight * 100.0 / cell)));
}

QFont bsSkinFont(const std::string& name, int height, TbsFontStyles style) {
  const QString family = bsFontFamily(QString::fromStdString(name));
  QFont f(family);
  // Clamped: a hostile height must not ask the rasteriser for a giant glyph.
  f.setPixelSize(std::clamp(bsFontPixelSize(family, std::clamp(height, -1000, 1000)), 1, 1000));
  f.setBold(style & fsBold);
  f.setItalic(style & fsItalic);
  f.setUnderline(style & fsUnderline);
  f.setStrikeOut(style & fsStrikeOut);
  return f;
}

QFont bsDefaultSkinFont() { return bsSkinFont("Arial", 14, 0); }

QColor bsColor(TbsColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

int bsSkinCharSet(const TbsSkinData* skinData, int defaultFontCharSet) {
  if (skinData && skinData->ResourceStrData()) return skinData->ResourceStrData()->CharSet;
  return defaultFontCharSet;
}
