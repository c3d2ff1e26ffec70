#include "qt/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace tavolen {
namespace {

QString SystemUiFamily() {
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

void InstallFontSubstitutes() {
  QFont::insertSubstitutions(
      QStringLiteral("ＭＳ Ｐゴシック"),
      {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), SystemUiFamily()});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                             {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP"),
                              QStringLiteral("IPAMincho"), SystemUiFamily()});
}

QFont JapaneseUiFont() {
  QFont font = QApplication::font();
  font.setFamilies(
      {font.family(), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
  return font;
}

QFont FontOf(const FontDef& font) {
  if (font.face.empty()) {
    return JapaneseUiFont();
  }
  QFont qfont(QString::fromUtf8(font.face.data(), static_cast<qsizetype>(font.face.size())));
  qfont.setPixelSize(font.Pixels());
  qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  return qfont;
}

}  // namespace tavolen
