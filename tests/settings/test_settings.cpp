// The settings object: defaults, choosing the store, loading and saving every field.
#include "settings/settings.h"
#include "testfiles.h"

#include "messages/error.h"
#include "messages/str.h"
#include "settings/atomicfile.h"
#include "settings/lamepath.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <future>
#include <thread>
#include <unistd.h>

namespace {

// Every persisted field, for comparing two settings objects field by field.
#define QRW_PERSISTED_FIELDS(X)                                                                    \
  X(UseCueMacro)                                                                                   \
  X(UseCueID3Tag)                                                                                  \
  X(UseCueOptions)                                                                                 \
  X(SetHomeOnSingleDirDrag)                                                                        \
  X(ShowMenu)                                                                                      \
  X(CheckCRC)                                                                                      \
  X(CRCType) X(CRCCaption) X(CompressType) X(CBRPreset) X(VBRLevel) X(ABRBitRate) X(Quality)       \
      X(UseVBRLB) X(VBRLB) X(UseVBRUB) X(VBRUB) X(CLList) X(LamePath) X(CustomOptions)             \
          X(OtherOption1) X(OtherOption2) X(UseOtherOption1) X(UseOtherOption2) X(TagVerMJ)        \
              X(TagVerMNV23) X(TagVerMNV24) X(TagTextCodeV23) X(TagTextCodeV24) X(TagPadSize)      \
                  X(UseTagInfo) X(TagTermNull) X(TagNoEmptyTag) X(OutputHomeDirSelection)          \
                      X(OutputHomeDirName) X(OutputMP3DirSelection) X(AddSuffixOnExistDir)         \
                          X(MP3DirNameReplace) X(OutputMP3DirName) X(OutputFileName)               \
                              X(AddSuffixOnExistFile) X(CharMap) X(LogCueSentence)                 \
                                  X(LogCueMacroDef) X(LogCueID3TagDef) X(LogCueOptionDef)          \
                                      X(LogCmdLine) X(LogID3Tag) X(LogAutoExpand) X(LogAutoSave)   \
                                          X(LogDirName) X(UseACC) X(AccMatchAsText) X(TagList)     \
                                              X(DirNameReplaceInfo) X(ACCInfo) X(CSWidth)          \
                                                  X(CSHeight) X(CSTop) X(CSLeft)

void ExpectSameFields(const TSettings &a, const TSettings &b) {
#define QRW_EXPECT_FIELD(name) EXPECT_EQ(a.name, b.name) << #name;
  QRW_PERSISTED_FIELDS(QRW_EXPECT_FIELD)
#undef QRW_EXPECT_FIELD
  EXPECT_EQ(a.LevelTable, b.LevelTable);
}

// Sets an environment variable for the life of the object.
class TScopedEnv {
public:
  TScopedEnv(const char *name, const QByteArray &value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~TScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
  const char *name_;
  bool had_;
  QByteArray old_;
};

class settings_object : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const QString &name) const { return dir_.filePath(name); }
  QString ProgramPath() const { return Path(QStringLiteral("quarrow")); }
  QString IniPath() const { return Path(QStringLiteral("quarrow.ini")); }
  std::unique_ptr<TSettings> Make() const { return std::make_unique<TSettings>(ProgramPath()); }
  // A settings object loaded from INI text beside the program.
  std::unique_ptr<TSettings> LoadFrom(const QByteArray &text, TWindowGeometry *window = nullptr) {
    WriteRaw(IniPath(), text);
    auto settings = Make();
    settings->Load(window);
    return settings;
  }

  QTemporaryDir dir_;
};

