// Tag-name parsing: the validity rules of the frame id, the extension and the "@" prefix.
#include "id3/tagname.h"

namespace {

bool IsAsciiLetter(QChar c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsAsciiLetterOrDigit(QChar c) {
  return IsAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

// A comment's extension: three letters (the language), or three letters, "." and a description.
bool IsValidCommentExtension(const QString &ext) {
  if (ext.size() != 3 && ext.size() <= 4)
    return false;
  for (int i = 0; i < 3; ++i)
    if (!IsAsciiLetter(ext[i]))
      return false;
  return ext.size() == 3 || ext[3] == u'.';
}

} // namespace

TTagName ParseTagName(const QString &text) {
  const qsizetype len = text.size();
  if (len <= 3)
    return {};
  const bool latin1 = text[0] == u'@';
  if ((len == 4 && latin1) || (len == 5 && !latin1))
    return {};
  const qsizetype idStart = latin1 ? 1 : 0;
  const qsizetype afterId = idStart + 4;
  QString extension;
  if (len > afterId) {
    if (text[afterId] != u'.')
      return {};
    extension = text.mid(afterId + 1).trimmed();
    // A "." with nothing after it names no extension and no frame.
    if (extension.isEmpty())
      return {};
  }
  const QString id = text.mid(idStart, 4).toUpper();

  TTagName result;
  if (id == u"COMM") {
    if (!IsValidCommentExtension(extension))
      return {};
    result.Type = ftComment;
  } else {
    for (int i = 1; i < 4; ++i)
      if (!IsAsciiLetterOrDigit(id[i]))
        return {};
    const bool user = id.mid(1) == u"XXX";
    if (!extension.isEmpty() && !user)
      return {};
    const bool described = !extension.isEmpty();
    if (id[0] == u'T')
      result.Type = described ? ftUserText : ftText;
    else if (id[0] == u'W')
      result.Type = described ? ftUserURL : ftURL;
    else
      return {};
  }
  result.ID = id;
  result.Extension = extension;
  result.Latin1 = latin1;
  return result;
}

QString CanonicalTagName(const QString &id, const QString &extension) {
  if (extension.isEmpty())
    return id.toUpper();
  return id.toUpper() + u'.' + extension;
}
