#include "platform/regional_settings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

namespace corvel {
namespace {

// "dd.MM.yy" -> "dd.MM.yyyy"; a pattern that already has four y is kept.
QString WithFourDigitYear(QString pattern) {
  static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
  return pattern.replace(twoDigitYear, QStringLiteral("yyyy"));
}

// "h:mm:ss AP t" -> "h:mm:ss AP", "H:mm:ss (t)" -> "H:mm:ss", "t HH:mm:ss" -> "HH:mm:ss",
// "HH:mm:ss, t" -> "HH:mm:ss": the zone field, brackets around it and the blanks and comma
// that set it apart go; quoted text is left alone.
QString WithoutTimeZone(const QString& pattern) {
  bool quoted = false;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'\'') quoted = !quoted;
    if (quoted || pattern[i] != u't') continue;
    qsizetype begin = i, end = i;
    while (end < pattern.size() && pattern[end] == u't') ++end;
    if (begin > 0 && end < pattern.size() &&
        ((pattern[begin - 1] == u'(' && pattern[end] == u')') ||
         (pattern[begin - 1] == u'[' && pattern[end] == u']'))) {
      --begin;
      ++end;
    }
    while (begin > 0 && (pattern[begin - 1].isSpace() || pattern[begin - 1] == u',')) --begin;
    if (begin == 0) {
      while (end < pattern.size() && pattern[end].isSpace()) ++end;
    }
    return pattern.left(begin) + pattern.mid(end);
  }
  return pattern;
}

}  // namespace

RegionalSettings SystemRegionalSettings() {
  const QLocale locale = QLocale::system();
  if (locale.language() == QLocale::C) return RegionalSettings{};
  RegionalSettings rs;
  rs.DecimalSeparator = locale.decimalPoint().toStdString();
  rs.ThousandsSeparator = locale.groupSeparator().toStdString();
  rs.ShortDatePattern = WithFourDigitYear(locale.dateFormat(QLocale::ShortFormat)).toStdString();
  rs.LongTimePattern = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)).toStdString();
  rs.AMText = locale.amText().toStdString();
  rs.PMText = locale.pmText().toStdString();
  return rs;
}

}  // namespace corvel
