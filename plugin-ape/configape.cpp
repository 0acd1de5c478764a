// The plug-in dialog. Controls are placed by hand, as the grid rules fix their positions.
#include "plugin-ape/configape.h"

#include "messages/error.h"
#include "plugin-ape/apesettings.h"
#include "plugin-ape/strape.h"
#include "shared/fileverinfo.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kGrid = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 20;
constexpr int kButtonPanelHeight = 48;
constexpr int kSliderWidth = 256;
constexpr int kSliderHeight = 32;

// Rounded down to the grid.
int Floor16(int value) {
  return value / kGrid * kGrid;
}

QLabel *NewLabel(QWidget *page, const QString &text = QString()) {
  auto *label = new QLabel(text, page);
  label->adjustSize();
  return label;
}

int Right(const QWidget *w) {
  return w->x() + w->width();
}
int Bottom(const QWidget *w) {
  return w->y() + w->height();
}

} // namespace

TConfigDlg::TConfigDlg(QWidget *parent, int page, int compressionLevel, const QString &pluginPath,
                       int macVersion)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(strape::_txt_dlg_caption);

  pgcMain = new QTabWidget(this);
  tbsAPE = new QWidget;
  tbsAbout = new QWidget;
  pgcMain->addTab(tbsAPE, strape::_txt_tbsAPE);
  pgcMain->addTab(tbsAbout, strape::_txt_tbsAbout);

  lblCompressionLevel = NewLabel(tbsAPE, strape::_txt_lblCompressionLevel);
  FCompressionLevel = new QSlider(Qt::Horizontal, tbsAPE);
  FCompressionLevel->setRange(0, kCompressionLevelCount - 1);
  FCompressionLevel->setPageStep(1);
  FCompressionLevel->setTickPosition(QSlider::TicksBelow);
  FCompressionLevel->setTickInterval(1);
  FCompressionLevel->setToolTip(strape::_txt_hint_FCompressionLevel);
  lblCompressionLevelText = NewLabel(tbsAPE);
  connect(FCompressionLevel, &QSlider::valueChanged, this, [this](int position) {
    lblCompressionLevelText->setText(CompressionLevelName(position));
    lblCompressionLevelText->adjustSize();
  });

  FProductName = NewLabel(tbsAbout);
  QFont bold = FProductName->font();
  bold.setBold(true);
  FProductName->setFont(bold);
  lblFileVersion = NewLabel(tbsAbout, strape::_txt_lblFileVersion);
  FFileVersion = NewLabel(tbsAbout);
  FLegalCopyright = NewLabel(tbsAbout);
  lblFileDescription = NewLabel(tbsAbout, strape::_txt_lblFileDescription);
  FFileDescription = NewLabel(tbsAbout);
  lblComments = NewLabel(tbsAbout, strape::_txt_lblComments);
  FComments = NewLabel(tbsAbout);
  lblMacDLLVer = NewLabel(tbsAbout, strape::_txt_lblMacDLLVer);
  FMacDLLVer = NewLabel(tbsAbout);

  pnlButton = new QWidget(this);
  btnOK = new QPushButton(strape::_txt_btnOK, pnlButton);
  btnCancel = new QPushButton(strape::_txt_btnCancel, pnlButton);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Named as the form names them, so that the host's tools (and the tests) can find them.
  setObjectName(QStringLiteral("TConfigDlg"));
  pgcMain->setObjectName(QStringLiteral("pgcMain"));
  tbsAPE->setObjectName(QStringLiteral("tbsAPE"));
  lblCompressionLevel->setObjectName(QStringLiteral("lblCompressionLevel"));
  FCompressionLevel->setObjectName(QStringLiteral("FCompressionLevel"));
  lblCompressionLevelText->setObjectName(QStringLiteral("lblCompressionLevelText"));
  tbsAbout->setObjectName(QStringLiteral("tbsAbout"));
  FProductName->setObjectName(QStringLiteral("FProductName"));
  lblFileVersion->setObjectName(QStringLiteral("lblFileVersion"));
  FFileVersion->setObjectName(QStringLiteral("FFileVersion"));
  FLegalCopyright->setObjectName(QStringLiteral("FLegalCopyright"));
  lblFileDescription->setObjectName(QStringLiteral("lblFileDescription"));
  FFileDescription->setObjectName(QStringLiteral("FFileDescription"));
  lblComments->setObjectName(QStringLiteral("lblComments"));
  FComments->setObjectName(QStringLiteral("FComments"));
  lblMacDLLVer->setObjectName(QStringLiteral("lblMacDLLVer"));
  FMacDLLVer->setObjectName(QStringLiteral("FMacDLLVer"));
  pnlButton->setObjectName(QStringLiteral("pnlButton"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));

  pgcMain->setCurrentWidget(page == PageAbout ? tbsAbout : tbsAPE);
  FillAboutPage(pluginPath, macVersion);

  // Both pages get the client area the about page needs (or the settings page, were it larger).
  const QSize about = LayOutAboutPage();
  const QSize settings = LayOutSettingsPage();
  const QSize client = about.expandedTo(settings);
  tbsAPE->setFixedSize(client);
  tbsAbout->setFixedSize(client);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pgcMain);
  layout->addWidget(pnlButton);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  pnlButton->setFixedHeight(kButtonPanelHeight);
  layout->activate();
  LayOutButtons();

  // The level name follows the slider from the start, whether or not the position moves.
  FCompressionLevel->setValue(ClampCompressionLevel(compressionLevel));
  lblCompressionLevelText->setText(CompressionLevelName(FCompressionLevel->value()));
  lblCompressionLevelText->adjustSize();

  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

