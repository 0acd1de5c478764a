// TID3Tag: frames from tag names and their exact bytes in ID3v2.3 and ID3v2.4.
#include "id3/id3tag.h"
#include "id3/tagname.h"
#include "messages/error.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <vector>

namespace {

// "54 49 54 32" -> bytes; blanks between bytes are ignored.
QByteArray Hex(const char *text) {
  return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray TagBytes(const TID3Tag &tag, std::int64_t *returned = nullptr) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const std::int64_t n = tag.WriteTo(buffer);
  if (returned)
    *returned = n;
  return bytes;
}

// A device that records the size of every write, and can refuse writes after a limit.
class TRecordingDevice : public QIODevice {
public:
  explicit TRecordingDevice(qint64 limit = -1) : limit_(limit) { open(QIODevice::WriteOnly); }
  std::vector<qint64> Writes;

protected:
  qint64 readData(char *, qint64) override { return -1; }
  qint64 writeData(const char *, qint64 len) override {
    if (limit_ >= 0 && written_ + len > limit_)
      return -1;
    written_ += len;
    Writes.push_back(len);
    return len;
  }

private:
  qint64 limit_;
  qint64 written_ = 0;
};

struct FrameCase {
  const char *what;
  std::uint16_t version;
  std::uint8_t encoding;
  bool omitBOM;
  bool terminate;
  const char16_t *name;
  const char16_t *text;
  const char *frame; // the frame's bytes, header included
};

void PrintTo(const FrameCase &c, std::ostream *os) {
  *os << c.what;
}

// Every frame type in every encoding, each with and without terminator or byte-order mark.
const FrameCase FrameCases[] = {
    {"TIT2 v2.4 UTF-8, no terminator", 0x0400, 3, true, false, u"TIT2", u"abc",
     "54495432 00000004 0000 03 616263"},
    {"TIT2 v2.3 UTF-16 with BOM, terminated", 0x0300, 1, false, true, u"TIT2", u"abc",
     "54495432 0000000B 0000 01 FFFE 610062006300 0000"},
    {"UTF-16BE with BOM", 0x0400, 2, false, false, u"TIT2", u"ab",
     "54495432 00000007 0000 02 FEFF 00610062"},
    {"UTF-16BE without BOM, terminated", 0x0400, 2, true, true, u"TIT2", u"ab",
     "54495432 00000007 0000 02 00610062 0000"},
    {"UTF-8 with BOM", 0x0400, 3, false, false, u"TIT2", u"a",
     "54495432 00000005 0000 03 EFBBBF 61"},
    {"Japanese in UTF-8", 0x0400, 3, true, true, u"TIT2", u"曲",
     "54495432 00000005 0000 03 E69BB2 00"},
    {"Japanese in UTF-16LE", 0x0300, 1, false, false, u"TIT2", u"曲",
     "54495432 00000005 0000 01 FFFE F266"},
    {"Latin-1 keeps its own characters", 0x0300, 0, true, true, u"TIT2", u"é",
     "54495432 00000003 0000 00 E9 00"},
    {"outside Latin-1 becomes ?, a surrogate pair once", 0x0300, 0, true, false, u"TIT2",
     u"曲\U0001F3B5x", "54495432 00000004 0000 00 3F3F78"},
    {"empty text with BOM", 0x0300, 1, false, false, u"TIT2", u"",
     "54495432 00000003 0000 01 FFFE"},
    {"empty text with BOM, terminated", 0x0300, 1, false, true, u"TIT2", u"",
     "54495432 00000005 0000 01 FFFE 0000"},
    {"empty text in Latin-1, no terminator", 0x0400, 0, true, false, u"TIT2", u"",
     "54495432 00000001 0000 00"},
    {"@ frame: Latin-1 whatever the tag encoding", 0x0300, 1, false, true, u"@TALB", u"Ab",
     "54414C42 00000004 0000 00 4162 00"},
    {"user text: description always terminated", 0x0400, 3, true, false, u"TXXX.DISCID", u"9A0B",
     "54585858 0000000C 0000 03 444953434944 00 39413042"},
    {"user text in UTF-16: BOM on both texts", 0x0300, 1, false, true, u"TXXX.id", u"x",
     "54585858 0000000F 0000 01 FFFE 69006400 0000 FFFE 7800 0000"},
    {"TXXX without extension is a plain text frame", 0x0400, 0, true, false, u"TXXX", u"x",
     "54585858 00000002 0000 00 78"},
    {"URL frame: no encoding byte, Latin-1", 0x0400, 1, false, false, u"WCOM", u"http://a/",
     "57434F4D 00000009 0000 687474703A2F2F612F"},
    {"URL frame terminated", 0x0300, 3, true, true, u"WOAR", u"u", "574F4152 00000002 0000 75 00"},
    {"user URL: description in the tag encoding, URL in Latin-1", 0x0300, 1, false, true,
     u"WXXX.site", u"http://b/",
     "57585858 00000017 0000 01 FFFE 7300690074006500 0000 687474703A2F2F622F 00"},
    {"comment without description (terminator kept)", 0x0400, 3, true, false, u"COMM.eng", u"Hi",
     "434F4D4D 00000007 0000 03 656E67 00 4869"},
    {"comment without description in UTF-16", 0x0300, 1, false, false, u"COMM.eng", u"Hi",
     "434F4D4D 0000000E 0000 01 656E67 FFFE 0000 FFFE 48006900"},
    {"comment with description", 0x0400, 0, true, true, u"COMM.jpn.Note", u"x",
     "434F4D4D 0000000B 0000 00 6A706E 4E6F7465 00 78 00"},
    {"lower-case id is written upper case", 0x0400, 0, true, false, u"tpe1", u"x",
     "54504531 00000002 0000 00 78"},
};

class FrameBytes : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameBytes, MatchExactly) {
  const FrameCase &c = GetParam();
  TID3Tag tag(c.version, 0, c.terminate, c.omitBOM, c.encoding);
  ASSERT_EQ(tag.AddFrame(QString::fromUtf16(c.name), QString::fromUtf16(c.text)), 0);
  std::int64_t total = 0;
  const QByteArray bytes = TagBytes(tag, &total);
  const QByteArray frame = Hex(c.frame);
  EXPECT_EQ(bytes.mid(10).toHex(' '), frame.toHex(' '));
  EXPECT_EQ(total, 10 + frame.size());
  EXPECT_EQ(bytes.size(), total);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameBytes, testing::ValuesIn(FrameCases));

