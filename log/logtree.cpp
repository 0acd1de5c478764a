// The log tree's finding, creating and clearing of nodes.
#include "log/logtree.h"

#include "macros/quoting.h"
#include "messages/format.h"
#include "messages/str.h"

TLogNode *TLogNode::Parent() const {
  return parent_ != nullptr && parent_->parent_ != nullptr ? parent_ : nullptr;
}

int TLogNode::Level() const {
  int level = -1;
  for (const TLogNode *node = parent_; node != nullptr; node = node->parent_)
    ++level;
  return level;
}

TLogNode *TLogTree::Insert(TLogNode *parent, int index, QString text, int data, int stateIndex) {
  if (observer_)
    observer_->NodeAboutToBeInserted(Outer(parent), index);
  auto &children = parent->children_;
  auto *node = new TLogNode(parent, std::move(text), data, stateIndex);
  children.insert(children.begin() + index, std::unique_ptr<TLogNode>(node));
  for (size_t i = static_cast<size_t>(index); i < children.size(); ++i)
    children[i]->index_ = static_cast<int>(i);
  if (observer_)
    observer_->NodeInserted(node);
  return node;
}

void TLogTree::Changed(TLogNode *node) {
  if (observer_)
    observer_->NodeChanged(node);
}

TLogNode *TLogTree::AddFile(const QString &text, int stateIndex) {
  return Insert(&root_, root_.Count(), text, kLogDataLine, stateIndex);
}

void TLogTree::Clear() {
  if (root_.Count() > 0) {
    if (observer_)
      observer_->ChildrenAboutToBeRemoved(nullptr, 0, root_.Count() - 1);
    root_.children_.clear();
    if (observer_)
      observer_->ChildrenRemoved(nullptr);
  }
  LogPresent = false;
}

TLogNode *TLogTree::FindTrackNode(TLogNode *fileNode, int trackNo) {
  if (!IsEntry(fileNode) || trackNo < 0 || trackNo > 99)
    return nullptr;
  int index = 0;
  for (; index < fileNode->Count(); ++index) {
    TLogNode *child = fileNode->Item(index);
    if (child->data_ == trackNo)
      return child;
    if (child->data_ > trackNo)
      break;
  }
  TLogNode *node =
      trackNo == 0 ? Insert(fileNode, index, str::_log_Track0Caption, 0, LogImageNone)
                   : Insert(fileNode, index, str::Format(str::_log_d_TrackNodeCaption, {trackNo}),
                            trackNo, LogImageTrackPending);
  if (!fileNode->expanded_)
    SetExpanded(fileNode, true);
  return node;
}

namespace {

bool IsCategory(int category) {
  return category == LogCategoryTrack ||
         (category >= LogCategoryDefinition && category <= LogCategoryOption);
}

} // namespace

TLogNode *TLogTree::FindCategoryNode(TLogNode *trackNode, int category) {
  // An unknown category makes nothing, not even the definitions node.
  if (trackNode == nullptr || !IsEntry(trackNode->parent_) || !IsCategory(category))
    return nullptr;
  if (category == LogCategoryTrack)
    return trackNode;
  TLogNode *definitions = trackNode->Count() > 0 && trackNode->Item(0)->data_ == kLogDataDefinitions
                              ? trackNode->Item(0)
                              : Insert(trackNode, 0, str::_log_CueFileInfoNodeCaption,
                                       kLogDataDefinitions, LogImageDefinitions);
  if (category == LogCategoryDefinition)
    return definitions;

  const QString &caption = category == LogCategoryMacro    ? str::_log_CueFileInfoMacroCaption
                           : category == LogCategoryID3Tag ? str::_log_CueFileInfoID3TagCaption
                                                           : str::_log_CueFileInfoOptionCaption;
  int index = 0;
  for (; index < definitions->Count(); ++index) {
    TLogNode *child = definitions->Item(index);
    if (child->data_ == category)
      return child;
    if (child->data_ == kLogDataLine || child->data_ > category)
      break;
  }
  return Insert(definitions, index, caption, category, LogImageNone);
}

TLogNode *TLogTree::AddLog(TLogNode *fileNode, int trackNo, int category, const QString &text) {
  if (!IsCategory(category))
    return nullptr; // before the track node is made: a dropped line leaves no trace
  TLogNode *track = FindTrackNode(fileNode, trackNo);
  if (track == nullptr)
    return nullptr;
  TLogNode *parent = FindCategoryNode(track, category);
  if (parent == nullptr)
    return nullptr;
  TLogNode *line =
      Insert(parent, parent->Count(), EscapeForDisplay(text), kLogDataLine, LogImageNone);
  if (LogAutoExpand && category == LogCategoryTrack && !parent->expanded_)
    SetExpanded(parent, true);
  return line;
}

TLogNode *TLogTree::AddDetail(TLogNode *line, const QString &text) {
  if (line == nullptr || line->Level() < 2)
    return nullptr;
  return Insert(line, line->Count(), text, kLogDataLine, LogImageNone);
}

void TLogTree::SetTrackResult(TLogNode *fileNode, int trackNo, bool succeeded) {
  if (TLogNode *track = FindTrackNode(fileNode, trackNo))
    SetStateIndex(track, succeeded ? LogImageTrackSucceeded : LogImageTrackFailed);
}

void TLogTree::SetTrackCaption(TLogNode *fileNode, int trackNo, const QString &text) {
  if (TLogNode *track = FindTrackNode(fileNode, trackNo)) {
    track->text_ = str::Format(str::_log_ds_TrackNodeCaption, {trackNo, text});
    Changed(track);
  }
}

void TLogTree::SetFileState(TLogNode *fileNode, int stateIndex) {
  if (IsEntry(fileNode))
    SetStateIndex(fileNode, stateIndex);
}

void TLogTree::SetStateIndex(TLogNode *node, int stateIndex) {
  if (node == nullptr || node->stateIndex_ == stateIndex)
    return;
  node->stateIndex_ = stateIndex;
  Changed(node);
}

void TLogTree::SetExpanded(TLogNode *node, bool expanded) {
  if (node == nullptr || node == &root_ || node->expanded_ == expanded)
    return;
  node->expanded_ = expanded;
  Changed(node);
}

void TLogTree::ClearLog() {
  for (const auto &entry : root_.children_) {
    TLogNode *node = entry.get();
    if (node->Count() > 0) {
      if (observer_)
        observer_->ChildrenAboutToBeRemoved(node, 0, node->Count() - 1);
      node->children_.clear();
      if (observer_)
        observer_->ChildrenRemoved(node);
    }
    node->expanded_ = false;
    if (node->stateIndex_ != LogImageUnchecked)
      node->stateIndex_ = LogImageChecked;
    Changed(node);
  }
  LogPresent = false;
}
