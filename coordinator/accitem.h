// TACCItem: one coordinator rule's level, condition and keywords, and the keyword match.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class TACCItem {
public:
  // Stores level and condition; the keywords come from the list as ParseACCKeywords reads it.
  TACCItem(int level, const QString &keywords, QChar condition);

  // The index of the first keyword for which the condition holds for value, or -1 (always -1
  // for an empty value). '$' ends with, '>' contains, '^' starts with, anything else equals.
  // matchAsText (the setting AccMatchAsText) ignores case: equality, prefix and suffix compare
  // with case folded, containment searches the upper-cased keyword in the upper-cased value.
  // Without it every test is exact.
  int Match(const QString &value, bool matchAsText) const;

  int Level;
  QChar Condition;

  int Count() const { return static_cast<int>(keywords_.size()); }
  const QString &Keyword(int index) const { return keywords_.at(index); }
  const QStringList &Keywords() const { return keywords_; }

private:
  QStringList keywords_;
};
