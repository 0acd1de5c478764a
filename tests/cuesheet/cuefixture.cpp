// The cue-reader fixture.
#include "cuefixture.h"

#include "messages/error.h"
#include "testwav.h"

void CueFixture::SetUp() {
  ASSERT_TRUE(dir.isValid());
  manager.LoadPlugins(QStringLiteral(QUARROW_PLUGIN_DIR));
  manager.BindAll();
  ASSERT_GT(manager.Count(), 0) << "kplwav.kpl is missing from " << QUARROW_PLUGIN_DIR;
  settings = std::make_unique<TSettings>(dir.filePath(QStringLiteral("quarrow")));
}

QString CueFixture::WriteCue(const QString &text, const QString &name) {
  const QString path = Path(name);
  EXPECT_TRUE(testsupport::WriteFileBytes(path, text.toUtf8()));
  return path;
}

void CueFixture::WriteAudio(const QString &name, std::uint64_t frames) {
  ASSERT_TRUE(testsupport::WriteTestWav(Path(name), frames, true));
}

QString CueFixture::Load(const QString &path, unsigned kinds) {
  reports.clear();
  sheet = std::make_unique<TCueSheet>(&manager, settings.get());
  sheet->MessageKinds = kinds;
  sheet->OnMessage = [this](TCueSheet &, int track, int kind, const QString &name,
                            const QString &value) {
    reports.push_back({track, kind, name, value});
  };
  try {
    sheet->LoadFromFile(path);
  } catch (const TError &e) {
    return e.Message.isEmpty() ? QStringLiteral("(empty error)") : e.Message;
  }
  return {};
}

QStringList CueFixture::Errors() const {
  QStringList out;
  for (const TReport &r : reports)
    if (r.Kind == cmkError)
      out << r.Name;
  return out;
}
