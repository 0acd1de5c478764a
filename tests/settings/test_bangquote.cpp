// Bang quoting and bang lists.
#include "settings/bangquote.h"

#include <gtest/gtest.h>

namespace {

TEST(settings_bang_quote, QuoteAndUnquote) {
  const std::pair<const char *, const char *> cases[] = {
      {"", "!!"},    {"abc", "!abc!"}, {"a!b", "!a!!b!"},
      {"!", "!!!!"}, {"!!", "!!!!!!"}, {"￥／：＊？”＜＞｜", "!￥／：＊？”＜＞｜!"}};
  for (const auto &[field, quoted] : cases) {
    EXPECT_EQ(BangQuote(QString::fromUtf8(field)), QString::fromUtf8(quoted)) << field;
    EXPECT_EQ(BangUnquote(QString::fromUtf8(quoted)), QString::fromUtf8(field)) << quoted;
  }
}

TEST(settings_bang_quote, UnquoteLeavesOtherTextsAlone) {
  for (const char *text : {"abc", "!abc", "abc!", "!", "", "a!!b", "\"x\""})
    EXPECT_EQ(BangUnquote(QString::fromUtf8(text)), QString::fromUtf8(text)) << text;
}

TEST(settings_bang_list, DefaultTagListSplitsIntoFifteenQuotedDefinitions) {
  const QStringList pieces = SplitBangList(
      QStringLiteral("!TALB!;!%ATitle%!,!@TYER!;!%YearRel;Date%!,!TXXX.DISCID!;!a,b!"), u',');
  EXPECT_EQ(pieces, (QStringList{QStringLiteral("!TALB!;!%ATitle%!"),
                                 QStringLiteral("!@TYER!;!%YearRel;Date%!"),
                                 QStringLiteral("!TXXX.DISCID!;!a,b!")}));
}

TEST(settings_bang_list, Pieces) {
  const std::pair<const char *, QStringList> cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"a,b,", {"a", "b", ""}},
      {"!a,b!,c", {"!a,b!", "c"}},
      {"\"a,b\",'c,d',e", {"\"a,b\"", "'c,d'", "e"}},
      {"!a\\!,b!,c", {"!a\\!,b!", "c"}}, // a backslash hides the mark
      {"!open,b,c", {"!open,b,c"}},      // never closed: hides every later comma
  };
  for (const auto &[text, pieces] : cases)
    EXPECT_EQ(SplitBangList(QString::fromUtf8(text), u','), pieces) << text;
}

} // namespace
