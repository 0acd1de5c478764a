// TCueValues: the values of the standard and REM commands of one level of a cue sheet, keyed by
// command keyword (without regard to case), in reading order. An entry is stored the way a
// keyword=value list holds it: keyword, '=', the value in double quotes with inner quotes
// doubled; Get undoes that quoting, so a reader gets back exactly the token text.
#pragma once

#include <QString>
#include <QStringList>

class TCueValues {
public:
  bool Has(const QString &keyword) const { return IndexOf(keyword) >= 0; }
  // The value stored under keyword; the empty text when it was never set.
  QString Get(const QString &keyword) const;
  // Stores value under keyword; the caller checks for duplicates first.
  void Add(const QString &keyword, const QString &value);

  int Count() const { return static_cast<int>(entries_.size()); }
  // The stored form of entry index: KEYWORD="value".
  const QString &Entry(int index) const { return entries_.at(index); }
  QString Keyword(int index) const;

private:
  int IndexOf(const QString &keyword) const;
  QStringList entries_;
};
