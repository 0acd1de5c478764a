// A temporary directory with the real plug-in host (kplwav loaded from the build's Plugin
// directory), a settings object of its own, and a reader that collects every report.
#pragma once

#include "cuesheet/cuesheet.h"
#include "plugins/wavestreammanager.h"
#include "settings/settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

struct TReport {
  int Track;
  int Kind;
  QString Name;
  QString Value;
};

class CueFixture : public ::testing::Test {
protected:
  void SetUp() override;

  QString Path(const QString &name) const { return dir.filePath(name); }
  // Writes the cue text (UTF-8) as name, and a WAV of frames frames as audio when given.
  QString WriteCue(const QString &text, const QString &name = QStringLiteral("album.cue"));
  void WriteAudio(const QString &name, std::uint64_t frames);

  // Reads path into a new sheet; the message of the TError it raised, or empty on success.
  QString Load(const QString &path, unsigned kinds = 0x1E);

  // The kind-0 reports, in order.
  QStringList Errors() const;

  QTemporaryDir dir;
  TWaveStreamManager manager;
  std::unique_ptr<TSettings> settings;
  std::unique_ptr<TCueSheet> sheet;
  std::vector<TReport> reports;
};
