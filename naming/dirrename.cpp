// Directory rename rules; see dirrename.h.
#include "naming/dirrename.h"

#include "messages/str.h"
#include "naming/filenamechars.h"
#include "naming/pathparts.h"

namespace {

constexpr QChar Mark = u'^';

// One rule with its anchor marks counted and stripped.
struct TRenameRule {
  int Leading = 0;  // "^" at the start: 1 any component, 2 the first only
  int Trailing = 0; // "^" at the end: 1 any component, 2 the last only
  QString Pattern;
  QString Replacement;
};

bool ParseRule(const QString &entry, TRenameRule &rule) {
  const qsizetype eq = entry.indexOf(u'=');
  if (eq < 0)
    return false;
  const QString pattern = entry.left(eq);
  rule.Replacement = entry.mid(eq + 1);
  if (ContainsForbiddenFileNameChar(pattern) || ContainsForbiddenFileNameChar(rule.Replacement))
    return false;
  int leading = 0;
  while (leading < pattern.size() && pattern[leading] == Mark)
    ++leading;
  if (leading == pattern.size()) // nothing but marks, or empty
    return false;
  int trailing = 0;
  if (leading <= 2)
    while (trailing < pattern.size() - leading && pattern[pattern.size() - 1 - trailing] == Mark)
      ++trailing;
  if (leading > 2 || trailing > 2)
    return false;
  rule.Leading = leading;
  rule.Trailing = trailing;
  rule.Pattern = pattern.mid(leading, pattern.size() - leading - trailing);
  return true;
}

// Applies the rule to one component; true when it matched.
bool ApplyToComponent(const TRenameRule &rule, QString &c, bool wholeOnly) {
  const QString &p = rule.Pattern;
  const qsizetype n = p.size();
  const bool atStart = rule.Leading > 0;
  const bool atEnd = rule.Trailing > 0;
  if ((atStart && atEnd) || wholeOnly) {
    if (c != p)
      return false;
    c = rule.Replacement;
    return true;
  }
  if (atStart) {
    if (!c.startsWith(p, Qt::CaseSensitive))
      return false;
    c = rule.Replacement + c.mid(n);
    return true;
  }
  if (atEnd) {
    if (!c.endsWith(p, Qt::CaseSensitive))
      return false;
    c = c.left(c.size() - n) + rule.Replacement;
    return true;
  }
  if (!c.contains(p, Qt::CaseSensitive))
    return false;
  c.replace(p, rule.Replacement, Qt::CaseInsensitive);
  return true;
}

// Applies the rule to the components it looks at; true when it matched any.
bool ApplyRule(const TRenameRule &rule, QStringList &components) {
  if (components.isEmpty())
    return false;
  if (rule.Leading == 2) {
    // Only the first component; "^^p^^" only when it is the whole name.
    if (rule.Trailing == 2 && components.size() != 1)
      return false;
    const bool whole = rule.Trailing >= 1;
    TRenameRule start = rule;
    start.Trailing = 0;
    return ApplyToComponent(start, components[0], whole);
  }
  if (rule.Trailing == 2)
    return ApplyToComponent(rule, components.last(), false);
  bool matched = false;
  for (QString &c : components)
    matched = ApplyToComponent(rule, c, false) || matched;
  return matched;
}

} // namespace

QString RenameDirComponents(const QString &inputDirName, bool enabled, const QStringList &rules) {
  if (!enabled || rules.isEmpty())
    return inputDirName;
  QStringList components = SplitPathComponents(inputDirName);
  bool applied = false;
  for (const QString &entry : rules) {
    TRenameRule rule;
    if (!ParseRule(entry, rule))
      continue;
    if (ApplyRule(rule, components)) {
      applied = true;
      break;
    }
  }
  if (!applied)
    return inputDirName;
  const QString result = JoinPathComponents(components);
  return result.isEmpty() ? str::_txt_UnknownDirName : result;
}