TEST_F(settings_object, FirstStartGivesEveryDefault) {
  auto s = Make();
  TWindowGeometry window{800, 600, 10, 20};
  s->Load(&window);

  EXPECT_EQ(s->SettingsPath, IniPath());
  EXPECT_FALSE(s->UseRegistry);
  EXPECT_EQ(s->DialogPage, 0);
  EXPECT_EQ(s->LevelCount, 5);
  for (bool flag :
       {s->UseCueMacro,     s->UseCueID3Tag,   s->UseCueOptions,   s->SetHomeOnSingleDirDrag,
        s->ShowMenu,        s->CheckCRC,       s->UseVBRLB,        s->UseVBRUB,
        s->UseOtherOption2, s->TagTermNull,    s->TagNoEmptyTag,   s->MP3DirNameReplace,
        s->LogCueSentence,  s->LogCueMacroDef, s->LogCueID3TagDef, s->LogCueOptionDef,
        s->LogCmdLine,      s->LogID3Tag,      s->LogAutoExpand,   s->LogAutoSave,
        s->UseACC,          s->AccMatchAsText})
    EXPECT_FALSE(flag);
  for (bool flag :
       {s->UseOtherOption1, s->UseTagInfo, s->AddSuffixOnExistDir, s->AddSuffixOnExistFile})
    EXPECT_TRUE(flag);
  EXPECT_EQ(s->CRCType, 0);
  EXPECT_EQ(s->CRCCaption, QStringLiteral("Copy CRC;コピーCRC"));
  EXPECT_EQ(s->CompressType, 2);
  EXPECT_EQ(s->CBRPreset, 8);
  EXPECT_EQ(s->VBRLevel, 1);
  EXPECT_EQ(s->ABRBitRate, 128);
  EXPECT_EQ(s->Quality, 3);
  EXPECT_EQ(s->VBRLB, 0);
  EXPECT_EQ(s->VBRUB, 320);
  EXPECT_EQ(s->CLList, QStringLiteral("!16973837!;;!50528259!;;!33751136!"));
  EXPECT_EQ(s->LamePath, FindLamePath());
  EXPECT_EQ(s->CustomOptions, QString());
  EXPECT_EQ(s->OtherOption1, QStringLiteral("-S --noreplaygain"));
  EXPECT_EQ(s->OtherOption2, QString());
  EXPECT_EQ(s->TagVerMJ, 3);
  EXPECT_EQ(s->TagVerMNV23, 0);
  EXPECT_EQ(s->TagVerMNV24, 0);
  EXPECT_EQ(s->TagTextCodeV23, 1);
  EXPECT_EQ(s->TagTextCodeV24, 1);
  EXPECT_EQ(s->TagPadSize, 256);
  EXPECT_EQ(s->OutputHomeDirSelection, 0);
  EXPECT_EQ(s->OutputHomeDirName, QString());
  EXPECT_EQ(s->OutputMP3DirSelection, 0);
  EXPECT_EQ(s->OutputMP3DirName, QStringLiteral("%APerformer%%ADate,\" - \"%%ATitle,\" - \"%"));
  EXPECT_EQ(s->OutputFileName, QStringLiteral("%TrackNo,,,02% %Title%"));
  EXPECT_EQ(s->CharMap, QStringLiteral("￥／：＊？”＜＞｜"));
  EXPECT_EQ(s->LogDirName, QString());
  EXPECT_EQ(s->TagList,
            (QStringList{"!TALB!;!%ATitle%!", "!TPE2!;!%APerformer%!", "!TIT2!;!%Title%!",
                         "!TPE1!;!%Performer%!", "!@TRCK!;!%TrackNO%/%Tracks%!",
                         "!@TYER!;!%YearRel;Date%!", "!@TRDA!;!%Year%!", "!TCON!;!%Genre%!",
                         "!TCOM!;!%Composer%!", "!TPE3!;!%Conductor%!", "!TEXT!;!%Lyricist%!",
                         "!TSRC!;!%ISRC%!", "!@TPOS!;!%DiscNumber%!", "!TXXX.DISCID!;!%DiscID%!",
                         "!COMM.eng!;!%Comment%!"}));
  EXPECT_EQ(s->DirNameReplaceInfo, QStringList{QStringLiteral("^[EAC]=[MP3]")});
  EXPECT_TRUE(s->ACCInfo.isEmpty());
  for (int v : {s->CSWidth, s->CSHeight, s->CSTop, s->CSLeft})
    EXPECT_EQ(v, -1);
  QList<LevelCode> codes;
  for (const TLevelEntry &entry : s->LevelTable)
    codes << entry.Value;
  EXPECT_EQ(codes, (QList<LevelCode>{16973837, -1, 50528259, -1, 33751136}));
  EXPECT_EQ(window.Width, 800);
  EXPECT_EQ(window.Height, 600);
  EXPECT_EQ(window.Top, 10);
  EXPECT_EQ(window.Left, 20);
  EXPECT_FALSE(QFileInfo::exists(IniPath())) << "loading wrote the store";

  // The constructor alone holds the same defaults, so a failed load leaves no field unset.
  auto fresh = Make();
  fresh->LamePath = s->LamePath;
  fresh->LevelTable = s->LevelTable;
  ExpectSameFields(*fresh, *s);
}

