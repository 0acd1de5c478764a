// The macro expander: templates with %...% references, and the reference syntax
// names[,prefix[,suffix[,format]]] with quoted prefix and suffix and a number format. Directory
// and file names, ID3 tag texts and the coordinator's rules all expand through here.
#pragma once

#include "macros/resolve.h"

#include <QString>
#include <QStringList>

// The fields of one reference body.
struct TMacroReference {
  QStringList Names; // one or more valid macro names, tried in order
  QString Prefix;    // unquoted; empty when absent
  QString Suffix;    // unquoted; empty when absent
  QString Format;    // as written (e.g. "02"); empty when absent
};

// Parses a reference body. Fields are separated by ',' outside quotes and trimmed; the names
// field is a ';'-separated list of valid names (one trailing ';' allowed); prefix and suffix, when
// given, must be quoted strings; the format must be an integer 1..10. A fifth field fails. On
// failure ref is cleared.
bool ParseReference(const QString &body, TMacroReference &ref);

// Expands one reference body against the scope. The first name that resolves is used. No name
// resolves: empty text if undefinedIsEmpty, else failure. A system macro the user undefined
// fails; an undefined user macro gives the empty text. Numbers are written in decimal, with a
// format of width w right-aligned in at least w characters, zero-filled when the format starts
// with '0' (the sign before the zeros), else blank-filled. Prefix and suffix surround the value.
// On failure result is empty.
bool ExpandReference(const QString &body, const TMacroScope &scope, bool undefinedIsEmpty,
                     QString &result);

// Expands a template: text is copied, "%%" gives one '%', and "%body%" is expanded by
// ExpandReference with the trimmed body. A '%' without a partner, or any failing reference,
// fails the whole template. On failure result is empty.
bool ExpandTemplate(const QString &tmpl, const TMacroScope &scope, bool undefinedIsEmpty,
                    QString &result);
