// The bang-list form of one ID3 tag definition: fields each enclosed in "!" with every inner "!"
// doubled, joined by ";" (for example !TALB!;!%ATitle%!). The settings' TagList items and the
// rows of the settings dialog's tag list are kept in this form.
#pragma once

#include <QString>
#include <QStringList>

// Reads a bang list into fields.
// - A text that does not begin with "!" gives no fields and counts as read (true).
// - A field runs from its opening "!" to the next single "!" that is followed by ";" or by the
//   end; "!!" inside stands for one "!". A "!" followed by anything else, or a field without
//   its closing "!", makes the text invalid (false).
// - After a field one ";" is skipped; what follows must be "!" or the end, so a trailing ";" is
//   allowed but ";;" is not.
// On false, fields holds what was read before the fault; callers do not use it.
bool ParseBangList(const QString &text, QStringList &fields);

// Writes each field as "!" + the field with "!" doubled + "!", joined by ";". ParseBangList of
// the result gives the fields back.
QString MakeBangList(const QStringList &fields);
