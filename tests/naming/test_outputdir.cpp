// Output directory names (template or input directory, always inside the output home) and the
// creation of the directory, numbered when it exists.
#include "macros/test_support.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/outputdir.h"
#include "naming_test_support.h"

#include <QFileInfo>

namespace {

constexpr char16_t FullStop = u'\uFF0E';

struct SafeCase {
  const char16_t *name;
  QStringList expected;
};

void PrintTo(const SafeCase &c, std::ostream *os) {
  *os << Q(c.name).toStdString();
}

class SafeDirName : public testing::TestWithParam<SafeCase> {};

TEST_P(SafeDirName, StaysRelativeAndBelow) {
  EXPECT_EQ(MakeSafeDirName(Q(GetParam().name)), Joined(GetParam().expected));
}

const QString Dots2 = QString(2, FullStop);
const QString Dots1 = QString(1, FullStop);

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeDirName,
    testing::Values(SafeCase{u"../../x", {Dots2, Dots2, "x"}},
                    SafeCase{u"..\\..\\x", {Dots2, Dots2, "x"}},
                    SafeCase{u"a/../../b", {"a", Dots2, Dots2, "b"}},
                    SafeCase{u"a/./b", {"a", Dots1, "b"}}, SafeCase{u".", {Dots1}},
                    SafeCase{u"/etc/x", {"etc", "x"}}, SafeCase{u"\\\\server\\x", {"server", "x"}},
                    SafeCase{u"a//b/", {"a", "b"}}, SafeCase{u"...", {"..."}},
                    SafeCase{u".. ", {".. "}}, SafeCase{u".hidden", {".hidden"}},
                    SafeCase{u"a\tb\nc", {"a b c"}}, SafeCase{u"", {}}, SafeCase{u"/", {}},
                    SafeCase{u"Artist - 2001 - Album", {"Artist - 2001 - Album"}}));

class OutputDirName : public testing::Test {
protected:
  OutputDirName() {
    album.Album.SetText(u"APerformer"_qs, u"Artist"_qs, true);
    album.Album.SetText(u"ATitle"_qs, u"Album"_qs, true);
    album.AddTrack();
  }

  TDirNameSettings Template(const QString &tmpl) const {
    TDirNameSettings s;
    s.OutputMP3DirSelection = 1;
    s.OutputMP3DirName = tmpl;
    return s;
  }

  TTestAlbum album;
};

TEST_F(OutputDirName, DefaultTemplate) {
  const TDirNameSettings s = Template(str::_env_default_MP3DirName);
  EXPECT_EQ(MakeOutputDirName(u"in"_qs, album.AlbumScope(), s), u"Artist - Album"_qs);
  album.Album.SetText(u"ADate"_qs, u"2001"_qs, true);
  EXPECT_EQ(MakeOutputDirName(u"in"_qs, album.AlbumScope(), s), u"Artist - 2001 - Album"_qs);
}

TEST_F(OutputDirName, TemplateFailureAndEmptyExpansion) {
  EXPECT_EQ(MakeOutputDirName(u"in"_qs, album.AlbumScope(), Template(u"%ATitle"_qs)),
            str::_txt_UnknownDirName);
  EXPECT_EQ(MakeOutputDirName(u"in"_qs, album.AlbumScope(), Template(u"%Foo%"_qs)), QString());
}

TEST_F(OutputDirName, TemplateSeparatorsMakeNestedDirectories) {
  EXPECT_EQ(
      MakeOutputDirName(QString(), album.AlbumScope(), Template(u"%APerformer%\\%ATitle%"_qs)),
      Joined({"Artist", "Album"}));
}

TEST_F(OutputDirName, InputDirectory) {
  TDirNameSettings s;
  EXPECT_EQ(MakeOutputDirName(QString(), album.AlbumScope(), s), QString());
  EXPECT_EQ(MakeOutputDirName(u"Artist\\[EAC] Album"_qs, album.AlbumScope(), s),
            Joined({"Artist", "[EAC] Album"}));
  s.MP3DirNameReplace = true;
  s.DirNameReplaceInfo = {"^[EAC]=[MP3]"};
  EXPECT_EQ(MakeOutputDirName(u"Artist/[EAC] Album"_qs, album.AlbumScope(), s),
            Joined({"Artist", "[MP3] Album"}));
  // A rule cannot lead out either.
  s.DirNameReplaceInfo = {"^Disc^=.."};
  EXPECT_EQ(MakeOutputDirName(u"A/Disc"_qs, album.AlbumScope(), s), Joined({"A", Dots2}));
}

