// The message table: every text carries the placeholders its identifier names, no identifier is
// there twice, and the texts that are easy to get wrong are exactly what the program relies on.
#include "messages/format.h"
#include "messages/str.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QStringList kPrefixes = {"_err_", "_log_", "_xml_", "_txt_", "_env_default_", "_pidlg_",
                               "_acc_", "_cmd_", "_fmt_", "_msg_", "_system_macro_"};

// The placeholders of a text in the letters an identifier infix uses: s for %s, d for any
// decimal conversion (%d, %i, %u with flags and width), c for %c, X for a hexadecimal one.
// A '%' that starts no placeholder and is not "%%" shows as '?'.
QString PlaceholderLetters(const QString &text) {
  QString letters;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'%')
      continue;
    qsizetype j = i + 1;
    if (j < text.size() && text[j] == u'%') {
      i = j;
      continue;
    }
    while (j < text.size() && (text[j] == u'-' || text[j] == u'0'))
      ++j;
    while (j < text.size() && text[j].isDigit())
      ++j;
    if (j < text.size() && text[j] == u'.') {
      ++j;
      while (j < text.size() && text[j].isDigit())
        ++j;
    }
    const QChar conv = j < text.size() ? text[j] : QChar();
    if (conv == u's' || conv == u'c')
      letters += conv;
    else if (conv == u'd' || conv == u'i' || conv == u'u')
      letters += u'd';
    else if (conv == u'x' || conv == u'X')
      letters += u'X';
    else {
      letters += u'?';
      continue;
    }
    i = j;
  }
  return letters;
}

QString PrefixOf(const QString &id) {
  for (const QString &p : kPrefixes)
    if (id.startsWith(p))
      return p;
  return {};
}

// The infix of an identifier: the part right after its prefix, up to the next '_', when it is
// made of the letters s, d and c only.
QString InfixOf(const QString &id) {
  const QString rest = id.mid(PrefixOf(id).size());
  const qsizetype end = rest.indexOf(u'_');
  if (end <= 0)
    return {};
  const QString part = rest.left(end);
  for (QChar ch : part)
    if (ch != u's' && ch != u'd' && ch != u'c')
      return {};
  return part;
}

// Splits at sep wherever sep is not inside a section enclosed in quote.
QStringList SplitOutside(const QString &text, QChar sep, QChar quote) {
  QStringList parts;
  QString current;
  bool quoted = false;
  for (QChar ch : text) {
    if (ch == quote)
      quoted = !quoted;
    if (ch == sep && !quoted) {
      parts << current;
      current.clear();
    } else {
      current += ch;
    }
  }
  parts << current;
  return parts;
}

TEST(MessageTable, PlaceholdersAgreeWithTheIdentifier) {
  // Texts whose placeholders their name does not spell, each for a reason.
  const QMap<QString, QString> exceptions = {
      // the CRC is shown as eight hexadecimal digits
      {"_log_sds_CueFileInfoCRC_Check", "sXs"},
      // a link: the address is both the target and the text
      {"_fmt_about_addr", "ss"},
      // the names CL1 .. CL5 of the compression levels
      {"_acc_level_name", "d"},
  };
  // Macro templates: their '%' marks enclose macro references, they are never formatted.
  const QSet<QString> templates = {"_env_default_MP3DirName", "_env_default_FileName",
                                   "_env_default_id3tags"};

  QSet<QString> seen;
  for (const auto &entry : str::AllMessages()) {
    const QString id = QString::fromLatin1(entry.id);
    seen << id;
    EXPECT_FALSE(PrefixOf(id).isEmpty()) << entry.id << " has no known prefix";
    if (templates.contains(id))
      continue;
    const QString expected = exceptions.value(id, InfixOf(id));
    EXPECT_EQ(PlaceholderLetters(*entry.text), expected)
        << entry.id << ": " << entry.text->toStdString();
  }
  for (const QString &id : exceptions.keys() + templates.values())
    EXPECT_TRUE(seen.contains(id)) << id.toStdString() << " is listed here but not in the table";
}

