// TACCList: the batch's ordered coordinator rules, and TACCStatus, the rule and keyword that
// chose a level.
#pragma once

#include "coordinator/accitem.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct TMacroScope;

struct TACCStatus {
  QString MacroName;
  QString Keyword;
  QChar Condition;
  int Level = 0;
};

class TACCList {
public:
  // Appends a rule for macroName (several rules may name one macro).
  void AddRule(int level, QChar condition, const QString &keywords, const QString &macroName);

  // The level of the first rule, in order, whose macro expands (undefined macros failing) to a
  // non-empty value that one of its keywords matches; 0 when none does. On a match the status,
  // when given, names the rule and keyword; otherwise it is left alone. matchAsText is the
  // setting AccMatchAsText.
  int Evaluate(const TMacroScope &scope, bool matchAsText, TACCStatus *status) const;

  int Count() const { return static_cast<int>(rules_.size()); }
  const QString &MacroName(int index) const { return rules_.at(index).MacroName; }
  const TACCItem &Item(int index) const { return *rules_.at(index).Item; }

private:
  struct Entry {
    QString MacroName;
    std::unique_ptr<TACCItem> Item;
  };
  std::vector<Entry> rules_;
};

// The batch's rule list from the stored rules (the setting ACCInfo), in order: every entry that
// ParseACCRule accepts and whose level levelDefined confirms (the settings have encoder options
// for it); the others are left out without a message.
std::unique_ptr<TACCList> BuildACCList(const QStringList &entries,
                                       const std::function<bool(int level)> &levelDefined);
