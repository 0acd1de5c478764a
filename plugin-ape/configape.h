// TConfigDlg: kplape's two-page dialog, the settings page (the compression level used when
// writing) and the about page (the plug-in's version strings and the codec library's version),
// laid out on a 16-pixel grid.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;

class TConfigDlg : public QDialog {
public:
  enum { PageSettings = 0, PageAbout = 1 };

  // `page` 1 opens the about page, anything else the settings page. The about page is filled
  // from the version block of `pluginPath`; `macVersion` is the codec library's version number
  // (3990 shows "3.990"). The slider starts at `compressionLevel`, clamped to 0..4.
  TConfigDlg(QWidget *parent, int page, int compressionLevel, const QString &pluginPath,
             int macVersion);

  // The slider's position: the level the user chose.
  int CompressionLevel() const;

  QTabWidget *pgcMain;
  QWidget *tbsAPE;
  QLabel *lblCompressionLevel;
  QSlider *FCompressionLevel;
  QLabel *lblCompressionLevelText;
  QWidget *tbsAbout;
  QLabel *FProductName;
  QLabel *lblFileVersion;
  QLabel *FFileVersion;
  QLabel *FLegalCopyright;
  QLabel *lblFileDescription;
  QLabel *FFileDescription;
  QLabel *lblComments;
  QLabel *FComments;
  QLabel *lblMacDLLVer;
  QLabel *FMacDLLVer;
  QWidget *pnlButton;
  QPushButton *btnOK;
  QPushButton *btnCancel;

private:
  void FillAboutPage(const QString &pluginPath, int macVersion);
  QSize LayOutAboutPage();
  QSize LayOutSettingsPage();
  void LayOutButtons();
};

// Shows the dialog modally over `parent`. With OK, `compressionLevel` takes the slider's
// position and the result is true; Cancel leaves it alone.
bool ExecuteConfigDlg(QWidget *parent, int page, int &compressionLevel, const QString &pluginPath,
                      int macVersion);
