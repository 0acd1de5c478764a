// Level codes, the CLList text and the LAME option texts built from the settings.
#include "settings/levels.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

struct TEncodeCase {
  int Type, Value, Quality;
  LevelCode Code;
};

TEST(settings_level_code, EncodeAndDecodeAgree) {
  const TEncodeCase cases[] = {{1, 13, 3, 16973837},
                               {3, 3, 3, 50528259},
                               {2, 96, 3, 33751136},
                               {0, 0, 0, 0},
                               {1, 0, 9, 0x01090000},
                               {2, 8, 0, 0x02000008},
                               {2, 320, 0, 0x02000140},
                               {3, 10, 0, 0x0300000A},
                               // invalid combinations
                               {0, 1, 0, -1},
                               {0, 0, 1, -1},
                               {1, 14, 3, -1},
                               {2, 7, 3, -1},
                               {2, 321, 3, -1},
                               {3, 11, 3, -1},
                               {1, 13, 10, -1},
                               {4, 0, 0, -1},
                               {1, -1, 3, -1},
                               {1, 1, -1, -1},
                               {-1, 0, 0, -1}};
  for (const TEncodeCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Type << "/" << c.Value << "/" << c.Quality);
    EXPECT_EQ(EncodeLevelCode(c.Type, c.Value, c.Quality), c.Code);
    if (c.Code == -1)
      continue;
    int type = -2, value = -2, quality = -2;
    EXPECT_TRUE(DecodeLevelCode(c.Code, type, value, quality));
    EXPECT_EQ(type, c.Type);
    EXPECT_EQ(value, c.Value);
    EXPECT_EQ(quality, c.Quality);
  }
}

TEST(settings_level_code, DecodeRejectsWhatEncodeWouldNotMake) {
  int type, value, quality;
  EXPECT_FALSE(DecodeLevelCode(0x010A000D, type, value, quality)); // quality 10
  EXPECT_EQ(quality, 10);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(value, 13);
  EXPECT_FALSE(DecodeLevelCode(0x00000001, type, value, quality)); // type 0 with a value
  EXPECT_FALSE(DecodeLevelCode(-1, type, value, quality));
  EXPECT_EQ(type, 255); // the type is read unsigned
  EXPECT_FALSE(DecodeLevelCode(0x0403000D, type, value, quality));
}

TEST(settings_level_code, OptionTexts) {
  const std::pair<LevelCode, const char *> cases[] = {
      {16973837, "--cbr -b 320 -q 3"},
      {50528259, "-V 3 -q 3"},
      {33751136, "--abr 96 -q 3"},
      {0x01000000, "--cbr -b 32 -q 0"},
      {0x0309000A, "-V 10 -q 9"},
      {0x010A000D, ""}, // quality 10
      {0, ""},
      {0x0100000E, ""}, // CBR index 14
      {0x02000007, ""},
      {0x0300000B, ""},
      {-1, ""},
  };
  for (const auto &[code, text] : cases)
    EXPECT_EQ(LevelCodeToOptions(code), QString::fromUtf8(text)) << code;
}

TEST(settings_level_list, DefaultText) {
  TLevelTable table;
  ParseLevelList(5, QStringLiteral("!16973837!;;!50528259!;;!33751136!"), table);
  const TLevelTable expected = {{QStringLiteral("--cbr -b 320 -q 3"), 16973837},
                                {QString(), -1},
                                {QStringLiteral("-V 3 -q 3"), 50528259},
                                {QString(), -1},
                                {QStringLiteral("--abr 96 -q 3"), 33751136}};
  EXPECT_EQ(table, expected);
  EXPECT_EQ(FormatLevelList(table), QStringLiteral("!16973837!;;!50528259!;;!33751136!"));
}

struct TFieldCase {
  const char *Field; // the first field of a CLList text
  const char *Text;
  LevelCode Value;
};

