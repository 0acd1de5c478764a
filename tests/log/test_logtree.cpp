// The log tree: where lines go, the order of siblings, expansion, clearing, and the change
// notifications a view adapter follows.
#include "log/logtree.h"
#include "messages/str.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <map>

namespace {

QString U(const char *utf8) {
  return QString::fromUtf8(utf8);
}

QStringList ChildTexts(const TLogNode *node) {
  QStringList texts;
  for (int i = 0; i < node->Count(); ++i)
    texts << node->Item(i)->Text();
  return texts;
}

// Keeps its own copy of the tree's shape from the notifications alone, the way a view model
// does, and checks each notification against the tree.
class TMirror : public TLogTreeObserver {
public:
  void NodeAboutToBeInserted(TLogNode *parent, int index) override {
    ASSERT_FALSE(pending_) << "insertions must not nest";
    ASSERT_LE(index, static_cast<int>(children_[parent].size()));
    pending_ = true, pendingParent_ = parent, pendingIndex_ = index;
  }
  void NodeInserted(TLogNode *node) override {
    ASSERT_TRUE(pending_);
    EXPECT_EQ(node->Parent(), pendingParent_);
    EXPECT_EQ(node->Index(), pendingIndex_);
    auto &siblings = children_[pendingParent_];
    siblings.insert(siblings.begin() + pendingIndex_, node);
    pending_ = false;
  }
  void ChildrenAboutToBeRemoved(TLogNode *parent, int first, int last) override {
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last + 1, static_cast<int>(children_[parent].size()));
  }
  void ChildrenRemoved(TLogNode *parent) override { Forget(parent); }
  void NodeChanged(TLogNode *) override { ++changes; }

  // The mirror's shape equals the tree's, node for node.
  void Verify(const TLogTree &tree) {
    ASSERT_EQ(children_[nullptr].size(), static_cast<size_t>(tree.Count()));
    for (int i = 0; i < tree.Count(); ++i) {
      EXPECT_EQ(children_[nullptr][i], tree.Item(i));
      Verify(tree.Item(i));
    }
  }
  int changes = 0;

private:
  void Verify(TLogNode *node) {
    const auto &mine = children_[node];
    ASSERT_EQ(mine.size(), static_cast<size_t>(node->Count())) << node->Text().toStdString();
    for (int i = 0; i < node->Count(); ++i) {
      EXPECT_EQ(mine[i], node->Item(i));
      EXPECT_EQ(node->Item(i)->Index(), i);
      Verify(node->Item(i));
    }
  }
  void Forget(TLogNode *parent) {
    for (TLogNode *child : children_[parent])
      Forget(child);
    children_.erase(parent);
  }

  std::map<TLogNode *, std::vector<TLogNode *>> children_;
  bool pending_ = false;
  TLogNode *pendingParent_ = nullptr;
  int pendingIndex_ = 0;
};

class LogTree : public testing::Test {
protected:
  void SetUp() override {
    tree.SetObserver(&mirror);
    file = tree.AddFile(U("アルバム/disc1.cue"));
    tree.LogPresent = true;
  }
  void TearDown() override { mirror.Verify(tree); }

  TMirror mirror;
  TLogTree tree;
  TLogNode *file = nullptr;
};

TEST_F(LogTree, TrackNodesStayInTrackOrderWithTheInformationNodeFirst) {
  tree.AddLog(file, 12, 0, "twelve");
  tree.AddLog(file, 3, 0, "three");
  tree.AddLog(file, 0, 0, "sheet");
  tree.AddLog(file, 12, 0, "twelve again");
  tree.AddLog(file, 99, 0, "last");
  EXPECT_EQ(ChildTexts(file), QStringList({U("Cueファイル情報"), U("トラック 03"), U("トラック 12"),
                                           U("トラック 99")}));
  const int data[] = {0, 3, 12, 99};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(file->Item(i)->Data(), data[i]);
    EXPECT_EQ(file->Item(i)->Level(), 1);
    EXPECT_EQ(file->Item(i)->StateIndex(), i == 0 ? LogImageNone : LogImageTrackPending);
  }
  EXPECT_EQ(ChildTexts(file->Item(2)), QStringList({"twelve", "twelve again"}));
  EXPECT_EQ(file->Item(2)->Item(0)->Level(), 2);
  EXPECT_TRUE(file->Expanded());
}

