// Tags written here, read back by independent readers: mutagen (python3-mutagen) and ffprobe
// (ffmpeg), on an MP3 that the real lame encodes from a generated WAV.
#include "id3/id3tag.h"
#include "id3/mp3file.h"
#include "id3/tagsettings.h"
#include "support/testwav.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRunResult {
  bool ok = false;
  QByteArray out;
  QString error;
};

TRunResult RunProgram(const QString &program, const QStringList &args) {
  QProcess p;
  p.start(program, args);
  TRunResult r;
  if (!p.waitForStarted(10000)) {
    r.error = program + u": "_qs + p.errorString();
    return r;
  }
  p.closeWriteChannel();
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    r.error = program + u" did not finish"_qs;
    return r;
  }
  r.out = p.readAllStandardOutput();
  r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (!r.ok)
    r.error = program + u" failed: "_qs + QString::fromUtf8(p.readAllStandardError());
  return r;
}

// A python3 that has mutagen: Debian's own first (a python3 earlier on PATH may lack it).
QString FindMutagenPython() {
  QStringList candidates{u"/usr/bin/python3"_qs};
  const QString onPath = QStandardPaths::findExecutable(u"python3"_qs);
  if (!onPath.isEmpty())
    candidates << onPath;
  for (const QString &python : candidates)
    if (QFile::exists(python) && RunProgram(python, {u"-c"_qs, u"import mutagen"_qs}).ok)
      return python;
  return {};
}

struct TestFrame {
  const char16_t *name;
  const char16_t *text;
  const char16_t *asLatin1;               // what the text reads as when written in ISO-8859-1
  const char16_t *descAsLatin1 = nullptr; // the same for a description outside ISO-8859-1
};

const TestFrame Frames[] = {
    {u"TIT2", u"桜の花びら 〜 春", u"????? ? ?"},
    {u"TPE1", u"山田 太郎", u"?? ??"},
    {u"TALB", u"アルバム① Ünïcode", u"????? Ünïcode"},
    {u"TIT3", u"🎵 Bonus", u"? Bonus"},
    {u"@TPE2", u"Café ☆ 合唱", u"Café ? ??"},
    {u"@TRCK", u"3/12", u"3/12"},
    {u"TXXX.DISCID", u"9A0B1C0D", u"9A0B1C0D"},
    {u"TXXX.作曲メモ", u"第二楽章", u"????", u"????"},
    {u"COMM.jpn", u"コメント本文", u"??????"},
    {u"COMM.eng.Note", u"注釈 text", u"?? text"},
    {u"WXXX.shop", u"http://example.com/shop?a=1", u"http://example.com/shop?a=1"},
    {u"WCOM", u"http://example.com/buy", u"http://example.com/buy"},
};

struct ReaderCase {
  const char *what;
  int major;
  int code; // TagTextCodeV23 or TagTextCodeV24
  bool terminate;
  int padding;
  int encodingByte; // the encoding the frames should carry
};

void PrintTo(const ReaderCase &c, std::ostream *os) {
  *os << c.what;
}

const ReaderCase ReaderCases[] = {
    {"v23_latin1", 3, 0, false, 300, 0},        {"v23_utf16", 3, 1, true, 256, 1},
    {"v23_utf16be_setting", 3, 2, false, 0, 1}, {"v24_latin1", 4, 0, true, 4096, 0},
    {"v24_utf16", 4, 1, false, 300, 1},         {"v24_utf16be", 4, 2, true, 1, 2},
    {"v24_utf8", 4, 3, false, 256, 3},          {"v24_utf8_terminated", 4, 3, true, 0, 3},
};

class Readers : public testing::TestWithParam<ReaderCase> {
protected:
  static void SetUpTestSuite() {
    lame_ = QStandardPaths::findExecutable(u"lame"_qs);
    ffprobe_ = QStandardPaths::findExecutable(u"ffprobe"_qs);
    python_ = FindMutagenPython();
  }

  void SetUp() override {
    ASSERT_FALSE(lame_.isEmpty()) << "lame is not installed (Debian package lame)";
    ASSERT_FALSE(ffprobe_.isEmpty()) << "ffprobe is not installed (Debian package ffmpeg)";
    ASSERT_FALSE(python_.isEmpty()) << "no python3 with mutagen (Debian package python3-mutagen)";
    ASSERT_TRUE(dir_.isValid());
    // Half a second of audio.
    const QString wav = dir_.filePath(u"in.wav"_qs);
    ASSERT_TRUE(testsupport::WriteTestWav(wav, 22050));
    // lame writes its own ID3v2 tag here; the final file must not keep it.
    const TRunResult r =
        RunProgram(lame_, {u"--quiet"_qs, u"-b"_qs, u"128"_qs, u"--tt"_qs, u"LAMETITLE"_qs,
                           u"--id3v2-only"_qs, wav, dir_.filePath(u"enc.mp3"_qs)});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
  }

  static QString lame_, ffprobe_, python_;
  QTemporaryDir dir_;
};

QString Readers::lame_, Readers::ffprobe_, Readers::python_;

QString Expected(const TestFrame &f, int encodingByte) {
  const bool latin1 = encodingByte == 0 || f.name[0] == u'@' || f.name[0] == u'W';
  return QString::fromUtf16(latin1 ? f.asLatin1 : f.text);
}

