// The INI document: Windows INI rules, and values that survive writing and reading unchanged.
#include "settings/inidocument.h"

#include <gtest/gtest.h>

namespace {

TIniDocument Parse(const char *text) {
  return TIniDocument::Parse(QByteArray(text));
}

TEST(settings_ini_document, NamesMatchWithoutRegardToCaseAndKeepTheirOrder) {
  TIniDocument doc = Parse("[Lame]\nQuality=5\nVBRLevel=2\n[tag]\nTagVerMJ=4\n");
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("LAME"), QStringLiteral("quality"), 0), 5);
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("Tag"), QStringLiteral("TAGVERMJ"), 0), 4);
  doc.WriteInteger(QStringLiteral("lame"), QStringLiteral("QUALITY"), 7);
  doc.WriteInteger(QStringLiteral("System"), QStringLiteral("ShowMenu"), 1);
  doc.WriteInteger(QStringLiteral("LAME"), QStringLiteral("CBRPreset"), 3);
  EXPECT_EQ(doc.Serialize(), QByteArray("[Lame]\nQuality=7\nVBRLevel=2\nCBRPreset=3\n\n"
                                        "[tag]\nTagVerMJ=4\n\n[System]\nShowMenu=1\n"));
}

TEST(settings_ini_document, SectionWithoutEntriesCountsAsAbsent) {
  const TIniDocument doc = Parse("[TagList]\n; nothing here\n[ACCInfo]\n[Status]\nWidth=3\n");
  EXPECT_FALSE(doc.SectionExists(QStringLiteral("TagList")));
  EXPECT_FALSE(doc.SectionExists(QStringLiteral("ACCInfo")));
  EXPECT_FALSE(doc.SectionExists(QStringLiteral("Missing")));
  EXPECT_TRUE(doc.SectionExists(QStringLiteral("status")));
  EXPECT_EQ(doc.Sections(), QStringList{QStringLiteral("Status")});
  QStringList list{QStringLiteral("kept")};
  EXPECT_FALSE(doc.ReadItemList(QStringLiteral("TagList"), list));
  EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
}

TEST(settings_ini_document, ItemListsReadUpToTheEntryCount) {
  const std::pair<const char *, QStringList> cases[] = {
      {"[L]\nItem0=a\nItem2=c\n", {"a", ""}},
      {"[L]\nitem1=b\nITEM0=a\n", {"a", "b"}},
      {"[L]\nOther=x\n", {""}},
      {"[L]\nItem0=a\nItem0=b\n", {"a", ""}},
      {"[L]\nItem0=\n", {""}},
  };
  for (const auto &[text, expected] : cases) {
    QStringList list{QStringLiteral("old")};
    EXPECT_TRUE(Parse(text).ReadItemList(QStringLiteral("l"), list));
    EXPECT_EQ(list, expected) << text;
  }
  TIniDocument doc = Parse("[L]\nItem0=old\nItem1=old\nItem2=old\n");
  doc.WriteItemList(QStringLiteral("L"), {QStringLiteral("x")});
  EXPECT_EQ(doc.Serialize(), QByteArray("[L]\nItem0=x\n"));
  doc.WriteItemList(QStringLiteral("L"), {});
  EXPECT_EQ(doc.Serialize(), QByteArray());
}

TEST(settings_ini_document, EveryKeyAndValueSurvivesWritingAndReading) {
  const QStringList texts = {QString(),
                             QStringLiteral("plain"),
                             QStringLiteral(" leading"),
                             QStringLiteral("trailing\t"),
                             QStringLiteral("\"quoted\""),
                             QStringLiteral("\"half"),
                             QStringLiteral("a=b=c"),
                             QStringLiteral("[EAC]"),
                             QStringLiteral("^[EAC]"),
                             QStringLiteral("; not a comment"),
                             QStringLiteral("C:\\dir\\"),
                             QStringLiteral("two\nlines\r\n"),
                             QStringLiteral("\\\"\\n"),
                             QStringLiteral("!￥／：＊？”＜＞｜!"),
                             QStringLiteral("%APerformer%%ADate,\" - \"%")};
  TIniDocument doc;
  for (const QString &text : texts) {
    if (!text.isEmpty())
      doc.AppendString(QStringLiteral("Keys"), text, QStringLiteral("v"));
    doc.AppendString(QStringLiteral("Values"), QStringLiteral("k"), text);
  }
  const TIniDocument back = TIniDocument::Parse(doc.Serialize());
  const QList<TIniDocument::TEntry> keys = back.Entries(QStringLiteral("Keys"));
  const QList<TIniDocument::TEntry> values = back.Entries(QStringLiteral("Values"));
  ASSERT_EQ(keys.size(), texts.size() - 1);
  ASSERT_EQ(values.size(), texts.size());
  for (qsizetype i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(values[i].Value, texts[i]);
    if (i > 0) {
      EXPECT_EQ(keys[i - 1].Key, texts[i]);
    }
  }
}

