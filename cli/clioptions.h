// The command line of quarrow-cli: the main window's options (/D:dir, /F:file, /PC, /PU, /PR;
// /A is implied) with GNU-style equivalents, and the overrides for one run.
#pragma once

#include <QString>
#include <QStringList>

struct TCliOptions {
  QString Dir;           // /D:dir, --dir DIR
  QString File;          // /F:file, --file FILE
  bool DirFirst = false; // /D came before /F (the first valid one wins)
  QChar Store;           // 'C', 'U' or 'R' from /PC /PU /PR or --store; null when not given
  QString IniFile;       // --ini FILE
  QString OutputHome;    // --output-home DIR
  QString LamePath;      // --lame PATH
  bool Help = false;
};

// Parses the arguments after the program name. Only the first of each kind counts, as in the
// main window. False with error set to the message for an unknown option, a missing value or a
// bad store letter.
bool ParseCliOptions(const QStringList &args, TCliOptions &options, QString &error);
