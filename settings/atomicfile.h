// WriteFileAtomically: replaces a file so that its path always names either the complete old
// content or the complete new content, whatever happens during the write.
#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// Writes data into a new file beside path, forces it to the disk, then renames it over path (a
// symbolic link is followed, so the link stays). A new file gets the permissions the process
// gives new files; an existing one keeps its own. Raises TError with _err_ss_SettingsFileWrite
// when anything fails; path is then untouched and no temporary file is left behind.
void WriteFileAtomically(const QString &path, const QByteArray &data);

// The system call that writes bytes into the temporary file, as a seam for tests that need a
// write to fail part-way. nullptr restores ::write. Returns the function used before. Not for
// use while another thread saves.
using TWriteFunction = ssize_t (*)(int fd, const void *buffer, size_t count);
TWriteFunction SetAtomicWriteFunction(TWriteFunction function);
