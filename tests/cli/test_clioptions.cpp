// The command line of quarrow-cli: the main window's slash options, their GNU-style forms, the
// first of each kind winning, and the errors that end in a usage message.
#include "cli/clioptions.h"
#include "messages/format.h"
#include "messages/str.h"

#include <gtest/gtest.h>

TEST(CliOptions, SlashAndGnuFormsMeanTheSame) {
  struct Case {
    QStringList args;
    QString dir, file;
    bool dirFirst;
    QChar store;
    QString ini, outputHome, lame;
  } cases[] = {
      {{"/D:/music", "/PU"}, "/music", {}, true, u'U', {}, {}, {}},
      {{"--dir", "/music", "--store", "u"}, "/music", {}, true, u'U', {}, {}, {}},
      {{"--dir=/music", "--store=R"}, "/music", {}, true, u'R', {}, {}, {}},
      {{"/F:a.cue", "/D:/x"}, "/x", "a.cue", false, {}, {}, {}, {}},
      {{"/D:/x", "--file", "a.cue"}, "/x", "a.cue", true, {}, {}, {}, {}},
      // Only the first of each kind counts; an empty /D: is ignored; /A is implied.
      {{"/D:", "/D:/first", "/D:/second", "/PC", "/PR", "/A"},
       "/first",
       {},
       true,
       u'C',
       {},
       {},
       {}},
      {{"--ini", "q.ini", "--output-home", "/out", "--lame=/usr/bin/lame", "--lame", "/other"},
       {},
       {},
       false,
       {},
       "q.ini",
       "/out",
       "/usr/bin/lame"},
      // /P with another third letter, and /a in lower case, are not options of the main window
      // either; here they are refused below, not silently taken.
  };
  for (const Case &c : cases) {
    TCliOptions o;
    QString error;
    ASSERT_TRUE(ParseCliOptions(c.args, o, error)) << c.args.join(u' ').toStdString();
    EXPECT_EQ(o.Dir, c.dir);
    EXPECT_EQ(o.File, c.file);
    if (!c.dir.isEmpty() && !c.file.isEmpty()) {
      EXPECT_EQ(o.DirFirst, c.dirFirst);
    }
    EXPECT_EQ(o.Store, c.store);
    EXPECT_EQ(o.IniFile, c.ini);
    EXPECT_EQ(o.OutputHome, c.outputHome);
    EXPECT_EQ(o.LamePath, c.lame);
    EXPECT_FALSE(o.Help);
  }
}

TEST(CliOptions, ErrorsNameTheirOption) {
  struct Case {
    QStringList args;
    QString error;
  } cases[] = {
      {{"/X"}, str::Format(str::_msg_s_CliUnknownOption, {"/X"})},
      {{"/a"}, str::Format(str::_msg_s_CliUnknownOption, {"/a"})},
      {{"/PX"}, str::Format(str::_msg_s_CliUnknownOption, {"/PX"})},
      {{"music"}, str::Format(str::_msg_s_CliUnknownOption, {"music"})},
      {{"--dir"}, str::Format(str::_msg_s_CliMissingValue, {"--dir"})},
      {{"--store", "x"}, str::Format(str::_msg_s_CliBadStore, {"x"})},
  };
  for (const Case &c : cases) {
    TCliOptions o;
    QString error;
    EXPECT_FALSE(ParseCliOptions(c.args, o, error)) << c.args.join(u' ').toStdString();
    EXPECT_EQ(error, c.error);
  }
  TCliOptions o;
  QString error;
  EXPECT_TRUE(ParseCliOptions({"--help"}, o, error));
  EXPECT_TRUE(o.Help);
}
