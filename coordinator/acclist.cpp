// Rule order and first-match evaluation of the compression coordinator.
#include "coordinator/acclist.h"

#include "coordinator/accrule.h"
#include "macros/expand.h"

void TACCList::AddRule(int level, QChar condition, const QString &keywords,
                       const QString &macroName) {
  rules_.push_back({macroName, std::make_unique<TACCItem>(level, keywords, condition)});
}

int TACCList::Evaluate(const TMacroScope &scope, bool matchAsText, TACCStatus *status) const {
  for (const Entry &rule : rules_) {
    QString value;
    if (!ExpandReference(rule.MacroName, scope, false, value) || value.isEmpty())
      continue;
    const int k = rule.Item->Match(value, matchAsText);
    if (k < 0)
      continue;
    if (status) {
      status->MacroName = rule.MacroName;
      status->Keyword = rule.Item->Keyword(k);
      status->Condition = rule.Item->Condition;
      status->Level = rule.Item->Level;
    }
    return rule.Item->Level;
  }
  return 0;
}

std::unique_ptr<TACCList> BuildACCList(const QStringList &entries,
                                       const std::function<bool(int level)> &levelDefined) {
  auto list = std::make_unique<TACCList>();
  for (const QString &entry : entries) {
    TACCRule rule;
    if (ParseACCRule(entry, rule) && levelDefined(rule.Level))
      list->AddRule(rule.Level, rule.Condition, rule.Keywords, rule.MacroName);
  }
  return list;
}