TEST(settings_level_list, OneField) {
  const TFieldCase cases[] = {
      {"!0!", "", -1},
      {"!-1!", "", -1},
      {"!$!", "", -1},
      {"$", "", -1},
      {"!$--preset extreme!", "--preset extreme", 0},
      {"$--preset extreme", "--preset extreme", 0},
      {"!$say !!hi!!!", "say !hi!", 0},
      {"!17432589!", "", -1}, // 0x010A000D: quality 10
      {"!abc!", "", -1},
      {"! 16973837!", "", -1},
      {"!0x0103000D!", "", -1},
      {"!99999999999!", "", -1},
      {"16973837", "--cbr -b 320 -q 3", 16973837},
      {"!16973837!x", "", -1}, // text after the closing mark spoils the number
      {"!16973837", "", -1},   // never closed: swallows the rest
      {"!!", "", -1},
  };
  for (const TFieldCase &c : cases) {
    TLevelTable table;
    ParseLevelList(5, QString::fromUtf8(c.Field) + QStringLiteral(";!50528259!"), table);
    ASSERT_EQ(table.size(), 5);
    EXPECT_EQ(table[0].Text, QString::fromUtf8(c.Text)) << c.Field;
    EXPECT_EQ(table[0].Value, c.Value) << c.Field;
    const bool swallowed = QByteArray(c.Field) == "!16973837";
    EXPECT_EQ(table[1].Value, swallowed ? -1 : 50528259) << c.Field;
  }
}

TEST(settings_level_list, FieldCountAlwaysMatchesTheCount) {
  const std::pair<const char *, QList<LevelCode>> cases[] = {
      {"", {-1, -1, -1, -1, -1}},
      {"!16973837!", {16973837, -1, -1, -1, -1}},
      {"!16973837!;", {16973837, -1, -1, -1, -1}},
      {";;;;;;;!16973837!", {-1, -1, -1, -1, -1}},
      {"!16973837!;!16973837!;!16973837!;!16973837!;!16973837!;!50528259!",
       {16973837, 16973837, 16973837, 16973837, 16973837}},
  };
  for (const auto &[text, values] : cases) {
    TLevelTable table;
    table.append({QStringLiteral("old"), 7});
    ParseLevelList(5, QString::fromUtf8(text), table);
    QList<LevelCode> got;
    for (const TLevelEntry &entry : table)
      got << entry.Value;
    EXPECT_EQ(got, values) << text;
  }
}

TEST(settings_level_list, FormatQuotesCustomTextsAndLeavesUndefinedEmpty) {
  TLevelTable undefined(5);
  EXPECT_EQ(FormatLevelList(undefined), QStringLiteral(";;;;"));

  const TLevelTable table = {{QStringLiteral("a!b;c"), 0},
                             {QString(), 0}, // custom without text: nothing to keep
                             {QStringLiteral("-V 3 -q 3"), 50528259},
                             {QStringLiteral("ignored"), -1},
                             {QStringLiteral("--abr 96 -q 3"), 33751136}};
  const QString text = FormatLevelList(table);
  EXPECT_EQ(text, QStringLiteral("!$a!!b;c!;;!50528259!;;!33751136!"));
  TLevelTable back;
  ParseLevelList(5, text, back);
  EXPECT_EQ(back[0], (TLevelEntry{QStringLiteral("a!b;c"), 0}));
  EXPECT_EQ(back[1].Value, -1);
  EXPECT_EQ(back[2], table[2]);
  EXPECT_EQ(back[3].Value, -1);
  EXPECT_EQ(back[4], table[4]);
}

TEST(settings_level_list, LevelByName) {
  const std::pair<const char *, int> cases[] = {
      {"medium", 3}, {"cl5", 5}, {"CL6", 0}, {"", 0},     {"CL1", 1}, {"HIGH", 1},
      {"Low", 5},    {"cl2", 2}, {"CL4", 4}, {" CL1", 0}, {"CL", 0},  {"Medium ", 0}};
  for (const auto &[name, level] : cases)
    EXPECT_EQ(TSettings::LevelByName(QString::fromUtf8(name)), level) << name;
}

// Option texts from a settings object loaded from an empty store.
class settings_level_options : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    settings_ = std::make_unique<TSettings>(dir_.filePath(QStringLiteral("quarrow")));
    settings_->Load();
  }
  TSettings &S() { return *settings_; }

  QTemporaryDir dir_;
  std::unique_ptr<TSettings> settings_;
};

