// The stored form of one compression coordinator rule, "level:MacroName<condition>keywords"
// (for example "2:AGenre^Classic,Baroque"), and its keyword-list syntax.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The number of compression levels (CL1 .. CL5) a rule may name.
inline constexpr int ACCLevelCount = 5;

// The four conditions, in the order of the dialogs' names (_acc_conditions).
inline constexpr char16_t ACCConditions[] = u"=^$>";

struct TACCRule {
  int Level = 0;
  QChar Condition;
  QString Keywords; // normalised: pieces trimmed, empty pieces after the first left out
  QString MacroName;
};

// Reads one stored rule. Fails (rule cleared) unless the text has a level 1..ACCLevelCount
// before its first special character, which must be the colon, then a single valid macro name,
// a condition and a keyword list that normalises to something.
bool ParseACCRule(const QString &text, TACCRule &rule);

// Normalises a keyword list: split at the commas outside quotes, each piece trimmed, the first
// piece kept as it is and each later one only when it is not empty, joined by ",".
QString NormalizeACCKeywords(const QString &keywords);

// The keywords of a list, unquoted, in order: pieces split at the commas outside quotes and
// trimmed; empty pieces and pieces that are not valid quoted strings are left out.
QStringList ParseACCKeywords(const QString &keywords);

// The dialogs' name of a condition ("と一致する" for '=', ...); empty for any other character.
QString ACCConditionName(QChar condition);