TEST(ID3Tag, HeaderOfAnEmptyTag) {
  TID3Tag v24(0x0400, 0, false, true, 3);
  EXPECT_EQ(TagBytes(v24).toHex(' '), Hex("49 44 33 04 00 00 00 00 00 00").toHex(' '));
  TID3Tag v23(0x0301, 0, false, true, 1);
  EXPECT_EQ(TagBytes(v23).toHex(' '), Hex("49 44 33 03 01 00 00 00 00 00").toHex(' '));
}

TEST(ID3Tag, PaddingInPiecesOf256) {
  TID3Tag tag(0x0400, 300, false, true, 0);
  ASSERT_EQ(tag.AddFrame(u"TIT2"_qs, u"a"_qs), 0);
  TRecordingDevice device;
  EXPECT_EQ(tag.WriteTo(device), 10 + 12 + 300);
  // Header, one frame, then the padding as 256 + 44.
  EXPECT_EQ(device.Writes, (std::vector<qint64>{10, 12, 256, 44}));

  const QByteArray bytes = TagBytes(tag);
  ASSERT_EQ(bytes.size(), 322);
  EXPECT_EQ(bytes.mid(6, 4).toHex(' '), Hex("00 00 02 38").toHex(' ')); // 12 + 300 = 312
  EXPECT_EQ(bytes.right(300), QByteArray(300, '\0'));
}

TEST(ID3Tag, SizeFieldsOfLargeBodies) {
  // A 200-byte body: sync-safe in ID3v2.4, plain in ID3v2.3.
  const QString text(199, u'a');
  for (const auto &[version, sizeBytes] :
       {std::pair{std::uint16_t(0x0400), "00 00 01 48"}, {std::uint16_t(0x0300), "00 00 00 C8"}}) {
    TID3Tag tag(version, 0, false, true, 0);
    tag.AddFrame(u"TIT2"_qs, text);
    const QByteArray bytes = TagBytes(tag);
    EXPECT_EQ(bytes.mid(14, 4).toHex(' '), Hex(sizeBytes).toHex(' ')) << version;
    // The tag size is always sync-safe: 210 = 0x01 0x52.
    EXPECT_EQ(bytes.mid(6, 4).toHex(' '), Hex("00 00 01 52").toHex(' ')) << version;
  }
}

