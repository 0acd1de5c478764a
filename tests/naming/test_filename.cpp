// Track file names: the template fallbacks, and the numbering of a track's MP3 file when its
// name is taken.
#include "macros/test_support.h"
#include "messages/str.h"
#include "naming/filename.h"
#include "naming_test_support.h"

namespace {

class TrackFileName : public testing::Test {
protected:
  TrackFileName() {
    album.Album.SetText(u"ATitle"_qs, u"Album"_qs, true);
    for (int i = 1; i <= 7; ++i)
      album.AddTrack().SetText(u"Title"_qs, u"Song %1"_qs.arg(i), true);
  }
  QString Name(const QString &tmpl, int trackNo) {
    return MakeTrackFileName(tmpl, album.TrackScope(trackNo), trackNo, str::_env_default_charmap);
  }

  TTestAlbum album;
};

TEST_F(TrackFileName, DefaultTemplateAndTheCharacterMap) {
  EXPECT_EQ(Name(str::_env_default_FileName, 7), u"07 Song 7.mp3"_qs);
  TTestAlbum acdc;
  acdc.AddTrack().SetText(u"Title"_qs, u"AC/DC: Live?"_qs, true);
  EXPECT_EQ(MakeTrackFileName(str::_env_default_FileName, acdc.TrackScope(1), 1,
                              str::_env_default_charmap),
            u"01 AC／DC： Live？.mp3"_qs);
}

TEST_F(TrackFileName, TemplateWithoutReferencesGetsTheTrackNumber) {
  EXPECT_EQ(Name(u"track"_qs, 1), u"track 01.mp3"_qs);
  EXPECT_EQ(Name(u"track"_qs, 2), u"track 02.mp3"_qs);
}

TEST_F(TrackFileName, FailedOrEmptyExpansionFallsBackToTheDefault) {
  EXPECT_EQ(Name(u"%Foo,'x'%"_qs, 1), u"01 Song 1.mp3"_qs); // unknown macro: empty text
  EXPECT_EQ(Name(u"%Title"_qs, 2), u"02 Song 2.mp3"_qs);    // unterminated reference
  EXPECT_EQ(Name(QString(), 3), u"03 Song 3.mp3"_qs);
}

TEST_F(TrackFileName, DefaultThatFailsTooGivesTheTrackNumber) {
  // An undefined system macro fails every reference to it, the default template's too; the
  // tracks still get names of their own.
  album.Track(4).Undefine(u"Title"_qs);
  EXPECT_EQ(Name(u"%Title%"_qs, 4), u"04.mp3"_qs);
}

TEST_F(TrackFileName, NeverHoldsASeparator) {
  album.AddTrack().SetText(u"Title"_qs, u"../../x"_qs, true);
  EXPECT_EQ(Name(u"%Title%"_qs, 8), u"..／..／x.mp3"_qs);
  EXPECT_EQ(Name(u"%ATitle%\\%Title%"_qs, 1), u"Album￥Song 1.mp3"_qs);
}

class MP3Path : public testing::Test {
protected:
  QString At(const QString &name) const { return root.path() + QDir::separator() + name; }
  QTemporaryDir root;
};

TEST_F(MP3Path, FreeNameIsUsedAsItIs) {
  EXPECT_EQ(MakeMP3Path(root.path(), u"01 A.mp3"_qs, true), At(u"01 A.mp3"_qs));
  EXPECT_EQ(MakeMP3Path(root.path() + u'/', u"01 A.mp3"_qs, true), At(u"01 A.mp3"_qs));
}

TEST_F(MP3Path, TakenNameIsNumberedBeforeTheExtension) {
  Touch(At(u"01 A.mp3"_qs));
  EXPECT_EQ(MakeMP3Path(root.path(), u"01 A.mp3"_qs, true), At(u"01 A(1).mp3"_qs));
  Touch(At(u"01 A(1).mp3"_qs));
  EXPECT_EQ(MakeMP3Path(root.path(), u"01 A.mp3"_qs, true), At(u"01 A(2).mp3"_qs));
  // A directory of that name holds it just as well.
  ASSERT_TRUE(QDir().mkpath(At(u"02 B.mp3"_qs)));
  EXPECT_EQ(MakeMP3Path(root.path(), u"02 B.mp3"_qs, true), At(u"02 B(1).mp3"_qs));
}

TEST_F(MP3Path, TakenNameIsReplacedWhenNumberingIsOff) {
  Touch(At(u"01 A.mp3"_qs));
  EXPECT_EQ(MakeMP3Path(root.path(), u"01 A.mp3"_qs, false), At(u"01 A.mp3"_qs));
}

} // namespace
