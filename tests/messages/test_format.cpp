// Format fills placeholders as the message texts write them.
#include "messages/format.h"

#include <gtest/gtest.h>

using str::Format;

TEST(Format, PlaceholdersOfTheMessageTable) {
  const QString s = QStringLiteral("abc");
  EXPECT_EQ(Format(QStringLiteral("行番号 %d : 書式エラー / %s"), {12, s}),
            QStringLiteral("行番号 12 : 書式エラー / abc"));
  EXPECT_EQ(Format(QStringLiteral("トラック %02d"), {7}), QStringLiteral("トラック 07"));
  EXPECT_EQ(Format(QStringLiteral("トラック %02d"), {123}), QStringLiteral("トラック 123"));
  EXPECT_EQ(Format(QStringLiteral("[%08X]"), {0x38370991u}), QStringLiteral("[38370991]"));
  EXPECT_EQ(Format(QStringLiteral("[%08X]"), {0xABu}), QStringLiteral("[000000AB]"));
  EXPECT_EQ(Format(QStringLiteral("%u"), {4294967295u}), QStringLiteral("4294967295"));
  EXPECT_EQ(Format(QStringLiteral("%i"), {-42}), QStringLiteral("-42"));
  EXPECT_EQ(Format(QStringLiteral("%c%s : \"%s\""), {QChar(u'@'), QStringLiteral("TIT2"), s}),
            QStringLiteral("@TIT2 : \"abc\""));
  EXPECT_EQ(Format(QStringLiteral("マクロ %%%s%% が"), {QStringLiteral("ATitle")}),
            QStringLiteral("マクロ %ATitle% が"));
  EXPECT_EQ(Format(QStringLiteral("%05d"), {-42}), QStringLiteral("-0042"));
  EXPECT_EQ(Format(QStringLiteral("%-4d|"), {7}), QStringLiteral("7   |"));
}

TEST(Format, MismatchesStayVisible) {
  // Too few arguments, or an argument of the wrong kind, leave the placeholder in the text.
  EXPECT_EQ(Format(QStringLiteral("a %s b %d"), {QStringLiteral("x")}), QStringLiteral("a x b %d"));
  EXPECT_EQ(Format(QStringLiteral("%d"), {QStringLiteral("x")}), QStringLiteral("%d"));
  EXPECT_EQ(Format(QStringLiteral("100%"), {}), QStringLiteral("100%"));
}