TEST_F(LogTree, DefinitionsNodeComesFirstAndCategoriesSortBeforeDefinitionLines) {
  tree.AddLog(file, 1, 0, "line before");
  tree.AddLog(file, 1, 4, "TIT2 : \"曲\"");
  tree.AddLog(file, 1, 3, "Genre : Anime");
  tree.AddLog(file, 1, 2, "TITLE : \"曲\"");
  tree.AddLog(file, 1, 5, "Compression : CL2");
  tree.AddLog(file, 1, 4, "TPE1 : \"歌手\"");
  tree.AddLog(file, 1, 2, "PERFORMER : \"歌手\"");

  TLogNode *track = tree.FindTrackNode(file, 1);
  ASSERT_EQ(ChildTexts(track), QStringList({U("情報定義"), "line before"}));
  TLogNode *definitions = track->Item(0);
  EXPECT_EQ(definitions->Data(), kLogDataDefinitions);
  EXPECT_EQ(definitions->StateIndex(), LogImageDefinitions);
  EXPECT_EQ(ChildTexts(definitions),
            QStringList({U("ユーザ定義マクロ"), U("ID3タグ"), U("実行時オプション"),
                         U("TITLE : \"曲\""), U("PERFORMER : \"歌手\"")}));
  EXPECT_EQ(definitions->Item(1)->Data(), 4);
  EXPECT_EQ(ChildTexts(definitions->Item(1)),
            QStringList({U("TIT2 : \"曲\""), U("TPE1 : \"歌手\"")}));
  EXPECT_EQ(definitions->Item(1)->Item(0)->Level(), 4);
  EXPECT_EQ(tree.FindCategoryNode(track, 2), definitions);
  EXPECT_EQ(tree.FindCategoryNode(track, 0), track);
}

