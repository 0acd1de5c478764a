// IPlugin: loading real libraries by path, the emulated entry point, and the lock.
#include "plugins/iplugin.h"

#include "messages/format.h"
#include "messages/str.h"
#include "plugins/testplugins.h"

#include <atomic>
#include <chrono>
#include <thread>

using str::Format;

TEST(IPlugin, MissingFileOrFolderIsNotFound) {
  for (const QString &path : {QStringLiteral("/nonexistent/quarrow/x.kpl"),
                              TestPluginPath("mixed", "folder"), QString()}) {
    EXPECT_EQ(RaisedMessage([&] { IPlugin p(path, true); }),
              Format(str::_err_s_PluginDllNotFound, {path}))
        << path.toStdString();
  }
}

TEST(IPlugin, FileThatIsNoLibraryCannotBeLoaded) {
  const QString path = TestPluginPath("mixed", "not-a-library");
  EXPECT_EQ(RaisedMessage([&] { IPlugin p(path, true); }),
            Format(str::_err_s_PluginDllLoadError, {path}));
}

TEST(IPlugin, RefusedAttachFailsLikeAnUnloadableLibrary) {
  TEntryLog log;
  const QString path = TestPluginPath("mixed", "tp_refuses");
  EXPECT_EQ(RaisedMessage([&] { IPlugin p(path, true); }),
            Format(str::_err_s_PluginDllLoadError, {path}));
  // As on Windows: the refusal is followed by a detach, and the library is gone again.
  EXPECT_EQ(log.Lines(), QStringList({QStringLiteral("Test Refuses attach"),
                                      QStringLiteral("Test Refuses detach")}));
  EXPECT_FALSE(IsMapped(path));
}

TEST(IPlugin, EntryPointRunsOnFirstLoadAndLastUnload) {
  TEntryLog log;
  const QString path = TestPluginPath("mixed", "tp_good");
  const QStringList attach{QStringLiteral("Test Good attach")};
  const QStringList attachDetach{QStringLiteral("Test Good attach"),
                                 QStringLiteral("Test Good detach")};
  {
    IPlugin first(path, false);
    EXPECT_EQ(first.Path(), path);
    EXPECT_NE(first.Module(), nullptr);
    EXPECT_TRUE(IsMapped(path));
    {
      IPlugin second(path, false);
      EXPECT_EQ(second.Module(), first.Module());
    }
    EXPECT_EQ(log.Lines(), attach) << "one process attach however often it is loaded";
    first.Unload();
    EXPECT_EQ(first.Module(), nullptr);
    EXPECT_EQ(log.Lines(), attachDetach);
    EXPECT_FALSE(IsMapped(path));
    first.Load();
    first.Load(); // loaded already: nothing happens
    EXPECT_NE(first.Module(), nullptr);
  }
  EXPECT_EQ(log.Lines(), attachDetach + attachDetach);
  EXPECT_FALSE(IsMapped(path));
}

// Whether another thread gets through plugin's lock within a short time while this one holds it.
static bool OtherThreadEnters(IPlugin &plugin) {
  std::atomic<bool> entered{false};
  std::thread other([&] {
    plugin.Lock();
    entered = true;
    plugin.Unlock();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const bool early = entered;
  plugin.Unlock();
  other.join();
  EXPECT_TRUE(entered);
  return early;
}

TEST(IPlugin, LockIsReentrantAndKeepsOtherThreadsOut) {
  const QString path = TestPluginPath("mixed", "tp_good");
  IPlugin locked(path, true);
  locked.Lock();
  locked.Lock();
  locked.Unlock();
  EXPECT_FALSE(OtherThreadEnters(locked));

  IPlugin unlocked(path, false); // no lock: Lock and Unlock do nothing
  unlocked.Lock();
  EXPECT_TRUE(OtherThreadEnters(unlocked));
}
