// The log tree: the list of cue sheets and, once a run has started, the log of that run. Under
// each cue-sheet entry the information node and one node per track (in track order), under
// those the reported lines and the definitions node, under that the category nodes and the
// definition lines. The tree is a model without widgets: the main window shows it through an
// adapter that listens as a TLogTreeObserver, the command-line front end uses it as it is.
// It is touched only from the thread that owns it (the user-interface thread).
#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

// State image indexes and what they mean.
enum TLogStateImage : int {
  LogImageNone = -1,
  LogImageChecked = 1,
  LogImageUnchecked = 2,
  LogImageTrackPending = 3,
  LogImageTrackSucceeded = 4,
  LogImageTrackFailed = 5,
  LogImageDefinitions = 6,
  LogImageConverting = 7,
  LogImageConverted = 8,
  LogImageConvertError = 9,
  LogImageCueFileMissing = 10,
};

// The LogCategory of a reported line: where under its track node it goes.
enum TLogCategory : int {
  LogCategoryTrack = 0,      // the track node itself (the information node for track 0)
  LogCategoryDefinition = 2, // the definitions node
  LogCategoryMacro = 3,      // "ユーザ定義マクロ"
  LogCategoryID3Tag = 4,     // "ID3タグ"
  LogCategoryOption = 5,     // "実行時オプション"
};

// Data values of the nodes that are not track nodes.
constexpr int kLogDataDefinitions = -1;
constexpr int kLogDataLine = 0;

class TLogNode {
public:
  TLogNode(const TLogNode &) = delete;
  TLogNode &operator=(const TLogNode &) = delete;

  const QString &Text() const { return text_; }
  int StateIndex() const { return stateIndex_; }
  int Data() const { return data_; }
  bool Expanded() const { return expanded_; }

  // The parent, or null for a cue-sheet entry.
  TLogNode *Parent() const;
  // 0 for a cue-sheet entry, 1 for its children and so on.
  int Level() const;
  // The position among its siblings.
  int Index() const { return index_; }
  int Count() const { return static_cast<int>(children_.size()); }
  TLogNode *Item(int index) const { return children_.at(static_cast<size_t>(index)).get(); }

private:
  friend class TLogTree;
  TLogNode(TLogNode *parent, QString text, int data, int stateIndex)
      : parent_(parent), text_(std::move(text)), data_(data), stateIndex_(stateIndex) {}

  TLogNode *parent_;
  QString text_;
  int data_;
  int stateIndex_;
  int index_ = 0;
  bool expanded_ = false;
  std::vector<std::unique_ptr<TLogNode>> children_;
};

// Told of every change, in the order a view model needs: before and after an insertion, before
// and after the removal of children, after a change of a node's text, state or expansion. parent
// is null for the top level.
class TLogTreeObserver {
public:
  virtual ~TLogTreeObserver() = default;
  virtual void NodeAboutToBeInserted(TLogNode *parent, int index) = 0;
  virtual void NodeInserted(TLogNode *node) = 0;
  virtual void ChildrenAboutToBeRemoved(TLogNode *parent, int first, int last) = 0;
  virtual void ChildrenRemoved(TLogNode *parent) = 0;
  virtual void NodeChanged(TLogNode *node) = 0;
};

class TLogTree {
public:
  TLogTree() = default;
  TLogTree(const TLogTree &) = delete;
  TLogTree &operator=(const TLogTree &) = delete;

  // Null to stop listening. The observer must outlive the tree or be removed first.
  void SetObserver(TLogTreeObserver *observer) { observer_ = observer; }

  // The cue-sheet entries.
  int Count() const { return root_.Count(); }
  TLogNode *Item(int index) const { return root_.Item(index); }

  // Appends a cue-sheet entry with the path relative to the input home directory.
  TLogNode *AddFile(const QString &text, int stateIndex = LogImageChecked);
  // Removes every entry; the log is no longer present.
  void Clear();

  // The track node of the entry (the information node for 0), made in track order when missing;
  // null for anything but an entry of this tree or a number outside 0 to 99.
  TLogNode *FindTrackNode(TLogNode *fileNode, int trackNo);
  // The node under which a line of the category goes: the track node itself for 0, its
  // definitions node for 2 (made as its first child when missing), the category node for 3, 4
  // and 5 (made in category order, before the definition lines); null for anything else.
  TLogNode *FindCategoryNode(TLogNode *trackNode, int category);
  // Appends a reported line under the node for (trackNo, category), its control characters
  // written as escapes (EscapeForDisplay). Returns it, or null when there is no such place
  // (nothing is added then).
  TLogNode *AddLog(TLogNode *fileNode, int trackNo, int category, const QString &text);
  // Appends a detail line under a line that AddLog returned; the text is taken as it is (the
  // engine escapes what needs it).
  TLogNode *AddDetail(TLogNode *line, const QString &text);

  void SetTrackResult(TLogNode *fileNode, int trackNo, bool succeeded);
  // The track node's text becomes "トラック %02d : %s" with the text.
  void SetTrackCaption(TLogNode *fileNode, int trackNo, const QString &text);
  // For an entry: 7 being converted, 8 converted, 9 ended with an error, 10 cue file missing.
  void SetFileState(TLogNode *fileNode, int stateIndex);
  // Checking and unchecking entries (1 and 2) and any other state image.
  void SetStateIndex(TLogNode *node, int stateIndex);
  // The view reports the user's expanding and collapsing here.
  void SetExpanded(TLogNode *node, bool expanded);

  // Back to the list: every entry loses its children and is checked again, except one that
  // was unchecked (and so not converted); the log is no longer present.
  void ClearLog();

  // Set when a run starts with at least one checked entry; while set, the tree is a log.
  bool LogPresent = false;
  // The end time of the last run; it names the saved XML file.
  QDateTime EndTime;
  // The LogAutoExpand setting: a new line of category 0 expands its collapsed parent.
  bool LogAutoExpand = false;

private:
  bool IsEntry(const TLogNode *node) const { return node != nullptr && node->parent_ == &root_; }
  TLogNode *Insert(TLogNode *parent, int index, QString text, int data, int stateIndex);
  void Changed(TLogNode *node);
  // The tree's own parent for the notifications: null for the root.
  TLogNode *Outer(TLogNode *node) { return node == &root_ ? nullptr : node; }

  TLogNode root_{nullptr, QString(), 0, LogImageNone};
  TLogTreeObserver *observer_ = nullptr;
};
