// ID3 tag settings files: import rules, export into new and existing files.
#include "settings/tagsettingsfile.h"
#include "testfiles.h"

#include "messages/error.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class settings_tag_file : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }

  // What the page held before an import.
  static TTagSettings Previous() {
    TTagSettings page;
    page.UseTagInfo = false;
    page.TagVerMJ = 4;
    page.TagVerMNV23 = 9;
    page.TagVerMNV24 = 8;
    page.TagTextCodeV23 = 2;
    page.TagTextCodeV24 = 3;
    page.TagPadSize = 10;
    page.TagTermNull = true;
    page.TagList = {QStringLiteral("!TALB!;!old!")};
    return page;
  }
  TTagSettings Import(const QByteArray &text) {
    WriteRaw(Path("in.i3t"), text);
    TTagSettings page = Previous();
    ImportTagSettings(Path("in.i3t"), page);
    return page;
  }

  QTemporaryDir dir_;
};

TEST_F(settings_tag_file, TagSectionWithoutTagListEmptiesTheList) {
  const TTagSettings page = Import("[Tag]\nUseTagInfo=1\nTagVerMJ=3\nTagTermNull=0\n");
  EXPECT_TRUE(page.UseTagInfo);
  EXPECT_EQ(page.TagVerMJ, 3);
  EXPECT_FALSE(page.TagTermNull);
  EXPECT_TRUE(page.TagList.isEmpty());
  EXPECT_TRUE(Import("[Tag]\nUseTagInfo=1\n[TagList]\n").TagList.isEmpty());
}

TEST_F(settings_tag_file, ImportRangeRules) {
  struct TCase {
    const char *Tag; // the [Tag] lines
    std::function<void(const TTagSettings &)> Check;
  };
  const TCase cases[] = {
      {"TagVerMNV23=300\nTagVerMNV24=-1\n",
       [](const TTagSettings &p) {
         EXPECT_EQ(p.TagVerMNV23, 9);
         EXPECT_EQ(p.TagVerMNV24, 8);
       }},
      {"TagVerMNV23=254\nTagVerMNV24=0\n",
       [](const TTagSettings &p) {
         EXPECT_EQ(p.TagVerMNV23, 254);
         EXPECT_EQ(p.TagVerMNV24, 0);
       }},
      {"TagTextCodeV24=7\nTagTextCodeV23=3\n",
       [](const TTagSettings &p) {
         EXPECT_EQ(p.TagTextCodeV24, 1);
         EXPECT_EQ(p.TagTextCodeV23, 1);
       }},
      {"TagTextCodeV24=3\nTagTextCodeV23=-1\n",
       [](const TTagSettings &p) {
         EXPECT_EQ(p.TagTextCodeV24, 3);
         EXPECT_EQ(p.TagTextCodeV23, 1);
       }},
      {"TagPadSize=5000\n", [](const TTagSettings &p) { EXPECT_EQ(p.TagPadSize, 4096); }},
      {"TagPadSize=-5\n", [](const TTagSettings &p) { EXPECT_EQ(p.TagPadSize, 0); }},
      {"TagVerMJ=4\n", [](const TTagSettings &p) { EXPECT_EQ(p.TagVerMJ, 4); }},
      {"TagVerMJ=260\n", [](const TTagSettings &p) { EXPECT_EQ(p.TagVerMJ, 3); }},
      // Missing keys take the file defaults, not the page's previous values.
      {"",
       [](const TTagSettings &p) {
         EXPECT_TRUE(p.UseTagInfo);
         EXPECT_EQ(p.TagVerMJ, 3);
         EXPECT_EQ(p.TagVerMNV23, 0);
         EXPECT_EQ(p.TagTextCodeV23, 1);
         EXPECT_EQ(p.TagTextCodeV24, 1);
         EXPECT_EQ(p.TagPadSize, 256);
         EXPECT_FALSE(p.TagTermNull);
       }},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Tag);
    c.Check(Import(QByteArray("[Tag]\n") + c.Tag + "[TagList]\nItem0=!TIT2!;!x!\n"));
  }
}

TEST_F(settings_tag_file, ImportReadsTheListUpToItsEntryCount) {
  const TTagSettings page =
      Import("[TagList]\nItem0=!TALB!;!a!\nItem2=!TIT2!;!c!\nItem1=not a definition\n");
  EXPECT_EQ(page.TagList,
            (QStringList{QStringLiteral("!TALB!;!a!"), QStringLiteral("not a definition"),
                         QStringLiteral("!TIT2!;!c!")}));
}

TEST_F(settings_tag_file, ExportThenImportGivesTheSamePage) {
  TTagSettings page = Previous();
  page.TagVerMNV23 = 254;
  page.TagList = {QStringLiteral("!@TRCK!;!%TrackNO%!"), QStringLiteral("!TIT2!;! lead!"),
                  QStringLiteral("!COMM.eng!;!ｺﾒﾝﾄ \"q\"!")};
  ExportTagSettings(Path("out.i3t"), page);
  const QByteArray text = ReadAll(Path("out.i3t"));
  EXPECT_FALSE(text.contains("TagNoEmptyTag"));
  TTagSettings back;
  ImportTagSettings(Path("out.i3t"), back);
  EXPECT_EQ(back, page);
}

TEST_F(settings_tag_file, ExportOntoTheSettingsFileReplacesOnlyTagAndTagList) {
  const QString ini = Path("quarrow.ini");
  {
    TSettings settings(Path("quarrow"));
    settings.Load();
    settings.TagNoEmptyTag = true;
    settings.Quality = 7;
    settings.Save();
  }
  WriteRaw(ini, ReadAll(ini) + "\n[Foreign]\nKey=kept\n");
  TTagSettings page;
  page.TagVerMJ = 4;
  page.TagPadSize = 1000;
  page.TagList = {QStringLiteral("!TIT2!;!only!")};
  ExportTagSettings(ini, page);
  EXPECT_TRUE(ReadAll(ini).contains("[Foreign]\nKey=kept\n"));

  TSettings settings(Path("quarrow"));
  settings.Load();
  EXPECT_EQ(settings.TagVerMJ, 4);
  EXPECT_EQ(settings.TagPadSize, 1000);
  EXPECT_TRUE(settings.TagNoEmptyTag) << "the export must not touch TagNoEmptyTag";
  EXPECT_EQ(settings.Quality, 7);
  EXPECT_EQ(settings.TagList, QStringList{QStringLiteral("!TIT2!;!only!")});

  // And the settings file imports as a tag settings file.
  TTagSettings imported;
  ImportTagSettings(ini, imported);
  EXPECT_EQ(imported, page);
}

TEST_F(settings_tag_file, MissingOrUnreadableFilesRaiseAndChangeNothing) {
  TTagSettings page = Previous();
  EXPECT_THROW(ImportTagSettings(Path("missing.i3t"), page), TError);
  EXPECT_EQ(page, Previous());
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("dir.i3t/x")));
  EXPECT_THROW(ImportTagSettings(Path("dir.i3t"), page), TError);
  EXPECT_EQ(page, Previous());
  EXPECT_THROW(ExportTagSettings(Path("dir.i3t"), page), TError);
  EXPECT_THROW(ExportTagSettings(Path("no/such/dir.i3t"), page), TError);
}

} // namespace
