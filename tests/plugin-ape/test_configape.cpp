// TConfigDlg offscreen: the slider and its level names, the page that opens, the about page
// filled from kplape.kpl's own version block and laid out on the 16-pixel grid, the centred
// buttons; and screenshots of both pages.
#include "plugin-ape/configape.h"

#include "plugin-ape/widgetapp.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QString kPlugin = QStringLiteral(QUARROW_PLUGIN_DIR "/kplape.kpl");

class ConfigDlg : public ::testing::Test {
protected:
  static void SetUpTestSuite() { EnsureWidgetApplication(); }
};

int Right(const QWidget *w) {
  return w->x() + w->width();
}
int Bottom(const QWidget *w) {
  return w->y() + w->height();
}
int Floor16(int v) {
  return v / 16 * 16;
}

TEST_F(ConfigDlg, SliderStartsAtTheClampedLevelAndNamesIt) {
  const struct {
    int level;
    int position;
  } cases[] = {{7, 4}, {-3, 0}, {0, 0}, {2, 2}, {4, 4}};
  for (const auto &c : cases) {
    TConfigDlg dialog(nullptr, 0, c.level, kPlugin, 3990);
    EXPECT_EQ(dialog.FCompressionLevel->value(), c.position) << c.level;
    EXPECT_EQ(dialog.CompressionLevel(), c.position) << c.level;
  }
  TConfigDlg dialog(nullptr, 0, 1, kPlugin, 3990);
  EXPECT_EQ(dialog.FCompressionLevel->minimum(), 0);
  EXPECT_EQ(dialog.FCompressionLevel->maximum(), 4);
  EXPECT_EQ(dialog.FCompressionLevel->toolTip(), QStringLiteral("圧縮レベル"));
  EXPECT_EQ(dialog.lblCompressionLevelText->text(), QStringLiteral("Normal"));
  const char *names[] = {"Fast", "Normal", "High", "Extra", "Insane"};
  for (int position : {4, 0, 3, 2, 1, 0}) {
    dialog.FCompressionLevel->setValue(position);
    EXPECT_EQ(dialog.lblCompressionLevelText->text(), QLatin1String(names[position]));
    EXPECT_EQ(dialog.CompressionLevel(), position);
  }
}

TEST_F(ConfigDlg, OpensThePageAsked) {
  for (int page : {0, 1, 2, -1}) {
    TConfigDlg dialog(nullptr, page, 1, kPlugin, 3990);
    EXPECT_EQ(dialog.pgcMain->currentWidget(), page == 1 ? dialog.tbsAbout : dialog.tbsAPE) << page;
  }
}

TEST_F(ConfigDlg, CaptionsAreTheDialogsOwn) {
  TConfigDlg dialog(nullptr, 0, 1, kPlugin, 3990);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Monkey's audio(.ape)ファイル用プラグイン"));
  EXPECT_EQ(dialog.pgcMain->tabText(0), QStringLiteral("Encodeオプション"));
  EXPECT_EQ(dialog.pgcMain->tabText(1), QStringLiteral("バージョン情報"));
  EXPECT_EQ(dialog.lblCompressionLevel->text(), QStringLiteral("圧縮レベル"));
  EXPECT_EQ(dialog.lblFileVersion->text(), QStringLiteral("バージョン："));
  EXPECT_EQ(dialog.lblFileDescription->text(), QStringLiteral("説    明："));
  EXPECT_EQ(dialog.lblComments->text(), QStringLiteral("コメント："));
  EXPECT_EQ(dialog.lblMacDLLVer->text(), QStringLiteral("MACDLLバージョン ："));
  EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("キャンセル"));
  EXPECT_TRUE(dialog.btnOK->isDefault());
  EXPECT_TRUE(dialog.FProductName->font().bold());
}

TEST_F(ConfigDlg, AboutPageShowsThePluginsVersionBlock) {
  TConfigDlg dialog(nullptr, 1, 1, kPlugin, 3990);
  EXPECT_EQ(dialog.FProductName->text(), QStringLiteral("quarrow"));
  EXPECT_FALSE(dialog.FFileVersion->text().isEmpty());
  EXPECT_TRUE(dialog.FLegalCopyright->text().startsWith(QStringLiteral("Copyright")));
  EXPECT_EQ(dialog.FFileDescription->text(), QStringLiteral("Monkey's Audio wave-stream plug-in"));
  EXPECT_EQ(dialog.FMacDLLVer->text(), QStringLiteral("3.990"));
  EXPECT_EQ(TConfigDlg(nullptr, 1, 1, kPlugin, 4005).FMacDLLVer->text(), QStringLiteral("4.005"));
  EXPECT_EQ(TConfigDlg(nullptr, 1, 1, kPlugin, 0).FMacDLLVer->text(), QStringLiteral("0.000"));
  // A file without a version block leaves the values empty; a missing one too.
  TConfigDlg bare(nullptr, 1, 1, QStringLiteral(QUARROW_TESTDATA_DIR "/ape/real-3990-3s.ape"),
                  3990);
  EXPECT_TRUE(bare.FProductName->text().isEmpty());
  TConfigDlg missing(nullptr, 1, 1, QStringLiteral("/nonexistent/kplape.kpl"), 3990);
  EXPECT_TRUE(missing.FFileVersion->text().isEmpty());
}

