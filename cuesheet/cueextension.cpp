// The extension-line dispatcher and its three definition parsers.
#include "cuesheet/cueextension.h"

#include "cuesheet/cuesheet.h"
#include "id3/tagname.h"
#include "macros/catalogue.h"
#include "macros/quoting.h"
#include "macros/strtoint.h"
#include "messages/format.h"
#include "messages/str.h"
#include "settings/settings.h"

namespace {

enum class ExtensionKind { None, Option, ID3Tag, Macro };

ExtensionKind kindOf(TSettings &settings, const QString &keyword) {
  auto is = [&](const char *k) {
    return keyword.compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
  };
  TSettingsReadGuard guard(settings.Lock());
  if (is("QUARROW:OPTION"))
    return settings.UseCueOptions ? ExtensionKind::Option : ExtensionKind::None;
  if (is("QUARROW:ID3TAG") || is("ID3TAG"))
    return settings.UseCueID3Tag ? ExtensionKind::ID3Tag : ExtensionKind::None;
  if (is("QUARROW:MACRO"))
    return settings.UseCueMacro ? ExtensionKind::Macro : ExtensionKind::None;
  return ExtensionKind::None;
}

int trackNoOf(const TCueTrack *track) {
  return track ? track->TrackNo : 0;
}

void lineError(TCueSheet &sheet, const TCueTrack *track, const QString &message, int lineIndex,
               const QString &definition) {
  sheet.Report(trackNoOf(track), cmkError, str::Format(message, {lineIndex + 1, definition}));
}

// The definition split at its first '=' outside quotes: name part trimmed, and the rest (not
// trimmed). hasValue is false when there is no '='.
struct Definition {
  int equals = 0; // 1-based position of '=', 0 when none
  QString name;
  QString rest;
};

Definition splitDefinition(const QString &definition) {
  Definition d;
  d.equals = FindCharOutsideQuotes(definition, QLatin1Char('='));
  if (d.equals == 0) {
    d.name = TrimBlanks(definition);
  } else {
    d.name = TrimBlanks(definition.left(d.equals - 1));
    d.rest = definition.mid(d.equals);
  }
  return d;
}

} // namespace

void DispatchExtensionLine(TCueSheet &sheet, const QString &line, const QString &keyword,
                           TCueTrack *track, int lineIndex) {
  const ExtensionKind kind = kindOf(*sheet.Config, keyword);
  if (kind == ExtensionKind::None)
    return;
  const qsizetype at = line.indexOf(keyword);
  if (at < 0)
    return;
  const QString definition = TrimBlanks(line.mid(at + keyword.size()));
  if (definition.isEmpty())
    return;
  switch (kind) {
  case ExtensionKind::Option:
    ParseOptionDef(sheet, definition, lineIndex, track);
    break;
  case ExtensionKind::ID3Tag:
    ParseID3TagDef(sheet, definition, lineIndex, track);
    break;
  case ExtensionKind::Macro:
    ParseMacroDef(sheet, definition, lineIndex, track);
    break;
  case ExtensionKind::None:
    break;
  }
}

void ParseOptionDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track) {
  const int eq = FindCharOutsideQuotes(definition, QLatin1Char('='));
  if (eq == 0 || eq == definition.size()) {
    lineError(sheet, track, str::_err_ds_NoOptionValue, lineIndex, definition);
    return;
  }
  if (eq == 1) {
    lineError(sheet, track, str::_err_ds_NoOptionName, lineIndex, definition);
    return;
  }
  const QString name = TrimBlanks(definition.left(eq - 1));
  const QString value = definition.mid(eq);
  if (name.compare(QLatin1String("Compression"), Qt::CaseInsensitive) == 0) {
    int level = 0;
    {
      TSettingsReadGuard guard(sheet.Config->Lock());
      level = sheet.Config->LevelByName(value);
    }
    if (level == 0) {
      lineError(sheet, track, str::_err_ds_InvalidOptionValue, lineIndex, definition);
      return;
    }
  } else if (name.compare(QLatin1String("OutputDir"), Qt::CaseInsensitive) == 0) {
    if (track) {
      lineError(sheet, track, str::_err_ds_AlubumLevelOnlyOption, lineIndex, definition);
      return;
    }
  } else {
    return;
  }
  QStringList &options = track ? track->Options : sheet.AlbumOptions;
  options.append(str::Format(QStringLiteral("%s=%s"), {name, value}));
  sheet.Report(trackNoOf(track), cmkCueOptionDef, name, value);
}

void ParseID3TagDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track) {
  const Definition d = splitDefinition(definition);
  const TTagName tag = ParseTagName(d.name);
  if (!tag.IsValid()) {
    lineError(sheet, track, str::_err_ds_InvalidID3TAGName, lineIndex, definition);
    return;
  }
  const QString name = CanonicalTagName(tag.ID, tag.Extension);
  TID3TagList &list = track ? track->ID3Tags : sheet.AlbumID3Tags;
  if (d.equals != 0) {
    QString text;
    bool quoted = false;
    if (!ParseQuotedString(TrimBlanks(d.rest), text, quoted) || !quoted) {
      lineError(sheet, track, str::_err_ds_InvalidID3TagValue, lineIndex, definition);
      return;
    }
    if (!list.Define(name, text, tag.Latin1)) {
      lineError(sheet, track, str::_err_ds_DuplicateID3Tag, lineIndex, definition);
      return;
    }
    sheet.Report(trackNoOf(track), cmkCueID3TagDef, tag.Latin1 ? QLatin1Char('@') + name : name,
                 str::Format(QStringLiteral("\"%s\""), {text}));
  } else {
    if (!list.Undefine(name)) {
      lineError(sheet, track, str::_err_ds_FailToUndefID3Tag, lineIndex, definition);
      return;
    }
    sheet.Report(trackNoOf(track), cmkCueID3TagDef, name, str::_txt_ID3TAG_Undef);
  }
}

void ParseMacroDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track) {
  const Definition d = splitDefinition(definition);
  if (!IsValidMacroName(d.name)) {
    lineError(sheet, track, str::_err_ds_InvalidMacroName, lineIndex, definition);
    return;
  }
  TMacroList &macros = track ? track->Macros : sheet.AlbumMacros;
  const int trackNo = trackNoOf(track);
  if (d.equals == 0) {
    if (!macros.Undefine(d.name)) {
      lineError(sheet, track, str::_err_ds_DuplicateMacroName, lineIndex, definition);
      return;
    }
    sheet.Report(trackNo, cmkCueMacroDef, d.name, str::_txt_Macro_Undef);
    return;
  }
  QString text;
  bool quoted = false;
  if (!ParseQuotedString(TrimBlanks(d.rest), text, quoted)) {
    lineError(sheet, track, str::_err_ds_InvalidMacroValue, lineIndex, definition);
    return;
  }
  if (quoted) {
    if (!macros.SetText(d.name, text, false)) {
      lineError(sheet, track, str::_err_ds_DuplicateMacroName, lineIndex, definition);
      return;
    }
    sheet.Report(trackNo, cmkCueMacroDef, d.name, str::Format(QStringLiteral("\"%s\""), {text}));
    return;
  }
  int number = 0;
  if (!TryStrToInt(text, number)) {
    lineError(sheet, track, str::_err_ds_InvalidNumValue, lineIndex, definition);
    return;
  }
  if (!macros.SetNumber(d.name, number, false)) {
    lineError(sheet, track, str::_err_ds_DuplicateMacroName, lineIndex, definition);
    return;
  }
  sheet.Report(trackNo, cmkCueMacroDef, d.name, str::Format(QStringLiteral("%i"), {number}));
}