int TConfigDlg::CompressionLevel() const {
  return FCompressionLevel->value();
}

void TConfigDlg::FillAboutPage(const QString &pluginPath, int macVersion) {
  try {
    TFileVerInfo info(pluginPath);
    if (info.Load(-1)) {
      FProductName->setText(info.ProductName);
      FFileVersion->setText(info.FileVersion);
      FLegalCopyright->setText(info.LegalCopyright);
      FFileDescription->setText(info.FileDescription);
      FComments->setText(info.Comments);
    }
  } catch (const TError &) {
    // No readable version block: the about page shows its captions only.
  }
  FMacDLLVer->setText(QString::asprintf(strape::_txt_d_d_MacDLLVer.toUtf8().constData(),
                                        macVersion / 1000, macVersion % 1000));
  for (QLabel *label :
       {FProductName, FFileVersion, FLegalCopyright, FFileDescription, FComments, FMacDLLVer})
    label->adjustSize();
}

QSize TConfigDlg::LayOutAboutPage() {
  const int left = kGrid, top = kGrid;
  FProductName->move(left, top);

  QLabel *captions[] = {lblFileVersion, lblFileDescription, lblComments};
  int captionWidth = 0;
  for (QLabel *caption : captions)
    captionWidth = std::max(captionWidth, caption->width());
  for (QLabel *caption : captions)
    caption->resize(captionWidth, caption->height());
  const int valueLeft = Floor16(captionWidth + left) + 32;

  const struct {
    QLabel *caption;
    QLabel *value;
    int offset;
  } rows[] = {{lblFileVersion, FFileVersion, 32},
              {nullptr, FLegalCopyright, 64},
              {lblFileDescription, FFileDescription, 96},
              {lblComments, FComments, 128}};
  int valueWidth = 0;
  for (const auto &row : rows) {
    if (row.caption)
      row.caption->move(left, top + row.offset);
    row.value->move(valueLeft, top + row.offset);
    valueWidth = std::max(valueWidth, row.value->width());
  }
  FComments->resize(valueWidth, FComments->height());

  const int macRow = Floor16(Bottom(FComments) + 15) + kGrid;
  lblMacDLLVer->move(left, macRow);
  FMacDLLVer->move(Floor16(Right(lblMacDLLVer) + 15) + kGrid, macRow);

  int widest = 0;
  for (const QObject *child : tbsAbout->children())
    if (const auto *w = qobject_cast<const QWidget *>(child))
      widest = std::max(widest, Right(w));
  return QSize(Floor16(widest) + 32, Floor16(Bottom(FMacDLLVer) + 15) + kGrid);
}

QSize TConfigDlg::LayOutSettingsPage() {
  lblCompressionLevel->move(kGrid, kGrid);
  FCompressionLevel->setGeometry(kGrid, 3 * kGrid, kSliderWidth, kSliderHeight);
  // The widest level name decides the room the name label needs.
  int nameWidth = 0;
  for (int i = 0; i < kCompressionLevelCount; ++i)
    nameWidth =
        std::max(nameWidth,
                 lblCompressionLevelText->fontMetrics().horizontalAdvance(CompressionLevelName(i)));
  const int nameLeft = Right(FCompressionLevel) + kGrid;
  lblCompressionLevelText->move(
      nameLeft, 3 * kGrid + (kSliderHeight - lblCompressionLevelText->height()) / 2);
  return QSize(Floor16(nameLeft + nameWidth + 15) + kGrid,
               Floor16(Bottom(FCompressionLevel) + 15) + kGrid);
}

void TConfigDlg::LayOutButtons() {
  const int panelWidth = pnlButton->width();
  btnOK->setGeometry((panelWidth - 2 * kButtonWidth - kButtonGap) / 2,
                     (kButtonPanelHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight);
  btnCancel->setGeometry(Right(btnOK) + kButtonGap, btnOK->y(), kButtonWidth, kButtonHeight);
}

bool ExecuteConfigDlg(QWidget *parent, int page, int &compressionLevel, const QString &pluginPath,
                      int macVersion) {
  TConfigDlg dialog(parent, page, compressionLevel, pluginPath, macVersion);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  compressionLevel = dialog.CompressionLevel();
  return true;
}