// Every field away from its default, with the texts that a store finds hard to keep.
void SetUnusualValues(TSettings &s) {
  s.UseCueMacro = s.UseCueID3Tag = s.UseCueOptions = s.SetHomeOnSingleDirDrag = true;
  s.ShowMenu = s.CheckCRC = s.UseVBRLB = s.UseVBRUB = s.UseOtherOption2 = true;
  s.TagTermNull = s.TagNoEmptyTag = s.MP3DirNameReplace = true;
  s.LogCueSentence = s.LogCueMacroDef = s.LogCueID3TagDef = s.LogCueOptionDef = true;
  s.LogCmdLine = s.LogID3Tag = s.LogAutoExpand = s.LogAutoSave = s.UseACC = true;
  s.AccMatchAsText = true;
  s.UseOtherOption1 = s.UseTagInfo = s.AddSuffixOnExistDir = s.AddSuffixOnExistFile = false;
  s.CRCType = 2;
  s.CRCCaption = QStringLiteral(" コピーCRC ;Copy CRC");
  s.CompressType = 3;
  s.CBRPreset = 13;
  s.VBRLevel = 0;
  s.ABRBitRate = 8;
  s.Quality = 9;
  s.VBRLB = 64;
  s.VBRUB = 256;
  s.CLList = QStringLiteral("!$--preset \"x\"!;!16973837!;;;");
  s.LamePath = QStringLiteral("/opt/lame dir/lame");
  s.CustomOptions = QStringLiteral("\"--preset\" ");
  s.OtherOption1 = QStringLiteral("");
  s.OtherOption2 = QStringLiteral("--tt \"a=b\"\t");
  s.TagVerMJ = 4;
  s.TagVerMNV23 = 255;
  s.TagVerMNV24 = 7;
  s.TagTextCodeV23 = 2;
  s.TagTextCodeV24 = 3;
  s.TagPadSize = 4096;
  s.OutputHomeDirSelection = 2;
  s.OutputHomeDirName = QStringLiteral("/home/ユーザ/音楽");
  s.OutputMP3DirSelection = 1;
  s.OutputMP3DirName = QStringLiteral("%APerformer%\\%ATitle%");
  s.OutputFileName = QStringLiteral("[%TrackNo,,,02%] %Title%");
  s.CharMap = QStringLiteral("ａ!ｃ＿－＿＿！｜");
  s.LogDirName = QStringLiteral("; logs");
  s.TagList = {QStringLiteral("!@TRCK!;!%TrackNO%!"), QStringLiteral("!TIT2!;!%Title%!!!"),
               QStringLiteral(""), QStringLiteral("!COMM.eng!;!a=b;c!")};
  s.DirNameReplaceInfo = {QStringLiteral("^[EAC]=[MP3]"), QStringLiteral("[CD]=(CD)"),
                          QStringLiteral("^^x^^=y=z"), QStringLiteral(" pad =  "),
                          QStringLiteral(";semi=\"q\"")};
  s.ACCInfo = {QStringLiteral("rule one"), QStringLiteral("\"rule two\"")};
  s.CSWidth = 640;
  s.CSHeight = 480;
  s.CSTop = -20;
  s.CSLeft = 0;
}