TEST(ID3Tag, FramesInOrderOfAdding) {
  TID3Tag tag(0x0300, 0, false, true, 0);
  EXPECT_EQ(tag.AddFrame(u"TPE1"_qs, u"p"_qs), 0);
  EXPECT_EQ(tag.AddFrame(u"TALB"_qs, u"a"_qs), 1);
  EXPECT_EQ(TagBytes(tag).mid(10).toHex(' '),
            Hex("54504531 00000002 0000 00 70  54414C42 00000002 0000 00 61").toHex(' '));
}

TEST(ID3Tag, AddFrameFields) {
  TID3Tag tag(0x0400, 0, false, true, 3);
  EXPECT_EQ(tag.AddFrame(u"@TALB"_qs, u"album"_qs), 0);
  EXPECT_EQ(tag.AddFrame(u"TXXX.DISCID"_qs, u"id"_qs, 0x1234), 1);
  EXPECT_EQ(tag.AddFrame(u"COMM.eng"_qs, u"c1"_qs), 2);
  EXPECT_EQ(tag.AddFrame(u"COMM.jpn.Note"_qs, u"c2"_qs), 3);
  EXPECT_EQ(tag.AddFrame(u"WXXX.site"_qs, u"http://x/"_qs), 4);
  ASSERT_EQ(tag.Count(), 5);

  EXPECT_EQ(tag.Key(0), u"TALB"_qs);
  EXPECT_TRUE(tag.Frame(0).Latin1);
  EXPECT_EQ(tag.Frame(0).Type, ftText);
  EXPECT_EQ(tag.Frame(1).Description, u"DISCID"_qs);
  EXPECT_EQ(tag.Frame(1).Flags, 0x1234);
  EXPECT_FALSE(tag.Frame(1).Latin1);
  EXPECT_EQ(tag.Frame(2).Language, u"eng"_qs);
  EXPECT_EQ(tag.Frame(2).Description, QString());
  EXPECT_EQ(tag.Frame(3).Language, u"jpn"_qs);
  EXPECT_EQ(tag.Frame(3).Description, u"Note"_qs);
  EXPECT_EQ(tag.Frame(3).ID, u"COMM"_qs);
  EXPECT_EQ(tag.Frame(4).Type, ftUserURL);
  EXPECT_EQ(tag.Frame(4).Description, u"site"_qs);
  EXPECT_EQ(tag.Frame(4).Text, u"http://x/"_qs);
}

TEST(ID3Tag, InvalidAndRepeatedNamesAddNothing) {
  TID3Tag tag(0x0300, 0, false, true, 1);
  ASSERT_EQ(tag.AddFrame(u"@TALB"_qs, u"first"_qs), 0);
  // Same key without "@", in another case, or with the extension in another case: dropped.
  EXPECT_EQ(tag.AddFrame(u"TALB"_qs, u"second"_qs), -1);
  EXPECT_EQ(tag.AddFrame(u"talb"_qs, u"third"_qs), -1);
  ASSERT_EQ(tag.AddFrame(u"txxx.DISCID"_qs, u"a"_qs), 1);
  EXPECT_EQ(tag.AddFrame(u"TXXX.discid"_qs, u"b"_qs), -1);
  EXPECT_EQ(tag.AddFrame(u"TXXX.other"_qs, u"c"_qs), 2);
  for (const char16_t *bad : {u"TAL", u"XALB", u"COMM", u"COMM.eng.", u""})
    EXPECT_EQ(tag.AddFrame(QString::fromUtf16(bad), u"x"_qs), -1)
        << QString::fromUtf16(bad).toStdString();
  ASSERT_EQ(tag.Count(), 3);
  EXPECT_EQ(tag.Frame(0).Text, u"first"_qs);
  EXPECT_EQ(tag.Frame(1).Text, u"a"_qs);
  EXPECT_EQ(tag.IndexOf(u"Txxx.DiscID"_qs), 1);
}

TEST(ID3Tag, EncodingAbove3IsStoredAs1) {
  TID3Tag tag(0x0400, 0, false, true, 9);
  EXPECT_EQ(tag.Encoding(), 1);
  tag.AddFrame(u"TIT2"_qs, u"a"_qs);
  EXPECT_EQ(TagBytes(tag).mid(10).toHex(' '), Hex("54495432 00000003 0000 01 6100").toHex(' '));
}

TEST(ID3Tag, RefusedWriteRaises) {
  TID3Tag tag(0x0400, 1000, false, true, 0);
  tag.AddFrame(u"TIT2"_qs, u"a"_qs);
  TRecordingDevice device(100);
  EXPECT_THROW(tag.WriteTo(device), TError);
}

} // namespace
