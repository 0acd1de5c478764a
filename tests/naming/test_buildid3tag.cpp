// BuildID3Tag: the global definitions expanded per track, overridden and switched off by the
// cue sheet's definitions (track before album), then the cue sheet's own tags.
#include "id3/id3tag.h"
#include "macros/quoting.h"
#include "macros/test_support.h"
#include "messages/str.h"
#include "naming/buildid3tag.h"
#include "naming_test_support.h"

namespace {

// One frame as the tests compare it: key, text, Latin-1.
struct Frame {
  QString Key;
  QString Text;
  bool Latin1 = false;
  bool operator==(const Frame &) const = default;
};

void PrintTo(const Frame &f, std::ostream *os) {
  *os << (f.Latin1 ? "@" : "") << f.Key.toStdString() << "=\"" << f.Text.toStdString() << '"';
}

std::vector<Frame> FramesOf(const TID3Tag &tag) {
  std::vector<Frame> frames;
  for (int i = 0; i < tag.Count(); ++i)
    frames.push_back({tag.Key(i), tag.Frame(i).Text, tag.Frame(i).Latin1});
  return frames;
}

class BuildTag : public testing::Test {
protected:
  BuildTag()
      : global(BuildID3TagList({true, SplitOutsideQuotes(str::_env_default_id3tags, u',', u'!')})) {
    album.Album.SetText(u"ATitle"_qs, u"Album"_qs, true);
    album.Album.SetText(u"APerformer"_qs, u"Artist"_qs, true);
    album.Album.SetText(u"ADate"_qs, u"2001"_qs, true);
    album.Album.SetText(u"AComposer"_qs, u"Composer"_qs, true);
    album.AddTrack().SetText(u"Title"_qs, u"One"_qs, true);
    album.AddTrack().SetText(u"Title"_qs, u"Two"_qs, true);
    album.CloseTracks();
    trackTags.resize(2);
  }

  std::vector<Frame> Build(int trackNo, bool noEmpty = false,
                           const TSimpleID3TagList *list = nullptr, bool useGlobal = true) {
    TID3Tag tag(0x0300, 0, false, false, 1);
    BuildID3Tag(useGlobal ? (list ? list : global.get()) : nullptr, album.TrackScope(trackNo),
                {&albumTags, &trackTags[trackNo - 1]}, {noEmpty}, tag);
    return FramesOf(tag);
  }