TEST_F(settings_object, SaveThenLoadKeepsEveryField) {
  auto saved = Make();
  saved->Load();
  SetUnusualValues(*saved);
  ParseLevelList(saved->LevelCount, saved->CLList, saved->LevelTable);
  const TWindowGeometry window{1024, 700, -5, 33};
  saved->Save(&window);

  auto loaded = Make();
  TWindowGeometry back{1, 2, 3, 4};
  loaded->Load(&back);
  ExpectSameFields(*saved, *loaded);
  EXPECT_EQ(loaded->LevelTable[0], (TLevelEntry{QStringLiteral("--preset \"x\""), 0}));
  EXPECT_EQ(back.Width, 1024);
  EXPECT_EQ(back.Height, 700);
  EXPECT_EQ(back.Top, -5);
  EXPECT_EQ(back.Left, 33);
  EXPECT_TRUE(ReadAll(IniPath()).contains("Heigth=700"));
}

TEST_F(settings_object, EmptyListsComeBackAsTheirDefaults) {
  auto s = Make();
  s->Load();
  s->TagList.clear();
  s->DirNameReplaceInfo.clear();
  s->ACCInfo.clear();
  s->Save();
  const QByteArray text = ReadAll(IniPath());
  EXPECT_FALSE(text.contains("[TagList]"));
  EXPECT_FALSE(text.contains("[DirNameReplaceInfo]"));
  EXPECT_FALSE(text.contains("[ACCInfo]"));

  auto loaded = Make();
  loaded->Load();
  EXPECT_EQ(loaded->TagList, TSettings::DefaultTagList());
  EXPECT_EQ(loaded->TagList.size(), 15);
  EXPECT_EQ(loaded->DirNameReplaceInfo, QStringList{QStringLiteral("^[EAC]=[MP3]")});
  EXPECT_TRUE(loaded->ACCInfo.isEmpty());
}

struct TStoreCase {
  const char *Name;
  const char *Ini;
  std::function<void(const TSettings &, const TWindowGeometry &)> Check;
};

