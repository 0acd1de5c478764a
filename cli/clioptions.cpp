// Option parsing for quarrow-cli.
#include "cli/clioptions.h"

#include "messages/format.h"
#include "messages/str.h"

namespace {

// Sets target to value unless an earlier option of the kind was given.
void SetOnce(QString &target, const QString &value) {
  if (target.isNull()) {
    target = value;
  }
}

bool StoreLetter(const QString &text, QChar &letter) {
  const QString t = text.toUpper();
  if (t == QLatin1String("C") || t == QLatin1String("U") || t == QLatin1String("R")) {
    letter = t.at(0);
    return true;
  }
  return false;
}

} // namespace

bool ParseCliOptions(const QStringList &args, TCliOptions &options, QString &error) {
  bool dirSeen = false;
  bool fileSeen = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args.at(i);
    QString name = arg;
    QString value;
    bool hasValue = false;
    if (arg.startsWith(QLatin1String("--"))) {
      const qsizetype eq = arg.indexOf(u'=');
      if (eq > 0) {
        name = arg.left(eq);
        value = arg.mid(eq + 1);
        hasValue = true;
      }
    }
    auto takeValue = [&]() -> bool {
      if (hasValue) {
        return true;
      }
      if (i + 1 < args.size()) {
        value = args.at(++i);
        return true;
      }
      error = str::Format(str::_msg_s_CliMissingValue, {name});
      return false;
    };
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("/?")) {
      options.Help = true;
    } else if (arg == QLatin1String("/A")) {
      // A run always starts after the listing.
    } else if (arg.startsWith(QLatin1String("/D:")) || name == QLatin1String("--dir")) {
      if (name == QLatin1String("--dir")) {
        if (!takeValue()) {
          return false;
        }
      } else {
        value = arg.mid(3);
      }
      if (!value.isEmpty() && !dirSeen) {
        dirSeen = true;
        options.Dir = value;
        options.DirFirst = !fileSeen;
      }
    } else if (arg.startsWith(QLatin1String("/F:")) || name == QLatin1String("--file")) {
      if (name == QLatin1String("--file")) {
        if (!takeValue()) {
          return false;
        }
      } else {
        value = arg.mid(3);
      }
      if (!value.isEmpty() && !fileSeen) {
        fileSeen = true;
        options.File = value;
      }
    } else if (arg == QLatin1String("/PC") || arg == QLatin1String("/PU") ||
               arg == QLatin1String("/PR")) {
      if (options.Store.isNull()) {
        options.Store = arg.at(2);
      }
    } else if (name == QLatin1String("--store")) {
      QChar letter;
      if (!takeValue()) {
        return false;
      }
      if (!StoreLetter(value, letter)) {
        error = str::Format(str::_msg_s_CliBadStore, {value});
        return false;
      }
      if (options.Store.isNull()) {
        options.Store = letter;
      }
    } else if (name == QLatin1String("--ini")) {
      if (!takeValue()) {
        return false;
      }
      SetOnce(options.IniFile, value);
    } else if (name == QLatin1String("--output-home")) {
      if (!takeValue()) {
        return false;
      }
      SetOnce(options.OutputHome, value);
    } else if (name == QLatin1String("--lame")) {
      if (!takeValue()) {
        return false;
      }
      SetOnce(options.LamePath, value);
    } else {
      error = str::Format(str::_msg_s_CliUnknownOption, {arg});
      return false;
    }
  }
  return true;
}