TEST_P(Readers, ReadBackTheTag) {
  const ReaderCase &c = GetParam();
  TID3TagSettings settings;
  settings.TagVerMJ = c.major;
  settings.TagTextCodeV23 = settings.TagTextCodeV24 = c.code;
  settings.TagTermNull = c.terminate;
  settings.TagPadSize = c.padding;
  TID3Tag tag(ID3TagOptionsFromSettings(settings));
  for (const TestFrame &f : Frames)
    ASSERT_GE(tag.AddFrame(QString::fromUtf16(f.name), QString::fromUtf16(f.text)), 0);
  QByteArray tagBytes;
  QBuffer buffer(&tagBytes);
  buffer.open(QIODevice::WriteOnly);
  const std::int64_t tagSize = tag.WriteTo(buffer);

  const QString mp3 = dir_.filePath(u"out.mp3"_qs);
  ASSERT_EQ(MakeMP3File(tag, dir_.filePath(u"enc.mp3"_qs), mp3), TMP3FileResult::Tagged);
  QFile out(mp3);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QByteArray bytes = out.readAll();
  EXPECT_TRUE(bytes.startsWith(tagBytes));
  EXPECT_FALSE(bytes.contains("LAMETITLE")) << "the encoder's own tag was kept";

  // mutagen
  const TRunResult m =
      RunProgram(python_, {QStringLiteral(QUARROW_SOURCE_DIR "/tests/id3/read_id3.py"), mp3});
  ASSERT_TRUE(m.ok) << m.error.toStdString();
  const QJsonObject json = QJsonDocument::fromJson(m.out).object();
  EXPECT_EQ(json[u"version"].toArray().toVariantList(), (QVariantList{2, c.major, 0}));
  EXPECT_EQ(json[u"size"].toInteger(), tagSize);
  EXPECT_EQ(json[u"padding"].toInteger(), c.padding);
  EXPECT_NEAR(json[u"length"].toDouble(), 0.5, 0.1);
  const QJsonArray frames = json[u"frames"].toArray();
  EXPECT_EQ(frames.size(), std::size(Frames));
  for (const TestFrame &f : Frames) {
    const QString name = QString::fromUtf16(f.name).remove(u'@');
    const QString id = name.left(4);
    const QString ext = name.mid(5);
    const QString want = Expected(f, c.encodingByte);
    SCOPED_TRACE(name.toStdString());
    const int enc = f.name[0] == u'@' ? 0 : c.encodingByte;
    // The description, like the text, is in the frame's encoding.
    const QString desc = enc == 0 && f.descAsLatin1 ? QString::fromUtf16(f.descAsLatin1) : ext;
    const auto found = std::find_if(frames.begin(), frames.end(), [&](const QJsonValue &v) {
      const QJsonObject o = v.toObject();
      if (o[u"id"].toString() != id)
        return false;
      if (id == u"COMM") {
        const QString d = o[u"desc"].toString();
        return o[u"lang"].toString() + (d.isEmpty() ? QString() : u'.' + d) == ext;
      }
      return !o.contains(u"desc") || o[u"desc"].toString() == desc;
    });
    ASSERT_NE(found, frames.end());
    const QJsonObject o = found->toObject();
    if (id[0] == u'W') {
      EXPECT_EQ(o[u"url"].toString(), want);
    } else {
      EXPECT_EQ(o[u"text"].toArray(), QJsonArray{want});
    }
    if (id != u"WCOM") {
      EXPECT_EQ(o[u"encoding"].toInt(), enc);
    }
  }

  // ffprobe
  const TRunResult p =
      RunProgram(ffprobe_, {u"-v"_qs, u"error"_qs, u"-show_entries"_qs,
                            u"format=duration:format_tags"_qs, u"-of"_qs, u"json"_qs, mp3});
  ASSERT_TRUE(p.ok) << p.error.toStdString();
  const QJsonObject format = QJsonDocument::fromJson(p.out).object()[u"format"].toObject();
  EXPECT_NEAR(format[u"duration"].toString().toDouble(), 0.5, 0.1);
  const QJsonObject tags = format[u"tags"].toObject();
  auto frameText = [&](const char16_t *name) {
    for (const TestFrame &f : Frames)
      if (QString::fromUtf16(f.name) == QString::fromUtf16(name))
        return Expected(f, c.encodingByte);
    return QString();
  };
  EXPECT_EQ(tags[u"title"].toString(), frameText(u"TIT2"));
  EXPECT_EQ(tags[u"artist"].toString(), frameText(u"TPE1"));
  EXPECT_EQ(tags[u"album"].toString(), frameText(u"TALB"));
  EXPECT_EQ(tags[u"album_artist"].toString(), frameText(u"@TPE2"));
  EXPECT_EQ(tags[u"track"].toString(), frameText(u"@TRCK"));
  EXPECT_EQ(tags[u"DISCID"].toString(), frameText(u"TXXX.DISCID"));
  EXPECT_EQ(tags[u"comment"].toString(), frameText(u"COMM.jpn"));
  EXPECT_EQ(tags[u"TIT3"].toString(), frameText(u"TIT3"));
  // ffprobe names a described comment and a user text by their descriptions.
  EXPECT_EQ(tags[u"Note"].toString(), frameText(u"COMM.eng.Note"));
  EXPECT_EQ(tags[c.encodingByte == 0 ? u"????" : u"作曲メモ"].toString(),
            frameText(u"TXXX.作曲メモ"));
  EXPECT_FALSE(tags.contains(u"encoder")) << "the encoder's own tag was kept";
}

INSTANTIATE_TEST_SUITE_P(Cases, Readers, testing::ValuesIn(ReaderCases),
                         [](const auto &info) { return std::string(info.param.what); });

} // namespace
