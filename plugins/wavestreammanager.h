// TWaveStreamManager: the registry of wave-stream plug-ins. Loads the plug-ins of a directory,
// maps file name extensions to the plug-ins that registered them and opens input streams
// through the first plug-in that reads a file.
#pragma once

#include "plugins/waveinputstream.h"
#include "plugins/wavestreampi.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

// One extension of the map and the plug-ins that registered it, in load order (not owned).
struct TWaveStreamExtension {
  QString Extension;
  QList<TWaveStreamPI *> Plugins;
};

class TWaveStreamManager {
public:
  TWaveStreamManager();
  // Destroys every plug-in (closing handles still open). Every input stream must be gone.
  ~TWaveStreamManager();

  TWaveStreamManager(const TWaveStreamManager &) = delete;
  TWaveStreamManager &operator=(const TWaveStreamManager &) = delete;

  // The program's plug-in directory, "Plugin" beside the executable (needs the application
  // object).
  static QString ProgramPluginDirectory();

  // Loads every "*.kpl" of directory that is not loaded yet. A library that is not a usable
  // plug-in is skipped silently; a plug-in that fails to bind raises _err_s_WSInvalidPlugin and
  // ends the scan, staying registered unbound. A missing directory loads nothing.
  void LoadPlugins(const QString &directory);
  // Binds every plug-in in load order; the first failure raises.
  void BindAll();
  // Whether a plug-in of exactly this path (case-sensitive) is registered.
  bool IsLoaded(const QString &path) const;
  // An input stream for fileName from the first plug-in registered for its extension that can
  // read it; null when the file does not exist, has no extension or no plug-in reads it. The
  // error of a plug-in that fails to open the file is raised; later plug-ins are not tried.
  std::unique_ptr<TWaveInputStream> OpenInputStream(const QString &fileName);

  int Count() const { return static_cast<int>(plugins_.size()); }
  TWaveStreamPI *Items(int index) const { return plugins_.at(index).get(); }
  // The extension map, in order of first registration.
  const QList<TWaveStreamExtension> &Extensions() const { return extensions_; }

private:
  // The index of extension in the map (without regard to case), -1 when it is missing.
  qsizetype IndexOfExtension(const QString &extension) const;

  std::vector<std::unique_ptr<TWaveStreamPI>> plugins_;
  QList<TWaveStreamExtension> extensions_;
};
