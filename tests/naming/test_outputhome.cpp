// ChooseOutputHome: where the output home comes from, when the folder chooser asks, and what
// is stored back.
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/outputhome.h"
#include "naming_test_support.h"
#include "settings/settings.h"

namespace {

class OutputHome : public testing::Test {
protected:
  OutputHome() {
    input = root.filePath(u"in"_qs);
    fixed = root.filePath(u"fixed"_qs);
    chosen = root.filePath(u"chosen"_qs);
    missing = root.filePath(u"missing"_qs);
    for (const QString &d : {input, fixed, chosen})
      QDir().mkpath(d);
  }

  // A chooser that records its calls and answers with answer.
  TFolderChooser Chooser(const QString &answer) {
    return [this, answer](const QString &caption, const QString &start) {
      captions.append(caption);
      starts.append(start);
      return answer;
    };
  }

  void Select(int selection, const QString &name = QString()) {
    settings.OutputHomeDirSelection = selection;
    settings.OutputHomeDirName = name;
  }

  QString ErrorOf(const TFolderChooser &chooser, const QString &inputHome) {
    try {
      ChooseOutputHome(settings, inputHome, chooser);
    } catch (const TError &e) {
      return e.Message;
    }
    return QString();
  }

  QTemporaryDir root;
  QString input, fixed, chosen, missing;
  TSettings settings;
  QStringList captions, starts;
};

TEST_F(OutputHome, InputHomeDirectory) {
  Select(0, fixed);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), input);
  EXPECT_TRUE(captions.isEmpty());
  EXPECT_EQ(ErrorOf(Chooser(chosen), QString()), str::_err_OutputHomeDirEmpty);
  EXPECT_EQ(ErrorOf(Chooser(chosen), missing),
            str::Format(str::_err_s_MakeNoOutputHomeDir, {missing}));
  EXPECT_TRUE(captions.isEmpty());
}

TEST_F(OutputHome, FixedDirectoryThatExists) {
  Select(1, fixed);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), fixed);
  EXPECT_TRUE(captions.isEmpty());
}

TEST_F(OutputHome, FixedDirectoryMissingAsksAndStoresTheChoice) {
  Select(1, missing);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), chosen);
  EXPECT_EQ(captions, QStringList{str::_txt_OutputHomeDirSel});
  EXPECT_EQ(starts, QStringList{missing});
  EXPECT_EQ(settings.OutputHomeDirName, chosen);
  // Next time it is there, and nobody is asked.
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(fixed)), chosen);
  EXPECT_EQ(captions.size(), 1);
}

TEST_F(OutputHome, FixedDirectoryCancelled) {
  Select(1, missing);
  EXPECT_EQ(ErrorOf(Chooser(QString()), input),
            str::Format(str::_err_s_MakeNoOutputHomeDir, {missing}));
  EXPECT_EQ(settings.OutputHomeDirName, missing);
  Select(1, QString());
  EXPECT_EQ(ErrorOf(Chooser(QString()), input), str::_err_OutputHomeDirEmpty);
}

TEST_F(OutputHome, AskEveryRunStoresNothing) {
  Select(2, fixed);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), chosen);
  EXPECT_EQ(starts, QStringList{QString()});
  EXPECT_EQ(settings.OutputHomeDirName, fixed);
  EXPECT_EQ(ErrorOf(Chooser(QString()), input), str::_err_OutputHomeDirEmpty);
  // A front end that cannot ask passes no chooser.
  EXPECT_EQ(ErrorOf(TFolderChooser(), input), str::_err_OutputHomeDirEmpty);
}

TEST_F(OutputHome, OutOfRangeSelectionsAsTheSettingsDialogShowsThem) {
  Select(7, fixed);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), chosen);
  Select(-3, fixed);
  EXPECT_EQ(ChooseOutputHome(settings, input, Chooser(chosen)), input);
}

} // namespace