TEST(settings_ini_document, ReadsFilesWrittenByOthers) {
  const TIniDocument doc =
      Parse("\xEF\xBB\xBF; made by hand\r\n[Lame]\r\n  Quality = 4  \r\nLamePath=\"C:\\lame\\\"\r\n"
            "junk line\r\n[Output\r\nCharMap=!x!\r\n[lame]\r\nQuality=9\r\nVBRLevel=6\r\n");
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("Lame"), QStringLiteral("Quality"), 0), 4);
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("Lame"), QStringLiteral("VBRLevel"), 0), 6);
  EXPECT_EQ(doc.ReadString(QStringLiteral("Lame"), QStringLiteral("LamePath"), {}),
            QStringLiteral("C:\\lame\\"));
  EXPECT_EQ(doc.ReadString(QStringLiteral("Output"), QStringLiteral("CharMap"), {}),
            QStringLiteral("!x!"));
  // Comments and lines that hold nothing stay where they were when the file is written again.
  const QByteArray again = doc.Serialize();
  EXPECT_TRUE(again.startsWith("; made by hand\n\n[Lame]\n")) << again.constData();
  EXPECT_TRUE(again.contains("junk line\n"));
}

TEST(settings_ini_document, CorruptBytesNeverStopTheRest) {
  QByteArray text("[Lame]\nQuality=5\n");
  for (int i = 0; i < 256; ++i)
    text += static_cast<char>(i * 37);
  text += "\n[Tag]\nTagPadSize=100\n";
  const TIniDocument doc = TIniDocument::Parse(text);
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("Lame"), QStringLiteral("Quality"), 0), 5);
  EXPECT_EQ(doc.ReadInteger(QStringLiteral("Tag"), QStringLiteral("TagPadSize"), 0), 100);
  TIniDocument::Parse(doc.Serialize()); // and what it writes reads again
}

TEST(settings_ini_document, NumbersAndBools) {
  const std::pair<const char *, int> ints[] = {{"12", 12},
                                               {"-3", -3},
                                               {"+4", 4},
                                               {" 5 ", 5},
                                               {"0x10", 77},
                                               {"$10", 77},
                                               {"12abc", 77},
                                               {"", 77},
                                               {"-", 77},
                                               {"99999999999", 77},
                                               {"1.5", 77},
                                               {"２", 77},
                                               {"-2147483648", INT_MIN}};
  for (const auto &[value, expected] : ints) {
    TIniDocument doc = Parse("[S]\n");
    doc.WriteString(QStringLiteral("S"), QStringLiteral("K"), QString::fromUtf8(value).trimmed());
    EXPECT_EQ(doc.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 77), expected) << value;
  }
  const TIniDocument doc = Parse("[S]\nA=2\nB=0\nC=yes\nD=-1\n");
  EXPECT_TRUE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("A"), false));
  EXPECT_FALSE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("B"), true));
  EXPECT_TRUE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("C"), true));
  EXPECT_FALSE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("C"), false));
  EXPECT_TRUE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("D"), false));
  EXPECT_TRUE(doc.ReadBool(QStringLiteral("S"), QStringLiteral("Missing"), true));
}

TEST(settings_ini_document, DuplicateKeysReadTheFirstAndAllAreListed) {
  TIniDocument doc = Parse("[R]\nabc=x\nABC=y\n");
  EXPECT_EQ(doc.ReadString(QStringLiteral("R"), QStringLiteral("Abc"), {}), QStringLiteral("x"));
  EXPECT_EQ(doc.ReadSectionValues(QStringLiteral("R")),
            (QStringList{QStringLiteral("abc=x"), QStringLiteral("ABC=y")}));
  doc.WriteString(QStringLiteral("R"), QStringLiteral("aBc"), QStringLiteral("z"));
  EXPECT_EQ(doc.ReadSectionValues(QStringLiteral("R")),
            (QStringList{QStringLiteral("abc=z"), QStringLiteral("ABC=y")}));
}

} // namespace