TEST(MessageTable, PlaceholderScanSeesStrayPercentSigns) {
  EXPECT_EQ(PlaceholderLetters("行番号 %d : 書式エラー / %s"), "ds");
  EXPECT_EQ(PlaceholderLetters("%c%s : \"%s\" [%08X] %02d %i %-4u"), "cssXddd");
  EXPECT_EQ(PlaceholderLetters("マクロ %%%s%% が"), "s");
  EXPECT_EQ(PlaceholderLetters("100% %S"), "??");
  EXPECT_EQ(InfixOf("_err_ds_SyntaxError"), "ds");
  EXPECT_EQ(InfixOf("_log_css_TagInfo"), "css");
  EXPECT_EQ(InfixOf("_err_cant_close"), "");
  EXPECT_EQ(InfixOf("_env_default_charmap"), "");
}

TEST(MessageTable, NoIdentifierTwice) {
  // Exact repeats are refused by the compiler; names that differ only in case would not be.
  QMap<QString, QString> byFoldedName;
  for (const auto &entry : str::AllMessages()) {
    const QString id = QString::fromLatin1(entry.id);
    const QString folded = id.toLower();
    EXPECT_FALSE(byFoldedName.contains(folded))
        << entry.id << " repeats " << byFoldedName.value(folded).toStdString();
    byFoldedName.insert(folded, id);
    if (id == "_err_MakeNoFile") {
      EXPECT_EQ(entry.text, &str::_err_MakeNoFile);
    }
  }
  EXPECT_TRUE(byFoldedName.contains("_err_makenofile"));
}