TEST_F(settings_object, StoredEdgeCases) {
  const QString charMap = QStringLiteral("￥／：＊？”＜＞｜");
  const TStoreCase cases[] = {
      {"empty list sections count as absent", "[TagList]\n[DirNameReplaceInfo]\n[ACCInfo]\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.TagList, TSettings::DefaultTagList());
         EXPECT_EQ(s.DirNameReplaceInfo, TSettings::DefaultDirNameReplaceInfo());
         EXPECT_TRUE(s.ACCInfo.isEmpty());
       }},
      {"an Item gap", "[TagList]\nItem0=!TALB!;!x!\nItem2=!TIT2!;!y!\n[ACCInfo]\nItem1=b\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.TagList, (QStringList{QStringLiteral("!TALB!;!x!"), QString()}));
         EXPECT_EQ(s.ACCInfo, QStringList{QString()});
       }},
      {"rename rules in section order", "[dirnamereplaceinfo]\nb=2\n^[EAC]=\na=1\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.DirNameReplaceInfo, (QStringList{"b=2", "^[EAC]=", "a=1"}));
       }},
      {"CharMap empty", "[Output]\nCharMap=!!\n",
       [&](const TSettings &s, const TWindowGeometry &) { EXPECT_EQ(s.CharMap, charMap); }},
      {"CharMap of eight", "[Output]\nCharMap=!￥／：＊？”＜＞!\n",
       [&](const TSettings &s, const TWindowGeometry &) { EXPECT_EQ(s.CharMap, charMap); }},
      {"CharMap with ?", "[Output]\nCharMap=!￥／：＊?”＜＞｜!\n",
       [&](const TSettings &s, const TWindowGeometry &) { EXPECT_EQ(s.CharMap, charMap); }},
      {"CharMap with a backslash", "[Output]\nCharMap=\\／：＊？”＜＞｜\n",
       [&](const TSettings &s, const TWindowGeometry &) { EXPECT_EQ(s.CharMap, charMap); }},
      {"CharMap unquoted and valid", "[Output]\nCharMap=ａｂｃｄｅｆｇｈｉ\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.CharMap, QStringLiteral("ａｂｃｄｅｆｇｈｉ"));
       }},
      {"TagVerMJ 260 keeps its low byte", "[Tag]\nTagVerMJ=260\nTagVerMNV23=-1\nTagVerMNV24=511\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.TagVerMJ, 4);
         EXPECT_EQ(s.TagVerMNV23, 255);
         EXPECT_EQ(s.TagVerMNV24, 255);
       }},
      {"Height is not the stored key", "[Status]\nWidth=900\nHeight=1\nTop=7\nLeft=8\n",
       [](const TSettings &, const TWindowGeometry &w) {
         EXPECT_EQ(w.Width, 900);
         EXPECT_EQ(w.Height, 600);
         EXPECT_EQ(w.Top, 7);
         EXPECT_EQ(w.Left, 8);
       }},
      {"non-numbers take defaults; ranges are not checked",
       "[Lame]\nQuality=high\nCBRPreset=99\nVBRUB=\nUseVBRLB=yes\n[Tag]\nUseTagInfo=0\n"
       "TagPadSize=-7\n[Status]\nCSWidth=wide\nCSTop=12\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.Quality, 3);
         EXPECT_EQ(s.CBRPreset, 99);
         EXPECT_EQ(s.VBRUB, 320);
         EXPECT_FALSE(s.UseVBRLB);
         EXPECT_FALSE(s.UseTagInfo);
         EXPECT_EQ(s.TagPadSize, -7);
         EXPECT_EQ(s.CSWidth, -1);
         EXPECT_EQ(s.CSTop, 12);
       }},
      {"levels of a stored CLList",
       "[Lame]\nCLList=!17432589!;!$--preset extreme!;!$!;!abc!;!33751136!;!16973837!\n",
       [](const TSettings &s, const TWindowGeometry &) {
         const TLevelTable expected = {{QString(), -1},
                                       {QStringLiteral("--preset extreme"), 0},
                                       {QString(), -1},
                                       {QString(), -1},
                                       {QStringLiteral("--abr 96 -q 3"), 33751136}};
         EXPECT_EQ(s.LevelTable, expected);
       }},
      {"names without regard to case", "[system]\nSHOWMENU=1\n[LAME]\nquality=0\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_TRUE(s.ShowMenu);
         EXPECT_EQ(s.Quality, 0);
       }},
      {"corrupt bytes", "\x01\xFF\xFE[\x80\x81]\n=\n==\n[Lame\x00]\nQuality=\xC3\x28\n",
       [](const TSettings &s, const TWindowGeometry &) {
         EXPECT_EQ(s.Quality, 3);
         EXPECT_EQ(s.TagList.size(), 15);
       }},
  };
  for (const TStoreCase &c : cases) {
    SCOPED_TRACE(c.Name);
    TWindowGeometry window{800, 600, 0, 0};
    const auto settings = LoadFrom(QByteArray(c.Ini), &window);
    c.Check(*settings, window);
  }
}

TEST_F(settings_object, SavingAgainKeepsTheSectionOrder) {
  auto s = Make();
  s->Load();
  const TWindowGeometry window{1, 2, 3, 4};
  s->Save(&window);
  const QByteArray first = ReadAll(IniPath());
  s->Save(&window);
  EXPECT_EQ(ReadAll(IniPath()), first);
  QList<qsizetype> positions;
  for (const char *name : {"[System]", "[Lame]", "[Tag]", "[Output]", "[Log]", "[CCoordinator]",
                           "[TagList]", "[DirNameReplaceInfo]", "[Status]"})
    positions << first.indexOf(name);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()) && positions.front() == 0)
      << first.constData();
}

TEST_F(settings_object, LoadAndSaveTakeTheExclusiveSide) {
  using namespace std::chrono_literals;
  auto s = Make();
  {
    // The close handler's pattern: the shared side held around the save.
    TSettingsReadGuard closing(s->Lock());
    s->Save();
  }
  std::promise<void> reading, done;
  std::thread reader([&] {
    TSettingsReadGuard guard(s->Lock());
    reading.set_value();
    done.get_future().wait();
  });
  reading.get_future().wait();
  auto save = std::async(std::launch::async, [&] { s->Save(); });
  EXPECT_EQ(save.wait_for(100ms), std::future_status::timeout) << "saved while a thread reads";
  done.set_value();
  reader.join();
  EXPECT_EQ(save.wait_for(10s), std::future_status::ready);
  save.get();
  auto load = std::async(std::launch::async, [&] { s->Load(); });
  EXPECT_EQ(load.wait_for(10s), std::future_status::ready);
  load.get();
}

