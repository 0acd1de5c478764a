// Producing the MP3 file: the tag, the encoder's audio without its own tag, the fallback copy,
// and no partial file on failure.
#include "id3/mp3file.h"

#include "id3/id3tag.h"
#include "messages/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char *text) {
  return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Bytes that stand for MPEG audio frames (frame sync, then data).
const QByteArray Audio = Hex("FF FB 90 64 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF");

class MP3File : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    tag.AddFrame(u"TIT2"_qs, u"t"_qs);
  }

  QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

  void Write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }

  static QByteArray Read(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
      return "<missing>";
    return f.readAll();
  }

  // The names in the directory: nothing but the expected files may be left behind.
  QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir;
  TID3Tag tag{0x0300, 0, false, true, 0};
  // The tag above: header and one 12-byte frame.
  const QByteArray ourTag = Hex("494433 0300 00 0000000C 54495432 00000002 0000 00 74");
};

TEST_F(MP3File, EncoderTagIsReplaced) {
  // LAME-style ID3v2.4 tag of 5 + 15 bytes (a frame and padding) before the audio.
  const QByteArray encoderTag =
      Hex("494433 0400 00 00000014") + Hex("54535345 0000000A 0000") + QByteArray(10, '\0');
  ASSERT_EQ(encoderTag.size(), 30);
  Write(Path("enc.mp3"), encoderTag + Audio);
  EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Tagged);
  EXPECT_EQ(Read(Path("out.mp3")).toHex(' '), (ourTag + Audio).toHex(' '));
  EXPECT_EQ(Read(Path("out.mp3")).count("ID3"), 1);
}

TEST_F(MP3File, EncoderTagWithFooterIsReplaced) {
  const QByteArray encoderTag =
      Hex("494433 0400 10 00000002 0000") + Hex("334449 0400 10 00000002");
  Write(Path("enc.mp3"), encoderTag + Audio);
  EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Tagged);
  EXPECT_EQ(Read(Path("out.mp3")).toHex(' '), (ourTag + Audio).toHex(' '));
}

TEST_F(MP3File, OutputWithoutTagIsCopiedWhole) {
  for (const QByteArray &source : {Audio, QByteArray("abc"), QByteArray("ID3ab")}) {
    Write(Path("enc.mp3"), source);
    EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Tagged);
    EXPECT_EQ(Read(Path("out.mp3")).toHex(' '), (ourTag + source).toHex(' '));
  }
}

TEST_F(MP3File, ExistingFileIsReplaced) {
  Write(Path("out.mp3"), QByteArray(5000, 'x'));
  Write(Path("enc.mp3"), Audio);
  EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Tagged);
  EXPECT_EQ(Read(Path("out.mp3")), ourTag + Audio);
  EXPECT_EQ(Entries(), (QStringList{u"enc.mp3"_qs, u"out.mp3"_qs}));
}

TEST_F(MP3File, NoAudioAfterTheEncoderTagFallsBackToCopy) {
  // A tag that claims more bytes than the file holds, and a tag with nothing after it.
  const QByteArray cases[] = {Hex("494433 0400 00 00007F7F") + Audio,
                              Hex("494433 0400 00 00000002 0000")};
  for (const QByteArray &source : cases) {
    Write(Path("enc.mp3"), source);
    EXPECT_THROW(WriteTaggedMP3(tag, Path("enc.mp3"), Path("direct.mp3")), TError);
    EXPECT_FALSE(QFile::exists(Path("direct.mp3")));
    EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Untagged);
    EXPECT_EQ(Read(Path("out.mp3")), source);
  }
}

TEST_F(MP3File, EmptyOutputMakesNoFile) {
  Write(Path("enc.mp3"), QByteArray());
  EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), Path("out.mp3")), TMP3FileResult::Failed);
  EXPECT_EQ(Entries(), QStringList{u"enc.mp3"_qs});
}

TEST_F(MP3File, MissingOutputKeepsThePreviousFile) {
  Write(Path("out.mp3"), "previous");
  EXPECT_EQ(MakeMP3File(tag, Path("none.mp3"), Path("out.mp3")), TMP3FileResult::Failed);
  EXPECT_EQ(Read(Path("out.mp3")), QByteArray("previous"));
  EXPECT_EQ(Entries(), QStringList{u"out.mp3"_qs});
}

TEST_F(MP3File, UnwritableDestinationFails) {
  Write(Path("enc.mp3"), Audio);
  const QString target = Path("no-such-dir/out.mp3");
  EXPECT_EQ(MakeMP3File(tag, Path("enc.mp3"), target), TMP3FileResult::Failed);
  EXPECT_FALSE(QFile::exists(target));
  EXPECT_THROW(CopyMP3File(Path("enc.mp3"), target), TError);
}

TEST_F(MP3File, FallbackCopyIsExact) {
  Write(Path("enc.mp3"), Audio);
  CopyMP3File(Path("enc.mp3"), Path("copy.mp3"));
  EXPECT_EQ(Read(Path("copy.mp3")), Audio);
}

} // namespace