// Hostile album values never lead outside the output home, whatever the template.
TEST_F(OutputDirName, HostileValuesStayInsideTheOutputHome) {
  const char16_t *titles[] = {u"../../x", u"..", u".", u"/tmp/x", u"\\..\\..\\x", u"a/../../../b"};
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString home = root.filePath(u"home"_qs);
  ASSERT_TRUE(QDir().mkpath(home));
  const QString homeCanonical = QFileInfo(home).canonicalFilePath() + u'/';
  for (const QString &tmpl : {u"%ATitle%"_qs, str::_env_default_MP3DirName}) {
    for (const char16_t *title : titles) {
      TTestAlbum hostile;
      hostile.Album.SetText(u"ATitle"_qs, Q(title), true);
      hostile.Album.SetText(u"APerformer"_qs, Q(title), true);
      const QString name = MakeOutputDirName(QString(), hostile.AlbumScope(), Template(tmpl));
      const TOutputDir dir = MakeOutputDir(home, name, true);
      const QString made = QFileInfo(dir.Path).canonicalFilePath();
      EXPECT_TRUE(made.startsWith(homeCanonical))
          << "title " << Q(title).toStdString() << " gave " << made.toStdString();
    }
  }
  EXPECT_FALSE(QFileInfo::exists(root.filePath(u"x"_qs)));
  const QString plain = MakeOutputDirName(QString(), album.AlbumScope(), Template(u"%ATitle%"_qs));
  EXPECT_EQ(plain, u"Album"_qs);
}

class OutputDirCreation : public testing::Test {
protected:
  OutputDirCreation() { home = root.path(); }
  QString At(const QString &name) const { return home + QDir::separator() + name; }

  QTemporaryDir root;
  QString home;
};

TEST_F(OutputDirCreation, MakesAMissingDirectoryWithItsParents) {
  const TOutputDir dir = MakeOutputDir(home, Joined({"a", "b", "c"}), true);
  EXPECT_EQ(dir.Path, At(Joined({"a", "b", "c"})));
  EXPECT_TRUE(dir.Created);
  EXPECT_TRUE(QFileInfo(dir.Path).isDir());
}

TEST_F(OutputDirCreation, NumbersAnExistingDirectory) {
  ASSERT_TRUE(QDir().mkpath(At(u"Album"_qs)));
  TOutputDir dir = MakeOutputDir(home, u"Album"_qs, true);
  EXPECT_EQ(dir.Path, At(u"Album(1)"_qs));
  EXPECT_TRUE(dir.Created);
  dir = MakeOutputDir(home, u"Album"_qs, true);
  EXPECT_EQ(dir.Path, At(u"Album(2)"_qs));
  EXPECT_TRUE(QFileInfo(dir.Path).isDir());
}

TEST_F(OutputDirCreation, ReusesAnExistingDirectoryWhenNumberingIsOff) {
  ASSERT_TRUE(QDir().mkpath(At(u"Album"_qs)));
  Touch(At(u"Album/keep.mp3"_qs));
  const TOutputDir dir = MakeOutputDir(home, u"Album"_qs, false);
  EXPECT_EQ(dir.Path, At(u"Album"_qs));
  EXPECT_FALSE(dir.Created);
  EXPECT_TRUE(QFileInfo::exists(At(u"Album/keep.mp3"_qs)));
}

TEST_F(OutputDirCreation, EmptyNameNumbersTheHomeItself) {
  const TOutputDir dir = MakeOutputDir(home, QString(), true);
  EXPECT_EQ(dir.Path, home + QDir::separator() + u"(1)"_qs);
  EXPECT_TRUE(QFileInfo(dir.Path).isDir());
  EXPECT_FALSE(MakeOutputDir(home, QString(), false).Created);
}

TEST_F(OutputDirCreation, AFileInTheWay) {
  Touch(At(u"Album"_qs));
  EXPECT_EQ(MakeOutputDir(home, u"Album"_qs, true).Path, At(u"Album(1)"_qs));
  try {
    MakeOutputDir(home, u"Album"_qs, false);
    FAIL() << "no error";
  } catch (const TError &e) {
    EXPECT_EQ(e.Message, str::Format(str::_err_s_MakeCreateDirError, {At(u"Album"_qs)}));
  }
  EXPECT_THROW(MakeOutputDir(home, Joined({"Album", "sub"}), true), TError);
}

TEST_F(OutputDirCreation, EmptyHomeIsRefused) {
  EXPECT_THROW(MakeOutputDir(QString(), u"x"_qs, true), TError);
}

} // namespace