TEST_F(LogTree, NothingIsAddedForAnUnknownPlace) {
  TLogTree other;
  TLogNode *foreign = other.AddFile("other.cue");
  TLogNode *track = tree.FindTrackNode(file, 1);
  const int children = file->Count();
  struct Case {
    TLogNode *fileNode;
    int track;
    int category;
  };
  const Case cases[] = {
      {nullptr, 1, 0}, {foreign, 1, 0}, {track, 1, 0}, {file, -1, 0},
      {file, 100, 0},  {file, 2, 1},    {file, 2, 6},  {file, 2, -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(tree.AddLog(c.fileNode, c.track, c.category, "x"), nullptr)
        << c.track << "/" << c.category;
  EXPECT_EQ(file->Count(), children);
  EXPECT_EQ(track->Count(), 0);
  EXPECT_EQ(other.Item(0)->Count(), 0);
  EXPECT_EQ(tree.FindCategoryNode(file, 0), nullptr);
  EXPECT_EQ(tree.FindCategoryNode(track, 7), nullptr);
  EXPECT_EQ(track->Count(), 0) << "an unknown category makes no definitions node";
}

TEST_F(LogTree, ReportedTextsAreEscapedForDisplay) {
  struct Case {
    QString text;
    QString shown;
  };
  const Case cases[] = {
      {"a\tb\nc", "a\\tb\\nc"},
      {QString("x") + QChar(0) + "\r\x07\x08\x0B\x0C", "x\\0\\r\\a\\b\\v\\f"},
      {"esc\x1B", "esc\\?"},
      {U("曲\\名"), U("曲\\名")},
  };
  for (const Case &c : cases)
    EXPECT_EQ(tree.AddLog(file, 1, 0, c.text)->Text(), c.shown);
  EXPECT_EQ(tree.AddLog(file, 1, 3, "m\t")->Text(), "m\\t");
}

TEST_F(LogTree, DetailLinesGoUnderTheReturnedLine) {
  TLogNode *line = tree.AddLog(file, 2, 0, U("Lameエラー情報"));
  ASSERT_NE(line, nullptr);
  tree.AddDetail(line, "LAME 3.100 64bits");
  tree.AddDetail(line, "\tkept as it is");
  EXPECT_EQ(ChildTexts(line), QStringList({"LAME 3.100 64bits", "\tkept as it is"}));
  EXPECT_EQ(line->Item(0)->Level(), 3);
  EXPECT_EQ(tree.AddDetail(nullptr, "x"), nullptr);
  EXPECT_EQ(tree.AddDetail(file, "x"), nullptr);
}

TEST_F(LogTree, TrackResultCaptionAndFileState) {
  tree.SetTrackCaption(file, 5, U("05 - 曲.mp3"));
  tree.SetTrackResult(file, 5, true);
  tree.SetTrackResult(file, 6, false);
  EXPECT_EQ(ChildTexts(file), QStringList({U("トラック 05 : 05 - 曲.mp3"), U("トラック 06")}));
  EXPECT_EQ(file->Item(0)->StateIndex(), LogImageTrackSucceeded);
  EXPECT_EQ(file->Item(1)->StateIndex(), LogImageTrackFailed);
  tree.SetFileState(file, LogImageConverted);
  EXPECT_EQ(file->StateIndex(), LogImageConverted);
  tree.SetFileState(file->Item(0), LogImageConverted);
  EXPECT_EQ(file->Item(0)->StateIndex(), LogImageTrackSucceeded);
  EXPECT_GE(mirror.changes, 4);
}

TEST_F(LogTree, AutoExpandOpensTheParentOfTrackLinesOnly) {
  TLogNode *track = tree.FindTrackNode(file, 1);
  tree.AddLog(file, 1, 0, "quiet");
  EXPECT_FALSE(track->Expanded());
  tree.LogAutoExpand = true;
  tree.AddLog(file, 1, 2, "definition");
  EXPECT_FALSE(track->Expanded());
  tree.AddLog(file, 1, 0, "loud");
  EXPECT_TRUE(track->Expanded());
  tree.SetExpanded(file, false);
  tree.AddLog(file, 1, 0, "no new track node");
  EXPECT_FALSE(file->Expanded());
  tree.AddLog(file, 2, 0, "new track node");
  EXPECT_TRUE(file->Expanded());
}

TEST_F(LogTree, ClearLogLeavesTheCheckedListAndUncheckedEntriesUnchecked) {
  TLogNode *failed = tree.AddFile("b.cue");
  TLogNode *missing = tree.AddFile("c.cue");
  TLogNode *unchecked = tree.AddFile("d.cue", LogImageUnchecked);
  tree.AddLog(file, 1, 4, "tag");
  tree.AddLog(failed, 0, 0, "error");
  tree.SetFileState(file, LogImageConverted);
  tree.SetFileState(failed, LogImageConvertError);
  tree.SetFileState(missing, LogImageCueFileMissing);
  tree.ClearLog();
  EXPECT_FALSE(tree.LogPresent);
  ASSERT_EQ(tree.Count(), 4);
  for (TLogNode *entry : {file, failed, missing, unchecked})
    EXPECT_EQ(entry->Count(), 0);
  EXPECT_EQ(file->StateIndex(), LogImageChecked);
  EXPECT_EQ(failed->StateIndex(), LogImageChecked);
  EXPECT_EQ(missing->StateIndex(), LogImageChecked);
  EXPECT_EQ(unchecked->StateIndex(), LogImageUnchecked);
  tree.AddLog(file, 1, 0, "next run");
  EXPECT_EQ(file->Count(), 1);
}

TEST_F(LogTree, ClearRemovesTheList) {
  tree.AddLog(file, 1, 0, "line");
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_FALSE(tree.LogPresent);
  file = tree.AddFile("again.cue");
}

} // namespace