TEST_F(settings_object, SaveKeepsWhatIsNotOurs) {
  WriteRaw(IniPath(), "; hand-made\n[Mine]\nKey=kept\n[Lame]\nQuality=5\nExtra=also kept\n"
                      "[Status]\nWidth=11\nHeigth=12\nTop=13\nLeft=14\n");
  auto s = Make();
  s->Load();
  s->Quality = 6;
  s->Save(); // no window: the stored geometry stays
  const QByteArray text = ReadAll(IniPath());
  EXPECT_TRUE(text.startsWith("; hand-made\n")) << text.constData();
  EXPECT_TRUE(text.contains("[Mine]\nKey=kept\n"));
  EXPECT_TRUE(text.contains("Quality=6\nExtra=also kept\n"));
  EXPECT_TRUE(text.contains("Width=11\nHeigth=12\nTop=13\nLeft=14\n"));
}

ssize_t WriteSomeThenFail(int fd, const void *buffer, size_t count) {
  static thread_local int calls = 0;
  if (++calls % 2 == 1)
    return ::write(fd, buffer, count < 16 ? count : 16);
  errno = ENOSPC;
  return -1;
}

TEST_F(settings_object, SaveFailingPartWayLeavesThePreviousFileIntact) {
  auto s = Make();
  s->Load();
  s->Save();
  const QByteArray before = ReadAll(IniPath());
  ASSERT_FALSE(before.isEmpty());

  s->Quality = 0;
  s->TagList << QStringLiteral("!TIT3!;!x!");
  SetAtomicWriteFunction(&WriteSomeThenFail);
  try {
    s->Save();
    ADD_FAILURE() << "a failed save was reported as success";
  } catch (const TError &error) {
    EXPECT_TRUE(error.Message.startsWith(str::_err_ss_SettingsFileWrite.section(u'(', 0, 0)))
        << error.Message.toStdString();
  }
  SetAtomicWriteFunction(nullptr);
  EXPECT_EQ(ReadAll(IniPath()), before);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("quarrow.ini")});
  // The lock was given back: the next save goes through.
  s->Save();
  EXPECT_NE(ReadAll(IniPath()), before);
}

TEST_F(settings_object, UnreadableStoreIsReportedAndNeverOverwritten) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("quarrow.ini/inside")));
  auto s = Make();
  EXPECT_THROW(s->Load(), TError);
  EXPECT_EQ(s->Quality, 3);
  EXPECT_EQ(s->TagList.size(), 15);
  EXPECT_THROW(s->Save(), TError);
  EXPECT_TRUE(QFileInfo(Path(QStringLiteral("quarrow.ini/inside"))).isDir());
  EXPECT_TRUE(s->Lock().TryBeginWrite()) << "the lock was not given back";
  s->EndWrite();
}

TEST_F(settings_object, StoreBesideTheProgram) {
  auto s = Make();
  s->SettingsPath = QStringLiteral("elsewhere");
  s->SelectStore(u'C');
  EXPECT_EQ(s->SettingsPath, IniPath());
  EXPECT_FALSE(s->UseRegistry);
}

TEST_F(settings_object, PerUserStoreIsMadeAndUsed) {
  TScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(Path(QStringLiteral("config"))));
  auto s = Make();
  QStringList shown;
  s->ShowError = [&](const QString &message) { shown << message; };
  s->SelectStore(u'U');
  const QString expected = Path(QStringLiteral("config/Kelmora/quarrow/quarrow.ini"));
  EXPECT_EQ(s->SettingsPath, expected);
  EXPECT_TRUE(shown.isEmpty());
  EXPECT_TRUE(QFileInfo(Path(QStringLiteral("config/Kelmora/quarrow"))).isDir());
  s->Load();
  s->Quality = 1;
  s->Save();
  EXPECT_TRUE(QFileInfo::exists(expected));
  EXPECT_FALSE(QFileInfo::exists(IniPath()));
}

