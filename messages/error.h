// TError: the exception the engine and the readers raise. It carries one message of the table,
// already formatted, as the text the log and the message boxes show.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class TError : public std::exception {
public:
  explicit TError(QString message) : Message(std::move(message)), utf8_(Message.toUtf8()) {}

  const char *what() const noexcept override { return utf8_.constData(); }

  QString Message;

private:
  QByteArray utf8_;
};
