// Level codes, their LAME option texts and the CLList text form.
#include "settings/levels.h"

#include "settings/bangquote.h"
#include "settings/decimal.h"

#include <QStringList>
#include <algorithm>

namespace {

constexpr int MaxQuality = 9;
constexpr int MaxCBRIndex = static_cast<int>(CBRBitRates.size()) - 1;
constexpr int MinABRBitRate = 8;
constexpr int MaxABRBitRate = 320;
constexpr int MaxVBRLevel = 10;

bool ValidFields(int type, int value, int quality) {
  if (quality < 0 || quality > MaxQuality || value < 0)
    return false;
  switch (type) {
  case ltNone:
    return value == 0 && quality == 0;
  case ltCBR:
    return value <= MaxCBRIndex;
  case ltABR:
    return value >= MinABRBitRate && value <= MaxABRBitRate;
  case ltVBR:
    return value <= MaxVBRLevel;
  default:
    return false;
  }
}

void SplitCode(LevelCode code, int &type, int &value, int &quality) {
  const auto bits = static_cast<std::uint32_t>(code);
  type = static_cast<int>(bits >> 24);
  quality = static_cast<int>((bits >> 16) & 0xFF);
  value = static_cast<int>(bits & 0xFFFF);
}

// A whole decimal integer that fits a LevelCode, or -1.
LevelCode ReadDecimal(const QString &text) {
  int number = -1;
  return ParseDecimal(text, number) ? number : -1;
}

// The fields of a CLList text: split at ';', a field that starts with '!' read up to its
// closing '!' with "!!" standing for one '!'. A field whose quote never closes is kept as it
// stands, so it reads as no level.
QStringList SplitLevelFields(const QString &text) {
  QStringList fields;
  const qsizetype n = text.size();
  qsizetype i = 0;
  if (n == 0)
    return fields;
  for (;;) {
    QString field;
    if (i < n && text[i] == u'!') {
      qsizetype j = i + 1;
      bool closed = false;
      QString inner;
      while (j < n) {
        if (text[j] == u'!') {
          if (j + 1 < n && text[j + 1] == u'!') {
            inner += u'!';
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        inner += text[j++];
      }
      if (!closed) {
        fields << text.mid(i);
        return fields;
      }
      field = inner;
      i = j;
    }
    const qsizetype semi = text.indexOf(u';', i);
    if (semi < 0) {
      field += text.mid(i);
      fields << field;
      return fields;
    }
    field += text.mid(i, semi - i);
    fields << field;
    i = semi + 1;
  }
}

} // namespace

QString MethodOptions(int type, int value) {
  switch (type) {
  case ltCBR:
    return QStringLiteral("--cbr -b %1").arg(CBRBitRates[std::clamp(value, 0, MaxCBRIndex)]);
  case ltABR:
    return QStringLiteral("--abr %1").arg(value);
  case ltVBR:
    return QStringLiteral("-V %1").arg(value);
  default:
    return {};
  }
}

QString QualityOption(int quality) {
  return QStringLiteral(" -q %1").arg(quality);
}

LevelCode EncodeLevelCode(int type, int value, int quality) {
  if (!ValidFields(type, value, quality))
    return -1;
  return static_cast<LevelCode>(static_cast<std::uint32_t>(type) << 24 |
                                static_cast<std::uint32_t>(quality) << 16 |
                                static_cast<std::uint32_t>(value));
}

bool DecodeLevelCode(LevelCode code, int &type, int &value, int &quality) {
  SplitCode(code, type, value, quality);
  return ValidFields(type, value, quality);
}

QString LevelCodeToOptions(LevelCode code) {
  int type, value, quality;
  SplitCode(code, type, value, quality);
  if (quality > MaxQuality)
    return {};
  if (type == ltNone || !ValidFields(type, value, quality))
    return {};
  return MethodOptions(type, value) + QualityOption(quality);
}

void ParseLevelList(int count, const QString &text, TLevelTable &table) {
  table.clear();
  const QStringList fields = SplitLevelFields(text);
  for (int i = 0; i < count; ++i) {
    TLevelEntry entry;
    if (i < fields.size()) {
      const QString field = BangUnquote(fields[i]);
      if (field.startsWith(u'$')) {
        if (field.size() >= 2) {
          entry.Text = field.mid(1);
          entry.Value = 0;
        }
      } else if (!field.isEmpty()) {
        const LevelCode code = ReadDecimal(field);
        if (code != -1) {
          entry.Text = LevelCodeToOptions(code);
          entry.Value = entry.Text.isEmpty() ? -1 : code;
        }
      }
    }
    table.append(entry);
  }
}

QString FormatLevelList(const TLevelTable &table) {
  QStringList fields;
  for (const TLevelEntry &entry : table) {
    QString field;
    if (entry.Value != -1) {
      if (entry.Value != 0)
        field = QString::number(entry.Value);
      else if (!entry.Text.isEmpty())
        field = u'$' + entry.Text;
    }
    fields << (field.isEmpty() ? field : BangQuote(field));
  }
  return fields.join(u';');
}

int LevelByName(const QString &name) {
  struct TLevelName {
    const char16_t *Name;
    int Level;
  };
  static constexpr TLevelName names[] = {{u"CL1", 1}, {u"CL2", 2},  {u"CL3", 3},    {u"CL4", 4},
                                         {u"CL5", 5}, {u"High", 1}, {u"Medium", 3}, {u"Low", 5}};
  if (name.isEmpty())
    return 0;
  for (const TLevelName &entry : names)
    if (name.compare(QStringView(entry.Name), Qt::CaseInsensitive) == 0)
      return entry.Level;
  return 0;
}