TEST_F(settings_object, PerUserDirectoryThatCannotBeMadeKeepsTheStoreBesideTheProgram) {
  WriteRaw(Path(QStringLiteral("config")), "a file where the folder should be");
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("config2")));
  WriteRaw(Path(QStringLiteral("config2/Kelmora")), "a file where the folder should be");
  for (const char *home : {"config", "config2"}) {
    SCOPED_TRACE(home);
    TScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(Path(QString::fromUtf8(home))));
    auto s = Make();
    QStringList shown;
    s->ShowError = [&](const QString &message) { shown << message; };
    s->SelectStore(u'U');
    EXPECT_EQ(shown,
              QStringList{QStringLiteral("ユーザの環境設定保存ディレクトリを作成できない。")});
    EXPECT_EQ(s->SettingsPath, IniPath());
    s->Load();
    s->Save();
    EXPECT_TRUE(QFileInfo::exists(IniPath()));
    QFile::remove(IniPath());
  }
}

TEST_F(settings_object, RegistryStoreKeepsEveryFieldAndLeavesTheIniFileAlone) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path(QStringLiteral("reg")));
  auto saved = Make();
  saved->SelectStore(u'R');
  EXPECT_TRUE(saved->UseRegistry);
  EXPECT_EQ(saved->SettingsPath, QStringLiteral("Software\\Kelmora\\quarrow"));
  saved->Load();
  SetUnusualValues(*saved);
  saved->DirNameReplaceInfo << QStringLiteral("a/b\\c=d") << QStringLiteral("Size=1");
  ParseLevelList(saved->LevelCount, saved->CLList, saved->LevelTable);
  const TWindowGeometry window{1, 2, 3, 4};
  saved->Save(&window);
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("reg/Kelmora/quarrow.conf"))));

  auto loaded = Make();
  loaded->SelectStore(u'R');
  TWindowGeometry back;
  loaded->Load(&back);
  ExpectSameFields(*saved, *loaded);
  EXPECT_EQ(back.Height, 2);
  EXPECT_FALSE(QFileInfo::exists(IniPath()));

  // A store saved with empty lists gives the defaults again, as the INI file does.
  loaded->TagList.clear();
  loaded->DirNameReplaceInfo.clear();
  loaded->Save();
  auto again = Make();
  again->SelectStore(u'R');
  again->Load();
  EXPECT_EQ(again->TagList, TSettings::DefaultTagList());
  EXPECT_EQ(again->DirNameReplaceInfo, TSettings::DefaultDirNameReplaceInfo());
}

TEST_F(settings_object, RegistryStoreThatCannotBeWrittenIsReported) {
  WriteRaw(Path(QStringLiteral("Kelmora")), "a file where the folder should be");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
  auto s = Make();
  s->SelectStore(u'R');
  s->Load();
  EXPECT_THROW(s->Save(), TError);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("Kelmora"))), "a file where the folder should be");
}

TEST_F(settings_object, LamePathDefaultsToTheFirstLameOnThePath) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("bin1")));
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("bin2")));
  const QString lame = Path(QStringLiteral("bin2/lame"));
  WriteRaw(lame, "#!/bin/sh\n");
  ASSERT_TRUE(QFile::setPermissions(lame, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  WriteRaw(Path(QStringLiteral("bin1/lame")), "not executable");
  {
    TScopedEnv path("PATH", QFile::encodeName(Path(QStringLiteral("bin1")) + u':' +
                                              Path(QStringLiteral("bin2"))));
    auto s = Make();
    s->Load();
    EXPECT_EQ(s->LamePath, lame);
    const auto stored = LoadFrom("[Lame]\nLamePath=/usr/local/bin/mylame\n");
    EXPECT_EQ(stored->LamePath, QStringLiteral("/usr/local/bin/mylame"));
  }
  TScopedEnv path("PATH", QFile::encodeName(Path(QStringLiteral("bin1"))));
  QFile::remove(IniPath());
  auto none = Make();
  none->Load();
  EXPECT_EQ(none->LamePath, QString());
}

} // namespace
