// The XML log: the document built with libxml2 from the tree, serialised through the Shift_JIS
// encoder (characters it lacks become character references) and written atomically.
#include "log/logfile.h"

#include "log/shiftjis.h"
#include "macros/quoting.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <memory>

namespace {

struct TDocFree {
  void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using TDoc = std::unique_ptr<xmlDoc, TDocFree>;

// Characters XML 1.0 cannot hold even as references (detail lines are not escaped for display)
// are written as the display escapes write them.
QString XmlText(const QString &text) {
  QString result;
  result.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
      result.append(EscapeForDisplay(QString(c)));
    else if (u == 0xFFFE || u == 0xFFFF)
      result.append(QChar(QChar::ReplacementCharacter));
    else
      result.append(c);
  }
  return result;
}

QByteArray Utf8(const QString &text) {
  return XmlText(text).toUtf8();
}

const xmlChar *X(const QByteArray &bytes) {
  return reinterpret_cast<const xmlChar *>(bytes.constData());
}

xmlNodePtr AddElement(xmlNodePtr parent, const QString &name, const QString &text) {
  xmlNodePtr element = xmlNewDocNode(parent->doc, nullptr, X(Utf8(name)), nullptr);
  xmlAddChild(parent, element);
  if (!text.isEmpty())
    xmlAddChild(element, xmlNewDocText(parent->doc, X(Utf8(text))));
  return element;
}

void SetAttribute(xmlNodePtr element, const QString &name, const QString &value) {
  xmlNewProp(element, X(Utf8(name)), X(Utf8(value)));
}

void AddDetails(xmlNodePtr parent, const TLogNode *line) {
  for (int i = 0; i < line->Count(); ++i)
    AddElement(parent, str::_xml_DetailTag, line->Item(i)->Text());
}

void AddDefinitions(xmlNodePtr parent, const TLogNode *definitions) {
  xmlNodePtr info = AddElement(parent, str::_xml_InfoTag, definitions->Text());
  for (int i = 0; i < definitions->Count(); ++i) {
    const TLogNode *child = definitions->Item(i);
    const QString *list = nullptr;
    const QString *item = nullptr;
    switch (child->Data()) {
    case LogCategoryMacro:
      list = &str::_xml_InfoMacroListTag, item = &str::_xml_InfoMacroTag;
      break;
    case LogCategoryID3Tag:
      list = &str::_xml_InfoID3TagListTag, item = &str::_xml_InfoID3TagTag;
      break;
    case LogCategoryOption:
      list = &str::_xml_InfoOptionListTag, item = &str::_xml_InfoOptionTag;
      break;
    default:
      AddDetails(AddElement(info, str::_xml_InfoDefinition, child->Text()), child);
      continue;
    }
    xmlNodePtr listElement = AddElement(info, *list, child->Text());
    for (int j = 0; j < child->Count(); ++j)
      AddElement(listElement, *item, child->Item(j)->Text());
  }
}

void AddTrack(xmlNodePtr file, const TLogNode *track) {
  const bool info = track->Data() == 0;
  xmlNodePtr element =
      AddElement(file, info ? str::_xml_CueFileTag : str::_xml_TrackTag, track->Text());
  if (!info) {
    SetAttribute(element, str::_xml_TrackAttr_TrackNo, QString::number(track->Data()));
    const int state = track->StateIndex();
    SetAttribute(element, str::_xml_TrackAttr_State,
                 state == LogImageTrackSucceeded ? str::_xml_TrackAttr_StateSuccess
                 : state == LogImageTrackFailed  ? str::_xml_TrackAttr_StateFail
                                                 : str::_xml_TrackAttr_StateUnkown);
  }
  for (int i = 0; i < track->Count(); ++i) {
    const TLogNode *child = track->Item(i);
    if (child->Data() == kLogDataDefinitions)
      AddDefinitions(element, child);
    else
      AddDetails(AddElement(element, str::_xml_LogTag, child->Text()), child);
  }
}

TDoc BuildDocument(const TLogTree &tree) {
  TDoc doc(xmlNewDoc(X("1.0")));
  xmlNodePtr root = xmlNewDocNode(doc.get(), nullptr, X(Utf8(str::_xml_RootNode)), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  for (int i = 0; i < tree.Count(); ++i) {
    const TLogNode *entry = tree.Item(i);
    const int state = entry->StateIndex();
    if (state != LogImageConverted && state != LogImageConvertError)
      continue;
    xmlNodePtr file = AddElement(root, str::_xml_FileNode, entry->Text());
    SetAttribute(file, str::_xml_FileStateAttrName,
                 state == LogImageConverted ? str::_xml_FileStateDone : str::_xml_FileStateAbort);
    for (int j = 0; j < entry->Count(); ++j)
      AddTrack(file, entry->Item(j));
  }
  return doc;
}

int AppendBytes(void *context, const char *buffer, int len) {
  static_cast<QByteArray *>(context)->append(buffer, len);
  return len;
}

int CloseNothing(void *) {
  return 0;
}

// The document as bytes in Shift_JIS, or empty when libxml2 fails.
QByteArray Serialise(xmlDocPtr doc) {
  QByteArray bytes;
  xmlOutputBufferPtr out =
      xmlOutputBufferCreateIO(AppendBytes, CloseNothing, &bytes, ShiftJisOutputHandler());
  if (out == nullptr)
    return {};
  // Closes the buffer; the encoder is not owned by it.
  if (xmlSaveFormatFileTo(out, doc, "Shift_JIS", 1) < 0)
    return {};
  return bytes;
}

} // namespace

QString LogFileName(const QDateTime &endTime) {
  // "yyyymmddhhnnss": in this notation mm is the month and nn the minute.
  QString pattern = str::_log_filename_dtformat;
  pattern.replace(QStringLiteral("mm"), QStringLiteral("MM"))
      .replace(QStringLiteral("hh"), QStringLiteral("HH"))
      .replace(QStringLiteral("nn"), QStringLiteral("mm"));
  return str::Format(str::_log_s_filename, {endTime.toString(pattern)});
}

QByteArray LogDocumentBytes(const TLogTree &tree) {
  const TDoc doc = BuildDocument(tree);
  return Serialise(doc.get());
}

QString SaveLog(const TLogTree &tree, const QString &logDirName) {
  if (!tree.LogPresent)
    return {};
  if (logDirName.isEmpty() || !QFileInfo(logDirName).isDir())
    throw TError(str::_err_no_logdir);
  if (tree.Count() == 0)
    return {};

  const QDateTime endTime = tree.EndTime.isValid() ? tree.EndTime : QDateTime::currentDateTime();
  const QString path = QDir(logDirName).filePath(LogFileName(endTime));
  const QByteArray bytes = LogDocumentBytes(tree);
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
      !file.commit())
    throw TError(str::_err_fail_to_logsave);
  return path;
}
