// TWaveStreamManager: loading the plug-in directory, the extension map, opening input streams.
#include "plugins/wavestreammanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr char kPluginDirectoryName[] = "Plugin";

} // namespace

TWaveStreamManager::TWaveStreamManager() = default;

TWaveStreamManager::~TWaveStreamManager() {
  // The map refers to the plug-ins; it goes first, then the plug-ins in load order.
  extensions_.clear();
  plugins_.clear();
}

QString TWaveStreamManager::ProgramPluginDirectory() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kPluginDirectoryName));
}

void TWaveStreamManager::LoadPlugins(const QString &directory) {
  if (directory.isEmpty() || !QFileInfo(directory).isDir())
    return;
  // One spelling of every path, whether or not the directory was given with a trailing
  // separator, so that loading a directory twice finds its plug-ins loaded.
  QString base = directory;
  while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
    base.chop(1);
  if (!base.endsWith(QLatin1Char('/')))
    base += QLatin1Char('/');

  const QStringList entries = QDir(base).entryList(
      {QStringLiteral("*.kpl")},
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  for (const QString &entry : entries) {
    const QString path = base + entry;
    if (IsLoaded(path))
      continue;
    std::unique_ptr<TWaveStreamPI> plugin;
    try {
      plugin = std::make_unique<TWaveStreamPI>(path);
    } catch (...) {
      continue; // not a usable plug-in: skipped without a message
    }
    if (plugin->FileTypes().isEmpty())
      continue;
    for (const TWaveStreamFileTypeLine &line : plugin->FileTypes()) {
      qsizetype index = IndexOfExtension(line.Extension);
      if (index < 0) {
        extensions_.append({line.Extension, {}});
        index = extensions_.size() - 1;
      }
      extensions_[index].Plugins.append(plugin.get());
    }
    plugins_.push_back(std::move(plugin));
    plugins_.back()->Bind();
  }
}

qsizetype TWaveStreamManager::IndexOfExtension(const QString &extension) const {
  for (qsizetype i = 0; i < extensions_.size(); ++i) {
    if (extensions_[i].Extension.compare(extension, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

void TWaveStreamManager::BindAll() {
  for (const auto &plugin : plugins_)
    plugin->Bind();
}

bool TWaveStreamManager::IsLoaded(const QString &path) const {
  for (const auto &plugin : plugins_) {
    if (plugin->Path() == path)
      return true;
  }
  return false;
}

std::unique_ptr<TWaveInputStream> TWaveStreamManager::OpenInputStream(const QString &fileName) {
  if (!QFileInfo(fileName).isFile())
    return nullptr;
  const QString extension = WaveStreamExtensionOf(fileName);
  if (extension.isEmpty())
    return nullptr;
  const qsizetype index = IndexOfExtension(extension);
  if (index < 0)
    return nullptr;
  for (TWaveStreamPI *plugin : extensions_[index].Plugins) {
    if (plugin->CanRead(fileName))
      return std::make_unique<TWaveInputStream>(plugin, fileName);
  }
  return nullptr;
}