TEST_F(ConfigDlg, AboutPageSitsOnTheSixteenPixelGrid) {
  TConfigDlg d(nullptr, 1, 1, kPlugin, 3990);
  const int top = d.FProductName->y();
  EXPECT_EQ(d.FFileVersion->y(), top + 32);
  EXPECT_EQ(d.FLegalCopyright->y(), top + 64);
  EXPECT_EQ(d.FFileDescription->y(), top + 96);
  EXPECT_EQ(d.FComments->y(), top + 128);
  for (QLabel *caption : {d.lblFileVersion, d.lblFileDescription, d.lblComments})
    EXPECT_EQ(caption->x(), d.FProductName->x());
  EXPECT_EQ(d.lblFileVersion->y(), d.FFileVersion->y());
  EXPECT_EQ(d.lblFileDescription->y(), d.FFileDescription->y());
  EXPECT_EQ(d.lblComments->y(), d.FComments->y());

  const int captionWidth = d.lblFileVersion->width();
  EXPECT_EQ(d.lblFileDescription->width(), captionWidth);
  EXPECT_EQ(d.lblComments->width(), captionWidth);
  EXPECT_GE(captionWidth, d.lblFileDescription->sizeHint().width());
  EXPECT_GE(captionWidth, d.lblComments->sizeHint().width());
  EXPECT_GE(captionWidth, d.lblFileVersion->sizeHint().width());
  const int valueLeft = Floor16(captionWidth + d.lblFileVersion->x()) + 32;
  for (QLabel *value : {d.FFileVersion, d.FLegalCopyright, d.FFileDescription, d.FComments})
    EXPECT_EQ(value->x(), valueLeft);
  for (QLabel *value : {d.FFileVersion, d.FLegalCopyright, d.FFileDescription})
    EXPECT_LE(value->width(), d.FComments->width());

  EXPECT_EQ(d.lblMacDLLVer->y(), Floor16(Bottom(d.FComments) + 15) + 16);
  EXPECT_EQ(d.FMacDLLVer->y(), d.lblMacDLLVer->y());
  EXPECT_EQ(d.FMacDLLVer->x(), Floor16(Right(d.lblMacDLLVer) + 15) + 16);

  int widest = 0;
  for (QWidget *w : d.tbsAbout->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
    widest = std::max(widest, Right(w));
  EXPECT_GE(d.tbsAbout->width(), Floor16(widest) + 32);
  EXPECT_EQ(d.tbsAbout->height(), Floor16(Bottom(d.FMacDLLVer) + 15) + 16);
  // The settings page has the same client area and its controls fit into it.
  EXPECT_EQ(d.tbsAPE->size(), d.tbsAbout->size());
  EXPECT_LE(Right(d.lblCompressionLevelText), d.tbsAPE->width());
}

TEST_F(ConfigDlg, ButtonsAreCentred) {
  TConfigDlg d(nullptr, 0, 1, kPlugin, 3990);
  const int panel = d.pnlButton->width();
  EXPECT_EQ(panel, d.width());
  EXPECT_EQ(d.btnOK->x(), (panel - d.btnOK->width() - d.btnCancel->width() - 20) / 2);
  EXPECT_EQ(d.btnCancel->x(), Right(d.btnOK) + 20);
  EXPECT_EQ(d.btnCancel->y(), d.btnOK->y());
}

TEST_F(ConfigDlg, ScreenshotsOfBothPages) {
  ASSERT_TRUE(QDir().mkpath(SCREENSHOT_DIR));
  const struct {
    int page;
    const char *file;
  } pages[] = {{0, "kplape-settings.png"}, {1, "kplape-about.png"}};
  for (const auto &p : pages) {
    TConfigDlg dialog(nullptr, p.page, 2, kPlugin, 3990);
    dialog.show();
    QApplication::processEvents();
    const QPixmap shot = dialog.grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), dialog.size());
    EXPECT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/") + p.file, "PNG")) << p.file;
  }
}

} // namespace
