// The log tree saved as an XML file "log<end time>.xml" in Shift_JIS: a "File" element per
// converted or failed cue sheet, under it "CueFile" and "Track" elements with their lines,
// definitions and details; each element's own text before its child elements.
#pragma once

#include "log/logtree.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The file name for a run that ended at endTime: "log%s.xml" with "yyyymmddhhnnss".
QString LogFileName(const QDateTime &endTime);

// The whole XML document for the tree, as the file holds it.
QByteArray LogDocumentBytes(const TLogTree &tree);

// Saves the log into logDirName, replacing a file of the same name; the file appears complete
// or not at all. Returns the file's path, or empty when the log is not present or the tree has
// no nodes (nothing is written). Throws TError: _err_no_logdir when logDirName is not an
// existing directory, _err_fail_to_logsave when writing fails. The tree is never changed.
QString SaveLog(const TLogTree &tree, const QString &logDirName);
