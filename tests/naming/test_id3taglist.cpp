// TID3TagList and FindID3TagDef: cue-sheet tag definitions and their lookup order.
#include "naming/id3taglist.h"
#include "naming_test_support.h"

namespace {

TEST(ID3TagList, DefineKeepsTheFirstAndIgnoresCaseAndAt) {
  TID3TagList list;
  EXPECT_TRUE(list.Define(u"@TPOS"_qs, u"1/2"_qs, true));
  EXPECT_FALSE(list.Define(u"tpos"_qs, u"other"_qs, false));
  EXPECT_FALSE(list.Undefine(u"TPOS"_qs));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Name(0), u"TPOS"_qs);
  const TID3TagValue *value = list.Find(u"@tPoS"_qs);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->Text, u"1/2"_qs);
  EXPECT_TRUE(value->IsLatin1());
  EXPECT_FALSE(value->IsDisabled());
}

TEST(ID3TagList, UndefineAddsADisabledEntryOnce) {
  TID3TagList list;
  EXPECT_TRUE(list.Undefine(u"TCOM"_qs));
  EXPECT_FALSE(list.Undefine(u"TCOM"_qs));
  EXPECT_FALSE(list.Define(u"TCOM"_qs, u"X"_qs, false));
  const TID3TagValue *value = list.Find(u"TCOM"_qs);
  ASSERT_NE(value, nullptr);
  EXPECT_TRUE(value->IsDisabled());
  EXPECT_EQ(value->Flags, TID3TagValue::Disabled);
  EXPECT_TRUE(value->Text.isEmpty());
}

TEST(ID3TagList, ExtensionsCompareWithoutCase) {
  TID3TagList list;
  EXPECT_TRUE(list.Define(u"TXXX.discid"_qs, u"1"_qs, false));
  EXPECT_FALSE(list.Define(u"TXXX.DISCID"_qs, u"2"_qs, false));
  EXPECT_EQ(list.Name(0), u"TXXX.discid"_qs); // kept as written
  EXPECT_NE(list.Find(u"txxx.DiscId"_qs), nullptr);
  EXPECT_EQ(list.Find(u"TXXX.other"_qs), nullptr);
}

TEST(ID3TagList, KeepsOrder) {
  TID3TagList list;
  list.Define(u"TIT2"_qs, u"a"_qs, false);
  list.Undefine(u"TCOM"_qs);
  list.Define(u"COMM.eng"_qs, u"c"_qs, false);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Name(0), u"TIT2"_qs);
  EXPECT_EQ(list.Name(1), u"TCOM"_qs);
  EXPECT_EQ(list.Name(2), u"COMM.eng"_qs);
}

TEST(FindID3TagDef, TrackBeforeAlbum) {
  TID3TagList album, track;
  album.Define(u"TCOM"_qs, u"album"_qs, false);
  album.Define(u"TALB"_qs, u"only album"_qs, false);
  track.Undefine(u"TCOM"_qs);

  const TID3TagScope scope{&album, &track};
  const TID3TagValue *tcom = FindID3TagDef(u"TCOM"_qs, scope);
  ASSERT_NE(tcom, nullptr);
  EXPECT_TRUE(tcom->IsDisabled());
  const TID3TagValue *talb = FindID3TagDef(u"@TALB"_qs, scope);
  ASSERT_NE(talb, nullptr);
  EXPECT_EQ(talb->Text, u"only album"_qs);
  EXPECT_EQ(FindID3TagDef(u"TIT2"_qs, scope), nullptr);
  EXPECT_EQ(FindID3TagDef(QString(), scope), nullptr);

  const TID3TagValue *albumOnly = FindID3TagDef(u"TCOM"_qs, TID3TagScope{&album, nullptr});
  ASSERT_NE(albumOnly, nullptr);
  EXPECT_EQ(albumOnly->Text, u"album"_qs);
  EXPECT_EQ(FindID3TagDef(u"TCOM"_qs, TID3TagScope{}), nullptr);
}

} // namespace