TEST_F(settings_level_options, Defaults) {
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral("-V 1 -q 3 -S --noreplaygain"));
  EXPECT_EQ(S().OptionsForLevel(1, true), QStringLiteral("--cbr -b 320 -q 3 -S --noreplaygain"));
  EXPECT_EQ(S().OptionsForLevel(2, true), QString());
  EXPECT_EQ(S().OptionsForLevel(2, false), QStringLiteral("-V 1 -q 3 -S --noreplaygain"));
  EXPECT_EQ(S().OptionsForLevel(0, true), QString());
  EXPECT_EQ(S().OptionsForLevel(6, true), QString());
  EXPECT_EQ(S().OptionsForLevel(6, false), S().CurrentOptions());
  const std::pair<int, LevelCode> codes[] = {{0, -1}, {1, 16973837}, {2, -1}, {3, 50528259},
                                             {4, -1}, {5, 33751136}, {6, -1}, {-1, -1}};
  for (const auto &[n, code] : codes)
    EXPECT_EQ(S().LevelCodeOf(n), code) << n;
}

TEST_F(settings_level_options, BoundsComeAfterTheQualityOfALevelAndBeforeItInTheCurrentOptions) {
  S().UseVBRLB = true;
  S().VBRLB = 64;
  EXPECT_EQ(S().OptionsForLevel(5, true), QStringLiteral("--abr 96 -q 3 -b 64 -S --noreplaygain"));
  EXPECT_EQ(S().OptionsForLevel(3, true), QStringLiteral("-V 3 -q 3 -b 64 -S --noreplaygain"));
  EXPECT_EQ(S().OptionsForLevel(1, true), QStringLiteral("--cbr -b 320 -q 3 -S --noreplaygain"));
  S().CompressType = 1;
  S().ABRBitRate = 96;
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral("--abr 96 -b 64 -q 3 -S --noreplaygain"));
  S().CompressType = 0;
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral("--cbr -b 128 -q 3 -S --noreplaygain"));
}

TEST_F(settings_level_options, Bounds) {
  EXPECT_EQ(S().BoundOptions(), QString());
  S().UseVBRUB = true;
  S().VBRUB = 256;
  EXPECT_EQ(S().BoundOptions(), QStringLiteral("-B 256"));
  S().UseVBRLB = true;
  S().VBRLB = 64;
  EXPECT_EQ(S().BoundOptions(), QStringLiteral("-b 64 -B 256"));
  S().CompressType = 2;
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral("-V 1 -b 64 -B 256 -q 3 -S --noreplaygain"));
}

TEST_F(settings_level_options, CustomTextsAndEmptyAdditionalOptions) {
  S().CompressType = 3;
  S().CustomOptions.clear();
  S().UseOtherOption1 = false;
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral(" -q 3"));
  S().UseOtherOption1 = true;
  S().OtherOption1.clear();
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral(" -q 3 "));
  S().UseOtherOption2 = true;
  S().OtherOption2 = QStringLiteral("--tt x");
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral(" -q 3  --tt x"));
  EXPECT_EQ(S().OptionsForLevel(1, true), QStringLiteral("--cbr -b 320 -q 3 --tt x"));

  // A custom level keeps its text: no quality, no bounds.
  S().UseVBRLB = true;
  S().VBRLB = 64;
  ParseLevelList(5, QStringLiteral("!$--preset extreme!"), S().LevelTable);
  EXPECT_EQ(S().LevelCodeOf(1), 0);
  EXPECT_EQ(S().OptionsForLevel(1, true), QStringLiteral("--preset extreme --tt x"));
  S().CompressType = 7;
  EXPECT_EQ(S().CurrentOptions(), QStringLiteral(" -q 3  --tt x"));
}

TEST_F(settings_level_options, CBRPresetOutsideTheTableIsClamped) {
  S().CompressType = 0;
  const std::pair<int, const char *> cases[] = {
      {0, "--cbr -b 32"}, {13, "--cbr -b 320"}, {14, "--cbr -b 320"}, {-3, "--cbr -b 32"}};
  for (const auto &[preset, text] : cases) {
    S().CBRPreset = preset;
    EXPECT_EQ(S().CurrentOptions(),
              QString::fromUtf8(text) + QStringLiteral(" -q 3 -S --noreplaygain"))
        << preset;
  }
}

} // namespace