TEST(MessageTable, TextsWithBackslashesQuotesAndWideCharacters) {
  using str::Format;
  EXPECT_EQ(str::_env_default_charmap_inv, QStringLiteral(R"(\/:*?"<>|)"));
  EXPECT_EQ(str::_env_default_charmap_inv.size(), 9);
  // Yen, slash, colon, asterisk, question mark, right double quotation mark, less-than,
  // greater-than, vertical bar: one replacement for each forbidden character, none forbidden.
  EXPECT_EQ(str::_env_default_charmap,
            QStringLiteral(u"\uFFE5\uFF0F\uFF1A\uFF0A\uFF1F\u201D\uFF1C\uFF1E\uFF5C"));
  for (QChar ch : str::_env_default_charmap)
    EXPECT_FALSE(str::_env_default_charmap_inv.contains(ch));
  EXPECT_EQ(str::_cmd_userprof_path, QStringLiteral(R"(Kelmora\quarrow\)"));
  EXPECT_EQ(str::_cmd_userprof_regkey, QStringLiteral(R"(Software\Kelmora\)"));
  EXPECT_EQ(str::_env_default_MP3DirName,
            QStringLiteral(R"(%APerformer%%ADate," - "%%ATitle," - "%)"));
  EXPECT_EQ(str::_env_default_FileName, QStringLiteral("%TrackNo,,,02% %Title%"));
  EXPECT_TRUE(str::_env_default_OtherOption2.isEmpty());
  EXPECT_TRUE(str::_env_default_Output_HomeDir.isEmpty());

  EXPECT_EQ(Format(str::_log_dss_CL_ByACC, {3, QStringLiteral("AGenre"), QStringLiteral("Rock")}),
            QStringLiteral(
                R"x(圧縮コーティネータ: 圧縮レベル = CL3(マクロ名:AGenre/キーワード:"Rock"))x"));
  EXPECT_EQ(Format(str::_log_css_TagInfo, {QChar(u'@'), QStringLiteral("TRCK"), "1/12"}),
            QStringLiteral(R"(@TRCK : "1/12")"));
  EXPECT_EQ(Format(str::_acc_s_MacroNameText, {QStringLiteral("ATitle")}),
            QStringLiteral("マクロ %ATitle% が"));
  EXPECT_EQ(Format(str::_fmt_about_addr, {"http://a.b/", "http://a.b/"}),
            QStringLiteral(R"(<a href="http://a.b/">http://a.b/</a>)"));
  EXPECT_EQ(Format(str::_log_sds_CueFileInfoCRC_Check,
                   {str::_log_CueFileInfoCRC_CheckOK, 0x0370A1u, str::_log_CueFileInfoCRCModeZSLR}),
            QStringLiteral("CRC照合結果 : 一致 / CRC値 : [000370A1] (Mode : ZS-LR)"));
  EXPECT_EQ(Format(str::_log_s_filename, {"20261211083005"}), "log20261211083005.xml");
  EXPECT_EQ(str::_acc_conditions.split(u','),
            QStringList({"と一致する", "で始まる", "で終わる", "を含む"}));
}

TEST(MessageTable, DefaultTagListHoldsFifteenDefinitions) {
  const QStringList items = SplitOutside(str::_env_default_id3tags, u',', u'!');
  ASSERT_EQ(items.size(), 15);
  EXPECT_EQ(items.first(), "!TALB!;!%ATitle%!");
  EXPECT_EQ(items[5], "!@TYER!;!%YearRel;Date%!");
  EXPECT_EQ(items[13], "!TXXX.DISCID!;!%DiscID%!");
  EXPECT_EQ(items.last(), "!COMM.eng!;!%Comment%!");
  for (const QString &item : items)
    EXPECT_EQ(SplitOutside(item, u';', u'!').size(), 2) << item.toStdString();
}

// The entries of a macro table, each split into its fields.
QList<QStringList> MacroEntries(const QString &table) {
  QList<QStringList> entries;
  for (const QString &entry : SplitOutside(table, u',', u'"'))
    entries << SplitOutside(entry, u';', u'"');
  return entries;
}

QStringList MacroNames(const QList<QStringList> &entries) {
  QStringList names;
  for (const QStringList &fields : entries)
    names << fields.first();
  return names;
}

TEST(MessageTable, SystemMacroTablesHaveTheirEntries) {
  const QList<QStringList> album = MacroEntries(str::_system_macro_album);
  const QList<QStringList> track = MacroEntries(str::_system_macro_track);
  const QList<QStringList> prio = MacroEntries(str::_system_macro_prio);
  ASSERT_EQ(album.size(), 17);
  ASSERT_EQ(track.size(), 15);
  ASSERT_EQ(prio.size(), 12);

  for (const auto *table : {&album, &track, &prio}) {
    for (const QStringList &fields : *table) {
      const std::string entry = fields.join(u';').toStdString();
      const bool isPrio = table == &prio;
      ASSERT_TRUE(fields.size() == 5 || (!isPrio && fields.size() == 3)) << entry;
      EXPECT_TRUE(fields[1] == "T" || fields[1] == "N") << entry;
      EXPECT_TRUE(fields[2].size() > 2 && fields[2].startsWith(u'"') && fields[2].endsWith(u'"'))
          << entry;
      if (!isPrio && fields.size() == 5) {
        EXPECT_TRUE(fields[3] == "S" || fields[3] == "R") << entry;
      }
      if (isPrio) {
        EXPECT_TRUE(MacroNames(track).contains(fields[3])) << entry;
        EXPECT_TRUE(MacroNames(album).contains(fields[4])) << entry;
      }
    }
  }
  EXPECT_EQ(album[13].join(u';'), QStringLiteral(R"(DiscID;T;"ディスクＩＤ";R;DISCID)"));
  EXPECT_EQ(album.last().join(u';'), QStringLiteral(R"(Tracks;N;"トラック数")"));
  EXPECT_EQ(track.last().join(u';'), QStringLiteral(R"(TrackNo;N;"トラック番号")"));
  EXPECT_EQ(prio[1].join(u';'),
            QStringLiteral(R"(SongWriter;T;"作詞／作曲者";TSongWriter;ASongWriter)"));
}

} // namespace
