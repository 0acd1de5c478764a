// The ripper's CRC for a cue sheet: the EAC log beside it, and the first line on which a caption
// candidate is followed by exactly eight hexadecimal digits.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The caption setting split into candidates: ';' separates, '"' quotes a candidate that holds
// ';' ("" inside quotes is one '"'), blanks stay part of a candidate. "a;" gives "a" and "".
QStringList SplitCrcCaption(const QString &setting);

// The log file for the cue sheet: the cue file's path with the extension ".log" when that file
// exists; otherwise the one "*.log" file of the cue file's directory whose name is that name in
// another case, or else the only "*.log" file there. Empty when there is none or the choice is
// not unique. Only regular files count (no directories, no FIFOs).
QString FindRipLogFile(const QString &cueFileName);

// The value of the first line on which a candidate occurs (the first candidate in order that
// occurs, case-sensitive; empty candidates never occur) and the text after it, without leading
// and trailing blanks and control characters, is exactly eight hexadecimal digits. A line whose
// text after the caption is anything else is passed over, other candidates are not tried on it.
std::optional<std::uint32_t> FindCrcInLines(const QStringList &lines,
                                            const QStringList &candidates);

// The ripper's CRC for the cue sheet, with crcCaption the caption setting (CRCCaption). False
// when there is no log, no candidate, or no line with a value. A log that exists but cannot be
// read throws TError with _err_s_TextFileRead.
bool FindRipLogCRC(const QString &cueFileName, const QString &crcCaption, std::uint32_t &crc);