  std::unique_ptr<TSimpleID3TagList> global;
  TTestAlbum album;
  TID3TagList albumTags;
  std::vector<TID3TagList> trackTags;
};

// Without cue-sheet definitions: the global templates, expanded for each track; a template
// whose macros have no value (genre, year, ...) gives no frame at all.
TEST_F(BuildTag, GlobalDefinitionsOnly) {
  const std::vector<Frame> expected = {
      {"TALB", "Album"},     {"TPE2", "Artist"},     {"TIT2", "Two"},     {"TPE1", "Artist"},
      {"TRCK", "2/2", true}, {"TYER", "2001", true}, {"TCOM", "Composer"}};
  EXPECT_EQ(Build(2), expected);
  EXPECT_EQ(Build(2, true), expected);
}

TEST_F(BuildTag, EmptyTextIsWrittenUnlessTagNoEmptyTag) {
  TTestAlbum empty;
  empty.AddTrack().SetText(u"Title"_qs, QString(), true);
  TID3TagList none;
  TID3Tag tag(0x0300, 0, false, false, 1);
  BuildID3Tag(global.get(), empty.TrackScope(1), {&none, nullptr}, {false}, tag);
  ASSERT_EQ(tag.IndexOf(u"TIT2"_qs), 0);
  EXPECT_TRUE(tag.Frame(0).Text.isEmpty());
  TID3Tag noEmpty(0x0300, 0, false, false, 1);
  BuildID3Tag(global.get(), empty.TrackScope(1), {&none, nullptr}, {true}, noEmpty);
  EXPECT_EQ(noEmpty.IndexOf(u"TIT2"_qs), -1);
}

TEST_F(BuildTag, TrackUndefinitionSuppressesTheGlobalTagForThatTrackOnly) {
  trackTags[0].Undefine(u"TCOM"_qs);
  for (const Frame &f : Build(1))
    EXPECT_NE(f.Key, u"TCOM"_qs);
  EXPECT_EQ(Build(2).back(), (Frame{"TCOM", "Composer"}));
}

TEST_F(BuildTag, AlbumDefinitionComesBackInTheAlbumPass) {
  albumTags.Define(u"TCOM"_qs, u"X"_qs, false);
  trackTags[0].Undefine(u"TCOM"_qs);
  const std::vector<Frame> one = Build(1);
  // The global TCOM is skipped (the track's undefinition is found first), then the album pass
  // adds the album's TCOM after every global tag.
  EXPECT_EQ(one.back(), (Frame{"TCOM", "X"}));
  EXPECT_EQ(one[one.size() - 2], (Frame{"TYER", "2001", true}));
  // Track 2 has no undefinition: the album's definition overrides the global one in place.
  EXPECT_EQ(Build(2).back(), (Frame{"TCOM", "X"}));
  EXPECT_EQ(Build(2).size(), 7u);
}

TEST_F(BuildTag, OverrideKeepsTheGlobalNamesLatin1Request) {
  albumTags.Define(u"TRCK"_qs, u"1"_qs, false);
  const std::vector<Frame> frames = Build(2);
  EXPECT_EQ(frames[4], (Frame{"TRCK", "1", true}));
}

TEST_F(BuildTag, TrackDefinitionBeatsTheAlbumOne) {
  albumTags.Define(u"TALB"_qs, u"album text"_qs, false);
  trackTags[1].Define(u"TALB"_qs, u"track text"_qs, false);
  EXPECT_EQ(Build(2)[0], (Frame{"TALB", "track text"}));
  EXPECT_EQ(Build(1)[0], (Frame{"TALB", "album text"}));
}

TEST_F(BuildTag, CueOnlyTagsFollowTrackFirstThenAlbum) {
  albumTags.Define(u"COMM.jpn.memo"_qs, u"album memo"_qs, false);
  albumTags.Define(u"TXXX.MOOD"_qs, u"album mood"_qs, false);
  albumTags.Undefine(u"TOPE"_qs);
  trackTags[0].Define(u"TXXX.mood"_qs, u"calm"_qs, false);
  trackTags[0].Define(u"TPOS"_qs, u"1/2"_qs, true); // overrides @TPOS, a global tag
  const std::vector<Frame> frames = Build(1);
  ASSERT_EQ(frames.size(), 10u);
  EXPECT_EQ(frames[7], (Frame{"TPOS", "1/2", true}));
  EXPECT_EQ(frames[8], (Frame{"TXXX.mood", "calm"}));
  EXPECT_EQ(frames[9], (Frame{"COMM.jpn.memo", "album memo"}));
}

TEST_F(BuildTag, CueLatin1RequestIsHonoured) {
  trackTags[0].Define(u"TOPE"_qs, u"cue only"_qs, true);
  trackTags[0].Define(u"TALB"_qs, u"override"_qs, true);
  const std::vector<Frame> frames = Build(1);
  EXPECT_EQ(frames.front(), (Frame{"TALB", "override", true}));
  EXPECT_EQ(frames.back(), (Frame{"TOPE", "cue only", true}));
}

TEST_F(BuildTag, WithoutAGlobalListOnlyCueTagsAreWritten) {
  albumTags.Define(u"TALB"_qs, u"x"_qs, false);
  albumTags.Define(u"TIT2"_qs, QString(), false);
  trackTags[0].Undefine(u"TALB"_qs);
  EXPECT_EQ(Build(1, false, nullptr, false), (std::vector<Frame>{{"TALB", "x"}, {"TIT2", ""}}));
  EXPECT_EQ(Build(1, true, nullptr, false), (std::vector<Frame>{{"TALB", "x"}}));
}

TEST_F(BuildTag, EmptyOrFailingTemplatesGiveNoFrame) {
  const auto list = BuildID3TagList({true,
                                     {"!TIT2!;!!", "!TALB!;!%ATitle!", "!TPE1!;!%Foo%!",
                                      "!TXXX.x!;!%Foo,,'s'%!", "!TPE2!;!fixed!"}});
  EXPECT_EQ(Build(1, false, list.get()), (std::vector<Frame>{{"TPE2", "fixed"}}));
}

} // namespace
